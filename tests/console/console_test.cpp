// Console services: questions, point input, checks, data lines, number formatters, text files.
#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <climits>
#include <filesystem>
#include <fstream>
#include <random>

#include "console/checks.h"
#include "console/dataline.h"
#include "console/dialogue.h"
#include "console/numfmt.h"
#include "console/pointinput.h"
#include "console/report.h"
#include "console/textfile.h"
#include "support/inprocess.h"
#include "support/session.h"

using namespace console;
using Lines = std::vector<std::string>;
using session::format;

namespace {

// The fields of a table row: "|" separates them and ";" stands for a line end.
std::vector<std::string> split(const std::string& row) {
  std::vector<std::string> parts(1);
  for (char c : row)
    c == '|' ? (void)parts.emplace_back() : parts.back().push_back(c == ';' ? '\n' : c);
  return parts;
}

// Asks one question of the given kind and gives the answer as text.
std::string ask(char kind) {
  if (kind == 'i') return std::to_string(askint("N", 4));
  if (kind == 'r') return format("%.17g", askrea("x", 0.1));
  if (kind == 'c') return std::string(1, askcha("Q", 'Y', 'n', 'n'));
  if (kind == 's') return askstr("Job", "new");
  if (kind == 'S') return askstr("Cmd", "");
  return askwrd();
}

// The first letters of the words after each "ERROR: " of the text.
std::string errors(const std::string& text) {
  std::string letters;
  for (auto at = 0ul; (at = text.find("ERROR: ", at)) != text.npos; ++at) letters += text[at + 7];
  return letters;
}

// File f's lines by fgets ('f'), next_line ('n'), or for_each_line stopped every `stop` ('s').
Lines lines(const char* f, char how, int room, int stop = 7) {
  Lines all;
  std::vector<char> text(room);
  std::FILE* file = std::fopen(f, "rb");
  while (how == 'f' && std::fgets(text.data(), room, file)) all.emplace_back(text.data());
  std::fclose(file);
  auto in = InputFile::open(f);
  std::string_view view;
  while (how == 'n' && in->next_line(view, room)) all.emplace_back(view);
  auto visit = [&, n = 0](std::string_view l) mutable { return all.emplace_back(l), ++n % stop; };
  while (how == 's' && in->for_each_line(room, visit) && in->next_line(view, room))
    all.emplace_back(view);
  EXPECT_TRUE(how == 'f' || !in->next_line(view, room));  // the end stays the end
  return all;
}

}  // namespace

// clang-format off
// kind|answer lines|the answer taken|the first letters of the errors ("r"epeat answer)|the
// whole screen, when given
const char* const answers[] = {
    "i|;|4||;N [4] ? You answered: 4;", "i|x;   -7 8;|-7|r", "i|-2147483648;|-2147483648|",
    "i|x;7;|7|r|;N [4] ? You answered: x;;ERROR: repeat answer ...;;N [4] ? You answered: 7;",
    "i|12abc;1.5;+-3;99999999999;+;\t1;+7;|7|rrrrrr", "i|2147483648;0|0|r", "r|1.;|1|",
    "r|;|0.10000000000000001||;x [0.1] ? You answered: 0.1;", "r|.5;|0.5|", "r|1E-2;|0.01|",
    "r|-2.5e3;|-2500||;x [0.1] ? You answered: -2.5e3;", "r|+3.25;|3.25|", "r|1e-400;|0|",
    "r|e3;1.2.3;1e1234;abc;1e999;.;2;|2|rrrrrr", "c|N;|n|", "c|no;x;;|n|rr", "c|Y;|y|",
    "c|no;;|n|r|;Q (y/n) [n] ? You answered: no;;ERROR: repeat answer ...;;Q (y/n) [n] ? You "
        "answered: n;",
    "s|  two  words ;|  two  words |", "s|;|new||Job [new] ? You answered: new;", "w|;||",
    "S|a b;|a b||Cmd ? You answered: a b;", "w|   12  34;|12|", "w| 1 2;|1||"};
// l (line) or p (plane)|answers|the points taken|the first letters of the errors
const char* const points[] = {
    "l|;3;;|7 8 9|1 2 3|", "p|c;;;;;1e-4;;;;1e-4;c;;;;;1e-3;;;;1e-3;|0 0 0|0 0.001 0|0 0 0.001|c",
    "l|n;0;5;4;-1;2;|1 0 0|4 5 6|iii", "p|c;;;;1e-4;;;;1e-4;;c;;;;1;;;;1;;|0 0 0|1 0 0|0 1 0|c",
    "l|c;;;;;;1e-9;c;;;;;;2e-8;|0 0 0|0 0 2e-08|c", "l|n;2;2;C;1;;;;;-1.5;|1 0 0|0 0 -1.5|c",
    "l|c;;;;;-5e-9;5e-9;n;4;1;|1 0 0|1 2 3|c", "p|n;1;2;3;n;4;1;4;n;1;2;4;|1 2 3|4 5 6|1 0 0|cc",
    "p|n;1;4;5;0;2;|1 2 3|1 0 0|4 5 6|ii", "p|c;;;;1e-4;;;;;1e-4;c;;;;1;;;;;1;|0 0 0|1 0 0|0 0 1|c",
    "p|;;4;2;|1 2 3|1 0 0|4 5 6|"};
// word|position chkint reports|position chkrea reports (0: valid)
const char* const words[] = {
    "-12|0|0", "   7|0|0", "+7|0|0", "007|0|0", "|0|0", "   |0|0", " 1 |0|0", "-0|0|0", "1.0|2|0",
    "12a|3|3", "--1|2|2", "+-3|2|2", "1 2|2|2", "+|1|1", "1.|2|0", ".5|1|0", "0.000001|2|0",
    "-2.5e3|3|0", "1E-2|2|0", "-2.5E-03|3|0", "3.e+2|2|0", "1e999|2|0", ".|1|1", "-.|2|2",
    "+.e1|2|3", "e5|1|1", "1e|2|2", "1e+|2|3", "1e1234|2|6", "1e2e3|2|4", "1.5-3|2|4", "1.2.3|2|4",
    "1,5|2|2", "abc|1|1", "1 e5|2|2", "1e+-2|2|4"};
// name|the name kept|accepted
const char* const jobs[] = {
    "Dir/sub\\A.b:c$d_9|Dir/sub\\A.b:c$d_9|y", "||y", "  plate second|plate|y", "a\tb-c|a|y",
    "zZ09 |zZ09|y", "my-job|my-job|n", "a,b|a,b|n", "@|@|n", "a[|a[|n", "{|{|n", "`|`|n"};
// clang-format on

TEST(Dialogue, QuestionsTakeTheirAnswers) {
  for (const char* row : answers) {
    auto a = split(row);
    inprocess::Console c(a[1]);
    std::string got = ask(a[0][0]), out = c.out();
    EXPECT_EQ(got + "|" + errors(out), a[2] + "|" + a[3]) << row;
    if (a.size() > 4) {
      EXPECT_EQ(out, a[4]) << row;  // the whole screen
    }
  }
  // Lines and planes by nodes (1 2 3, 4 5 6, 7 8 9, 1 0 0) or by coordinates.
  OneMatrix<double> coord(4, 3);
  for (int i = 0; i < 12; ++i) coord(i / 3 + 1, i % 3 + 1) = "123456789100"[i] - '0';
  for (const char* row : points) {
    auto r = split(row);
    inprocess::Console c(r[1]);
    OneVector<double> a(3), b(3), q(3), *p[] = {&a, &b, &q};
    r[0] == "l" ? asklin(4, coord, a, b) : askpla(4, coord, a, b, q);
    std::string got;
    for (int k = 0; k < (r[0] == "l" ? 2 : 3); ++k)
      got += format("%g %g %g|", (*p[k])[1], (*p[k])[2], (*p[k])[3]);
    EXPECT_EQ(got + errors(c.out()), std::string(row).substr(r[1].size() + 3)) << row;
    EXPECT_THROW(askint("more", 1), FatalError);  // every answer was used
  }
  // Line ends and the end of input.
  EXPECT_THROW((inprocess::Console(""), ask('r')), FatalError);
  inprocess::Console c(std::string(100, 'x') + "\na\rb\r\nc\n\r\r\nd\n7");
  EXPECT_EQ(rdline(80), std::string(79, 'x'));
  for (const char* want : {"a", "b", "c", "", "", "d"}) EXPECT_EQ(rdline(80), want);
  EXPECT_EQ(ask('i'), "7");  // a last line without its line end is still an answer
  EXPECT_THROW(waitrt(), FatalError);
  EXPECT_THROW(askcha("Q", 'y', 'n', 'x'), FatalError);
}

TEST(Checks, NumbersJobNamesLinesAndWords) {
  for (const char* row : words) {
    auto w = split(row);
    SyntaxCheck i = chkint(w[0]), r = chkrea(w[0]);
    EXPECT_EQ(format("%d %d|%d %d", i.valid, i.position, r.valid, r.position),
              format("%d %s|%d %s", w[1] == "0", w[1].c_str(), w[2] == "0", w[2].c_str()));
  }
  for (const char* row : jobs) {
    auto j = split(row);
    char accepted = chkjob(j[0]);
    EXPECT_EQ(accepted + ("|" + j[0]), j[2] + "|" + j[1]);
  }
  EXPECT_EQ(format("%d %d %d %d", lentrm("  ab  "), lentrm("   "), lblank("   ab "), lblank("   ")),
            "4 0 3 0");
  // Data line ends and words.
  for (const char* row : {"abc\n|abc", "abc\r\n|abc", "\n|", "\r\n|", "|", "abc|!", "abc\r|!"}) {
    auto l = split(row);
    try {
      elimnl(l[0]);
    } catch (const FatalError&) {
      l[0] = "!";
    }
    EXPECT_EQ(l[0], l[1]) << row;
  }
  std::string hundred;
  for (int i = 0; i < 100; ++i) hundred += "w ";
  EXPECT_EQ(splitw("a\tb  c#d e\n"), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(splitw(hundred).size() + splitw("1 2\r3\n").size() +
                splitw(std::string(980, 'x')).size() + splitw(" # x").size(),
            103u);
  EXPECT_THROW(splitw(hundred + "w"), FatalError);
  EXPECT_THROW(splitw(std::string(981, 'x')), FatalError);
}

TEST(Numfmt, MatchesPrintf) {
  std::string ints, want;
  for (int v : {0, 1, -1, 9, 10, 99999, -12345, 123456, INT_MIN, INT_MAX})
    for (int width : {0, 5, 8}) append_int(ints, v, width), want += format("%*d", width, v);
  EXPECT_EQ(ints, want);
  // clang-format off
  std::vector<double> values = {0.0, -0.0, 4.9e-324, -4.9e-324, 1e-300, -1e-10, 1e-9, 0.5e-8,
      -0.5e-8, 1.5e-8, 2.5e-8, 4e-8, -4e-8, 5e-8, -5e-8, 6e-8, 0.05, -0.05, 0.1, 0.125, 0.375, 0.7,
      0.999999995, 1.0, -1.0, 2.675, 1.234567891, -1.234567895, 1.000000005, 123.456,
      123456789.123456789, 99999999999.99999, 1e11, -1e11, 123456789012.5, 9.007199254740993e15,
      1e15, 1e17, -1e17, 1e18, -1e22, 1e30, -1.4e30, 1e300, DBL_MAX, -DBL_MAX, INFINITY, -INFINITY,
      NAN};
  // clang-format on
  // Exact ties (k / 2^n end in a 5), random values of every magnitude, random bit patterns.
  for (int k = 1; k < 4000; k += 2)
    for (double v : {k / 256.0, k / 512.0, k + 0.5}) values.insert(values.end(), {v, -v});
  const std::size_t ties = values.size();
  std::mt19937_64 random(20240607);
  for (int i = 0; i < 27000; ++i)
    values.push_back((double(random() % 2000001) - 1e6) * std::pow(10.0, i % 27 - 18));
  for (double v; values.size() < ties + 50000;)
    if (std::isfinite(v = std::bit_cast<double>(random()))) values.push_back(v);
  for (int precision : {7, 8, 10, 0, 1, 2, 3, 4, 5, 6, 12, 17}) {
    for (int bad = 0; double v : values) {
      std::string got, expected = format("%15.*lf", precision, v);
      append_fixed(got, v, 15, precision);
      if (got != expected && ++bad <= 5) ADD_FAILURE() << std::hexfloat << v << ": " << got;
      // Read back, the text gives the value strtod gives.
      double back = NAN, read = std::strtod(expected.c_str(), nullptr);
      if (std::isfinite(v) && (!parse_real(expected.substr(expected.find_first_not_of(' ')), back) ||
                               std::bit_cast<std::uint64_t>(back) != std::bit_cast<std::uint64_t>(read)))
        ADD_FAILURE() << expected;
    }
    if (precision == 10) values.resize(ties);  // the other precisions only for the first ones
  }
}

TEST(OutputFile, ReplacesWhenCompleteStopsOnErrors) {
  inprocess::Directory d;
  auto out = OutputFile::open("a.txt");
  out->put_int(42, 5), out->put(' '), out->put_fixed(-0.0, 15, 8), out->printf("|%s\n", "x");
  EXPECT_TRUE(out->close());
  std::filesystem::permissions("a.txt", std::filesystem::perms(0640));
  (out = OutputFile::open("a.txt", OutputFile::Mode::replace))->put("new\n");
  EXPECT_EQ(d.read("a.txt"), "   42     -0.00000000|x\n");
  EXPECT_TRUE(out->close());
  EXPECT_EQ(d.read("a.txt"), "new\n");
  EXPECT_EQ(std::filesystem::status("a.txt").permissions(), std::filesystem::perms(0640));
  OutputFile::open("a.txt", OutputFile::Mode::replace)->put("half");  // abandoned at once
  EXPECT_EQ(d.read("a.txt"), "new\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), {}), 1);
  EXPECT_FALSE(OutputFile::open("no/a") || OutputFile::open("no/a", OutputFile::Mode::replace));
  EXPECT_FALSE(OutputFile::open(".", OutputFile::Mode::replace));
  EXPECT_FALSE(InputFile::open("none") || InputFile::open("."));
  // A write error stops the writer at once.
  out = OutputFile::open("/dev/full");
  out->put("x");
  EXPECT_THROW(out->finish(), WriteFailure);
  out = OutputFile::open("/dev/full", OutputFile::Mode::truncate, "Cannot - tmp.vmz");
  try {
    for (int i = 0; i < 10000000; ++i) out->put_int(i, 8);
    ADD_FAILURE() << "the write error was not reported";
  } catch (const WriteFailure& e) {
    EXPECT_STREQ(e.what(), "Cannot - tmp.vmz");
  }
}

TEST(InputFile, LinesOfFgetsAndTokens) {
  inprocess::Directory d;
  // Over 3 MB of lines of random lengths, some too long, with NULs, CRs and no last line end.
  std::mt19937 random(7);
  std::string text = "ENTITIES\r\n" + std::string(79, 'x') + "VERTEX\n\n";
  while (text.size() < 3 * 1024 * 1024 + 17) {
    auto n = random() % 121;
    for (auto i = 0ul, c = 0ul; i < (n == 120 ? 300 : n); ++i)
      text.push_back((c = random() % 64) < 4 ? "\0\r  "[c] : char('a' + i % 26));
    text += n % 3 == 0 ? "\r\n" : "\n";
  }
  std::ofstream("long", std::ios::binary) << text + "no line end";
  for (int room : {80, 1000, 17, 2}) {
    Lines want = lines("long", 'f', room);
    EXPECT_EQ(lines("long", 'n', room), want) << room;
    EXPECT_EQ(lines("long", 's', room, 1 << 30), want) << room;
    EXPECT_EQ(lines("long", 's', room, 3), want) << room;
  }
  // Tokens across the buffer.
  text.clear();
  Lines want, got;
  for (int i = 0; i < 400000; ++i) {
    want.push_back(std::to_string(i * 7919LL % 1000003));
    text += want.back() + (i % 3 == 0 ? "\n" : i % 3 == 1 ? " \t\v\f " : "\r\n");
  }
  std::ofstream("tokens", std::ios::binary) << text + std::string(3 << 20, '7') + " 5";  // no \n
  want.insert(want.end(), {"<token too long>", "5"});
  auto in = InputFile::open("tokens");
  for (std::string_view token; in->next_token(token);) got.emplace_back(token);
  EXPECT_EQ(got, want);
}
