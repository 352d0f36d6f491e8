// The shell end to end: start-up, the menu and its checks, help, ccf, sys, end, rea and wri.
#include <gtest/gtest.h>

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
  const std::string help =
      "\n***   HELP SCREEN   ***\n\n" +
      lines({"bts - brick to shell transformation in buffer a or b",
             "ccf - change current buffer to a or b",
             "csm - create a simple mesh in buffer a or b",
             "cue - cut elements outside a slice in buffer a or b",
             "cya - cylindric array of buffer a or b",
             "dxi - read a .dxf file to buffer a or b (AutoCad 10) (polylines only)",
             "dxo - write a .dxf file with buffer a or b (AutoCad 10)",
             "ele - eliminate ranges of elements in buffer a or b",
             "elp - eliminate points not belonging to any element in buffer a or b",
             "end - end trelmo", "gen - generate a refined mesh with buffer a or b",
             "gld - write a _gl.dat file (solvora) with buffer a or b",
             "mer - merge buffer b in buffer a (all elements go to buffer a)",
             "mir - mirror buffer a or b (previous object is lost)",
             "mov - move buffer a or b (previous object is lost)",
             "paa - parallelepipedic array of buffer a or b",
             "rea - read a .vmz file to buffer a or b",
             "ren - renumber elements, nodes and special nodes in buffer a or b",
             "rot - rotate buffer a or b (previous object is lost)",
             "shr - shrink elements in buffer a or b"}) +
      "\nMore commands available - press the Return key ... \n" +
      lines({"snd - special node detector in buffer a or b",
             "stf - shell to frame transformation in buffer a or b",
             "sys - send a command to the operating system",
             "wri - write a .vmz file with buffer a or b",
             "wrp - write a .pva file with x, y or z of buffer a or b"}) +
      "\nNo more help - press the Return key ... \n";
  EXPECT_EQ(r.out, startup() + step("WRI") + bell + step("") + bell + step("wri x") + bell +
                       step("xyz") + bell + step("wri") + need_point + step("  ccf  ") +
                       step("wri", 'b') + need_point + step("help", 'b') + help +
                       step("ccf", 'b') + step("end") + leave());
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

// How a session ends: the Leave anyway question while a buffer holds unwritten changes, and the
// end of the answers.
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
      {"rea\nplate\nend\n", read_rectangle("new", "plate") + step("end") + leave(), "", 0},
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

TEST(ReaWri, MalformedFilesEndTheProgram) {
  const struct {
    const char *text, *context, *message;
  } rows[] = {
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
  for (const auto& row : rows) {
    Session s;
    s.write("bad.vmz", row.text);
    Result r = s.run("rea\nbad\nend\n");
    EXPECT_EQ(r.err, row.context + fatal(row.message)) << row.text;
    EXPECT_EQ(r.status, 1) << row.text;
    EXPECT_EQ(r.out.find(step("end")), std::string::npos) << row.text;
  }
}

TEST(ReaWri, UnwritableTargetOrFullDiskLeavesNoHalfFile) {
  Session s;
  s.write("plate.vmz", rectangle);
  Result r = s.run("rea\nplate\nwri\nno/such/dir\n\nend\n");
  EXPECT_EQ(r.out, startup() + read_rectangle("new", "plate") + step("wri") +
                       job_dialogue(wri_heading, "plate", "no/such/dir") +
                       writing("no/such/dir.vmz", 1, 4, 1) + unchanged + step("end") + leave());
  EXPECT_EQ(r.err, warning("Unable to open output file - jobname.vmz"));
  EXPECT_EQ(r.status, 0);
  // A mesh larger than the file-size limit: the earlier file stays whole.
  std::string big = "Big\nB\n0 3000 0\n";
  for (int p = 1; p <= 3000; ++p) big += std::to_string(p) + " 1 2 3\n";
  s.write("big.vmz", big);
  s.limit_file_size(4096);
  r = s.run("rea\nbig\nwri\nplate\n\nend\n");
  EXPECT_EQ(r.err, warning("Unable to write output file - jobname.vmz"));
  EXPECT_NE(r.out.find("\nWriting file: plate.vmz\n" + unchanged), std::string::npos);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.read("plate.vmz"), rectangle);
  EXPECT_EQ(s.files(), (std::vector<std::string>{"big.vmz", "plate.vmz"}));
}

// Every command that writes a file, on a disk that fills up: the failure is reported, the buffer
// keeps what it held, no temporary file is left behind and no user file is half-written.
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
  EXPECT_TRUE(ends_with(r.out, writing("keep.vmz", 1000, 8000, 0) + unchanged + step("end") +
                                   leave()));
  for (const std::string& name : kept) EXPECT_EQ(s.read(name), "kept " + name + "\n");
  EXPECT_EQ(s.files(), (std::vector<std::string>{"big.vmz", "big_1.pva", "keep.dxf", "keep.vmz",
                                                 "keep_gl.dat"}));
}
