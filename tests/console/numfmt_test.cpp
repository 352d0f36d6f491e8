// The fast fixed-point formatter against printf: every value must come out byte for byte the
// same, ties and signs included.
#include "console/numfmt.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>

namespace {

std::string printf_fixed(double value, int width, int precision) {
  char text[512];
  std::snprintf(text, sizeof text, "%*.*f", width, precision, value);
  return text;
}

std::string fast_fixed(double value, int width, int precision) {
  std::string out = "<";
  console::append_fixed(out, value, width, precision);
  return out.substr(1);
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

TEST(AppendFixed, NonFiniteValuesAsPrintf) {
  std::vector<double> values = {std::numeric_limits<double>::infinity(),
                                -std::numeric_limits<double>::infinity(),
                                std::numeric_limits<double>::quiet_NaN()};
  EXPECT_EQ(mismatches(values, 15, 7), 0);
}
