#include "console/textfile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>


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
  EXPECT_THROW(again->finish("Unable to write"), console::WriteFailure);
}

TEST(OutputFile, AWriteErrorStopsTheWriterAtOnce) {
  auto out = OutputFile::open("/dev/full");
  ASSERT_TRUE(out);
  out->set_failure_message("Unable to write output file - tmp.vmz");
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
