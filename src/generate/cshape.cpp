#include "generate/cshape.h"

#include "console/report.h"

namespace generate {

namespace {

// Node positions in (s, t) of the quadrilaterals: the ring of 8, then the centre.
constexpr int quad_s[9] = {-1, 0, 1, 1, 1, 0, -1, -1, 0};
constexpr int quad_t[9] = {-1, -1, -1, 0, 1, 1, 1, 0, 0};
// The corners of the 4-node quadrilateral.
constexpr int corner_s[4] = {-1, 1, 1, -1};
constexpr int corner_t[4] = {-1, -1, 1, 1};
// Node positions in (s, t, u) of the 20-node brick.
constexpr int brick_s[20] = {-1, 0, 1, 1, 1, 0, -1, -1, -1, 1, 1, -1, -1, 0, 1, 1, 1, 0, -1, -1};
constexpr int brick_t[20] = {-1, -1, -1, 0, 1, 1, 1, 0, -1, -1, 1, 1, -1, -1, -1, 0, 1, 1, 1, 0};
constexpr int brick_u[20] = {-1, -1, -1, -1, -1, -1, -1, -1, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1};
// The corners of the 8-node brick.
constexpr int corner8_s[8] = {-1, 1, 1, -1, -1, 1, 1, -1};
constexpr int corner8_t[8] = {-1, -1, 1, 1, -1, -1, 1, 1};
constexpr int corner8_u[8] = {-1, -1, -1, -1, 1, 1, 1, 1};

// Quadratic Lagrange factors for the node positions -1, 0 and +1.
double lagrange(int position, double x) {
  if (position < 0) return x * (x - 1.0) / 2.0;
  if (position > 0) return x * (x + 1.0) / 2.0;
  return 1.0 - x * x;
}

[[noreturn]] void bad_kind() {
  console::fatal("cshape: internal error 1");
}

void line(int nnode, double s, double* shape) {
  if (nnode == 2) {
    shape[0] = (1.0 - s) / 2.0;
    shape[1] = (1.0 + s) / 2.0;
  } else if (nnode == 3) {
    shape[0] = s * (s - 1.0) / 2.0;
    shape[1] = (1.0 + s) * (1.0 - s);
    shape[2] = s * (s + 1.0) / 2.0;
  } else {
    bad_kind();
  }
}

void quadrilateral(int nnode, double s, double t, double* shape) {
  if (nnode == 4) {
    for (int i = 0; i < 4; ++i) {
      shape[i] = (1.0 + s * corner_s[i]) * (1.0 + t * corner_t[i]) / 4.0;
    }
  } else if (nnode == 8) {
    for (int i = 0; i < 8; ++i) {
      double si = quad_s[i];
      double ti = quad_t[i];
      if (quad_s[i] == 0) {
        shape[i] = (1.0 - s * s) * (1.0 + t * ti) / 2.0;
      } else if (quad_t[i] == 0) {
        shape[i] = (1.0 + s * si) * (1.0 - t * t) / 2.0;
      } else {
        shape[i] = (1.0 + s * si) * (1.0 + t * ti) * (s * si + t * ti - 1.0) / 4.0;
      }
    }
  } else if (nnode == 9) {
    for (int i = 0; i < 9; ++i) shape[i] = lagrange(quad_s[i], s) * lagrange(quad_t[i], t);
  } else {
    bad_kind();
  }
}

void brick(int nnode, double s, double t, double u, double* shape) {
  if (nnode == 8) {
    for (int i = 0; i < 8; ++i) {
      shape[i] =
          (1.0 + s * corner8_s[i]) * (1.0 + t * corner8_t[i]) * (1.0 + u * corner8_u[i]) / 8.0;
    }
  } else if (nnode == 20) {
    for (int i = 0; i < 20; ++i) {
      double si = brick_s[i];
      double ti = brick_t[i];
      double ui = brick_u[i];
      if (brick_s[i] == 0) {
        shape[i] = (1.0 - s * s) * (1.0 + t * ti) * (1.0 + u * ui) / 4.0;
      } else if (brick_t[i] == 0) {
        shape[i] = (1.0 + s * si) * (1.0 - t * t) * (1.0 + u * ui) / 4.0;
      } else if (brick_u[i] == 0) {
        shape[i] = (1.0 + s * si) * (1.0 + t * ti) * (1.0 - u * u) / 4.0;
      } else {
        shape[i] = (1.0 + s * si) * (1.0 + t * ti) * (1.0 + u * ui) *
                   (s * si + t * ti + u * ui - 2.0) / 8.0;
      }
    }
  } else {
    bad_kind();
  }
}

}  // namespace

void cshape(int nnode, int family, double s, double t, double u, double* shape) {
  switch (family) {
    case 1:
    case 2:
    case 3:
      quadrilateral(nnode, s, t, shape);
      break;
    case 4:
      brick(nnode, s, t, u, shape);
      break;
    case 7:
    case 8:
      line(nnode, s, shape);
      break;
    default:
      bad_kind();
  }
}

void cshape(int nnode, int family, double s, double t, double u,
            console::OneVector<double>& shape) {
  // The result vector must hold every node; a shorter one is the same fault as a node count
  // outside the family.
  if (nnode < 1 || shape.size() < nnode) bad_kind();
  cshape(nnode, family, s, t, u, shape.begin());
}

}  // namespace generate
