// The shell end to end: start-up, the menu and its checks, help, ccf, sys, end, rea and wri.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "support/session.h"

using namespace session;

namespace {

const std::string rectangle = lines({
    "Rectangular mesh",
    "Mesh",
    "    1       4       1",
    "    1     5        1     2     3     4     1",
    "    1      0.00000000      0.00000000      0.00000000",
    "    2      2.00000000      0.00000000      0.00000000",
    "    3      2.00000000      1.00000000      0.00000000",
    "    4      0.00000000      1.00000000      0.00000000",
    "    1     3",
});
const std::string rea_heading = "Read a .vmz file to buffer a or b";
const std::string wri_heading = "Write a .vmz file with buffer a or b";
const std::string need_point = "\nERROR: need at least one point\n";
const std::string unchanged = "\nNothing changed - press the Return key ... \n";

std::string read_rectangle(const std::string& offered, const std::string& job) {
  return step("rea") + job_dialogue(rea_heading, offered, job) +
         reading(job + ".vmz", "Rectangular mesh", "Mesh", 1, 4, 1);
}
std::string writing(const std::string& file, int nelem, int npoin, int nspno) {
  return counts(nelem, npoin, nspno) + "\nWriting file: " + file + "\n";
}
bool ends_with(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

TEST(Shell, StartupDeletesLeftoversAndRefusesArguments) {
  Session s;
  s.write("tmp.vmz", "old\n");
  s.write("tmp.snd", "old\n");
  s.write("keep.vmz", "mine\n");
  Result r = s.run("end\n");
  EXPECT_EQ(r.out, empty_session());
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.status, 0);
  const std::string banner = startup();
  EXPECT_EQ(std::count(banner.begin(), banner.end(), '\n'), 16);
  EXPECT_TRUE(banner.starts_with("\n ****") && banner.find("t  r  e  l  m  o") < banner.size());
  EXPECT_EQ(s.files(), std::vector<std::string>{"keep.vmz"});
  r = s.run("end\n", {"x"});
  EXPECT_EQ(r.out, startup());
  EXPECT_EQ(r.err, fatal("Usage: trelmo"));
  EXPECT_EQ(r.status, 1);
}

TEST(Shell, MenuChecksCcfAndHelp) {
  Session s;
  Result r = s.run("WRI\n\nwri x\nxyz\nwri\n  ccf  \nwri\nhelp\n\n\nccf\nend\n");
  const std::string bell = "\a\n";
  std::ifstream file(std::string(TRELMO_TEST_DATA) + "/shell/help.txt", std::ios::binary);
  const std::string help{std::istreambuf_iterator<char>(file), {}};
  EXPECT_EQ(r.out, startup() + step("WRI") + bell + step("") + bell + step("wri x") + bell +
                       step("xyz") + bell + step("wri") + need_point + step("  ccf  ") +
                       step("wri", 'b') + need_point + step("help", 'b') + help + step("ccf", 'b') +
                       step("end") + leave());
  EXPECT_EQ(r.err, warning("Invalid command") + warning("Invalid command") +
                       warning("Invalid command") + warning("Invalid command"));
  EXPECT_EQ(r.status, 0);
}

TEST(Shell, SysRunsTheLineAndOffersItAgain) {
  Session s;
  Result r = s.run("sys\necho hello > out.txt\n\nsys\n\n\nsys\n   \n\nend\n");
  const std::string back = "\nReturning to trelmo - press the Return key ... \n";
  const std::string offered = "\nSystem command [echo hello > out.txt] ? You answered: ";
  EXPECT_EQ(r.out, startup() + step("sys") + "\nSystem command ? You answered: echo hello > " +
                       "out.txt\n" + back + step("sys") + offered + "echo hello > out.txt\n" +
                       back + step("sys") + offered + "   \n" + back + step("end") + leave());
  EXPECT_EQ(s.read("out.txt"), "hello\n");
}

// "Leave anyway" while a buffer holds unwritten changes; the end of the answers.
TEST(Shell, EndAsksWhileABufferIsUnwritten) {
  const std::string leave_anyway = "\n" + std::string("Leave anyway (y/n) [n] ? You answered: ");
  const std::string unwritten = warning("No write of a .vmz file since last change");
  const struct {
    const char* answers;
    std::string tail, err;
    int status;
  } rows[] = {
      {"csm\n2\n\n\nend\n\nwri\nsq\nend\n",
       step("end") + leave_anyway + "n\n" + step("wri") + job_dialogue(wri_heading, "new", "sq") +
           writing("sq.vmz", 1, 4, 0) + step("end") + leave(),
       unwritten, 0},
      {"ccf\ncsm\n1\n\n\n\n\n\n\nccf\nend\ny\n", step("end") + leave_anyway + "y\n" + leave(),
       unwritten, 0},
      {"ccf\n", step("ccf") + menu('b') + "Command ? ",
       fatal("End of input reached while waiting for an answer"), 1},
  };
  for (const auto& row : rows) {
    Session s;
    s.write("plate.vmz", rectangle);
    Result r = s.run(row.answers);
    EXPECT_TRUE(ends_with(r.out, row.tail)) << row.answers << r.out;
    EXPECT_EQ(r.err, row.err) << row.answers;
    EXPECT_EQ(r.status, row.status) << row.answers;
  }
}

TEST(ReaWri, RoundTripJobNamesAndDefaults) {
  Session s;
  // The rectangle in a loose layout: other widths, records over several lines.
  s.write("loose.vmz",
          "  Rectangular mesh  \nMesh\n1 4 1\n1 5\n1 2 3 4 1\n1 0 0 0\n2 2.0 0 0\n3 2 1 0\n"
          "4 0 1 0 1 3\n");
  Result r = s.run("rea\nbad-name\n  loose  second\nwri\ncanon\nwri\n\nend\n");
  EXPECT_EQ(r.out, startup() + step("rea") + job_dialogue(rea_heading, "new", "bad-name") +
                       "\nERROR: invalid job name - repeat answer ...\n\n" + rea_heading +
                       "\n\nJob name [bad-name] ? You answered:   loose  second\n" +
                       reading("loose.vmz", "Rectangular mesh", "Mesh", 1, 4, 1) + step("wri") +
                       job_dialogue(wri_heading, "  loose  second", "canon") +
                       writing("canon.vmz", 1, 4, 1) + step("wri") +
                       job_dialogue(wri_heading, "canon", "") + writing("canon.vmz", 1, 4, 1) +
                       step("end") + leave());
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.read("canon.vmz"), rectangle);
  EXPECT_EQ(s.files(), (std::vector<std::string>{"canon.vmz", "loose.vmz"}));
}

TEST(ReaWri, MissingFileClearsTheBufferAndBufferBSharesTitles) {
  Session s;
  s.write("plate.vmz", rectangle);
  Result r = s.run("rea\nplate\nrea\nnone\n\nwri\nend\n");
  EXPECT_EQ(r.out, startup() + read_rectangle("new", "plate") + step("rea") +
                       job_dialogue(rea_heading, "plate", "none") +
                       "\nReading file: none.vmz\n"
                       "\nCurrent buffer cleared - press the Return key ... \n" +
                       counts(0, 0, 0) + step("wri") + need_point + step("end") + leave());
  EXPECT_EQ(r.err, warning("File not found - jobname.vmz"));
  EXPECT_EQ(r.status, 0);
  // Reading into buffer b leaves buffer a, which is written with the titles read last.
  s.write("bar.vmz", "Bar\nB\n1 2 0\n1 2 1 2\n1 0 0 0\n2 1 0 0\n");
  r = s.run("rea\nplate\nccf\nrea\nbar\nccf\nwri\na\nend\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.read("a.vmz"), "Bar\nB" + rectangle.substr(rectangle.find("\n    1       4")));
}

// A faulty file ends the program (the reader's own tests check every fault).
TEST(ReaWri, MalformedFilesEndTheProgram) {
  for (const char* text : {"T\nM\n1 2 0\n2 2 1 2\n", "T\r"}) {
    Session s;
    s.write("bad.vmz", text);
    Result r = s.run("rea\nbad\nend\n");
    EXPECT_EQ(r.err, text[1] == '\r'
                         ? fatal("elimnl: internal error 1 (CR in the string)")
                         : "\nReading element n.        1\n" + fatal("Wrong element number"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out.find(step("end")), std::string::npos);
  }
}

TEST(ReaWri, UnwritableTargetIsRefused) {
  Session s;
  s.write("plate.vmz", rectangle);
  Result r = s.run("rea\nplate\nwri\nno/such/dir\n\nend\n");
  EXPECT_EQ(r.out, startup() + read_rectangle("new", "plate") + step("wri") +
                       job_dialogue(wri_heading, "plate", "no/such/dir") +
                       writing("no/such/dir.vmz", 1, 4, 1) + unchanged + step("end") + leave());
  EXPECT_EQ(r.err, warning("Unable to open output file - jobname.vmz"));
  EXPECT_EQ(r.status, 0);
}

// Every writer on a full disk: reported, the buffer kept, no file left half-written.
TEST(Shell, FullDiskRefusesEveryWriterAndKeepsTheBuffer) {
  Session s;
  ASSERT_EQ(s.run("csm\n3\n\n\n\npaa\n10\n10\n10\n1\n1\n1\nwri\nbig\nend\n").status, 0);
  const std::vector<std::string> kept = {"keep.vmz", "keep.dxf", "keep_gl.dat", "big_1.pva"};
  for (const std::string& name : kept) s.write(name, "kept " + name + "\n");
  s.limit_file_size(16 * 1024);
  Result r = s.run(
      "rea\nbig\npaa\n2\n1\n1\n1\n0\n0\n\ncya\n2\nc\n0\n0\n0\n0\n0\n1\n90\n\nshr\n0.8\n\n"
      "ren\n\n\n\n\n\n\n\n\ngen\n3\n8\n2\n2\n2\n\nbts\ny\n\nelp\n\nele\n1\n1\n0\n\n"
      "cue\n1\n-10\n10\n\ndxo\nkeep\nl\nn\nn\nn\nn\nn\nn\n\ngld\nkeep\n4\n\nwrp\n1\n\n"
      "wri\nkeep\n\nend\n");
  EXPECT_EQ(r.status, 0) << r.err;
  std::string expected;
  for (int i = 0; i < 4; ++i) expected += warning("Unable to write output file - tmp.vmz");
  expected += warning("File jobname_dw.dat not found - running interactively");
  for (int i = 0; i < 5; ++i) expected += warning("Unable to write output file - tmp.vmz");
  for (const char* file : {"jobname.dxf", "jobname_gl.dat", "jobname_1.pva", "jobname.vmz"})
    expected += warning(std::string("Unable to write output file - ") + file);
  EXPECT_EQ(r.err, expected);
  // The buffer still held the block when it was written last.
  EXPECT_TRUE(
      ends_with(r.out, writing("keep.vmz", 1000, 8000, 0) + unchanged + step("end") + leave()));
  for (const std::string& name : kept) EXPECT_EQ(s.read(name), "kept " + name + "\n");
  EXPECT_EQ(s.files(), (std::vector<std::string>{"big.vmz", "big_1.pva", "keep.dxf", "keep.vmz",
                                                 "keep_gl.dat"}));
}
