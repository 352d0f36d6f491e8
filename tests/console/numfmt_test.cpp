// The fast number formatters against snprintf: every value byte for byte the same.
#include "console/numfmt.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <vector>

namespace {

// The values that come out differently from "%15.<precision>lf", the first few reported.
int mismatches(const std::vector<double>& values, int precision) {
  int bad = 0;
  for (double v : values) {
    char want[512];
    std::snprintf(want, sizeof want, "%15.*lf", precision, v);
    std::string got;
    console::append_fixed(got, v, 15, precision);
    if (got != want && ++bad <= 5) {
      ADD_FAILURE() << std::hexfloat << v << " ." << precision << ": " << got << " vs " << want;
    }
  }
  return bad;
}

}  // namespace

TEST(Numfmt, IntegersAndGeneralFormats) {
  for (int v : {0, 1, -1, 9, 10, 99999, -12345, 123456, std::numeric_limits<int>::min(),
                std::numeric_limits<int>::max()}) {
    for (int width : {0, 5, 8}) {
      std::string s = "<";
      console::append_int(s, v, width);
      char want[32];
      std::snprintf(want, sizeof want, "<%*d", width, v);
      EXPECT_EQ(s, want);
    }
  }
  EXPECT_EQ(console::cformat("%5d|%-d|%.15lg|%14.4le", 7, 12, 0.1, 100.0),
            "    7|12|0.1|    1.0000e+02");
}

TEST(Numfmt, FixedMatchesPrintfOnSpecialValues) {
  const double max = std::numeric_limits<double>::max(), tiny = 4.9406564584124654e-324;
  std::vector<double> values = {
      0.0, -0.0, tiny, -tiny, 1e-300, -1e-10, 1e-9, 0.5e-8, -0.5e-8, 1.5e-8, 2.5e-8, 4e-8, -4e-8,
      5e-8, -5e-8, 6e-8, 0.05, -0.05, 0.1, 0.125, 0.375, 0.7, 0.999999995, 1.0, -1.0, 2.675,
      1.234567891, -1.234567895, 1.000000005, 123.456, 123456789.123456789, 99999999999.99999,
      1e11, -1e11, 123456789012.5, 9.007199254740993e15, 1e15, 1e17, -1e17, 1e18, -1e22, 1e30,
      -1.4e30, 1e300, max, -max, INFINITY, -INFINITY, NAN};
  // Exact ties: odd multiples of 2^-(p+1) end in a 5 at p + 1 decimals.
  for (int k = 1; k < 4000; k += 2) {
    for (double v : {k / 256.0, k / 512.0, k + 0.5}) values.insert(values.end(), {v, -v});
  }
  for (int k = -2000; k <= 2000; ++k) values.push_back(k / 512.0);
  for (int precision : {0, 1, 2, 3, 4, 5, 6, 7, 8, 10, 17}) {
    EXPECT_EQ(mismatches(values, precision), 0) << precision;
  }
  std::string s;
  console::append_fixed(s, -4e-8, 15, 7);
  EXPECT_EQ(s, "     -0.0000000");
}

TEST(Numfmt, FixedMatchesPrintfOnRandomValues) {
  std::mt19937_64 random(20240607);
  std::vector<double> values;
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  for (int e = -12; e <= 14; ++e) {
    for (int i = 0; i < 4000; ++i) values.push_back(unit(random) * std::pow(10.0, e));
  }
  while (values.size() < 160000) {  // random bit patterns: every exponent
    double v = std::bit_cast<double>(random());
    if (std::isfinite(v)) values.push_back(v);
  }
  for (int precision : {0, 1, 5, 7, 8, 10, 12}) {
    EXPECT_EQ(mismatches(values, precision), 0) << precision;
  }
}
