#include "edit/axbase.h"

#include <cmath>

namespace edit {

using console::OneMatrix;
using console::OneVector;

namespace {
constexpr double tolerance = 1e-8;
}

OneMatrix<double> axbase(const OneVector<double>& n) {
  OneVector<double> t(3), b(3);
  // Any vector perpendicular to n will do for t; the second choice serves an axis (nearly)
  // along the y axis, where the first would vanish.
  if (std::fabs(n[1]) > tolerance || std::fabs(n[3]) > tolerance) {
    t[1] = n[3];
    t[2] = 0;
    t[3] = -n[1];
  } else {
    t[1] = 0;
    t[2] = n[3];
    t[3] = -n[2];
  }
  double length = std::sqrt(t[1] * t[1] + t[2] * t[2] + t[3] * t[3]);
  for (int j = 1; j <= 3; ++j) t[j] = t[j] / length;
  // b = n x t completes the right-handed triple (t, b, n).
  b[1] = n[2] * t[3] - n[3] * t[2];
  b[2] = n[3] * t[1] - n[1] * t[3];
  b[3] = n[1] * t[2] - n[2] * t[1];
  OneMatrix<double> q(3, 3);
  for (int j = 1; j <= 3; ++j) {
    q(j, 1) = t[j];
    q(j, 2) = b[j];
    q(j, 3) = n[j];
  }
  return q;
}

OneMatrix<double> global_matrix(const OneMatrix<double>& q, const OneMatrix<double>& r) {
  OneMatrix<double> qr(3, 3), t(3, 3);
  for (int i = 1; i <= 3; ++i) {
    for (int j = 1; j <= 3; ++j) {
      double sum = 0;
      for (int k = 1; k <= 3; ++k) sum += q(i, k) * r(k, j);
      qr(i, j) = sum;
    }
  }
  for (int i = 1; i <= 3; ++i) {
    for (int j = 1; j <= 3; ++j) {
      double sum = 0;
      for (int k = 1; k <= 3; ++k) sum += qr(i, k) * q(j, k);
      t(i, j) = sum;
    }
  }
  return t;
}

OneMatrix<double> local_rotation(double theta) {
  OneMatrix<double> r(3, 3);
  double c = std::cos(theta);
  double s = std::sin(theta);
  r(1, 1) = c;
  r(1, 2) = -s;
  r(1, 3) = 0;
  r(2, 1) = s;
  r(2, 2) = c;
  r(2, 3) = 0;
  r(3, 1) = 0;
  r(3, 2) = 0;
  r(3, 3) = 1;
  return r;
}

OneVector<double> unit_direction(const OneVector<double>& a, const OneVector<double>& b) {
  OneVector<double> n(3);
  for (int j = 1; j <= 3; ++j) n[j] = b[j] - a[j];
  double length = std::sqrt(n[1] * n[1] + n[2] * n[2] + n[3] * n[3]);
  for (int j = 1; j <= 3; ++j) n[j] = n[j] / length;
  return n;
}

}  // namespace edit
