// rea and wri end to end: the job-name dialogue, round trips, missing and malformed files,
// write failures.
#include <gtest/gtest.h>

#include "support/session.h"

using namespace session;

namespace {

const std::string rectangle =
    "Rectangular mesh\n"
    "Mesh\n"
    "    1       4       1\n"
    "    1     5        1     2     3     4     1\n"
    "    1      0.00000000      0.00000000      0.00000000\n"
    "    2      2.00000000      0.00000000      0.00000000\n"
    "    3      2.00000000      1.00000000      0.00000000\n"
    "    4      0.00000000      1.00000000      0.00000000\n"
    "    1     3\n";

const std::string rea_heading = "Read a .vmz file to buffer a or b";
const std::string wri_heading = "Write a .vmz file with buffer a or b";

std::string writing(const std::string& file, int nelem, int npoin, int nspno) {
  return counts(nelem, npoin, nspno) + "\nWriting file: " + file + "\n";
}

}  // namespace

TEST(ReaWri, RoundTripRewritesTheFileCanonically) {
  Session s;
  // The same mesh in a loose layout: other widths, records over several lines.
  s.write("loose.vmz",
          "  Rectangular mesh  \nMesh\n1 4 1\n1 5\n1 2 3 4 1\n1 0 0 0\n2 2.0 0 0\n3 2 1 0\n"
          "4 0 1 0 1 3\n");
  Result r = s.run("rea\nloose\nwri\ncanon\nend\n");
  EXPECT_EQ(r.out, startup() + step("rea") + job_dialogue(rea_heading, "new", "loose") +
                       reading("loose.vmz", "Rectangular mesh", "Mesh", 1, 4, 1) + step("wri") +
                       job_dialogue(wri_heading, "loose", "canon") + writing("canon.vmz", 1, 4, 1) +
                       step("end") + leave());
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.read("canon.vmz"), rectangle);
}

TEST(ReaWri, WriOverwritesAndTheDefaultIsTheLastAnswer) {
  Session s;
  s.write("plate.vmz", rectangle);
  Result r = s.run("rea\nplate\nwri\n\nend\n");
  EXPECT_EQ(r.out, startup() + step("rea") + job_dialogue(rea_heading, "new", "plate") +
                       reading("plate.vmz", "Rectangular mesh", "Mesh", 1, 4, 1) + step("wri") +
                       job_dialogue(wri_heading, "plate", "") + writing("plate.vmz", 1, 4, 1) +
                       step("end") + leave());
  EXPECT_EQ(s.read("plate.vmz"), rectangle);
  EXPECT_EQ(s.files(), std::vector<std::string>{"plate.vmz"});
}

TEST(JobName, RefusedNamesAreOfferedAgainAndTwoWordsAreCut) {
  Session s;
  s.write("good.vmz", rectangle);
  Result r = s.run("rea\nbad-name\n  good  second\nend\n");
  EXPECT_EQ(r.out, startup() + step("rea") + job_dialogue(rea_heading, "new", "bad-name") +
                       "\nERROR: invalid job name - repeat answer ...\n\n" + rea_heading +
                       "\n\nJob name [bad-name] ? You answered:   good  second\n" +
                       reading("good.vmz", "Rectangular mesh", "Mesh", 1, 4, 1) + step("end") +
                       leave());
  EXPECT_EQ(r.status, 0);
}

TEST(Rea, MissingFileClearsTheBuffer) {
  Session s;
  s.write("plate.vmz", rectangle);
  Result r = s.run("rea\nplate\nrea\nnone\n\nwri\nend\n");
  EXPECT_EQ(r.out, startup() + step("rea") + job_dialogue(rea_heading, "new", "plate") +
                       reading("plate.vmz", "Rectangular mesh", "Mesh", 1, 4, 1) + step("rea") +
                       job_dialogue(rea_heading, "plate", "none") +
                       "\nReading file: none.vmz\n"
                       "\nCurrent buffer cleared - press the Return key ... \n" +
                       counts(0, 0, 0) + step("wri") + "\nERROR: need at least one point\n" +
                       step("end") + leave());
  EXPECT_EQ(r.err, warning("File not found - jobname.vmz"));
  EXPECT_EQ(r.status, 0);
}

TEST(Rea, IntoBufferBLeavesBufferAButSharesTheTitles) {
  Session s;
  s.write("plate.vmz", rectangle);
  s.write("bar.vmz", "Bar\nB\n1 2 0\n1 2 1 2\n1 0 0 0\n2 1 0 0\n");
  Result r = s.run("rea\nplate\nccf\nrea\nbar\nccf\nwri\na\nend\n");
  EXPECT_EQ(r.status, 0);
  // Buffer a still holds the rectangle, written with the titles read last.
  EXPECT_EQ(s.read("a.vmz"), "Bar\nB" + rectangle.substr(rectangle.find("\n    1       4")));
}

TEST(Rea, MalformedFilesEndTheProgram) {
  struct Case {
    std::string text;
    std::string context;
    std::string message;
  };
  const Case cases[] = {
      {"T\nM\n1 2 0\n2 2 1 2\n", "\nReading element n.        1\n", "Wrong element number"},
      {"T\nM\n1 2 0\n1 0\n", "\nReading element n.        1\n",
       "N. of nodes of an element is less than 1"},
      {"T\nM\n1 2 0\n1 21 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\n",
       "\nReading element n.        1\nMaximum n. of nodes per element =       20\n",
       "Too many nodes in the element"},
      {"T\nM\n1 2 0\n1 2 1 3\n", "\nReading element n.        1\n", "Element node out of range"},
      {"T\nM\n0 2 0\n1 0 0 0\n1 0 0 0\n", "\nReading node n.        2\n", "Wrong node number"},
      {"T\nM\n0 1 1\n1 0 0 0\n2 1\n", "\nReading special node n.        1\n",
       "Wrong special node number"},
      {"T\nM\n0 1 1\n1 0 0 0\n1 2\n", "\nReading special node n.        1\n",
       "Special node number out of range"},
      {"T\nM", "", "elimnl: internal error 2 (LF expected)"},
      {"T\r", "", "elimnl: internal error 1 (CR in the string)"},
  };
  for (const Case& c : cases) {
    Session s;
    s.write("bad.vmz", c.text);
    Result r = s.run("rea\nbad\nend\n");
    EXPECT_EQ(r.err, c.context + fatal(c.message)) << c.text;
    EXPECT_EQ(r.status, 1) << c.text;
    EXPECT_EQ(r.out.find(step("end")), std::string::npos) << c.text;
  }
}

TEST(Wri, UnwritableTargetIsRefusedAndTheMarkStays) {
  Session s;
  s.write("plate.vmz", rectangle);
  Result r = s.run("rea\nplate\nwri\nno/such/dir\n\nend\n");
  EXPECT_EQ(r.out, startup() + step("rea") + job_dialogue(rea_heading, "new", "plate") +
                       reading("plate.vmz", "Rectangular mesh", "Mesh", 1, 4, 1) + step("wri") +
                       job_dialogue(wri_heading, "plate", "no/such/dir") +
                       writing("no/such/dir.vmz", 1, 4, 1) +
                       "\nNothing changed - press the Return key ... \n" + step("end") + leave());
  EXPECT_EQ(r.err, warning("Unable to open output file - jobname.vmz"));
  EXPECT_EQ(r.status, 0);
}

TEST(Wri, AFullDiskNeverLeavesAHalfWrittenFile) {
  Session s;
  // A mesh larger than the file-size limit below.
  std::string big = "Big\nB\n0 3000 0\n";
  for (int p = 1; p <= 3000; ++p) big += std::to_string(p) + " 1 2 3\n";
  s.write("big.vmz", big);
  s.write("keep.vmz", rectangle);
  s.limit_file_size(4096);
  Result r = s.run("rea\nbig\nwri\nkeep\n\nend\n");
  EXPECT_EQ(r.err, warning("Unable to write output file - jobname.vmz"));
  EXPECT_NE(r.out.find("\nWriting file: keep.vmz\n\nNothing changed - press the Return key ... \n"),
            std::string::npos);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.read("keep.vmz"), rectangle);
  EXPECT_EQ(s.files(), (std::vector<std::string>{"big.vmz", "keep.vmz"}));
}
