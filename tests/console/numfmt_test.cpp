// The fast formatters against printf: every value must come out byte for byte the same, ties
// and signs included.
#include "console/numfmt.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace {
std::string printf_fixed(double v, int width, int precision) {
  char text[512];
  std::snprintf(text, sizeof text, "%*.*lf", width, precision, v);
  return text;
}
std::string fast_fixed(double v, int width, int precision) {
  std::string s;
  console::append_fixed(s, v, width, precision);
  return s;
}

// Counts the values that differ, reporting the first few.
int mismatches(const std::vector<double>& values, int width, int precision) {
  int bad = 0;
  for (double v : values) {
    std::string expected = printf_fixed(v, width, precision);
    std::string got = fast_fixed(v, width, precision);
    if (got != expected && ++bad <= 5) {
      ADD_FAILURE() << std::hexfloat << v << " %" << width << "." << precision << "f: got \"" << got
                    << "\", printf \"" << expected << "\"";
    }
  }
  return bad;
}

}  // namespace

TEST(AppendInt, MatchesPrintf) {
  for (int v : {0, 1, -1, 12345, 123456, -12345, 99999, std::numeric_limits<int>::min(),
                std::numeric_limits<int>::max()}) {
    for (int width : {0, 5, 8}) {
      std::string s;
      console::append_int(s, v, width);
      char text[32];
      std::snprintf(text, sizeof text, "%*d", width, v);
      EXPECT_EQ(s, text) << v << " " << width;
    }
  }
}

TEST(AppendFixed, MatchesPrintfOnSpecialValues) {
  const double values[] = {0.0,
                           -0.0,
                           -1e-10,
                           1e-9,
                           0.5e-8,
                           -0.5e-8,
                           1.5e-8,
                           2.5e-8,
                           0.125,
                           0.375,
                           1.234567891,
                           -1.234567895,
                           123456789.123456789,
                           1e15,
                           -1e22,
                           1e300,
                           -1.7976931348623157e308,
                           4.9406564584124654e-324,
                           0.1,
                           0.7,
                           2.675,
                           1.0000000050000000};
  for (double v : values) {
    for (int precision : {7, 8, 10, 2, 0}) {
      EXPECT_EQ(fast_fixed(v, 15, precision), printf_fixed(v, 15, precision)) << v;
    }
  }
}

TEST(AppendFixed, MatchesPrintfOnExactTies) {
  // Values with an exact binary representation that lie halfway between two outputs.
  for (int k = -2000; k <= 2000; ++k) {
    double v = k / 512.0;  // multiples of 2^-9: ties at precisions 0 .. 8
    for (int precision : {0, 1, 2, 3, 4, 5, 6, 7, 8}) {
      ASSERT_EQ(fast_fixed(v, 15, precision), printf_fixed(v, 15, precision))
          << v << " " << precision;
    }
  }
}

TEST(AppendFixed, MatchesPrintfOnRandomValues) {
  std::mt19937_64 random(12345);
  std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
  std::uniform_int_distribution<int> exponent(-12, 12);
  for (int i = 0; i < 200000; ++i) {
    double v = mantissa(random) * std::pow(10.0, exponent(random));
    ASSERT_EQ(fast_fixed(v, 15, 8), printf_fixed(v, 15, 8)) << v;
    ASSERT_EQ(fast_fixed(v, 15, 7), printf_fixed(v, 15, 7)) << v;
  }
  std::uniform_int_distribution<std::uint64_t> bits;
  for (int i = 0; i < 100000; ++i) {
    std::uint64_t b = bits(random);
    double v;
    std::memcpy(&v, &b, sizeof v);
    if (!std::isfinite(v)) continue;
    ASSERT_EQ(fast_fixed(v, 15, 8), printf_fixed(v, 15, 8)) << v;
  }
}

TEST(AppendFixed, NonFiniteValuesAsPrintf) {
  for (double v :
       {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
        std::numeric_limits<double>::quiet_NaN()}) {
    EXPECT_EQ(fast_fixed(v, 15, 8), printf_fixed(v, 15, 8));
  }
}

TEST(Cformat, GeneralFormats) {
  EXPECT_EQ(console::cformat("%5d|%-d|%.15lg", 7, 12, 0.1), "    7|12|0.1");
  EXPECT_EQ(console::cformat("%14.4le", 100.0), "    1.0000e+02");
}

TEST(AppendFixed, ExactTiesRoundToEvenLikePrintf) {
  // k / 2^(p+1) with odd k has p + 1 decimals ending in 5: an exact tie at p decimals.
  std::vector<double> ties;
  for (int k = 1; k < 4000; k += 2) {
    ties.push_back(k / 256.0);
    ties.push_back(-k / 256.0);
    ties.push_back(k / 512.0);
    ties.push_back(k + 0.5);
    ties.push_back(-(k + 0.5));
  }
  for (int precision : {0, 1, 2, 7, 8}) EXPECT_EQ(mismatches(ties, 15, precision), 0);
}

TEST(AppendFixed, SignsZerosAndTinyValues) {
  const double tiny = std::numeric_limits<double>::denorm_min();
  std::vector<double> values = {0.0,  -0.0,  tiny,        -tiny, 1e-300, -1e-300,
                                4e-8, -4e-8, 5e-8,        -5e-8, 6e-8,   -6e-8,
                                0.05, -0.05, 0.999999995, 1.0,   -1.0,   123.456};
  for (int precision : {0, 3, 7, 8, 10, 17}) EXPECT_EQ(mismatches(values, 15, precision), 0);
  EXPECT_EQ(fast_fixed(-0.0, 15, 7), "     -0.0000000");
  EXPECT_EQ(fast_fixed(-4e-8, 15, 7), "     -0.0000000");
}

TEST(AppendFixed, LargeValuesWidenTheirFieldOrLeaveTheFastPath) {
  std::vector<double> values = {99999999999.99999,
                                1e11,
                                -1e11,
                                123456789012.5,
                                1e17,
                                -1e17,
                                1e18,
                                9.007199254740993e15,
                                1e30,
                                -1.4e30,
                                std::numeric_limits<double>::max(),
                                -std::numeric_limits<double>::max()};
  for (int precision : {0, 7, 8, 10}) EXPECT_EQ(mismatches(values, 15, precision), 0);
}

TEST(AppendFixed, RandomValuesOfEveryMagnitude) {
  std::mt19937_64 random(20240607);
  std::vector<double> values;
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  for (int e = -12; e <= 14; ++e) {
    for (int i = 0; i < 4000; ++i) values.push_back(unit(random) * std::pow(10.0, e));
  }
  // Random bit patterns: every exponent, finite values only.
  while (values.size() < 160000) {
    double v = std::bit_cast<double>(random());
    if (std::isfinite(v)) values.push_back(v);
  }
  for (int precision : {0, 1, 5, 7, 8, 10, 12}) {
    EXPECT_EQ(mismatches(values, 15, precision), 0) << "precision " << precision;
  }
}
