#include "console/dialogue.h"

#include <gtest/gtest.h>

#include "console/report.h"
#include "support/capture.h"

using session::ConsoleCapture;

TEST(Askint, ReturnTakesTheDefaultAndEchoesIt) {
  ConsoleCapture c("\n");
  EXPECT_EQ(console::askint("Number", 4), 4);
  EXPECT_EQ(c.out(), "\nNumber [4] ? You answered: 4\n");
}

TEST(Askint, RefusesUntilAnIntegerIsGiven) {
  ConsoleCapture c("12abc\n1.5\n+-3\n99999999999\n   -7 8\n");
  EXPECT_EQ(console::askint("N", 0), -7);
  EXPECT_EQ(c.out(),
            "\nN [0] ? You answered: 12abc\n\nERROR: repeat answer ...\n"
            "\nN [0] ? You answered: 1.5\n\nERROR: repeat answer ...\n"
            "\nN [0] ? You answered: +-3\n\nERROR: repeat answer ...\n"
            "\nN [0] ? You answered: 99999999999\n\nERROR: repeat answer ...\n"
            "\nN [0] ? You answered: -7\n");
}

TEST(Askint, AcceptsAnExplicitPlusSign) {
  ConsoleCapture c("+7\n");
  EXPECT_EQ(console::askint("N", 0), 7);
}

TEST(Askrea, AcceptsTheDecimalForms) {
  ConsoleCapture c("1\n1.\n.5\n-2.5e3\n1E-2\n");
  EXPECT_EQ(console::askrea("x", 0), 1.0);
  EXPECT_EQ(console::askrea("x", 0), 1.0);
  EXPECT_EQ(console::askrea("x", 0), 0.5);
  EXPECT_EQ(console::askrea("x", 0), -2500.0);
  EXPECT_EQ(console::askrea("x", 0), 0.01);
}

TEST(Askrea, RefusesMalformedAnswers) {
  ConsoleCapture c("e3\n1.2.3\n1e1234\nabc\n1e999\n2\n");
  EXPECT_EQ(console::askrea("x", 0), 2.0);
  std::string out = c.out();
  std::size_t refusals = 0;
  for (std::size_t p = out.find("ERROR: repeat answer ..."); p != std::string::npos;
       p = out.find("ERROR: repeat answer ...", p + 1)) {
    ++refusals;
  }
  EXPECT_EQ(refusals, 5u);
}

TEST(Askrea, EchoesATakenDefaultInShortestForm) {
  ConsoleCapture c("\n\n");
  EXPECT_EQ(console::askrea("Tolerance", 0.1), 0.1);
  EXPECT_EQ(console::askrea("Tolerance", 1e-05), 1e-05);
  EXPECT_EQ(c.out(),
            "\nTolerance [0.1] ? You answered: 0.1\n\nTolerance [1e-05] ? You answered: 1e-05\n");
}

TEST(Askcha, FoldsCaseAndRefusesLongerAnswers) {
  ConsoleCapture c("N\nno\nx\n\n");
  EXPECT_EQ(console::askcha("Leave anyway", 'y', 'n', 'n'), 'n');
  EXPECT_EQ(console::askcha("Leave anyway", 'y', 'n', 'y'), 'y');
  EXPECT_EQ(c.out(),
            "\nLeave anyway (y/n) [n] ? You answered: n\n"
            "\nLeave anyway (y/n) [y] ? You answered: no\n\nERROR: repeat answer ...\n"
            "\nLeave anyway (y/n) [y] ? You answered: x\n\nERROR: repeat answer ...\n"
            "\nLeave anyway (y/n) [y] ? You answered: y\n");
}

TEST(Askcha, ADefaultOutsideTheChoicesIsFatal) {
  ConsoleCapture c("\n");
  EXPECT_THROW(console::askcha("Q", 'y', 'n', 'x'), console::FatalError);
}

TEST(Askstr, KeepsBlanksAndShowsNoBracketsForAnEmptyDefault) {
  ConsoleCapture c("  two  words \n\n");
  EXPECT_EQ(console::askstr("Command", ""), "  two  words ");
  EXPECT_EQ(console::askstr("Job name", "new"), "new");
  EXPECT_EQ(c.out(), "Command ? You answered:   two  words \nJob name [new] ? You answered: new\n");
}

TEST(Rdline, CutsLongLinesAndAcceptsEveryLineEnd) {
  std::string longline(100, 'x');
  ConsoleCapture c(longline + "\na\rb\r\nc\n");
  EXPECT_EQ(console::rdline(80), std::string(79, 'x'));
  EXPECT_EQ(console::rdline(80), "a");
  EXPECT_EQ(console::rdline(80), "b");
  EXPECT_EQ(console::rdline(80), "c");
}

TEST(Askwrd, FirstWordAfterLeadingBlanks) {
  ConsoleCapture c("   12  34\n");
  EXPECT_EQ(console::askwrd(), "12");
}

TEST(EndOfInput, EveryQuestionAndWaitEndsTheProgram) {
  {
    ConsoleCapture c("");
    EXPECT_THROW(console::askint("N", 1), console::FatalError);
  }
  {
    ConsoleCapture c("7");  // a last line without its line end is still an answer
    EXPECT_EQ(console::askint("N", 1), 7);
    EXPECT_THROW(console::waitrt(), console::FatalError);
  }
  {
    ConsoleCapture c("");
    EXPECT_THROW(console::askstr("Command", ""), console::FatalError);
  }
}

TEST(Reports, FatalAndWarningFormats) {
  ConsoleCapture c("");
  console::warning("Something", 12);
  console::warning("Plain");
  console::print_fatal(console::FatalError("Broken", 12));
  console::print_fatal(console::FatalError("Broken"));
  EXPECT_EQ(c.err(),
            "\nWARNING:\nSomething\nLine n.       12\n"
            "\nWARNING:\nPlain\n"
            "\nERROR:\nBroken\nLine n.       12\n\n"
            "\nERROR:\nBroken\n\n");
}
