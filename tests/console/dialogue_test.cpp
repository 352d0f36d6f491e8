// The questions and their echo, the answer-line reader, the syntax checks and the reports.
#include "console/dialogue.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>

#include "console/arrays.h"
#include "console/checks.h"
#include "console/dataline.h"
#include "console/report.h"
#include "support/inprocess.h"
#include "support/session.h"

using console::FatalError;

namespace {

std::vector<std::string> split(const std::string& row) {
  std::vector<std::string> parts(1);
  for (char c : row)
    c == '|' ? (void)parts.emplace_back() : parts.back().push_back(c == ';' ? '\n' : c);
  return parts;
}

// Asks one question of the given kind and gives the answer as text.
std::string ask(char kind) {
  if (kind == 'i') return std::to_string(console::askint("N", 4));
  if (kind == 'r') return session::format("%.17g", console::askrea("x", 0.1));
  if (kind == 'R') return session::format("%.17g", console::askrea("t", 1e-5));
  if (kind == 'c') return std::string(1, console::askcha("Q", 'Y', 'n', 'n'));
  if (kind == 's') return console::askstr("Job", "new");
  if (kind == 'S') return console::askstr("Cmd", "");
  return console::askwrd();
}

// kind|answer lines|the answer taken|refusals before it (";" stands for a line end)
// clang-format off
const char* const answers[] = {
    "i|;|4|0", "i|x;   -7 8;|-7|1", "i|12abc;1.5;+-3;99999999999;+;\t1;+7;|7|6",
    "i|-2147483648;|-2147483648|0", "i|2147483648;0|0|1", "r|;|0.10000000000000001|0",
    "R|;|1.0000000000000001e-05|0", "r|1.;|1|0", "r|.5;|0.5|0", "r|-2.5e3;|-2500|0",
    "r|1E-2;|0.01|0", "r|+3.25;|3.25|0", "r|1e-400;|0|0", "r|e3;1.2.3;1e1234;abc;1e999;.;2;|2|6",
    "c|N;|n|0", "c|no;x;;|n|2", "c|Y;|y|0", "s|  two  words ;|  two  words |0", "s|;|new|0",
    "S|a b;|a b|0", "w|   12  34;|12|0", "w|;||0"};
// clang-format on

// kind|answer lines|the whole screen (";" stands for a line end)
// clang-format off
const char* const screens[] = {
    "i|;|;N [4] ? You answered: 4;",
    "i|x;7;|;N [4] ? You answered: x;;ERROR: repeat answer ...;;N [4] ? You answered: 7;",
    "r|;|;x [0.1] ? You answered: 0.1;", "R|;|;t [1e-05] ? You answered: 1e-05;",
    "r|-2.5e3;|;x [0.1] ? You answered: -2.5e3;", "c|N;|;Q (y/n) [n] ? You answered: n;",
    "c|no;;|;Q (y/n) [n] ? You answered: no;;ERROR: repeat answer ...;"
        ";Q (y/n) [n] ? You answered: n;",
    "s|  two  words ;|Job [new] ? You answered:   two  words ;",
    "s|;|Job [new] ? You answered: new;", "S|a b;|Cmd ? You answered: a b;", "w| 1 2;|"};
// clang-format on

int count(const std::string& text, const std::string& part) {
  int n = 0;
  for (auto p = text.find(part); p != std::string::npos; p = text.find(part, p + 1)) ++n;
  return n;
}

}  // namespace

TEST(Dialogue, QuestionsTakeTheirAnswers) {
  for (const char* row : answers) {
    auto a = split(row);
    inprocess::Console c(a[1]);
    EXPECT_EQ(ask(a[0][0]), a[2]) << a[1];
    EXPECT_EQ(count(c.out(), "\nERROR: repeat answer ...\n"), std::stoi(a[3])) << a[1];
  }
  for (const char* row : screens) {
    auto a = split(row);
    inprocess::Console c(a[1]);
    ask(a[0][0]);
    EXPECT_EQ(c.out(), a[2]);
  }
}

TEST(Dialogue, EndOfInputAndBadDefaultsAreFatal) {
  for (char kind : {'i', 'r', 'c', 's', 'w'}) {
    inprocess::Console c("");
    EXPECT_THROW(ask(kind), FatalError) << kind;
  }
  inprocess::Console c("7");  // a last line without its line end is still an answer
  EXPECT_EQ(ask('i'), "7");
  EXPECT_THROW(console::waitrt(), FatalError);
  EXPECT_THROW(console::askcha("Q", 'y', 'n', 'x'), FatalError);
}

TEST(Dialogue, RdlineEndsLinesAtEveryLineEndAndCutsThem) {
  inprocess::Console c(std::string(100, 'x') + "\na\rb\r\nc\n\r\r\nd");
  EXPECT_EQ(console::rdline(80), std::string(79, 'x'));
  for (const char* want : {"a", "b", "c", "", "", "d"}) EXPECT_EQ(console::rdline(80), want);
  EXPECT_THROW(console::rdline(80), FatalError);
}

TEST(Dialogue, ReportsAndPause) {
  inprocess::Console c("anything\n");
  console::warning("Something", 12);
  console::warning("Plain");
  console::print_fatal(FatalError("Broken", 12));
  console::print_fatal(FatalError("Broken"));
  console::pause("Press ... ");
  EXPECT_EQ(c.err(),
            "\nWARNING:\nSomething\nLine n.       12\n\nWARNING:\nPlain\n"
            "\nERROR:\nBroken\nLine n.       12\n\n\nERROR:\nBroken\n\n");
  EXPECT_EQ(c.out(), "Press ... \n");
}

// word|position chkint reports|position chkrea reports (0: valid)
// clang-format off
const char* const words[] = {
    "-12|0|0", "   7|0|0", "+7|0|0", "007|0|0", "|0|0", "   |0|0", " 1 |0|0", "-0|0|0", "1.0|2|0",
    "12a|3|3", "--1|2|2", "+-3|2|2", "1 2|2|2", "+|1|1", "1.|2|0", ".5|1|0", "0.000001|2|0",
    "-2.5e3|3|0", "1E-2|2|0", "-2.5E-03|3|0", "3.e+2|2|0", "1e999|2|0", ".|1|1", "-.|2|2",
    "+.e1|2|3", "e5|1|1", "1e|2|2", "1e+|2|3", "1e1234|2|6", "1e2e3|2|4", "1.5-3|2|4", "1.2.3|2|4",
    "1,5|2|2", "abc|1|1", "1 e5|2|2", "1e+-2|2|4"};
// clang-format on

// token|its value as a real (x: refused)|as an int (x: refused)
// clang-format off
const char* const tokens[] = {
    "+1.5e2|150|x", "-.25|-0.25|x", "1e-400|0|x", "+7|7|7", "-2147483648|-2147483648|-2147483648",
    "2147483648|2147483648|x", "0x10|x|x", "1e400|x|x", "nan|x|x", "inf|x|x", "1.5x|x|x", "|x|x",
    "+|x|x", "+-1|x|x"};
// clang-format on

TEST(Checks, NumberSyntaxAndConversions) {
  for (const char* row : words) {
    auto w = split(row);
    console::SyntaxCheck i = console::chkint(w[0]), r = console::chkrea(w[0]);
    EXPECT_EQ(std::to_string(i.valid) + std::to_string(i.position),
              (w[1] == "0" ? "1" : "0") + w[1]);
    EXPECT_EQ(std::to_string(r.valid) + std::to_string(r.position),
              (w[2] == "0" ? "1" : "0") + w[2]);
  }
  for (const char* row : tokens) {
    auto t = split(row);
    double v = -1;
    int n = -1;
    std::string want = t[1] == "x" ? "x" : session::format("%.17g", std::strtod(t[1].c_str(), 0));
    EXPECT_EQ(console::parse_real(t[0], v) ? session::format("%.17g", v) : "x", want) << row;
    EXPECT_EQ(console::parse_int(t[0], n) ? std::to_string(n) : "x", t[2]) << row;
  }
}

TEST(Checks, JobNamesAndBlanks) {
  for (const char* row :
       {"Dir/sub\\A.b:c$d_9|Dir/sub\\A.b:c$d_9|y", "||y", "  plate second|plate|y", "a\tb-c|a|y",
        "zZ09 |zZ09|y", "my-job|my-job|n", "a,b|a,b|n", "@|@|n", "a[|a[|n", "{|{|n", "`|`|n"}) {
    auto j = split(row);
    char accepted = console::chkjob(j[0]);
    EXPECT_EQ(accepted + ("|" + j[0]), j[2] + "|" + j[1]);
  }
  std::string a = "  two words  ", b = "    ", t = "\tx\t";
  console::trimbl(a), console::trimbl(b), console::trimbl(t);
  EXPECT_EQ(a + "|" + b + "|" + t, "two words||\tx\t");
  EXPECT_EQ(console::lentrm("  ab  ") + 10 * console::lentrm("   "), 4);
  EXPECT_EQ(console::lblank("   ab ") + 10 * console::lblank("    "), 3);
}

TEST(DataLine, LineEndsAndWords) {
  for (const char* row : {"abc\n|abc", "abc\r\n|abc", "\n|", "\r\n|", "|"}) {
    auto l = split(row);
    console::elimnl(l[0]);
    EXPECT_EQ(l[0], l[1]);
  }
  for (std::string line : {"abc", "abc\r"}) EXPECT_THROW(console::elimnl(line), FatalError);
  using Words = std::vector<std::string>;
  EXPECT_EQ(console::splitw("   # only a comment\n"), Words{});
  EXPECT_EQ(console::splitw("a\tb  c#d e\n"), (Words{"a", "b", "c"}));
  EXPECT_EQ(console::splitw("1 2\r3\n"), (Words{"1", "2"}));
  std::string hundred;
  for (int i = 0; i < 100; ++i) hundred += "w ";
  EXPECT_EQ(console::splitw(hundred).size() + console::splitw(std::string(980, 'x')).size(), 101u);
  EXPECT_THROW(console::splitw(hundred + "w"), FatalError);
  EXPECT_THROW(console::splitw(std::string(981, 'x')), FatalError);
}

TEST(Arrays, OneBasedRowMajorStorage) {
  console::OneArray3<double> a(2, 3, 4);
  a.zero();
  a(1, 2, 1) = 5;
  EXPECT_EQ(&a(2, 1, 1) - &a(1, 1, 1) + 10 * (&a(1, 2, 1) - &a(1, 1, 1)), 52);
  EXPECT_EQ(a(1, 2, 1) + a(2, 3, 4), 5.0);
  console::OneMatrix<int> m(3, 2), empty(0, 20);
  empty.zero();
  EXPECT_EQ(&m(3, 2) - &m(1, 1), 5);
  EXPECT_EQ(m.row(2), &m(2, 1));
  int huge = std::numeric_limits<int>::max();
  EXPECT_THROW(console::OneArray3<double>(huge, huge, huge), FatalError);
}
