// The shell's own commands end to end: invalid words, checks, help, ccf, sys, end.
#include <gtest/gtest.h>

#include "support/session.h"

using namespace session;

namespace {
const std::string help_screen =
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
           "end - end trelmo",
           "gen - generate a refined mesh with buffer a or b",
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
}  // namespace

TEST(Menu, InvalidCommandsRingAndWarn) {
  Session s;
  Result r = s.run("WRI\n\nwri x\nxyz\nend\n");
  EXPECT_EQ(r.out, startup() + step("WRI") + "\a\n" + step("") + "\a\n" + step("wri x") + "\a\n" +
                       step("xyz") + "\a\n" + step("end") + leave());
  EXPECT_EQ(r.err, warning("Invalid command") + warning("Invalid command") +
                       warning("Invalid command") + warning("Invalid command"));
  EXPECT_EQ(r.status, 0);
}

TEST(Menu, BlanksAroundTheWordAreIgnored) {
  Session s;
  Result r = s.run("  ccf  \nend\n");
  EXPECT_EQ(r.out, startup() + step("  ccf  ") + step("end", 'b') + leave());
}

TEST(Menu, ChecksBeforeTheCall) {
  Session s;
  Result r = s.run("wri\nccf\nwri\nend\n");
  EXPECT_EQ(r.out, startup() + step("wri") + "\nERROR: need at least one point\n" + step("ccf") +
                       step("wri", 'b') + "\nERROR: need at least one point\n" + step("end", 'b') +
                       leave());
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.status, 0);
}

TEST(Help, TwoPagesWithTheirPauses) {
  Session s;
  Result r = s.run("help\n\n\nend\n");
  EXPECT_EQ(r.out, startup() + step("help") + help_screen + step("end") + leave());
  EXPECT_EQ(r.err, "");
}

TEST(Ccf, SwitchesTheLetterBackAndForth) {
  Session s;
  Result r = s.run("ccf\nccf\nccf\nend\n");
  EXPECT_EQ(r.out,
            startup() + step("ccf") + step("ccf", 'b') + step("ccf") + step("end", 'b') + leave());
}

TEST(Sys, RunsTheCommandAndOffersItAgain) {
  Session s;
  Result r = s.run("sys\necho hello > out.txt\n\nsys\n\n\nsys\n   \n\nend\n");
  EXPECT_EQ(r.out,
            startup() + step("sys") + "\nSystem command ? You answered: echo hello > out.txt\n" +
                "\nReturning to trelmo - press the Return key ... \n" + step("sys") +
                "\nSystem command [echo hello > out.txt] ? You answered: echo hello > "
                "out.txt\n" +
                "\nReturning to trelmo - press the Return key ... \n" + step("sys") +
                "\nSystem command [echo hello > out.txt] ? You answered:    \n" +
                "\nReturning to trelmo - press the Return key ... \n" + step("end") + leave());
  EXPECT_EQ(s.read("out.txt"), "hello\n");
  EXPECT_EQ(r.status, 0);
}

TEST(End, AtTheEndOfInputTheProgramStopsWithStatusOne) {
  Session s;
  Result r = s.run("ccf\n");
  EXPECT_EQ(r.out, startup() + step("ccf") + menu('b') + "Command ? ");
  EXPECT_EQ(r.err, fatal("End of input reached while waiting for an answer"));
  EXPECT_EQ(r.status, 1);
}

namespace {
bool ends_with(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}
}  // namespace

TEST(End, UnwrittenChangesAskLeaveAnywayUntilWritten) {
  Session s;
  Result r = s.run("csm\n2\n\n\nend\n\nwri\nsq\nend\n");
  std::string tail = step("end") + ask_char("Leave anyway", 'y', 'n', 'n', "") + step("wri") +
                     job_dialogue("Write a .vmz file with buffer a or b", "new", "sq") +
                     counts(1, 4, 0) + "\nWriting file: sq.vmz\n" + step("end") + leave();
  EXPECT_TRUE(ends_with(r.out, tail)) << r.out;
  EXPECT_EQ(r.err, warning("No write of a .vmz file since last change"));
  EXPECT_EQ(r.status, 0);
}

TEST(End, TheOtherBufferCountsToo) {
  Session s;
  Result r = s.run("ccf\ncsm\n1\n\n\n\n\n\n\nccf\nend\ny\n");
  EXPECT_TRUE(
      ends_with(r.out, step("end") + ask_char("Leave anyway", 'y', 'n', 'n', "y") + leave()))
      << r.out;
  EXPECT_EQ(r.err, warning("No write of a .vmz file since last change"));
  EXPECT_EQ(r.status, 0);
}

TEST(End, ReaDoesNotChangeTheWrittenMark) {
  Session s;
  s.write("plate.vmz", "T\nM\n0 1 0\n1 0 0 0\n");
  Result r = s.run("rea\nplate\nend\n");
  EXPECT_TRUE(ends_with(r.out, step("end") + leave()));
  EXPECT_EQ(r.err, "");
}
