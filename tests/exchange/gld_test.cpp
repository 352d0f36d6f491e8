// gld: the _gl.dat file of every problem type, the dialogue, its refusals and what it leaves in
// the buffer.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "support/session.h"

using namespace session;

namespace {

std::string data(const std::string& name) {
  std::ifstream in(std::string(TRELMO_TEST_DATA) + "/gld/" + name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

const char gld_heading[] = "Write a _gl.dat file (solvora) with buffer a or b";

// A test mesh kept under tests/data/gld: its job name, titles and counts.
struct Mesh {
  std::string job;
  std::string main_title;
  std::string mesh_title;
  int nelem, npoin, nspno;
};
const Mesh plate{"plate", "Plate", "Quad", 2, 6, 2};  // closed 4-node lists
const Mesh quad8{"quad8", "Slab 8", "Q8", 1, 8, 2};   // one closed 8-node list
const Mesh quad9{"quad9", "Shell 9", "Q9", 1, 9, 1};  // one open 9-node list
const Mesh bricks{"bricks", "Two bricks", "H20", 2, 32, 4};
const Mesh frame{"frame", "Frame", "Bars", 4, 5, 2};
const Mesh truss{"truss", "Truss", "Bars", 4, 4, 0};  // no special nodes

std::string problem_menu() {
  return "\n" + lines({
                    "      Available problem types:",
                    "         1 => Plane stress",
                    "         2 => Plane strain",
                    "         3 => Axisymmetry",
                    "         4 => Solid (3d)",
                    "         5 => Slab (Mindlin)",
                    "         6 => Shell (Ahmad)",
                    "         7 => Frame (3d)",
                    "         8 => Truss (3d)",
                    "         9 => Plane shell (Mindlin)",
                });
}
std::string ask_problem_type(const std::string& answer) {
  return problem_menu() + ask_int("Problem type in the generated file [1,9]", 1, answer);
}
std::string extraction_menu() {
  return "\n" + lines({
                    "      From the coordinates (x1,x2,x3) of the .vmz file extract:",
                    "         1 => (x1,x2)",
                    "         2 => (x2,x3)",
                    "         3 => (x1,x3)",
                });
}
std::string ask_extraction(const std::string& answer) {
  return extraction_menu() + ask_int("Your choice [1,2,3]", 1, answer);
}
const char repeat[] = "\nERROR: repeat answer ...\n";
const char abandoned[] = "\nPrevious data unchanged - press the Return key ... \n";
const char not_generated[] = "\n_gl.dat file cannot be generated\n";

// The standard output of `rea` of the mesh, and of `gld` up to its job name "job".
std::string read_mesh(const Mesh& m, const std::string& default_job = "new") {
  return step("rea") + job_dialogue("Read a .vmz file to buffer a or b", default_job, m.job) +
         reading(m.job + ".vmz", m.main_title, m.mesh_title, m.nelem, m.npoin, m.nspno);
}
std::string start_gld(const Mesh& m) {
  return step("gld") + job_dialogue(gld_heading, m.job, "job");
}
std::string writing() {
  return "\nWriting file: job_gl.dat\n";
}

Session& with_mesh(Session& s, const Mesh& m) {
  s.write(m.job + ".vmz", data(m.job + ".vmz"));
  return s;
}

// The lines of a file from the first one equal to `from` on.
std::string from_line(const std::string& text, const std::string& from) {
  std::size_t at = text.find("\n" + from + "\n");
  return at == std::string::npos ? std::string() : text.substr(at + 1);
}

// ---------------------------------------------------------------------------------------------
// The whole file of each problem type
// ---------------------------------------------------------------------------------------------

struct TypeCase {
  int ntype;
  const Mesh* mesh;
  std::string choice;  // answer to the extraction question; none for the 3d types
  bool asks_choice;
};

class GldFile : public testing::TestWithParam<TypeCase> {};

TEST_P(GldFile, WritesTheWholeFileOfTheProblemType) {
  const TypeCase& c = GetParam();
  Session s;
  with_mesh(s, *c.mesh);
  std::string ntype = std::to_string(c.ntype);
  std::string answers = "rea\n" + c.mesh->job + "\ngld\njob\n" + ntype + "\n";
  if (c.asks_choice) answers += c.choice + "\n";
  Result r = s.run(answers + "end\n");

  std::string dialogue = ask_problem_type(ntype);
  if (c.asks_choice) dialogue += ask_extraction(c.choice);
  EXPECT_EQ(r.out, startup() + read_mesh(*c.mesh) + start_gld(*c.mesh) + dialogue + writing() +
                       step("end") + leave());
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.read("job_gl.dat"), data("type" + ntype + "_gl.dat"));
  std::vector<std::string> files = {"job_gl.dat", c.mesh->job + ".vmz"};
  std::sort(files.begin(), files.end());
  EXPECT_EQ(s.files(), files);
}

INSTANTIATE_TEST_SUITE_P(
    ProblemTypes, GldFile,
    testing::Values(
        // plane stress, closed quadrilaterals, Return for type and choice: 1 and (x1,x2)
        TypeCase{1, &plate, "", true},
        // plane strain, closed 8-node list, (x2,x3)
        TypeCase{2, &quad8, "2", true},
        // axisymmetry, (x1,x3)
        TypeCase{3, &plate, "3", true},
        // solid, two 20-node bricks: broken connectivity lines, 20-point Winkler face
        TypeCase{4, &bricks, "", false},
        // slab: one Winkler coefficient, nteme 0
        TypeCase{5, &quad8, "1", true},
        // shell: three coordinates, six fixity codes
        TypeCase{6, &plate, "", false},
        // frame: five nodal properties
        TypeCase{7, &frame, "", false},
        // truss without special nodes
        TypeCase{8, &truss, "", false},
        // plane shell, open 9-node list, (x2,x3)
        TypeCase{9, &quad9, "2", true}),
    [](const testing::TestParamInfo<TypeCase>& p) {
      return "Type" + std::to_string(p.param.ntype);
    });

// ---------------------------------------------------------------------------------------------
// Differences between the types, checked on the files the program writes
// ---------------------------------------------------------------------------------------------

std::string written_file(const Mesh& m, const std::string& type_answers) {
  Session s;
  with_mesh(s, m);
  Result r = s.run("rea\n" + m.job + "\ngld\njob\n" + type_answers + "end\n");
  EXPECT_EQ(r.status, 0);
  return s.read("job_gl.dat");
}

TEST(GldTypes, PlaneTypesShareTheirLoadsButForTypeOnesBlankLine) {
  const char first_case[] = "### Title of the first load case";
  std::string type1 = from_line(written_file(plate, "1\n1\n"), first_case);
  std::string type2 = from_line(written_file(plate, "2\n1\n"), first_case);
  std::string type3 = from_line(written_file(plate, "3\n1\n"), first_case);
  ASSERT_FALSE(type1.empty());
  EXPECT_EQ(type2, type3);
  // Two blank lines before the prescribed variables of load case 1, one in load case 2.
  const std::string two_blanks = "\n\n\n### Prescribed variables";
  std::size_t at = type1.find(two_blanks);
  ASSERT_NE(at, std::string::npos);
  EXPECT_EQ(type1.find(two_blanks, at + 1), std::string::npos);
  EXPECT_EQ(type1.substr(0, at) + type1.substr(at + 1), type2);
}

TEST(GldTypes, TrussTitlesItsBarPointLoadsDifferentlyInTheSecondLoadCase) {
  std::string file = written_file(truss, "8\n");
  std::string second = from_line(file, "### Title of the second load case");
  std::string first = file.substr(0, file.size() - second.size());
  const std::string bar =
      "### Bar point load in 3d frame or truss elements (loaded element, distance\n";
  const std::string element =
      "### Element point load in 3d frame or truss elements (loaded element, distance\n";
  EXPECT_NE(first.find(bar), std::string::npos);
  EXPECT_EQ(first.find(element), std::string::npos);
  EXPECT_EQ(second.find(bar), std::string::npos);
  EXPECT_NE(second.find(element), std::string::npos);
  // The frame keeps the first title in both load cases.
  std::string frame_file = written_file(frame, "7\n");
  EXPECT_EQ(frame_file.find(element), std::string::npos);
}

TEST(GldTypes, SolidBreaksEachTwentyNodeLineAfterTheTenthNode) {
  std::string file = written_file(bricks, "4\n");
  const std::string blanks(16, ' ');
  EXPECT_NE(
      file.find("      1     1        1     2     3     4     5     6     7     8     9    10" +
                blanks + "\n    11    12    13"),
      std::string::npos);
  EXPECT_NE(file.find("    10    26" + blanks + "\n    27    11    15"), std::string::npos);
}

TEST(GldTypes, EightNodeBricksAreNotBroken) {
  Session s;
  s.write("cube.vmz", lines({
                          "Cube",
                          "H8",
                          "    1       8       0",
                          "    1     8        1     2     3     4     5     6     7     8",
                          "    1      0.00000000      0.00000000      0.00000000",
                          "    2      1.00000000      0.00000000      0.00000000",
                          "    3      1.00000000      1.00000000      0.00000000",
                          "    4      0.00000000      1.00000000      0.00000000",
                          "    5      0.00000000      0.00000000      1.00000000",
                          "    6      1.00000000      0.00000000      1.00000000",
                          "    7      1.00000000      1.00000000      1.00000000",
                          "    8      0.00000000      1.00000000      1.00000000",
                      }));
  Result r = s.run("rea\ncube\ngld\njob\n4\nend\n");
  EXPECT_EQ(r.status, 0);
  std::string file = s.read("job_gl.dat");
  EXPECT_NE(file.find("# ielem matno        lnods ...\n"
                      "      1     1        1     2     3     4     5     6     7     8\n\n"),
            std::string::npos);
  EXPECT_NE(file.find("    8 # nnode (n. of nodes per element)\n"), std::string::npos);
  // The Winkler face lists the eight points.
  EXPECT_NE(file.find("      8        100000.0         50000.0          20000.0\n\n\n"),
            std::string::npos);
}

// ---------------------------------------------------------------------------------------------
// Dialogue and refusals
// ---------------------------------------------------------------------------------------------

TEST(GldDialogue, NeedsAnElement) {
  Session s;
  Result r = s.run("gld\nend\n");
  EXPECT_EQ(r.out, startup() + step("gld") + "\nERROR: need at least one element\n" + step("end") +
                       leave());
  EXPECT_EQ(r.status, 0);
}

TEST(GldDialogue, AnswersOutsideTheMenusAreAskedAgain) {
  Session s;
  with_mesh(s, plate);
  // 0 and 10 show the menu again; a word is refused by the number question itself.
  Result r = s.run("rea\nplate\ngld\njob\n0\n10\nx\n2\n4\n0\n3\nend\n");
  const char type_question[] = "Problem type in the generated file [1,9]";
  EXPECT_EQ(r.out, startup() + read_mesh(plate) + start_gld(plate) + ask_problem_type("0") +
                       repeat + ask_problem_type("10") + repeat + ask_problem_type("x") + repeat +
                       ask_int(type_question, 1, "2") + ask_extraction("4") + repeat +
                       ask_extraction("0") + repeat + ask_extraction("3") + writing() +
                       step("end") + leave());
  EXPECT_EQ(r.err, "");
  EXPECT_NE(s.read("job_gl.dat").find("    2 # ntype (problem type)\n"), std::string::npos);
  EXPECT_NE(s.read("job_gl.dat").find("      2         1.00000000       0.50000000\n"),
            std::string::npos);
}

struct Refusal {
  const Mesh* mesh;
  std::string ntype;
  std::string warning;
};

class GldNodeCount : public testing::TestWithParam<Refusal> {};

TEST_P(GldNodeCount, RefusesANodeCountTheProblemTypeCannotUse) {
  const Refusal& c = GetParam();
  Session s;
  with_mesh(s, *c.mesh);
  Result r = s.run("rea\n" + c.mesh->job + "\ngld\njob\n" + c.ntype + "\n\nend\n");
  // The refusal comes before the extraction question.
  EXPECT_EQ(r.out, startup() + read_mesh(*c.mesh) + start_gld(*c.mesh) + ask_problem_type(c.ntype) +
                       abandoned + step("end") + leave());
  EXPECT_EQ(r.err, warning(c.warning) + not_generated);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.files(), std::vector<std::string>{c.mesh->job + ".vmz"});
}

INSTANTIATE_TEST_SUITE_P(
    Types, GldNodeCount,
    testing::Values(Refusal{&plate, "4", "N. of nodes per element must be 8 or 20"},
                    Refusal{&quad9, "4", "N. of nodes per element must be 8 or 20"},
                    Refusal{&plate, "7", "N. of nodes per element must be 2"},
                    Refusal{&plate, "8", "N. of nodes per element must be 2"},
                    Refusal{&frame, "1", "N. of nodes per element must be 4, 8 or 9"},
                    Refusal{&frame, "5", "N. of nodes per element must be 4, 8 or 9"},
                    Refusal{&bricks, "6", "N. of nodes per element must be 4, 8 or 9"},
                    Refusal{&bricks, "9", "N. of nodes per element must be 4, 8 or 9"}));

// Three quadrilaterals on six points; `lists` gives the three element lines.
std::string quads(const std::vector<std::string>& lists) {
  std::vector<std::string> text = {"Quads", "Q4", "    3       8       1"};
  text.insert(text.end(), lists.begin(), lists.end());
  std::vector<std::string> rest = {
      "    1      0.00000000      0.00000000      0.00000000",
      "    2      1.00000000      0.00000000      0.00000000",
      "    3      2.00000000      0.00000000      0.00000000",
      "    4      3.00000000      0.00000000      0.00000000",
      "    5      0.00000000      1.00000000      0.00000000",
      "    6      1.00000000      1.00000000      0.00000000",
      "    7      2.00000000      1.00000000      0.00000000",
      "    8      3.00000000      1.00000000      0.00000000",
      "    1     8",
  };
  text.insert(text.end(), rest.begin(), rest.end());
  return lines(text);
}

struct Mixed {
  std::vector<std::string> lists;
  int element;  // first element whose count differs from element 1's
  int count;    // its count without a closing repeat
};

class GldMixedCounts : public testing::TestWithParam<Mixed> {};

TEST_P(GldMixedCounts, AbandonsAndLeavesTheNodeCountsAsTheyWere) {
  const Mixed& c = GetParam();
  Session s;
  std::string mesh = quads(c.lists);
  s.write("quads.vmz", mesh);
  // gld is refused; wri then writes the buffer as it is.
  Result r = s.run("rea\nquads\ngld\njob\n1\n\nwri\nout\nend\n");
  Mesh m{"quads", "Quads", "Q4", 3, 8, 1};
  EXPECT_EQ(r.out, startup() + read_mesh(m) + start_gld(m) + ask_problem_type("1") + abandoned +
                       step("wri") +
                       job_dialogue("Write a .vmz file with buffer a or b", "job", "out") +
                       counts(3, 8, 1) + "\nWriting file: out.vmz\n" + step("end") + leave());
  EXPECT_EQ(r.err, format("\nChecking element n. %8d\n\nN. of nodes per element = %8d\n", c.element,
                          c.count) +
                       warning("N. of nodes per element must be constant") + not_generated);
  EXPECT_FALSE(s.exists("job_gl.dat"));
  EXPECT_EQ(s.read("out.vmz"), mesh);
}

INSTANTIATE_TEST_SUITE_P(
    ClosedLists, GldMixedCounts,
    testing::Values(
        // Open quadrilaterals, then one whose fourth node repeats its first: three nodes.
        Mixed{{"    1     4        1     2     6     5", "    2     4        2     3     7     6",
               "    3     4        3     4     8     3"},
              3,
              3},
        // Element 1 is the three-node one: element 2 is reported with its four nodes.
        Mixed{{"    1     4        1     2     6     1",
               "    2     5        2     3     7     6     2",
               "    3     4        3     4     8     7"},
              2,
              4},
        // Closed quadrilaterals (five entries) beside an open list of five distinct nodes.
        Mixed{{"    1     5        1     2     6     5     1",
               "    2     5        2     3     7     6     2",
               "    3     5        3     4     8     7     6"},
              3,
              5}));

TEST(GldBuffer, ClosedListsStayOpenOnceTheFileIsWritten) {
  Session s;
  std::string mesh = quads({"    1     5        1     2     6     5     1",
                            "    2     4        2     3     7     6",
                            "    3     5        3     4     8     7     3"});
  s.write("quads.vmz", mesh);
  Result r = s.run("rea\nquads\ngld\njob\n1\n\nwri\nout\nend\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.status, 0);
  std::string file = s.read("job_gl.dat");
  EXPECT_NE(file.find("    4 # nnode (n. of nodes per element)\n"), std::string::npos);
  EXPECT_NE(file.find("# ielem matno ielnp        lnods ...\n"
                      "      1     1     1        1     2     6     5\n"
                      "      2     1     1        2     3     7     6\n"
                      "      3     1     1        3     4     8     7\n\n"),
            std::string::npos);
  EXPECT_EQ(s.read("out.vmz"), lines({
                                   "Quads",
                                   "Q4",
                                   "    3       8       1",
                                   "    1     4        1     2     6     5",
                                   "    2     4        2     3     7     6",
                                   "    3     4        3     4     8     7",
                                   "    1      0.00000000      0.00000000      0.00000000",
                                   "    2      1.00000000      0.00000000      0.00000000",
                                   "    3      2.00000000      0.00000000      0.00000000",
                                   "    4      3.00000000      0.00000000      0.00000000",
                                   "    5      0.00000000      1.00000000      0.00000000",
                                   "    6      1.00000000      1.00000000      0.00000000",
                                   "    7      2.00000000      1.00000000      0.00000000",
                                   "    8      3.00000000      1.00000000      0.00000000",
                                   "    1     8",
                               }));
}

TEST(GldBuffer, LeavesTheWrittenMarkAlone) {
  Session s;
  with_mesh(s, plate);
  // The lists of the buffer change, but end leaves without asking: the mark stays as rea left it.
  Result r = s.run("rea\nplate\ngld\njob\n\n\nend\n");
  EXPECT_EQ(r.out, startup() + read_mesh(plate) + start_gld(plate) + ask_problem_type("") +
                       ask_extraction("") + writing() + step("end") + leave());
  EXPECT_EQ(r.status, 0);
}

TEST(GldBuffer, MeshWithoutSpecialNodesHasNoFixedPoints) {
  Session s;
  std::string mesh = data("plate.vmz");
  mesh.replace(mesh.find("    2       6       2\n"), 22, "    2       6       0\n");
  mesh.resize(mesh.find("    1     1\n"));
  s.write("free.vmz", mesh);
  s.write("job_gl.dat", "an older file\n");
  Result r = s.run("rea\nfree\ngld\njob\n2\n\nend\n");
  EXPECT_EQ(r.err, "");
  std::string file = s.read("job_gl.dat");
  EXPECT_NE(file.find("    0 # nvfix (n. of points with fixed degrees of freedom)\n"),
            std::string::npos);
  EXPECT_NE(file.find("      6         2.00000000       1.00000000\n\n"
                      "### Points with fixed degrees of freedom and fixity codes (1-fixed;0-free)\n"
                      "# ivfix nofix     ifpre ...\n\n"
                      "### Points with specified coordinate system\n"),
            std::string::npos);
  // The older file was replaced.
  EXPECT_EQ(file.substr(0, 37), "### Main title of the problem\nPlate\n\n");
  EXPECT_EQ(file.substr(file.size() - 13), "\nEND_OF_FILE\n");
}

// ---------------------------------------------------------------------------------------------
// Files that cannot be written
// ---------------------------------------------------------------------------------------------

TEST(GldOutput, AFileThatCannotBeCreatedEndsTheProgram) {
  Session s;
  with_mesh(s, plate);
  ::mkdir(s.path("job_gl.dat").c_str(), 0700);
  Result r = s.run("rea\nplate\ngld\njob\n6\nend\n");
  EXPECT_EQ(r.out,
            startup() + read_mesh(plate) + start_gld(plate) + ask_problem_type("6") + writing());
  EXPECT_EQ(r.err, fatal("Unable to open output file - jobname_gl.dat"));
  EXPECT_EQ(r.status, 1);
}

// Limits the size of the files that the program (and this process) may write, and ignores the
// signal that exceeding it would send, so that a write beyond the limit fails instead.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    old_handler_ = ::signal(SIGXFSZ, SIG_IGN);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    ::signal(SIGXFSZ, old_handler_);
  }

 private:
  rlimit old_;
  sighandler_t old_handler_;
};

TEST(GldOutput, AnIncompleteFileIsReportedAndChangesNothing) {
  Session s;
  with_mesh(s, plate);
  s.write("job_gl.dat", "an older file\n");
  Result r;
  {
    // The _gl.dat file of the plate is larger than this; the session's output is not.
    FileSizeLimit limit(6000);
    r = s.run("rea\nplate\ngld\njob\n1\n\n\nwri\nout\nend\n");
  }
  ASSERT_LT(r.out.size(), 6000u);
  EXPECT_EQ(r.out, startup() + read_mesh(plate) + start_gld(plate) + ask_problem_type("1") +
                       ask_extraction("") + writing() +
                       "\nNothing changed - press the Return key ... \n" + step("wri") +
                       job_dialogue("Write a .vmz file with buffer a or b", "job", "out") +
                       counts(2, 6, 2) + "\nWriting file: out.vmz\n" + step("end") + leave());
  EXPECT_EQ(r.err, warning("Unable to write output file - jobname_gl.dat"));
  EXPECT_EQ(r.status, 0);
  // The older file is kept, no partial file is left, and the closed lists are as they were.
  EXPECT_EQ(s.read("job_gl.dat"), "an older file\n");
  EXPECT_EQ(s.files(), (std::vector<std::string>{"job_gl.dat", "out.vmz", "plate.vmz"}));
  EXPECT_EQ(s.read("out.vmz"), data("plate.vmz"));
}

}  // namespace
