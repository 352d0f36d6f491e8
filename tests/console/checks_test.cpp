#include "console/checks.h"

#include <gtest/gtest.h>

using console::chkint;
using console::chkjob;
using console::chkrea;

TEST(Trimbl, RemovesBlanksAtBothEndsOnly) {
  std::string a = "  two words  ";
  console::trimbl(a);
  EXPECT_EQ(a, "two words");
  std::string b = "    ";
  console::trimbl(b);
  EXPECT_EQ(b, "");
  std::string c = "\tx\t";  // tabs are not blanks for the dialogue
  console::trimbl(c);
  EXPECT_EQ(c, "\tx\t");
}

TEST(Lentrm, LengthWithoutTrailingBlanks) {
  EXPECT_EQ(console::lentrm("ab  "), 2);
  EXPECT_EQ(console::lentrm("  ab"), 4);
  EXPECT_EQ(console::lentrm("   "), 0);
  EXPECT_EQ(console::lentrm(""), 0);
}

TEST(Lblank, LeadingBlanksAndZeroForBlankText) {
  EXPECT_EQ(console::lblank("   ab "), 3);
  EXPECT_EQ(console::lblank("ab"), 0);
  EXPECT_EQ(console::lblank("    "), 0);
}

TEST(Chkint, AcceptsSignedIntegersWithLeadingBlanks) {
  for (const char* word : {"-12", "   7", "+7", "0", "007", "", "   "}) {
    EXPECT_TRUE(chkint(word).valid) << word;
    EXPECT_EQ(chkint(word).position, 0) << word;
  }
}

TEST(Chkint, RefusesAndPointsAtTheOffendingCharacter) {
  EXPECT_EQ(chkint("1.0").position, 2);
  EXPECT_EQ(chkint("12a").position, 3);
  EXPECT_EQ(chkint("--1").position, 2);
  EXPECT_EQ(chkint("+-3").position, 2);
  EXPECT_EQ(chkint("1 2").position, 2);
  EXPECT_FALSE(chkint("+").valid);
  EXPECT_FALSE(chkint("12abc").valid);
  EXPECT_FALSE(chkint("1.5").valid);
}

TEST(Chkrea, AcceptsPlainDecimals) {
  for (const char* word : {"1", "1.", ".5", "+3.25", "-0", "0.000001", "  2.5", "-2.5e3", "1E-2",
                           "1e5", "-2.5E-03", "3.e+2", "1e999"}) {
    EXPECT_TRUE(chkrea(word).valid) << word;
  }
}

TEST(Chkrea, RefusesMalformedWords) {
  for (const char* word : {".", "+", "-.", "+.e1", "e5", "e3", "1e", "1e+", "1e1234", "1e2e3",
                           "1.5-3", "1.2.3", "1,5", "abc", "1 e5", "++1", "1e+-2"}) {
    EXPECT_FALSE(chkrea(word).valid) << word;
  }
  EXPECT_EQ(chkrea("1.2.3").position, 4);
  EXPECT_EQ(chkrea("1,5").position, 2);
  EXPECT_EQ(chkrea("e5").position, 1);
  EXPECT_EQ(chkrea("1e1234").position, 6);
}

TEST(Chkjob, AcceptsTheAllowedCharacters) {
  std::string name = "Dir/sub\\A.b:c$d_9";
  EXPECT_EQ(chkjob(name), 'y');
  EXPECT_EQ(name, "Dir/sub\\A.b:c$d_9");
  std::string empty;
  EXPECT_EQ(chkjob(empty), 'y');
}

TEST(Chkjob, RefusesHyphenAndComma) {
  std::string hyphen = "my-job";
  EXPECT_EQ(chkjob(hyphen), 'n');
  std::string comma = "a,b";
  EXPECT_EQ(chkjob(comma), 'n');
}

TEST(Chkjob, KeepsTheFirstWordOfATrimmedName) {
  std::string name = "  plate second";
  EXPECT_EQ(chkjob(name), 'y');
  EXPECT_EQ(name, "plate");
  std::string tabbed = "a\tb-c";
  EXPECT_EQ(chkjob(tabbed), 'y');
  EXPECT_EQ(tabbed, "a");
}

TEST(ParseInt, WholeTokenWithinIntRange) {
  int v = 0;
  EXPECT_TRUE(console::parse_int("-2147483648", v));
  EXPECT_EQ(v, -2147483648);
  EXPECT_TRUE(console::parse_int("+12", v));
  EXPECT_EQ(v, 12);
  EXPECT_FALSE(console::parse_int("2147483648", v));
  EXPECT_FALSE(console::parse_int("12x", v));
  EXPECT_FALSE(console::parse_int("1.0", v));
  EXPECT_FALSE(console::parse_int("+-1", v));
  EXPECT_FALSE(console::parse_int("", v));
  EXPECT_FALSE(console::parse_int("+", v));
}

TEST(ParseReal, WholeFiniteToken) {
  double v = 0;
  EXPECT_TRUE(console::parse_real("+1.5e2", v));
  EXPECT_EQ(v, 150.0);
  EXPECT_TRUE(console::parse_real("-.25", v));
  EXPECT_EQ(v, -0.25);
  EXPECT_TRUE(console::parse_real("1e-400", v));  // underflow is zero, not an error
  EXPECT_EQ(v, 0.0);
  EXPECT_FALSE(console::parse_real("1e400", v));
  EXPECT_FALSE(console::parse_real("nan", v));
  EXPECT_FALSE(console::parse_real("inf", v));
  EXPECT_FALSE(console::parse_real("1.5x", v));
  EXPECT_FALSE(console::parse_real("", v));
}
