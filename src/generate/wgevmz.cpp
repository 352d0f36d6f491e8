#include "generate/wgevmz.h"

#include <climits>

#include "console/report.h"
#include "generate/cshape.h"

namespace generate {

namespace {

using console::fatal;

// Counts are cut at this value: anything above the range of int is simply too large.
constexpr long long count_cap = static_cast<long long>(INT_MAX) + 1;

long long capped_add(long long a, long long b) {
  return a + b > count_cap ? count_cap : a + b;
}
long long capped_mul(long long a, long long b) {
  if (a == 0 || b == 0) return 0;
  if (a > count_cap / b) return count_cap;
  return a * b > count_cap ? count_cap : a * b;
}
long long capped_mul(long long a, long long b, long long c) {
  return capped_mul(capped_mul(a, b), c);
}

// How the grid of a generated kind is built and numbered.
enum class Grid {
  corner,       // linear kinds: every corner-grid point
  fine,         // 3-node lines and 9-node quadrilaterals: every fine-grid point
  serendipity,  // 8-node quadrilaterals and 20-node bricks: fine-grid points with at most one
                // odd index
  none,         // no generated kind of this ngtyp
};

Grid grid_of(int ngtyp, int nnodg) {
  switch (ngtyp) {
    case 1:
      return nnodg == 2 ? Grid::corner : nnodg == 3 ? Grid::fine : Grid::none;
    case 2:
      return nnodg == 4   ? Grid::corner
             : nnodg == 8 ? Grid::serendipity
             : nnodg == 9 ? Grid::fine
                          : Grid::none;
    case 3:
      return nnodg == 8 ? Grid::corner : nnodg == 20 ? Grid::serendipity : Grid::none;
    default:
      return Grid::none;
  }
}

// Divisions of element ielem along s1, s2, s3; 0 for the directions beyond ngtyp.
struct Divisions {
  long long d1 = 0, d2 = 0, d3 = 0;
};
Divisions divisions_of(int ngtyp, const console::OneMatrix<int>& divisions, int ielem) {
  Divisions d;
  d.d1 = divisions(ielem, 1);
  if (ngtyp >= 2) d.d2 = divisions(ielem, 2);
  if (ngtyp >= 3) d.d3 = divisions(ielem, 3);
  return d;
}

// Number of the grid point (a, b, c) of an element whose points follow the first p0 points of
// the file, for the generated kind of (ngtyp, grid). The same as the rank of the point in the
// scan order of the grid with the skipped points left out.
class Numbering {
 public:
  Numbering(int ngtyp, Grid grid, Divisions d) : ngtyp_(ngtyp), grid_(grid), d_(d) {
    if (grid_ == Grid::serendipity && ngtyp_ == 3) {
      // Points in a layer of even c (an 8-node quadrilateral's pattern) and of odd c (the
      // corners of the sub-elements only).
      layer_even_ = 3 * d_.d1 * d_.d2 + 2 * d_.d1 + 2 * d_.d2 + 1;
      layer_odd_ = (d_.d1 + 1) * (d_.d2 + 1);
    }
  }

  long long number(long long p0, long long a, long long b, long long c) const {
    switch (grid_) {
      case Grid::corner:
        return p0 + 1 + a + (d_.d1 + 1) * b + (d_.d1 + 1) * (d_.d2 + 1) * c;
      case Grid::fine:
        return p0 + 1 + a + (2 * d_.d1 + 1) * b;
      case Grid::serendipity:
        if (ngtyp_ == 2) return quadrilateral8(p0, a, b);
        if (c % 2 == 0) return (c / 2) * (layer_even_ + layer_odd_) + quadrilateral8(p0, a, b);
        return p0 + 1 + (c / 2) * (layer_even_ + layer_odd_) + layer_even_ + a / 2 +
               (d_.d1 + 1) * (b / 2);
      case Grid::none:
        break;
    }
    return 0;
  }

 private:
  long long quadrilateral8(long long p0, long long a, long long b) const {
    long long row_pair = (b / 2) * (3 * d_.d1 + 2);
    if (b % 2 == 0) return p0 + 1 + row_pair + a;
    return p0 + 1 + row_pair + (2 * d_.d1 + 1) + a / 2;
  }

  int ngtyp_;
  Grid grid_;
  Divisions d_;
  long long layer_even_ = 0;
  long long layer_odd_ = 0;
};

// Node offsets of the generated kinds from the lower corner of a sub-element, in corner-grid
// units for linear kinds and fine-grid units for quadratic ones, in element node order.
struct Offset {
  int a, b, c;
};
constexpr Offset line2[] = {{0, 0, 0}, {1, 0, 0}};
constexpr Offset line3[] = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}};
constexpr Offset quadrilateral4[] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
constexpr Offset quadrilateral9[] = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {2, 1, 0}, {2, 2, 0},
                                     {1, 2, 0}, {0, 2, 0}, {0, 1, 0}, {1, 1, 0}};
constexpr Offset brick8[] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0},
                             {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}};
constexpr Offset brick20[] = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {2, 1, 0}, {2, 2, 0},
                              {1, 2, 0}, {0, 2, 0}, {0, 1, 0}, {0, 0, 1}, {2, 0, 1},
                              {2, 2, 1}, {0, 2, 1}, {0, 0, 2}, {1, 0, 2}, {2, 0, 2},
                              {2, 1, 2}, {2, 2, 2}, {1, 2, 2}, {0, 2, 2}, {0, 1, 2}};

// The offsets of (ngtyp, nnodg); the 8-node quadrilateral is the 9-node one without its centre.
const Offset* offsets_of(int ngtyp, int nnodg) {
  if (ngtyp == 1) return nnodg == 2 ? line2 : line3;
  if (ngtyp == 2) return nnodg == 4 ? quadrilateral4 : quadrilateral9;
  return nnodg == 8 ? brick8 : brick20;
}

// Element lines of every element; quadrilaterals get closed lists.
void write_elements(int ngtyp, int nnodg, int nelem, const console::OneMatrix<int>& divisions,
                    mesh::MeshWriter& out) {
  Grid grid = grid_of(ngtyp, nnodg);
  const Offset* offsets = offsets_of(ngtyp, nnodg);
  int scale = grid == Grid::corner ? 1 : 2;
  bool closed = ngtyp == 2;
  int nodes[mesh::mnode + 1];
  long long p0 = 0;
  for (int ielem = 1; ielem <= nelem; ++ielem) {
    Divisions d = divisions_of(ngtyp, divisions, ielem);
    Numbering numbering(ngtyp, grid, d);
    long long n2 = ngtyp >= 2 ? d.d2 : 1;
    long long n3 = ngtyp >= 3 ? d.d3 : 1;
    for (long long m = 0; m < n3; ++m) {
      for (long long j = 0; j < n2; ++j) {
        for (long long k = 0; k < d.d1; ++k) {
          for (int node = 0; node < nnodg; ++node) {
            const Offset& o = offsets[node];
            nodes[node] = static_cast<int>(
                numbering.number(p0, scale * k + o.a, scale * j + o.b, scale * m + o.c));
          }
          if (closed) {
            nodes[nnodg] = nodes[0];
            out.element(nnodg + 1, nodes);
          } else {
            out.element(nnodg, nodes);
          }
        }
      }
    }
    p0 += element_counts(ngtyp, nnodg, divisions, ielem).points;
  }
}

// Point lines of every element, in the scan order of its grid.
void write_points(int ngtyp, Grid grid, const mesh::MeshBuffer& buffer, int nnode, int family,
                  const console::OneMatrix<int>& divisions, const StepWeights& weights,
                  mesh::MeshWriter& out) {
  double shape[mesh::mnode];
  double nodal[mesh::mnode][mesh::ndime];
  bool corner = grid == Grid::corner;
  // Parametric step from grid index m - 1 to m along direction j of element ielem.
  auto step = [&](int ielem, int j, long long m) {
    return corner ? 2.0 * weights(ielem, j, static_cast<int>(m))
                  : weights(ielem, j, static_cast<int>((m + 1) / 2));
  };
  for (int ielem = 1; ielem <= buffer.nelem; ++ielem) {
    for (int m = 1; m <= nnode; ++m) {
      const double* xyz = buffer.coord.row(buffer.lnods(ielem, m));
      for (int k = 0; k < mesh::ndime; ++k) nodal[m - 1][k] = xyz[k];
    }
    Divisions d = divisions_of(ngtyp, divisions, ielem);
    long long scale = corner ? 1 : 2;
    long long n1 = scale * d.d1, n2 = scale * d.d2, n3 = scale * d.d3;
    double s3 = ngtyp >= 3 ? -1.0 : 0.0;
    for (long long c = 0; c <= n3; ++c) {
      if (c > 0) s3 += step(ielem, 3, c);
      double s2 = ngtyp >= 2 ? -1.0 : 0.0;
      for (long long b = 0; b <= n2; ++b) {
        if (b > 0) s2 += step(ielem, 2, b);
        double s1 = -1.0;
        for (long long a = 0; a <= n1; ++a) {
          if (a > 0) s1 += step(ielem, 1, a);
          if (grid == Grid::serendipity && (a % 2) + (b % 2) + (c % 2) > 1) continue;
          cshape(nnode, family, s1, s2, s3, shape);
          double x[mesh::ndime];
          for (int k = 0; k < mesh::ndime; ++k) {
            double sum = 0.0;
            for (int m = 0; m < nnode; ++m) sum += shape[m] * nodal[m][k];
            x[k] = sum;
          }
          out.point(x[0], x[1], x[2]);
        }
      }
    }
  }
}

void check_kind(int ngtyp, int nnodg, const char* internal_error) {
  if (grid_of(ngtyp, nnodg) == Grid::none) fatal(internal_error);
}

void write_points_checked(int ngtyp, const char* routine, const mesh::MeshBuffer& buffer, int nnode,
                          int nnodg, int family, const console::OneMatrix<int>& divisions,
                          const StepWeights& weights, mesh::MeshWriter& out) {
  check_kind(ngtyp, nnodg, (std::string(routine) + ": internal error 1").c_str());
  Grid grid = grid_of(ngtyp, nnodg);
  switch (grid) {
    case Grid::corner:
    case Grid::fine:
    case Grid::serendipity:
      write_points(ngtyp, grid, buffer, nnode, family, divisions, weights, out);
      return;
    case Grid::none:
      break;
  }
  fatal(std::string(routine) + ": internal error 2");
}

}  // namespace

GeneratedCounts element_counts(int ngtyp, int nnodg, const console::OneMatrix<int>& divisions,
                               int ielem) {
  Divisions d = divisions_of(ngtyp, divisions, ielem);
  long long d1 = d.d1, d2 = d.d2, d3 = d.d3;
  GeneratedCounts n{0, 0};
  switch (ngtyp) {
    case 1:
      n.elements = d1;
      n.points = nnodg == 2 ? d1 + 1 : capped_add(2 * d1, 1);
      break;
    case 2:
      n.elements = capped_mul(d1, d2);
      if (nnodg == 4) {
        n.points = capped_mul(d1 + 1, d2 + 1);
      } else if (nnodg == 8) {
        n.points = capped_add(capped_add(capped_mul(d1 + 1, d2 + 1), capped_mul(d1, d2 + 1)),
                              capped_mul(d2, d1 + 1));
      } else {
        n.points = capped_mul(2 * d1 + 1, 2 * d2 + 1);
      }
      break;
    case 3:
      n.elements = capped_mul(d1, d2, d3);
      n.points = capped_mul(d1 + 1, d2 + 1, d3 + 1);
      if (nnodg == 20) {
        n.points = capped_add(n.points, capped_mul(d1, d2 + 1, d3 + 1));
        n.points = capped_add(n.points, capped_mul(d2, d1 + 1, d3 + 1));
        n.points = capped_add(n.points, capped_mul(d3, d1 + 1, d2 + 1));
      }
      break;
    default:
      break;
  }
  if (n.elements > count_cap) n.elements = count_cap;
  if (n.points > count_cap) n.points = count_cap;
  return n;
}

GeneratedCounts total_counts(int nelem, int ngtyp, int nnodg,
                             const console::OneMatrix<int>& divisions) {
  GeneratedCounts total{0, 0};
  for (int ielem = 1; ielem <= nelem; ++ielem) {
    GeneratedCounts n = element_counts(ngtyp, nnodg, divisions, ielem);
    total.elements = capped_add(total.elements, n.elements);
    total.points = capped_add(total.points, n.points);
  }
  return total;
}

void wlnod1(int nelem, int nnodg, const console::OneMatrix<int>& divisions, mesh::MeshWriter& out) {
  check_kind(1, nnodg, "wlnod1: internal error 1");
  write_elements(1, nnodg, nelem, divisions, out);
}

void wlnod2(int nelem, int nnodg, const console::OneMatrix<int>& divisions, mesh::MeshWriter& out) {
  check_kind(2, nnodg, "wlnod2: internal error 1");
  write_elements(2, nnodg, nelem, divisions, out);
}

void wlnod3(int nelem, int nnodg, const console::OneMatrix<int>& divisions, mesh::MeshWriter& out) {
  check_kind(3, nnodg, "wlnod3: internal error 1");
  write_elements(3, nnodg, nelem, divisions, out);
}

void wcoor1(const mesh::MeshBuffer& buffer, int nnode, int nnodg, int family,
            const console::OneMatrix<int>& divisions, const StepWeights& weights,
            mesh::MeshWriter& out) {
  write_points_checked(1, "wcoor1", buffer, nnode, nnodg, family, divisions, weights, out);
}

void wcoor2(const mesh::MeshBuffer& buffer, int nnode, int nnodg, int family,
            const console::OneMatrix<int>& divisions, const StepWeights& weights,
            mesh::MeshWriter& out) {
  write_points_checked(2, "wcoor2", buffer, nnode, nnodg, family, divisions, weights, out);
}

void wcoor3(const mesh::MeshBuffer& buffer, int nnode, int nnodg, int family,
            const console::OneMatrix<int>& divisions, const StepWeights& weights,
            mesh::MeshWriter& out) {
  write_points_checked(3, "wcoor3", buffer, nnode, nnodg, family, divisions, weights, out);
}

void wgevmz(const mesh::MeshBuffer& buffer, int ngtyp, int nnode, int nnodg,
            const mesh::Titles& titles, const console::OneMatrix<int>& divisions,
            const StepWeights& weights) {
  int family = 0;
  switch (ngtyp) {
    case 1:
      if (nnode != 2 && nnode != 3) fatal("wgevmz: internal error 1");
      family = family_line;
      break;
    case 2:
      if (nnode != 4 && nnode != 8 && nnode != 9) fatal("wgevmz: internal error 2");
      family = family_quadrilateral;
      break;
    case 3:
      if (nnode != 8 && nnode != 20) fatal("wgevmz: internal error 3");
      family = family_brick;
      break;
    default:
      fatal("wgevmz: internal error 4");
  }
  GeneratedCounts total = total_counts(buffer.nelem, ngtyp, nnodg, divisions);
  // The caller refuses totals beyond the range of int before it gets here.
  if (total.elements > INT_MAX || total.points > INT_MAX) fatal("wgevmz: internal error 6");

  console::outf("\nWriting file: %s\n", mesh::handback_file);
  auto file = mesh::open_handback("Unable to open output file - jobname.vmz");
  mesh::MeshWriter out(*file, titles, static_cast<int>(total.elements),
                       static_cast<int>(total.points), 0, "wgevmz");
  switch (ngtyp) {
    case 1:
      wlnod1(buffer.nelem, nnodg, divisions, out);
      wcoor1(buffer, nnode, nnodg, family, divisions, weights, out);
      break;
    case 2:
      wlnod2(buffer.nelem, nnodg, divisions, out);
      wcoor2(buffer, nnode, nnodg, family, divisions, weights, out);
      break;
    case 3:
      wlnod3(buffer.nelem, nnodg, divisions, out);
      wcoor3(buffer, nnode, nnodg, family, divisions, weights, out);
      break;
    default:
      fatal("wgevmz: internal error 5");
  }
  out.finish();
  mesh::close_handback(*file);
}

}  // namespace generate
