#include "console/dataline.h"

#include <gtest/gtest.h>

#include <functional>

#include "console/report.h"

using console::elimnl;
using console::splitw;

namespace {
std::string fatal_message(const std::function<void()>& f) {
  try {
    f();
  } catch (const console::FatalError& e) {
    return e.what();
  }
  return "";
}
}  // namespace

TEST(Elimnl, RemovesLineFeedAndCarriageReturn) {
  std::string a = "abc\n";
  elimnl(a);
  EXPECT_EQ(a, "abc");
  std::string b = "abc\r\n";
  elimnl(b);
  EXPECT_EQ(b, "abc");
  std::string c = "\n";
  elimnl(c);
  EXPECT_EQ(c, "");
  std::string d = "\r\n";
  elimnl(d);
  EXPECT_EQ(d, "");
  std::string e;
  elimnl(e);
  EXPECT_EQ(e, "");
}

TEST(Elimnl, MissingLineFeedIsFatal) {
  EXPECT_EQ(fatal_message([] {
              std::string s = "abc";
              elimnl(s);
            }),
            "elimnl: internal error 2 (LF expected)");
  EXPECT_EQ(fatal_message([] {
              std::string s = "abc\r";
              elimnl(s);
            }),
            "elimnl: internal error 1 (CR in the string)");
}

TEST(Splitw, WordsCommentsAndSeparators) {
  EXPECT_TRUE(splitw("   # only a comment\n").empty());
  EXPECT_TRUE(splitw("\n").empty());
  EXPECT_EQ(splitw("a\tb  c#d e\n"), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(splitw("1 2\r\n"), (std::vector<std::string>{"1", "2"}));
}

TEST(Splitw, LineLengthLimit) {
  EXPECT_EQ(splitw(std::string(980, 'x')).size(), 1u);
  EXPECT_EQ(fatal_message([] { splitw(std::string(981, 'x')); }), "Line too long");
  EXPECT_EQ(fatal_message([] { splitw(std::string(999, 'x')); }), "Line too long");
}

TEST(Splitw, WordCountLimit) {
  std::string hundred, hundred_one;
  for (int i = 0; i < 100; ++i) hundred += "w ";
  hundred_one = hundred + "w";
  EXPECT_EQ(splitw(hundred).size(), 100u);
  EXPECT_EQ(fatal_message([&] { splitw(hundred_one); }), "Too many words in a single line");
}
