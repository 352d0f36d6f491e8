#include "console/arrays.h"

#include <gtest/gtest.h>

#include <limits>

using console::OneArray3;
using console::OneMatrix;
using console::OneVector;

TEST(OneVector, IndexesFromOneAndZeroes) {
  OneVector<int> v(3);
  v.zero();
  v[1] = 5;
  v[3] = 7;
  EXPECT_EQ(v.size(), 3);
  EXPECT_EQ(v[1], 5);
  EXPECT_EQ(v[2], 0);
  EXPECT_EQ(v[3], 7);
  EXPECT_EQ(&v[3] - &v[1], 2);
}

TEST(OneVector, ZeroLengthExistsAndIsEmpty) {
  OneVector<double> v(0);
  EXPECT_EQ(v.size(), 0);
  EXPECT_EQ(v.begin(), v.end());
  v.zero();  // changes nothing, faults nothing
  OneVector<double> moved = std::move(v);
  EXPECT_EQ(moved.size(), 0);
}

TEST(OneMatrix, RowsAreConsecutiveBlocks) {
  OneMatrix<double> m(3, 2);
  double value = 1;
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 2; ++j) m(i, j) = value++;
  // [1][1], [1][2], [2][1] ... [3][2] are six consecutive doubles.
  const double* first = &m(1, 1);
  for (int k = 0; k < 6; ++k) EXPECT_EQ(first[k], k + 1.0);
  EXPECT_EQ(m.row(2), &m(2, 1));
  EXPECT_EQ(m.row(2)[1], 4.0);
}

TEST(OneMatrix, ZeroRowsOrColumnsAreValid) {
  OneMatrix<int> a(0, 20);
  OneMatrix<int> b(5, 0);
  EXPECT_EQ(a.rows(), 0);
  EXPECT_EQ(b.cols(), 0);
  a.zero();
  b.zero();
}

TEST(OneArray3, RowMajorOrder) {
  OneArray3<double> a(2, 3, 4);
  a.zero();
  a(2, 3, 4) = 9;
  a(1, 2, 1) = 5;
  EXPECT_EQ(&a(2, 1, 1) - &a(1, 1, 1), 12);
  EXPECT_EQ(&a(1, 2, 1) - &a(1, 1, 1), 4);
  EXPECT_EQ(a(2, 3, 4), 9.0);
  EXPECT_EQ(a(1, 2, 1), 5.0);
  EXPECT_EQ(a(1, 1, 1), 0.0);
}

TEST(OneMatrix, ImpossibleSizeIsTheFatalMemoryReport) {
  int huge = std::numeric_limits<int>::max();
  try {
    OneArray3<double> a(huge, huge, huge);
    FAIL() << "allocation of an impossible size succeeded";
  } catch (const console::FatalError& e) {
    EXPECT_STREQ(e.what(), "Memory allocation failed");
  }
}
