// gld: the _gl.dat file of every problem type, the dialogue, its refusals and what it leaves in
// the buffer. The expected files under data/gld are written out from the file's description.
#include <gtest/gtest.h>
#include <sys/stat.h>

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

// A test mesh kept under data/gld: its job name, titles and counts.
struct Mesh {
  std::string job, main_title, mesh_title;
  int nelem, npoin, nspno;
};
const Mesh plate{"plate", "Plate", "Quad", 2, 6, 2};  // closed 4-node lists
const Mesh quad8{"quad8", "Slab 8", "Q8", 1, 8, 2};   // one closed 8-node list
const Mesh quad9{"quad9", "Shell 9", "Q9", 1, 9, 1};  // one open 9-node list
const Mesh bricks{"bricks", "Two bricks", "H20", 2, 32, 4};
const Mesh frame{"frame", "Frame", "Bars", 4, 5, 2};
const Mesh truss{"truss", "Truss", "Bars", 4, 4, 0};  // no special nodes

std::string ask_problem_type(const std::string& answer) {
  return "\n" +
         lines({"      Available problem types:", "         1 => Plane stress",
                "         2 => Plane strain", "         3 => Axisymmetry",
                "         4 => Solid (3d)", "         5 => Slab (Mindlin)",
                "         6 => Shell (Ahmad)", "         7 => Frame (3d)",
                "         8 => Truss (3d)", "         9 => Plane shell (Mindlin)"}) +
         ask_int("Problem type in the generated file [1,9]", 1, answer);
}
std::string ask_extraction(const std::string& answer) {
  return "\n" +
         lines({"      From the coordinates (x1,x2,x3) of the .vmz file extract:",
                "         1 => (x1,x2)", "         2 => (x2,x3)", "         3 => (x1,x3)"}) +
         ask_int("Your choice [1,2,3]", 1, answer);
}
const char repeat[] = "\nERROR: repeat answer ...\n";
const char abandoned[] = "\nPrevious data unchanged - press the Return key ... \n";
const char not_generated[] = "\n_gl.dat file cannot be generated\n";
const char writing[] = "\nWriting file: job_gl.dat\n";

// The standard output of `rea` of the mesh and of `gld` up to its job name "job".
std::string start(const Mesh& m) {
  return startup() + step("rea") + job_dialogue("Read a .vmz file to buffer a or b", "new", m.job) +
         reading(m.job + ".vmz", m.main_title, m.mesh_title, m.nelem, m.npoin, m.nspno) +
         step("gld") +
         job_dialogue("Write a _gl.dat file (solvora) with buffer a or b", m.job, "job");
}

Result run(Session& s, const Mesh& m, const std::string& answers) {
  s.write(m.job + ".vmz", data(m.job + ".vmz"));
  return s.run("rea\n" + m.job + "\ngld\njob\n" + answers);
}

}  // namespace

TEST(Gld, WritesTheFileOfEveryProblemType) {
  const struct {
    int ntype;
    const Mesh* mesh;
    const char* choice;  // answer to the extraction question; none for the 3d types
  } rows[] = {{1, &plate, ""},       {2, &quad8, "2"},     {3, &plate, "3"},
              {4, &bricks, nullptr}, {5, &quad8, "1"},     {6, &plate, nullptr},
              {7, &frame, nullptr},  {8, &truss, nullptr}, {9, &quad9, "2"}};
  for (const auto& row : rows) {
    Session s;
    std::string ntype = std::to_string(row.ntype);
    std::string answers = ntype + "\n" + (row.choice ? row.choice + std::string("\n") : "");
    Result r = run(s, *row.mesh, answers + "end\n");
    std::string dialogue = ask_problem_type(ntype) + (row.choice ? ask_extraction(row.choice) : "");
    EXPECT_EQ(r.out, start(*row.mesh) + dialogue + writing + step("end") + leave()) << ntype;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(s.read("job_gl.dat"), data("type" + ntype + "_gl.dat")) << ntype;
    EXPECT_TRUE(s.exists("job_gl.dat") && s.files().size() == 2);
  }
}

TEST(Gld, EightNodeBricksStayOnOneLine) {
  Session s;
  Result r = s.run("csm\n3\n\n\n\ngld\njob\n4\nend\ny\n");
  std::string file = s.read("job_gl.dat");  // the Winkler face lists the eight points
  for (const char* text : {"    8 # nnode (n. of nodes per element)\n",
                           "\n      1     1        1     2     4     3     5     6     8     7\n\n",
                           "\n      7        100000.0         50000.0          20000.0\n\n\n"})
    EXPECT_NE(file.find(text), std::string::npos) << text;
}

TEST(Gld, AnswersOutsideTheMenusAreAskedAgain) {
  Session s;
  // 0 and 10 show the menu again; a word is refused by the number question itself.
  Result r = run(s, plate, "0\n10\nx\n2\n4\n0\n3\nend\n");
  EXPECT_EQ(r.out, start(plate) + ask_problem_type("0") + repeat + ask_problem_type("10") + repeat +
                       ask_problem_type("x") + repeat +
                       ask_int("Problem type in the generated file [1,9]", 1, "2") +
                       ask_extraction("4") + repeat + ask_extraction("0") + repeat +
                       ask_extraction("3") + writing + step("end") + leave());
  EXPECT_NE(s.read("job_gl.dat").find("      2         1.00000000       0.50000000\n"),
            std::string::npos);  // type 2, (x1,x3)
}

TEST(Gld, RefusesNodeCountsTheTypeCannotUse) {
  const struct {
    const Mesh* mesh;
    const char *ntype, *warning;
  } rows[] = {{&plate, "4", "N. of nodes per element must be 8 or 20"},
              {&quad9, "4", "N. of nodes per element must be 8 or 20"},
              {&plate, "7", "N. of nodes per element must be 2"},
              {&plate, "8", "N. of nodes per element must be 2"},
              {&frame, "1", "N. of nodes per element must be 4, 8 or 9"},
              {&frame, "5", "N. of nodes per element must be 4, 8 or 9"},
              {&bricks, "6", "N. of nodes per element must be 4, 8 or 9"},
              {&bricks, "9", "N. of nodes per element must be 4, 8 or 9"}};
  for (const auto& row : rows) {
    Session s;
    Result r = run(s, *row.mesh, std::string(row.ntype) + "\n\nend\n");
    // The refusal comes before the extraction question.
    EXPECT_EQ(r.out,
              start(*row.mesh) + ask_problem_type(row.ntype) + abandoned + step("end") + leave());
    EXPECT_EQ(r.err, warning(row.warning) + not_generated);
    EXPECT_EQ(s.files(), std::vector<std::string>{row.mesh->job + ".vmz"});
  }
}

// Three quadrilaterals on eight points with the given element lines.
std::string quads(const std::vector<std::string>& lists) {
  std::string text = lines({"Quads", "Q4", "    3       8       1"}) + lines(lists);
  for (int p = 0; p < 8; ++p)
    text += format("%5d %15.8lf %15.8lf %15.8lf\n", p + 1, double(p % 4), double(p / 4), 0.0);
  return text + "    1     8\n";
}

// Mixed node counts are refused, naming the first element that differs with its open count;
// the lists stay as they were. Otherwise closed lists are opened in the buffer.
TEST(Gld, ClosedListsAreOpenedOnlyWhenTheFileIsWritten) {
  const struct {
    std::vector<std::string> lists;
    int element, count;  // first element whose open count differs, and that count; 0: none
  } rows[] = {
      {{"    1     4        1     2     6     5", "    2     4        2     3     7     6",
        "    3     4        3     4     8     3"},
       3,
       3},
      {{"    1     4        1     2     6     1", "    2     5        2     3     7     6     2",
        "    3     4        3     4     8     7"},
       2,
       4},
      {{"    1     5        1     2     6     5     1",
        "    2     5        2     3     7     6     2",
        "    3     5        3     4     8     7     6"},
       3,
       5},
      {{"    1     5        1     2     6     5     1", "    2     4        2     3     7     6",
        "    3     5        3     4     8     7     3"},
       0,
       0},
  };
  for (const auto& row : rows) {
    Session s;
    std::string mesh = quads(row.lists);
    s.write("quads.vmz", mesh);
    Result r = s.run("rea\nquads\ngld\njob\n1\n\nwri\nout\nend\n");
    if (row.element == 0) {
      EXPECT_EQ(r.err, "");
      EXPECT_NE(s.read("job_gl.dat")
                    .find("# ielem matno ielnp        lnods ...\n"
                          "      1     1     1        1     2     6     5\n"
                          "      2     1     1        2     3     7     6\n"
                          "      3     1     1        3     4     8     7\n\n"),
                std::string::npos);
      EXPECT_EQ(s.read("out.vmz"), quads({"    1     4        1     2     6     5",
                                          "    2     4        2     3     7     6",
                                          "    3     4        3     4     8     7"}));
      continue;
    }
    EXPECT_EQ(r.err, format("\nChecking element n. %8d\n\nN. of nodes per element = %8d\n",
                            row.element, row.count) +
                         warning("N. of nodes per element must be constant") + not_generated);
    EXPECT_NE(r.out.find(ask_problem_type("1") + abandoned + step("wri")), std::string::npos);
    EXPECT_FALSE(s.exists("job_gl.dat"));
    EXPECT_EQ(s.read("out.vmz"), mesh);
  }
}

TEST(Gld, KeepsTheWrittenMarkAndOlderFilesOnFailure) {
  Session s;
  // The lists of the buffer change, but end leaves without asking.
  Result r = run(s, plate, "\n\nend\n");
  EXPECT_EQ(r.out, start(plate) + ask_problem_type("") + ask_extraction("") + writing +
                       step("end") + leave());
  // A file that cannot be created ends the program.
  ::unlink(s.path("job_gl.dat").c_str());
  ::mkdir(s.path("job_gl.dat").c_str(), 0700);
  r = run(s, plate, "6\nend\n");
  EXPECT_EQ(r.out, start(plate) + ask_problem_type("6") + writing);
  EXPECT_EQ(r.err, fatal("Unable to open output file - jobname_gl.dat"));
  EXPECT_EQ(r.status, 1);
  // An incomplete file is refused: the older file and the closed lists stay as they were.
  ::rmdir(s.path("job_gl.dat").c_str());
  s.write("job_gl.dat", "an older file\n");
  s.limit_file_size(6000);
  r = run(s, plate, "1\n\n\nwri\nout\nend\n");
  EXPECT_EQ(r.err, warning("Unable to write output file - jobname_gl.dat"));
  EXPECT_NE(r.out.find(writing + std::string("\nNothing changed - press the Return key ... \n")),
            std::string::npos);
  EXPECT_EQ(s.read("job_gl.dat"), "an older file\n");
  EXPECT_EQ(s.files(), (std::vector<std::string>{"job_gl.dat", "out.vmz", "plate.vmz"}));
  EXPECT_EQ(s.read("out.vmz"), data("plate.vmz"));
}
