// The questions and their echo, the answer-line reader, the syntax checks and the reports.
#include "console/dialogue.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>

#include "console/arrays.h"
#include "console/checks.h"
#include "console/dataline.h"
#include "console/report.h"
#include "support/inprocess.h"

namespace {

// Asks one question of the given kind and gives the answer as text.
std::string ask(char kind) {
  char text[40];
  switch (kind) {
    case 'i': return std::to_string(console::askint("N", 4));
    case 'r': std::snprintf(text, sizeof text, "%.17g", console::askrea("x", 0.1)); return text;
    case 'R': std::snprintf(text, sizeof text, "%.17g", console::askrea("t", 1e-5)); return text;
    case 'c': return std::string(1, console::askcha("Q", 'Y', 'n', 'n'));
    case 's': return console::askstr("Job", "new");
    case 'S': return console::askstr("Cmd", "");
    default: return console::askwrd();
  }
}

int count(const std::string& text, const std::string& part) {
  int n = 0;
  for (auto p = text.find(part); p != std::string::npos; p = text.find(part, p + 1)) ++n;
  return n;
}

// kind, answer lines, the answer taken, refusals before it, and the whole screen when it is set.
const struct {
  char kind;
  const char* answers;
  const char* value;
  int refusals;
  const char* screen;
} asks[] = {
    {'i', "\n", "4", 0, "\nN [4] ? You answered: 4\n"},
    {'i', "x\n   -7 8\n", "-7", 1,
     "\nN [4] ? You answered: x\n\nERROR: repeat answer ...\n\nN [4] ? You answered: -7\n"},
    {'i', "12abc\n1.5\n+-3\n99999999999\n+\n\t1\n+7\n", "7", 6, nullptr},
    {'i', "-2147483648\n", "-2147483648", 0, nullptr},
    {'i', "2147483648\n0", "0", 1, nullptr},
    {'r', "\n", "0.10000000000000001", 0, "\nx [0.1] ? You answered: 0.1\n"},
    {'R', "\n", "1.0000000000000001e-05", 0, "\nt [1e-05] ? You answered: 1e-05\n"},
    {'r', "1.\n", "1", 0, nullptr},
    {'r', ".5\n", "0.5", 0, nullptr},
    {'r', "-2.5e3\n", "-2500", 0, "\nx [0.1] ? You answered: -2.5e3\n"},
    {'r', "1E-2\n", "0.01", 0, nullptr},
    {'r', "+3.25\n", "3.25", 0, nullptr},
    {'r', "1e-400\n", "0", 0, nullptr},
    {'r', "e3\n1.2.3\n1e1234\nabc\n1e999\n.\n2\n", "2", 6, nullptr},
    {'c', "N\n", "n", 0, "\nQ (y/n) [n] ? You answered: n\n"},
    {'c', "no\nx\n\n", "n", 2,
     "\nQ (y/n) [n] ? You answered: no\n\nERROR: repeat answer ...\n"
     "\nQ (y/n) [n] ? You answered: x\n\nERROR: repeat answer ...\n"
     "\nQ (y/n) [n] ? You answered: n\n"},
    {'c', "Y\n", "y", 0, nullptr},
    {'s', "  two  words \n", "  two  words ", 0, "Job [new] ? You answered:   two  words \n"},
    {'s', "\n", "new", 0, "Job [new] ? You answered: new\n"},
    {'S', "a b\n", "a b", 0, "Cmd ? You answered: a b\n"},
    {'w', "   12  34\n", "12", 0, ""},
    {'w', "\n", "", 0, ""},
};

}  // namespace

TEST(Dialogue, QuestionsTakeTheirAnswers) {
  for (const auto& a : asks) {
    inprocess::Console c(a.answers);
    EXPECT_EQ(ask(a.kind), a.value) << a.answers;
    std::string out = c.out();
    EXPECT_EQ(count(out, "\nERROR: repeat answer ...\n"), a.refusals) << a.answers;
    EXPECT_EQ(a.screen ? out : "", a.screen ? a.screen : "") << a.answers;
  }
}

TEST(Dialogue, EndOfInputAndBadDefaultsAreFatal) {
  for (char kind : {'i', 'r', 'c', 's', 'w'}) {
    inprocess::Console c("");
    EXPECT_THROW(ask(kind), console::FatalError) << kind;
  }
  inprocess::Console c("7");  // a last line without its line end is still an answer
  EXPECT_EQ(ask('i'), "7");
  EXPECT_THROW(console::waitrt(), console::FatalError);
  EXPECT_THROW(console::askcha("Q", 'y', 'n', 'x'), console::FatalError);
}

TEST(Dialogue, RdlineEndsLinesAtEveryLineEndAndCutsThem) {
  inprocess::Console c(std::string(100, 'x') + "\na\rb\r\nc\n\r\r\nd");
  for (std::string want : {std::string(79, 'x'), std::string("a"), std::string("b"),
                           std::string("c"), std::string(), std::string(), std::string("d")}) {
    EXPECT_EQ(console::rdline(80), want);
  }
  EXPECT_THROW(console::rdline(80), console::FatalError);
}

TEST(Dialogue, ReportsAndPause) {
  inprocess::Console c("anything\n");
  console::warning("Something", 12);
  console::warning("Plain");
  console::print_fatal(console::FatalError("Broken", 12));
  console::print_fatal(console::FatalError("Broken"));
  console::pause("Press ... ");
  EXPECT_EQ(c.err(),
            "\nWARNING:\nSomething\nLine n.       12\n\nWARNING:\nPlain\n"
            "\nERROR:\nBroken\nLine n.       12\n\n\nERROR:\nBroken\n\n");
  EXPECT_EQ(c.out(), "Press ... \n");
}

// A word and the position chkint or chkrea reports (0: valid).
const struct {
  const char* word;
  int int_position;
  int real_position;
} words[] = {
    {"-12", 0, 0},     {"   7", 0, 0},    {"+7", 0, 0},      {"007", 0, 0},    {"", 0, 0},
    {"   ", 0, 0},     {"1.0", 2, 0},     {"12a", 3, 3},     {"--1", 2, 2},    {"+-3", 2, 2},
    {"1 2", 2, 2},     {"+", 1, 1},       {"1.", 2, 0},      {".5", 1, 0},     {"-0", 0, 0},
    {"0.000001", 2, 0}, {"-2.5e3", 3, 0}, {"1E-2", 2, 0},    {"-2.5E-03", 3, 0}, {"3.e+2", 2, 0},
    {"1e999", 2, 0},   {".", 1, 1},       {"-.", 2, 2},      {"+.e1", 2, 3},   {"e5", 1, 1},
    {"1e", 2, 2},      {"1e+", 2, 3},     {"1e1234", 2, 6},  {"1e2e3", 2, 4},  {"1.5-3", 2, 4},
    {"1.2.3", 2, 4},   {"1,5", 2, 2},     {"abc", 1, 1},     {"1 e5", 2, 2},   {"1e+-2", 2, 4},
    {" 1 ", 0, 0},
};

TEST(Checks, NumberSyntaxAndPositions) {
  for (const auto& w : words) {
    console::SyntaxCheck i = console::chkint(w.word), r = console::chkrea(w.word);
    EXPECT_EQ(i.position, w.int_position) << w.word;
    EXPECT_EQ(i.valid, w.int_position == 0) << w.word;
    EXPECT_EQ(r.position, w.real_position) << w.word;
    EXPECT_EQ(r.valid, w.real_position == 0) << w.word;
  }
}

TEST(Checks, JobNamesAndBlanks) {
  const std::pair<std::string, std::string> accepted[] = {
      {"Dir/sub\\A.b:c$d_9", "Dir/sub\\A.b:c$d_9"}, {"", ""}, {"  plate second", "plate"},
      {"a\tb-c", "a"}, {"zZ09 ", "zZ09"}};
  for (auto [name, kept] : accepted) {
    EXPECT_EQ(console::chkjob(name), 'y') << kept;
    EXPECT_EQ(name, kept);
  }
  for (std::string name : {"my-job", "a,b", "@", "a[", "{", "`"}) {
    EXPECT_EQ(console::chkjob(name), 'n') << name;
  }
  std::string a = "  two words  ", b = "    ", t = "\tx\t";
  console::trimbl(a), console::trimbl(b), console::trimbl(t);
  EXPECT_EQ(a + "|" + b + "|" + t, "two words||\tx\t");
  EXPECT_EQ(console::lentrm("  ab  "), 4);
  EXPECT_EQ(console::lentrm("   "), 0);
  EXPECT_EQ(console::lblank("   ab "), 3);
  EXPECT_EQ(console::lblank("    "), 0);
}

// A token, its value as a real (NAN: refused) and whether it is also an int.
const struct {
  const char* token;
  double real;
  bool integer;
} tokens[] = {{"+1.5e2", 150, false},   {"-.25", -0.25, false},        {"1e-400", 0, false},
              {"+7", 7, true},          {"-2147483648", -2147483648.0, true},
              {"2147483648", 2147483648.0, false}, {"0x10", NAN, false}, {"1e400", NAN, false},
              {"nan", NAN, false},      {"inf", NAN, false},           {"1.5x", NAN, false},
              {"", NAN, false},         {"+", NAN, false},             {"+-1", NAN, false}};

TEST(Checks, WholeTokenConversions) {
  for (const auto& t : tokens) {
    double v = 0;
    int n = 0;
    EXPECT_EQ(console::parse_real(t.token, v), !std::isnan(t.real)) << t.token;
    EXPECT_EQ(std::isnan(t.real) ? 0 : v, std::isnan(t.real) ? 0 : t.real) << t.token;
    EXPECT_EQ(console::parse_int(t.token, n), t.integer) << t.token;
    EXPECT_EQ(t.integer ? n : 0, t.integer ? t.real : 0) << t.token;
  }
}

TEST(DataLine, LineEndsAndWords) {
  for (auto [line, kept] : {std::pair<std::string, std::string>{"abc\n", "abc"},
                            {"abc\r\n", "abc"}, {"\n", ""}, {"\r\n", ""}, {"", ""}}) {
    console::elimnl(line);
    EXPECT_EQ(line, kept);
  }
  for (std::string line : {"abc", "abc\r"}) EXPECT_THROW(console::elimnl(line), console::FatalError);
  using Words = std::vector<std::string>;
  EXPECT_EQ(console::splitw("   # only a comment\n"), Words{});
  EXPECT_EQ(console::splitw("a\tb  c#d e\n"), (Words{"a", "b", "c"}));
  EXPECT_EQ(console::splitw("1 2\r3\n"), (Words{"1", "2"}));
  std::string hundred;
  for (int i = 0; i < 100; ++i) hundred += "w ";
  EXPECT_EQ(console::splitw(hundred).size(), 100u);
  EXPECT_EQ(console::splitw(std::string(980, 'x')).size(), 1u);
  for (const std::string& bad : {hundred + "w", std::string(981, 'x')}) {
    EXPECT_THROW(console::splitw(bad), console::FatalError);
  }
}

TEST(Arrays, OneBasedRowMajorStorage) {
  console::OneArray3<double> a(2, 3, 4);
  a.zero();
  a(1, 2, 1) = 5;
  EXPECT_EQ(&a(2, 1, 1) - &a(1, 1, 1), 12);
  EXPECT_EQ(&a(1, 2, 1) - &a(1, 1, 1), 4);
  EXPECT_EQ(a(1, 2, 1) + a(2, 3, 4), 5.0);
  console::OneMatrix<int> m(3, 2), empty(0, 20);
  empty.zero();
  EXPECT_EQ(&m(3, 2) - &m(1, 1), 5);
  EXPECT_EQ(m.row(2), &m(2, 1));
  int huge = std::numeric_limits<int>::max();
  EXPECT_THROW(console::OneArray3<double>(huge, huge, huge), console::FatalError);
}
