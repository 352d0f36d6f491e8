#include "console/textfile.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>

#include "console/report.h"
#include "support/session.h"

using console::InputFile;
using console::OutputFile;

TEST(OutputFile, FormatsAndWrites) {
  session::Session s;
  auto out = OutputFile::open(s.path("a.txt"));
  ASSERT_TRUE(out);
  out->put_int(42, 5);
  out->put(' ');
  out->put_fixed(-0.0, 15, 8);
  out->printf("|%s|%-d\n", "x", 3);
  EXPECT_TRUE(out->close());
  EXPECT_EQ(s.read("a.txt"), "   42     -0.00000000|x|3\n");
}

TEST(OutputFile, ReplaceModeShowsNothingUntilClosed) {
  session::Session s;
  s.write("a.vmz", "good\n");
  auto out = OutputFile::open(s.path("a.vmz"), OutputFile::Mode::replace);
  ASSERT_TRUE(out);
  out->put("new\n");
  EXPECT_EQ(s.read("a.vmz"), "good\n");
  EXPECT_TRUE(out->close());
  EXPECT_EQ(s.read("a.vmz"), "new\n");
  EXPECT_EQ(s.files(), std::vector<std::string>{"a.vmz"});
}

TEST(OutputFile, AbandonedReplacementLeavesTheTargetAndNoTemporary) {
  session::Session s;
  s.write("a.vmz", "good\n");
  {
    auto out = OutputFile::open(s.path("a.vmz"), OutputFile::Mode::replace);
    out->put("half");
  }
  EXPECT_EQ(s.read("a.vmz"), "good\n");
  EXPECT_EQ(s.files(), std::vector<std::string>{"a.vmz"});
}

TEST(OutputFile, ReplacementKeepsThePermissionsOfTheFileItReplaces) {
  session::Session s;
  s.write("a.vmz", "good\n");
  ::chmod(s.path("a.vmz").c_str(), 0640);
  auto out = OutputFile::open(s.path("a.vmz"), OutputFile::Mode::replace);
  out->put("new\n");
  ASSERT_TRUE(out->close());
  struct stat st;
  ASSERT_EQ(::stat(s.path("a.vmz").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(OutputFile, UnopenableTargets) {
  session::Session s;
  EXPECT_FALSE(OutputFile::open(s.path("missing/a.vmz")));
  EXPECT_FALSE(OutputFile::open(s.path("missing/a.vmz"), OutputFile::Mode::replace));
  EXPECT_FALSE(OutputFile::open(s.dir(), OutputFile::Mode::replace));
}

TEST(OutputFile, WriteErrorsAreReported) {
  auto out = OutputFile::open("/dev/full");
  ASSERT_TRUE(out);
  out->put(std::string(10000, 'x'));
  EXPECT_FALSE(out->close());
  auto again = OutputFile::open("/dev/full");
  again->put("x");
  try {
    again->finish();
    ADD_FAILURE() << "the write error was not reported";
  } catch (const console::WriteFailure& e) {
    EXPECT_STREQ(e.what(), "Unable to write output file - /dev/full");  // the default message
  }
}

TEST(OutputFile, AWriteErrorStopsTheWriterAtOnce) {
  auto out = OutputFile::open("/dev/full", OutputFile::Mode::truncate,
                              "Unable to write output file - tmp.vmz");
  ASSERT_TRUE(out);
  try {
    for (int i = 0; i < 10000000; ++i) out->put_int(i, 8);
    FAIL() << "the write error was not reported";
  } catch (const console::WriteFailure& e) {
    EXPECT_STREQ(e.what(), "Unable to write output file - tmp.vmz");
  }
  EXPECT_FALSE(out->close());
}

TEST(InputFile, ReadLineHasFgetsSemantics) {
  session::Session s;
  s.write("f", "abcdef\nxy\n\nlast");
  auto in = InputFile::open(s.path("f"));
  ASSERT_TRUE(in);
  std::string line;
  ASSERT_TRUE(in->read_line(line, 5));
  EXPECT_EQ(line, "abcd");  // room for 4 characters
  ASSERT_TRUE(in->read_line(line, 5));
  EXPECT_EQ(line, "ef\n");
  ASSERT_TRUE(in->read_line(line, 100));
  EXPECT_EQ(line, "xy\n");
  ASSERT_TRUE(in->read_line(line, 100));
  EXPECT_EQ(line, "\n");
  ASSERT_TRUE(in->read_line(line, 100));
  EXPECT_EQ(line, "last");
  EXPECT_FALSE(in->read_line(line, 100));
}

TEST(InputFile, TokensAcrossBlockBoundaries) {
  session::Session s;
  // Enough tokens to cross the reader's 1 MiB block several times at varying offsets.
  std::string text;
  std::vector<std::string> expected;
  for (int i = 0; i < 400000; ++i) {
    std::string token = std::to_string(static_cast<long long>(i) * 7919 % 1000003);
    expected.push_back(token);
    text += token;
    text += (i % 3 == 0) ? "\n" : (i % 3 == 1) ? " \t " : "\r\n";
  }
  s.write("f", text);
  auto in = InputFile::open(s.path("f"));
  std::string_view token;
  std::size_t n = 0;
  while (in->next_token(token)) {
    ASSERT_LT(n, expected.size());
    ASSERT_EQ(token, expected[n]) << n;
    ++n;
  }
  EXPECT_EQ(n, expected.size());
}

TEST(InputFile, OverlongTokenIsNoNumber) {
  session::Session s;
  s.write("f", std::string(3 << 20, '7') + " 5\n");
  auto in = InputFile::open(s.path("f"));
  std::string_view token;
  ASSERT_TRUE(in->next_token(token));
  EXPECT_EQ(token, "<token too long>");
  ASSERT_TRUE(in->next_token(token));
  EXPECT_EQ(token, "5");
}

TEST(InputFile, TellAndSeekRepositionLines) {
  session::Session s;
  s.write("f", "one\ntwo\nthree\n");
  auto in = InputFile::open(s.path("f"));
  std::string line;
  in->read_line(line, 100);
  long long mark = in->tell();
  in->read_line(line, 100);
  in->read_line(line, 100);
  EXPECT_EQ(line, "three\n");
  ASSERT_TRUE(in->seek(mark));
  in->read_line(line, 100);
  EXPECT_EQ(line, "two\n");
}

TEST(InputFile, MissingFileOrDirectory) {
  session::Session s;
  EXPECT_FALSE(InputFile::open(s.path("none")));
  EXPECT_FALSE(InputFile::open(s.dir()));
}

// Lines: the same as fgets gives with the same room, also across the reader's buffer and for
// lines that do not fit.
namespace {

class InputLines : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/trelmo-lines-XXXXXX";
    int fd = ::mkstemp(pattern);
    ASSERT_GE(fd, 0);
    ::close(fd);
    path_ = pattern;
  }
  void TearDown() override { ::unlink(path_.c_str()); }

  void write(const std::string& content) { std::ofstream(path_, std::ios::binary) << content; }

  // The lines fgets reads with `size`, each cut at a NUL character as a C string.
  std::vector<std::string> fgets_lines(int size) {
    std::vector<std::string> all;
    std::FILE* f = std::fopen(path_.c_str(), "rb");
    std::vector<char> room(static_cast<std::size_t>(size));
    while (std::fgets(room.data(), size, f) != nullptr) all.emplace_back(room.data());
    std::fclose(f);
    return all;
  }

  std::vector<std::string> next_lines(int size) {
    std::vector<std::string> all;
    auto f = console::InputFile::open(path_);
    std::string_view line;
    while (f->next_line(line, size)) all.emplace_back(line);
    EXPECT_FALSE(f->next_line(line, size));  // the end stays the end
    return all;
  }

  // The lines through for_each_line, stopping every `stop`-th line and going on with next_line
  // for one line, so that both ways of reading must agree on the position.
  std::vector<std::string> scanned_lines(int size, int stop) {
    std::vector<std::string> all;
    auto f = console::InputFile::open(path_);
    int seen = 0;
    for (;;) {
      bool stopped = f->for_each_line(size, [&](std::string_view line) {
        all.emplace_back(line);
        return ++seen % stop != 0;
      });
      if (!stopped) break;
      std::string_view line;
      if (!f->next_line(line, size)) break;
      all.emplace_back(line);
    }
    return all;
  }

  std::vector<std::string> read_lines(int size) {
    std::vector<std::string> all;
    auto f = console::InputFile::open(path_);
    std::string line;
    while (f->read_line(line, size)) all.push_back(line);
    return all;
  }

  std::string path_;
};

}  // namespace

TEST_F(InputLines, LinesKeepTheirLineEndsAndLongLinesComeInPieces) {
  write("ENTITIES\r\n" + std::string(79, 'x') + "VERTEX\n\nlast");
  std::vector<std::string> expected = {"ENTITIES\r\n", std::string(79, 'x'), "VERTEX\n", "\n",
                                       "last"};
  EXPECT_EQ(next_lines(80), expected);
  EXPECT_EQ(read_lines(80), expected);
  EXPECT_EQ(fgets_lines(80), expected);
}

TEST_F(InputLines, NulCharacterEndsTheLineAsInACString) {
  write(std::string("ab\0cd\nef\n", 9));
  std::vector<std::string> expected = {"ab", "ef\n"};
  EXPECT_EQ(next_lines(80), expected);
  EXPECT_EQ(read_lines(80), expected);
}

TEST_F(InputLines, EmptyFileHasNoLine) {
  write("");
  EXPECT_TRUE(next_lines(80).empty());
}

TEST_F(InputLines, SameLinesAsFgetsAcrossTheBuffer) {
  // Over 3 MB of lines of random lengths, some longer than the room, some holding NULs.
  std::mt19937 random(7);
  std::uniform_int_distribution<int> length(0, 120);
  std::string content;
  std::uniform_int_distribution<int> byte(0, 255);
  while (content.size() < 3 * 1024 * 1024 + 17) {
    int n = length(random);
    for (int i = 0; i < n; ++i) {
      // Mostly letters; now and then a NUL or any other byte but a line feed.
      int c = byte(random);
      if (c == '\n' || c > 250)
        c = 0;
      else if (c > 20)
        c = 'a' + i % 26;
      content.push_back(static_cast<char>(c));
    }
    content.push_back('\n');
  }
  content += "no line end";
  write(content);
  for (int size : {80, 1000, 17, 2}) {
    std::vector<std::string> expected = fgets_lines(size);
    EXPECT_EQ(next_lines(size), expected);
    EXPECT_EQ(read_lines(size), expected);
    EXPECT_EQ(scanned_lines(size, 1000000000), expected);
    EXPECT_EQ(scanned_lines(size, 7), expected);
  }
}

TEST_F(InputLines, ScannedLinesOfOrdinaryText) {
  // Short lines without NULs, as drawings are, with CR LF ends and a few over the room.
  std::mt19937 random(11);
  std::uniform_int_distribution<int> length(0, 30);
  std::string content;
  while (content.size() < 2 * 1024 * 1024 + 5) {
    int n = length(random);
    if (n == 30) n = 200;
    for (int i = 0; i < n; ++i) content.push_back(static_cast<char>('A' + (i * 7 + n) % 26));
    content += (n % 3 == 0) ? "\r\n" : "\n";
  }
  write(content);
  for (int size : {80, 10}) {
    std::vector<std::string> expected = fgets_lines(size);
    EXPECT_EQ(scanned_lines(size, 1000000000), expected);
    EXPECT_EQ(scanned_lines(size, 3), expected);
  }
}
