// The local basis of an axis and the motions expressed in it.
//
// A rotation about an axis or a reflection in a plane is simple in a basis whose third vector is
// the axis (or the plane's normal): its local matrix R. The global matrix is T = Q·R·Qᵀ, where the
// columns of Q are the basis vectors.
#pragma once

#include "console/arrays.h"

namespace edit {

// From a unit vector n = (n[1], n[2], n[3]), a right-handed orthonormal basis (t, b, n),
// returned as the 3 x 3 matrix Q whose columns are t, b and n.
console::OneMatrix<double> axbase(const console::OneVector<double>& n);

// T = Q·R·Qᵀ, formed as Q·R first and then (Q·R)·Qᵀ.
console::OneMatrix<double> global_matrix(const console::OneMatrix<double>& q,
                                         const console::OneMatrix<double>& r);

// The local matrix of a rotation by theta radians about the third basis vector: rows
// (cos, -sin, 0), (sin, cos, 0), (0, 0, 1). A positive angle turns t towards b.
console::OneMatrix<double> local_rotation(double theta);

// (b - a) divided by its length.
console::OneVector<double> unit_direction(const console::OneVector<double>& a,
                                          const console::OneVector<double>& b);

// Degrees to radians, as every angle typed by the user is converted.
constexpr double degrees_to_radians = 0.017453292519943295;

}  // namespace edit

namespace edit {

// The image of point x (three coordinates) under the motion with global matrix t about the point
// a: x − a, then t·(x − a) with each sum taken from the first column on, then a added back.
inline void turn_about(const console::OneMatrix<double>& t, const console::OneVector<double>& a,
                       const double* x, double* image) {
  double relative[3];
  for (int j = 1; j <= 3; ++j) relative[j - 1] = x[j - 1] - a[j];
  for (int k = 1; k <= 3; ++k) {
    double sum = 0;
    for (int m = 1; m <= 3; ++m) sum += t(k, m) * relative[m - 1];
    image[k - 1] = sum + a[k];
  }
}

}  // namespace edit
