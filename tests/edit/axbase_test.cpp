// The local basis of an axis, and the global matrices built on it.
#include "edit/axbase.h"

#include <gtest/gtest.h>

#include <cmath>

using console::OneMatrix;
using console::OneVector;

namespace {

OneVector<double> vec(double x, double y, double z) {
  OneVector<double> v(3);
  v[1] = x;
  v[2] = y;
  v[3] = z;
  return v;
}

OneVector<double> unit(double x, double y, double z) {
  double length = std::sqrt(x * x + y * y + z * z);
  return vec(x / length, y / length, z / length);
}

double column_dot(const OneMatrix<double>& q, int a, int b) {
  double sum = 0;
  for (int j = 1; j <= 3; ++j) sum += q(j, a) * q(j, b);
  return sum;
}

double determinant(const OneMatrix<double>& q) {
  return q(1, 1) * (q(2, 2) * q(3, 3) - q(2, 3) * q(3, 2)) -
         q(1, 2) * (q(2, 1) * q(3, 3) - q(2, 3) * q(3, 1)) +
         q(1, 3) * (q(2, 1) * q(3, 2) - q(2, 2) * q(3, 1));
}

// Columns orthonormal, determinant +1 (right-handed), third column the axis itself.
void expect_right_handed_basis(const OneVector<double>& n) {
  OneMatrix<double> q = edit::axbase(n);
  for (int a = 1; a <= 3; ++a) {
    for (int b = 1; b <= 3; ++b) {
      EXPECT_NEAR(column_dot(q, a, b), a == b ? 1.0 : 0.0, 1e-14) << "columns " << a << ", " << b;
    }
  }
  EXPECT_NEAR(determinant(q), 1.0, 1e-14);
  for (int j = 1; j <= 3; ++j) EXPECT_EQ(q(j, 3), n[j]);
}

}  // namespace

TEST(Axbase, CoordinateAxesInBothDirections) {
  for (int axis = 1; axis <= 3; ++axis) {
    for (double sign : {1.0, -1.0}) {
      OneVector<double> n = vec(0, 0, 0);
      n[axis] = sign;
      SCOPED_TRACE(testing::Message() << "axis " << axis << " sign " << sign);
      expect_right_handed_basis(n);
    }
  }
}

TEST(Axbase, AxesOffTheCoordinateAxes) {
  expect_right_handed_basis(unit(1, 1, 1));
  expect_right_handed_basis(unit(-3, 2, 0.5));
  expect_right_handed_basis(unit(0, 1, -1));
  expect_right_handed_basis(unit(2, -7, 0));
}

TEST(Axbase, AxisWithinToleranceOfTheYAxisUsesTheSecondAuxiliaryVector) {
  // |nx| and |nz| at most 1e-8: t = (0, nz, -ny) normalised, here (0, 1e-9, -1) nearly.
  OneVector<double> n = unit(1e-9, 1, 1e-9);
  expect_right_handed_basis(n);
  OneMatrix<double> q = edit::axbase(n);
  EXPECT_EQ(q(1, 1), 0.0);
  EXPECT_NEAR(q(3, 1), -1.0, 1e-15);
  // Just beyond the tolerance the first auxiliary vector (nz, 0, -nx) is taken.
  OneVector<double> m = unit(2e-8, 1, 0);
  expect_right_handed_basis(m);
  EXPECT_EQ(edit::axbase(m)(2, 1), 0.0);
}

TEST(Axbase, BasisForTheZAxisIsTheIdentity) {
  OneMatrix<double> q = edit::axbase(vec(0, 0, 1));
  for (int i = 1; i <= 3; ++i) {
    for (int j = 1; j <= 3; ++j) EXPECT_EQ(q(i, j), i == j ? 1.0 : 0.0);
  }
}

TEST(GlobalMatrix, RotationIsRightHandedAboutTheAxis) {
  // A third of a full turn about (1,1,1)/sqrt(3) takes x to y, y to z and z to x.
  OneMatrix<double> q = edit::axbase(unit(1, 1, 1));
  OneMatrix<double> t =
      edit::global_matrix(q, edit::local_rotation(120 * edit::degrees_to_radians));
  const double expected[3][3] = {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}};
  for (int i = 1; i <= 3; ++i) {
    for (int j = 1; j <= 3; ++j) EXPECT_NEAR(t(i, j), expected[i - 1][j - 1], 1e-15);
  }
}

TEST(GlobalMatrix, ReflectionInAPlaneIsIdentityMinusTwiceTheNormalProjection) {
  OneVector<double> n = unit(1, -2, 2);
  OneMatrix<double> r(3, 3);
  r.zero();
  r(1, 1) = 1;
  r(2, 2) = 1;
  r(3, 3) = -1;
  OneMatrix<double> t = edit::global_matrix(edit::axbase(n), r);
  for (int i = 1; i <= 3; ++i) {
    for (int j = 1; j <= 3; ++j) {
      EXPECT_NEAR(t(i, j), (i == j ? 1.0 : 0.0) - 2 * n[i] * n[j], 1e-15);
    }
  }
}

TEST(TurnAbout, MovesRelativeToThePointAndBack) {
  // Half a turn about the vertical line through (1, 1, 0).
  OneMatrix<double> t = edit::global_matrix(edit::axbase(vec(0, 0, 1)),
                                            edit::local_rotation(180 * edit::degrees_to_radians));
  OneVector<double> a = vec(1, 1, 0);
  const double x[3] = {3, 1, 5};
  double image[3];
  edit::turn_about(t, a, x, image);
  EXPECT_NEAR(image[0], -1, 1e-15);
  EXPECT_NEAR(image[1], 1, 1e-15);
  EXPECT_EQ(image[2], 5);
}
