// The buffered text files: the number formatters against snprintf, writing with replacement,
// and reading lines and tokens exactly as fgets and white-space splitting do.
#include "console/textfile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <bit>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>

#include "console/numfmt.h"
#include "console/report.h"
#include "support/inprocess.h"
#include "support/session.h"

using console::InputFile;
using console::OutputFile;
using Lines = std::vector<std::string>;

namespace {

void write(const std::string& name, const std::string& text) {
  std::ofstream(name, std::ios::binary) << text;
}

// The lines of file f read with `room`: by fgets ('f'), read_line ('r'), next_line ('n'), or
// for_each_line stopping every `stop`-th line and going on with one next_line.
Lines lines(const char* f, char how, int room, int stop = 7) {
  Lines all;
  std::vector<char> text(static_cast<std::size_t>(room));
  std::FILE* file = std::fopen(f, "rb");
  while (how == 'f' && std::fgets(text.data(), room, file) != nullptr)
    all.emplace_back(text.data());
  std::fclose(file);
  auto in = InputFile::open(f);
  std::string line;
  std::string_view view;
  while (how == 'r' && in->read_line(line, room)) all.push_back(line);
  while (how == 'n' && in->next_line(view, room)) all.emplace_back(view);
  int seen = 0;
  auto visit = [&](std::string_view l) { return all.emplace_back(l), ++seen % stop != 0; };
  while (how == 's' && in->for_each_line(room, visit) && in->next_line(view, room)) {
    all.emplace_back(view);
  }
  EXPECT_TRUE(how == 'f' || !in->next_line(view, room));  // the end stays the end
  return all;
}

}  // namespace

TEST(Numfmt, MatchesPrintf) {
  const int imin = std::numeric_limits<int>::min(), imax = std::numeric_limits<int>::max();
  for (int v : {0, 1, -1, 9, 10, 99999, -12345, 123456, imin, imax}) {
    for (int width : {0, 5, 8}) {
      std::string s = "<";
      console::append_int(s, v, width);
      EXPECT_EQ(s, session::format("<%*d", width, v));
    }
  }
  EXPECT_EQ(console::cformat("%5d|%-d|%.15lg|%14.4le", 7, 12, 0.1, 100.0),
            "    7|12|0.1|    1.0000e+02");
  const double max = std::numeric_limits<double>::max(), tiny = 4.9406564584124654e-324;
  // clang-format off
  std::vector<double> values = {0.0, -0.0, tiny, -tiny, 1e-300, -1e-10, 1e-9, 0.5e-8, -0.5e-8,
      1.5e-8, 2.5e-8, 4e-8, -4e-8, 5e-8, -5e-8, 6e-8, 0.05, -0.05, 0.1, 0.125, 0.375, 0.7,
      0.999999995, 1.0, -1.0, 2.675, 1.234567891, -1.234567895, 1.000000005, 123.456,
      123456789.123456789, 99999999999.99999, 1e11, -1e11, 123456789012.5, 9.007199254740993e15,
      1e15, 1e17, -1e17, 1e18, -1e22, 1e30, -1.4e30, 1e300, max, -max, INFINITY, -INFINITY, NAN};
  // clang-format on
  // Exact ties (odd multiples of 2^-(p+1) end in a 5 at p + 1 decimals), then random values of
  // every magnitude and random bit patterns of every exponent.
  for (int k = 1; k < 4000; k += 2) {
    for (double v : {k / 256.0, k / 512.0, k + 0.5}) values.insert(values.end(), {v, -v});
  }
  for (int k = -2000; k <= 2000; ++k) values.push_back(k / 512.0);
  const std::size_t ties = values.size();
  std::mt19937_64 random(20240607);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  for (int i = 0; i < 27000; ++i) values.push_back(unit(random) * std::pow(10.0, i % 27 - 12));
  while (values.size() < ties + 50000) {
    double v = std::bit_cast<double>(random());
    if (std::isfinite(v)) values.push_back(v);
  }
  // Every value with the precisions of the writers; the special ones and ties with others too.
  for (int precision : {7, 8, 10, 0, 1, 2, 3, 4, 5, 6, 12, 17}) {
    int bad = 0;
    for (double v : values) {
      std::string got, want = session::format("%15.*lf", precision, v);
      console::append_fixed(got, v, 15, precision);
      if (got != want && ++bad <= 5) ADD_FAILURE() << std::hexfloat << v << ": " << got;
    }
    values.resize(std::min<std::size_t>(values.size(), ties));
  }
}

TEST(OutputFile, WritesAndReplacesOnlyWhenComplete) {
  inprocess::Directory d;
  auto out = OutputFile::open("a.txt");
  out->put_int(42, 5), out->put(' '), out->put_fixed(-0.0, 15, 8), out->printf("|%s\n", "x");
  EXPECT_TRUE(out->close());
  ::chmod("a.txt", 0640);
  out = OutputFile::open("a.txt", OutputFile::Mode::replace);
  out->put("new\n");
  EXPECT_EQ(d.read("a.txt"), "   42     -0.00000000|x\n");
  EXPECT_TRUE(out->close());
  EXPECT_EQ(d.read("a.txt"), "new\n");
  struct stat st;
  EXPECT_EQ(::stat("a.txt", &st) == 0 ? st.st_mode & 0777 : 0, 0640u);
  OutputFile::open("a.txt", OutputFile::Mode::replace)->put("half");  // abandoned at once
  EXPECT_EQ(d.read("a.txt"), "new\n");
  auto all = std::filesystem::directory_iterator(".");
  EXPECT_EQ(std::distance(begin(all), end(all)), 1);
  EXPECT_FALSE(OutputFile::open("missing/a.vmz"));
  EXPECT_FALSE(OutputFile::open("missing/a.vmz", OutputFile::Mode::replace));
  EXPECT_FALSE(OutputFile::open(".", OutputFile::Mode::replace));
  EXPECT_FALSE(InputFile::open("none"));
  EXPECT_FALSE(InputFile::open("."));
}

TEST(OutputFile, AWriteErrorStopsTheWriterAtOnce) {
  auto out = OutputFile::open("/dev/full");
  out->put("x");
  EXPECT_FALSE(out->close());
  out = OutputFile::open("/dev/full");
  out->put("x");
  EXPECT_THROW(out->finish(), console::WriteFailure);
  out = OutputFile::open("/dev/full", OutputFile::Mode::truncate, "Cannot - tmp.vmz");
  try {
    for (int i = 0; i < 10000000; ++i) out->put_int(i, 8);
    ADD_FAILURE() << "the write error was not reported";
  } catch (const console::WriteFailure& e) {
    EXPECT_STREQ(e.what(), "Cannot - tmp.vmz");
  }
}

TEST(InputFile, LinesAreTheLinesOfFgets) {
  inprocess::Directory d;
  write("empty", "");
  EXPECT_TRUE(lines("empty", 'n', 80).empty());
  // Over 3 MB of lines of random lengths, some longer than the room, some holding NULs or
  // carriage returns, and a last line without its line end.
  std::mt19937 random(7);
  std::string text = "ENTITIES\r\n" + std::string(79, 'x') + "VERTEX\n\n";
  while (text.size() < 3 * 1024 * 1024 + 17) {
    int n = static_cast<int>(random() % 121);
    for (int i = 0; i < (n == 120 ? 300 : n); ++i) {
      unsigned c = random() % 64;
      text.push_back(c == 0 ? '\0' : c == 1 ? '\r' : c < 4 ? ' ' : char('a' + i % 26));
    }
    text += n % 3 == 0 ? "\r\n" : "\n";
  }
  write("long", text + "no line end");
  for (int room : {80, 1000, 17, 2}) {
    Lines want = lines("long", 'f', room);
    EXPECT_EQ(lines("long", 'n', room), want) << room;
    EXPECT_EQ(lines("long", 'r', room), want) << room;
    EXPECT_EQ(lines("long", 's', room, 1 << 30), want) << room;
    EXPECT_EQ(lines("long", 's', room, 3), want) << room;
  }
}

TEST(InputFile, TokensAcrossBlocksAndRepositioning) {
  inprocess::Directory d;
  std::string text;
  Lines want, got;
  for (int i = 0; i < 400000; ++i) {
    want.push_back(std::to_string(i * 7919LL % 1000003));
    text += want.back() + (i % 3 == 0 ? "\n" : i % 3 == 1 ? " \t\v\f " : "\r\n");
  }
  write("tokens", text + std::string(3 << 20, '7') + " 5\n");
  want.insert(want.end(), {"<token too long>", "5"});
  auto in = InputFile::open("tokens");
  for (std::string_view token; in->next_token(token);) got.emplace_back(token);
  EXPECT_EQ(got, want);
  write("tail", " 5");  // a last token without a line end
  std::string_view token;
  in = InputFile::open("tail");
  EXPECT_TRUE(in->next_token(token) && token == "5" && !in->next_token(token));
  write("lines", "one\ntwo\nthree\n");
  in = InputFile::open("lines");
  std::string line;
  in->read_line(line, 100);
  long long mark = in->tell();
  in->read_line(line, 100), in->read_line(line, 100);
  EXPECT_TRUE(in->seek(mark) && in->read_line(line, 100) && line == "two\n");
}
