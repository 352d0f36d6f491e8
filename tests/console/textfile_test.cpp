// The buffered text files: writing with replacement, and reading lines and tokens exactly as
// fgets and white-space splitting do, across the reader's buffer.
#include "console/textfile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "console/report.h"
#include "support/inprocess.h"

using console::InputFile;
using console::OutputFile;

namespace {

void write(const std::string& name, const std::string& text) {
  std::ofstream(name, std::ios::binary) << text;
}

int file_count() {
  auto all = std::filesystem::directory_iterator(".");
  return static_cast<int>(std::distance(begin(all), end(all)));
}

// The lines of file f read with `room`: by fgets, by read_line, by next_line, or by
// for_each_line stopping every `stop`-th line and going on with one next_line.
std::vector<std::string> lines(const char* f, char how, int room, int stop = 7) {
  std::vector<std::string> all;
  if (how == 'f') {
    std::FILE* file = std::fopen(f, "rb");
    std::vector<char> text(static_cast<std::size_t>(room));
    while (std::fgets(text.data(), room, file) != nullptr) all.emplace_back(text.data());
    std::fclose(file);
    return all;
  }
  auto in = InputFile::open(f);
  std::string line;
  std::string_view view;
  if (how == 'r') {
    while (in->read_line(line, room)) all.push_back(line);
  } else if (how == 'n') {
    while (in->next_line(view, room)) all.emplace_back(view);
    EXPECT_FALSE(in->next_line(view, room));  // the end stays the end
  } else {
    int seen = 0;
    auto visit = [&](std::string_view l) { return all.emplace_back(l), ++seen % stop != 0; };
    while (in->for_each_line(room, visit) && in->next_line(view, room)) all.emplace_back(view);
  }
  return all;
}

}  // namespace

TEST(OutputFile, WritesAndReplacesOnlyWhenComplete) {
  inprocess::Directory d;
  auto out = OutputFile::open("a.txt");
  out->put_int(42, 5), out->put(' '), out->put_fixed(-0.0, 15, 8), out->printf("|%s\n", "x");
  EXPECT_TRUE(out->close());
  EXPECT_EQ(d.read("a.txt"), "   42     -0.00000000|x\n");
  ::chmod("a.txt", 0640);
  out = OutputFile::open("a.txt", OutputFile::Mode::replace);
  out->put("new\n");
  EXPECT_EQ(d.read("a.txt"), "   42     -0.00000000|x\n");
  EXPECT_TRUE(out->close());
  EXPECT_EQ(d.read("a.txt"), "new\n");
  struct stat st;
  ASSERT_EQ(::stat("a.txt", &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  OutputFile::open("a.txt", OutputFile::Mode::replace)->put("half");  // abandoned at once
  EXPECT_EQ(d.read("a.txt"), "new\n");
  EXPECT_EQ(file_count(), 1);
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
  out = OutputFile::open("/dev/full", OutputFile::Mode::truncate, "Cannot - tmp.vmz");
  try {
    for (int i = 0; i < 10000000; ++i) out->put_int(i, 8);
    ADD_FAILURE() << "the write error was not reported";
  } catch (const console::WriteFailure& e) {
    EXPECT_STREQ(e.what(), "Cannot - tmp.vmz");
  }
  out = OutputFile::open("/dev/full");
  out->put("x");
  EXPECT_THROW(out->finish(), console::WriteFailure);
}

TEST(InputFile, LinesAreTheLinesOfFgets) {
  inprocess::Directory d;
  write("short", "ENTITIES\r\n" + std::string(79, 'x') + std::string("VERTEX\n\nab\0c\nlast", 17));
  EXPECT_EQ(lines("short", 'n', 80), (std::vector<std::string>{"ENTITIES\r\n", std::string(79, 'x'),
                                                               "VERTEX\n", "\n", "ab", "last"}));
  write("empty", "");
  EXPECT_TRUE(lines("empty", 'n', 80).empty());
  // Over 3 MB of lines of random lengths, some longer than the room, some holding NULs or
  // carriage returns, and a last line without its line end.
  std::mt19937 random(7);
  std::string text;
  while (text.size() < 3 * 1024 * 1024 + 17) {
    int n = static_cast<int>(random() % 121);
    if (n == 120) n = 300;
    for (int i = 0; i < n; ++i) {
      unsigned c = random() % 256;
      text.push_back(c > 250 || c == '\n' ? '\0' : c == 250 ? '\r' : c > 8 ? char('a' + i % 26) : ' ');
    }
    text += n % 3 == 0 ? "\r\n" : "\n";
  }
  write("long", text + "no line end");
  for (int room : {80, 1000, 17, 2}) {
    std::vector<std::string> want = lines("long", 'f', room);
    EXPECT_EQ(lines("long", 'n', room), want) << room;
    EXPECT_EQ(lines("long", 'r', room), want) << room;
    EXPECT_EQ(lines("long", 's', room, 1 << 30), want) << room;
    EXPECT_EQ(lines("long", 's', room, 3), want) << room;
  }
}

TEST(InputFile, TokensAcrossBlocksAndRepositioning) {
  inprocess::Directory d;
  std::string text;
  std::vector<std::string> want;
  for (int i = 0; i < 400000; ++i) {
    want.push_back(std::to_string(i * 7919LL % 1000003));
    text += want.back() + (i % 3 == 0 ? "\n" : i % 3 == 1 ? " \t\v\f " : "\r\n");
  }
  write("tokens", text + std::string(3 << 20, '7') + " 5\n");
  want.insert(want.end(), {"<token too long>", "5"});
  auto in = InputFile::open("tokens");
  std::vector<std::string> got;
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
  ASSERT_TRUE(in->seek(mark));
  in->read_line(line, 100);
  EXPECT_EQ(line, "two\n");
}
