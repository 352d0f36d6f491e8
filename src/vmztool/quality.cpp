#include "vmztool/quality.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

namespace vmztool {

namespace {

using Vec = std::array<double, 3>;

Vec operator-(const Vec& a, const Vec& b) {
  return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}
Vec operator+(const Vec& a, const Vec& b) {
  return {a[0] + b[0], a[1] + b[1], a[2] + b[2]};
}
double dot(const Vec& a, const Vec& b) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}
Vec cross(const Vec& a, const Vec& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
double length(const Vec& a) {
  return std::sqrt(dot(a, a));
}
// The unit vector along a, or the zero vector when a has no length.
Vec unit(const Vec& a) {
  double l = length(a);
  return l > 0 ? Vec{a[0] / l, a[1] / l, a[2] / l} : Vec{0, 0, 0};
}

// Below this a length counts as none (Verdict's smallest length).
constexpr double smallest_length = 1e-30;

using Pairs = std::vector<std::pair<int, int>>;

// The chords round a ring of positions, and the edges of a brick on eight corner positions
// (the ring of one face, the ring of the other, the four edges between them).
void ring(Pairs& pairs, const std::vector<int>& at) {
  for (std::size_t k = 0; k < at.size(); ++k) pairs.emplace_back(at[k], at[(k + 1) % at.size()]);
}
Pairs brick_edges(const std::array<int, 8>& c) {
  Pairs pairs;
  ring(pairs, {c[0], c[1], c[2], c[3]});
  ring(pairs, {c[4], c[5], c[6], c[7]});
  for (int k = 0; k < 4; ++k) pairs.emplace_back(c[k], c[k + 4]);
  return pairs;
}

// Positions (in the open node list) of each kind's corners, in the order of the linear element.
const std::array<int, 8> quad_corners = {0, 2, 4, 6};
const std::array<int, 8> hex20_corners = {0, 2, 4, 6, 12, 14, 16, 18};
const std::array<int, 8> in_order = {0, 1, 2, 3, 4, 5, 6, 7};

// The sides of each kind: the chords between neighbouring nodes of the outline, the pieces
// into which mid-side nodes cut an edge.
const Pairs& sides(Kind kind) {
  static const std::array<Pairs, kind_count> table = [] {
    std::array<Pairs, kind_count> t;
    t[static_cast<int>(Kind::line2)] = {{0, 1}};
    t[static_cast<int>(Kind::line3)] = {{0, 1}, {1, 2}};
    ring(t[static_cast<int>(Kind::quad4)], {0, 1, 2, 3});
    ring(t[static_cast<int>(Kind::quad8)], {0, 1, 2, 3, 4, 5, 6, 7});
    t[static_cast<int>(Kind::quad9)] = t[static_cast<int>(Kind::quad8)];
    t[static_cast<int>(Kind::hex8)] = brick_edges(in_order);
    Pairs& hex20 = t[static_cast<int>(Kind::hex20)];
    ring(hex20, {0, 1, 2, 3, 4, 5, 6, 7});
    ring(hex20, {12, 13, 14, 15, 16, 17, 18, 19});
    for (int k = 0; k < 4; ++k) {
      hex20.emplace_back(2 * k, 8 + k);
      hex20.emplace_back(8 + k, 12 + 2 * k);
    }
    return t;
  }();
  return table[static_cast<int>(kind)];
}

// Parametric positions of the nodes of the quadratic kinds, in trelmo's node order: the ring
// of a face runs counter-clockwise from (-1, -1), corners and mid-sides alternating.
using Position = std::array<int, 3>;
const int ring_s[8] = {-1, 0, 1, 1, 1, 0, -1, -1};
const int ring_t[8] = {-1, -1, -1, 0, 1, 1, 1, 0};

std::vector<Position> positions(Kind kind) {
  std::vector<Position> at;
  switch (kind) {
    case Kind::line3:
      return {{-1, 0, 0}, {0, 0, 0}, {1, 0, 0}};
    case Kind::quad8:
    case Kind::quad9:
      for (int k = 0; k < 8; ++k) at.push_back({ring_s[k], ring_t[k], 0});
      if (kind == Kind::quad9) at.push_back({0, 0, 0});
      return at;
    default:  // hex20
      for (int u : {-1, 0, 1}) {
        for (int k = 0; k < 8; ++k) {
          if (u != 0 || k % 2 == 0) at.push_back({ring_s[k], ring_t[k], u});
        }
      }
      return at;
  }
}

// The quadratic Lagrange factor of position p (-1, 0, +1) at x, and its derivative.
double lagrange(int p, double x) {
  return p == 0 ? 1 - x * x : x * (x + p) / 2;
}
double lagrange_slope(int p, double x) {
  return p == 0 ? -2 * x : x + p / 2.0;
}

// dN_i/dx_k at x for every node i of a quadratic kind in `dims` parametric directions:
// Lagrange products (3-node line, 9-node quadrilateral) or serendipity functions (8-node
// quadrilateral, 20-node brick).
void slopes(const std::vector<Position>& at, int dims, bool serendipity, const double* x,
            double (*dn)[3]) {
  for (std::size_t i = 0; i < at.size(); ++i) {
    const Position& p = at[i];
    for (int k = 0; k < dims; ++k) {
      if (!serendipity) {
        double v = lagrange_slope(p[k], x[k]);
        for (int d = 0; d < dims; ++d) {
          if (d != k) v *= lagrange(p[d], x[d]);
        }
        dn[i][k] = v;
        continue;
      }
      int middle = -1;  // the direction in which a mid-side node sits at 0
      for (int d = 0; d < dims; ++d) {
        if (p[d] == 0) middle = d;
      }
      double v;
      if (middle < 0) {
        // Corner: prod(1 + x_d p_d) (sum x_d p_d - (dims - 1)) / 2^dims.
        double sum = 0;
        v = p[k];
        for (int d = 0; d < dims; ++d) {
          sum += x[d] * p[d];
          if (d != k) v *= 1 + x[d] * p[d];
        }
        v *= sum - (dims - 1) + 1 + x[k] * p[k];
        v /= dims == 2 ? 4 : 8;
      } else {
        // Mid-side: (1 - x_m^2) prod_{d != m}(1 + x_d p_d) / 2^(dims - 1).
        v = middle == k ? -2 * x[k] : p[k] * (1 - x[middle] * x[middle]);
        for (int d = 0; d < dims; ++d) {
          if (d != k && d != middle) v *= 1 + x[d] * p[d];
        }
        v /= dims == 2 ? 2 : 4;
      }
      dn[i][k] = v;
    }
  }
}

// The Jacobian's determinant of a quadratic element at the corners and at the Gauss points of
// the 3-point rule: along `reference` for lines (one direction) and quadrilaterals (two), the
// true determinant for bricks. Answers the smallest and the largest magnitude.
std::pair<double, double> determinants(const Vec* x, Kind kind) {
  static const std::vector<Position> at[kind_count] = {
      {}, positions(Kind::line3), {}, positions(Kind::quad8), positions(Kind::quad9),
      {}, positions(Kind::hex20)};
  const std::vector<Position>& p = at[static_cast<int>(kind)];
  int dims = info(kind).dimension;
  bool serendipity = kind == Kind::quad8 || kind == Kind::hex20;
  double dn[mesh::mnode][3];
  auto jacobian = [&](const double* s) {
    slopes(p, dims, serendipity, s, dn);
    std::array<Vec, 3> j{};
    for (std::size_t i = 0; i < p.size(); ++i) {
      for (int k = 0; k < dims; ++k) {
        for (int c = 0; c < 3; ++c) j[k][c] += x[i][c] * dn[i][k];
      }
    }
    return j;
  };
  Vec reference{0, 0, 0};
  if (dims == 1) reference = unit(x[2] - x[0]);
  if (dims == 2) {
    const double centre[3] = {0, 0, 0};
    std::array<Vec, 3> j = jacobian(centre);
    reference = unit(cross(j[0], j[1]));
  }
  const double g = std::sqrt(0.6);
  const double sample[5] = {-1, 1, -g, 0, g};  // corners first, then the Gauss points
  double low = 0, high = 0;
  bool first = true;
  int n[3] = {5, dims >= 2 ? 5 : 1, dims == 3 ? 5 : 1};
  for (int a = 0; a < n[0]; ++a) {
    for (int b = 0; b < n[1]; ++b) {
      for (int c = 0; c < n[2]; ++c) {
        // Corners with corners, Gauss points with Gauss points.
        bool corner = a < 2;
        if ((dims >= 2 && (b < 2) != corner) || (dims == 3 && (c < 2) != corner)) continue;
        double s[3] = {sample[a], dims >= 2 ? sample[b] : 0, dims == 3 ? sample[c] : 0};
        std::array<Vec, 3> j = jacobian(s);
        double det = dims == 1   ? dot(j[0], reference)
                     : dims == 2 ? dot(cross(j[0], j[1]), reference)
                                 : dot(j[0], cross(j[1], j[2]));
        if (first || !(det >= low)) low = det;
        if (first || !(std::fabs(det) <= high)) high = std::fabs(det);
        first = false;
      }
    }
  }
  return {low, high};
}

// Longest over shortest of the given edges; infinite when one has no length.
double edge_ratio(const Vec* x, const Pairs& edges) {
  double shortest = 0, longest = 0;  // squared
  for (std::size_t k = 0; k < edges.size(); ++k) {
    Vec d = x[edges[k].first] - x[edges[k].second];
    double l = dot(d, d);
    if (k == 0 || !(l >= shortest)) shortest = l;
    if (k == 0 || !(l <= longest)) longest = l;
  }
  return std::sqrt(shortest) < smallest_length ? HUGE_VAL : std::sqrt(longest / shortest);
}

// Verdict's quadrilateral measures on four corners: the scaled Jacobian and the warpage.
void verdict_quad(const Vec* c, ElementQuality& q) {
  Vec e[4];
  double l[4];
  for (int i = 0; i < 4; ++i) {
    e[i] = c[(i + 1) % 4] - c[i];
    l[i] = length(e[i]);
  }
  Vec normal = unit(cross(e[0] - e[2], e[1] - e[3]));
  Vec corner[4];
  double lowest = 0;
  for (int i = 0; i < 4; ++i) {
    corner[i] = cross(e[(i + 3) % 4], e[i]);
    double value = dot(normal, corner[i]) / (l[(i + 3) % 4] * l[i]);
    if (i == 0 || !(value >= lowest)) lowest = value;
  }
  bool short_side = !(std::min({l[0], l[1], l[2], l[3]}) >= smallest_length);
  q.scaled_jacobian = short_side ? 0 : lowest;
  bool flat_corner = false;
  for (Vec& n : corner) {
    double size = length(n);
    flat_corner = flat_corner || !(size >= smallest_length);
    if (size > 0) n = {n[0] / size, n[1] / size, n[2] / size};
  }
  double w = std::min(dot(corner[0], corner[2]), dot(corner[1], corner[3]));
  q.warpage = flat_corner ? 0 : w * w * w;
}

// Verdict's brick scaled Jacobian on eight corners and the centre, given the squared lengths
// of the edges in the order of sides(Kind::hex8); `corners_positive` tells whether the
// determinant is positive at every corner.
double verdict_hex(const Vec* x, const double* squared, bool& corners_positive) {
  // The three neighbours of each corner, in the order that gives a right-handed triple, and
  // the edges to them.
  static const int next[8][3] = {{1, 3, 4}, {2, 0, 5}, {3, 1, 6}, {0, 2, 7},
                                 {7, 5, 0}, {4, 6, 1}, {5, 7, 2}, {6, 4, 3}};
  static const int edge[8][3] = {{0, 3, 8}, {1, 0, 9}, {2, 1, 10}, {3, 2, 11},
                                 {7, 4, 8}, {4, 5, 9}, {5, 6, 10}, {6, 7, 11}};
  // The corner with the smallest det / (|a| |b| |c|) is the one with the smallest
  // det |det| / (|a|^2 |b|^2 |c|^2), which needs no square root; a corner with an edge of no
  // length counts 0. The keys of all nine come first, so that their divisions overlap, then
  // the first smallest (the centre's, entry 0, before the corners').
  double det[9], product[9], key[9];
  Vec a = (x[1] + x[2] + x[5] + x[6]) - (x[0] + x[3] + x[4] + x[7]);
  Vec b = (x[2] + x[3] + x[6] + x[7]) - (x[0] + x[1] + x[4] + x[5]);
  Vec c = (x[4] + x[5] + x[6] + x[7]) - (x[0] + x[1] + x[2] + x[3]);
  det[0] = dot(a, cross(b, c));
  product[0] = dot(a, a) * dot(b, b) * dot(c, c);
  // The three edge vectors a, b, c at each corner, coordinate by coordinate, so that the
  // corners' dot(a, cross(b, c)) are computed side by side.
  double e[3][3][8];  // [vector][coordinate][corner]
  for (int k = 0; k < 8; ++k) {
    for (int v = 0; v < 3; ++v) {
      for (int j = 0; j < 3; ++j) e[v][j][k] = x[next[k][v]][j] - x[k][j];
    }
  }
  const auto& [ea, eb, ec] = e;
  for (int k = 0; k < 8; ++k) {
    double bc0 = eb[1][k] * ec[2][k] - eb[2][k] * ec[1][k];
    double bc1 = eb[2][k] * ec[0][k] - eb[0][k] * ec[2][k];
    double bc2 = eb[0][k] * ec[1][k] - eb[1][k] * ec[0][k];
    det[k + 1] = ea[0][k] * bc0 + ea[1][k] * bc1 + ea[2][k] * bc2;
    product[k + 1] = squared[edge[k][0]] * squared[edge[k][1]] * squared[edge[k][2]];
  }
  corners_positive = true;
  for (int k = 1; k < 9; ++k) corners_positive = corners_positive && det[k] > 0;
  for (int k = 0; k < 9; ++k) {
    key[k] = product[k] >= smallest_length * smallest_length
                 ? det[k] * std::fabs(det[k]) / product[k]
                 : 0;
  }
  int at = 0;
  for (int k = 1; k < 9; ++k) {
    if (!(key[k] >= key[at])) at = k;
  }
  if (!(product[at] >= smallest_length * smallest_length)) return 0;
  return det[at] / std::sqrt(product[at]);
}

// The edges of a 4-node quadrilateral and of an 8-node brick, in the order of sides().
constexpr std::array<std::pair<int, int>, 4> quad4_sides = {{{0, 1}, {1, 2}, {2, 3}, {3, 0}}};
// clang-format off
constexpr std::array<std::pair<int, int>, 12> hex8_sides = {
    {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6}, {6, 7}, {7, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}}};
// clang-format on

// The points of an element of n nodes (`fixed` when that is known when compiled, else 0),
// whether it is degenerate, the squared lengths of its sides `outline` and their edge ratio.
// The element is degenerate when a point appears twice in its open node list or a side's two
// points lie within the tolerance of each other in every coordinate. The edge ratio is the
// longest over the shortest side (of the edges of linear kinds and the halves of a 3-node
// line; the other kinds replace it).
template <int fixed, typename Outline>
void measure_sides(const mesh::MeshBuffer& buffer, const int* nodes, int n, const Outline& outline,
                   double tolerance, Vec* x, double* squared, ElementQuality& q) {
  if (fixed > 0) n = fixed;
  for (int i = 0; i < n; ++i) {
    const double* c = buffer.coord.row(nodes[i]);
    x[i] = {c[0], c[1], c[2]};
  }
  bool repeated = false;
  for (int i = 0; i < n; ++i) {
    for (int j = i + 1; j < n; ++j) repeated |= nodes[i] == nodes[j];
  }
  q.degenerate = repeated;
  // The sides' vectors coordinate by coordinate, so that their lengths are computed side by
  // side.
  std::size_t m = outline.size();
  double d[3][3 * mesh::mnode];
  for (std::size_t k = 0; k < m; ++k) {
    for (int j = 0; j < 3; ++j) d[j][k] = x[outline[k].first][j] - x[outline[k].second][j];
  }
  for (std::size_t k = 0; k < m; ++k) {
    squared[k] = d[0][k] * d[0][k] + d[1][k] * d[1][k] + d[2][k] * d[2][k];
  }
  // A side whose ends lie within the tolerance in every coordinate is at most sqrt(3)
  // tolerances long: a longer one (with room for rounding, when the tolerance's square is far
  // from the smallest numbers) needs no test coordinate by coordinate.
  double near = tolerance > 1e-100 ? 3 * tolerance * tolerance * (1 + 1e-9) : HUGE_VAL;
  double shortest = squared[0], longest = squared[0];
  for (std::size_t k = 0; k < m; ++k) {
    double l = squared[k];
    if (!(l > near) && std::fabs(d[0][k]) <= tolerance && std::fabs(d[1][k]) <= tolerance &&
        std::fabs(d[2][k]) <= tolerance) {
      q.degenerate = true;
    }
    if (!(l >= shortest)) shortest = l;
    if (!(l <= longest)) longest = l;
  }
  q.edge_ratio = std::sqrt(shortest) < smallest_length ? HUGE_VAL : std::sqrt(longest / shortest);
}

}  // namespace

Kind check_kind(const mesh::MeshBuffer& buffer, int ielem, EightNodes eight) {
  Kind kind = classify(buffer, ielem, eight);
  if (kind != Kind::other || !mesh::is_closed(buffer, ielem)) return kind;
  return kind_of_count(buffer.nnoel[ielem], eight);
}

ElementQuality measure(const mesh::MeshBuffer& buffer, int ielem, Kind kind, double tolerance) {
  ElementQuality q;
  const int* nodes = buffer.lnods.row(ielem);
  Vec x[mesh::mnode];
  double squared[3 * mesh::mnode];  // of each side
  // The kinds of most meshes take their node count and their sides as constants.
  if (kind == Kind::hex8) {
    measure_sides<8>(buffer, nodes, 8, hex8_sides, tolerance, x, squared, q);
  } else if (kind == Kind::quad4) {
    measure_sides<4>(buffer, nodes, 4, quad4_sides, tolerance, x, squared, q);
  } else {
    measure_sides<0>(buffer, nodes, info(kind).nodes, sides(kind), tolerance, x, squared, q);
  }

  switch (kind) {
    case Kind::line2:
      q.scaled_jacobian = length(x[1] - x[0]) >= smallest_length ? 1 : 0;
      break;
    case Kind::quad4: {
      verdict_quad(x, q);
      q.inverted = !(q.scaled_jacobian > 0);
      break;
    }
    case Kind::hex8: {
      bool positive = true;
      q.scaled_jacobian = verdict_hex(x, squared, positive);
      q.inverted = !positive;
      break;
    }
    default: {  // the quadratic kinds
      auto [low, high] = determinants(x, kind);
      q.scaled_jacobian = high > 0 ? low / high : 0;
      q.inverted = !(low > 0);
      if (kind == Kind::line3) {
        Vec chord = x[2] - x[0];
        double along = dot(x[1] - x[0], chord) / dot(chord, chord);
        q.inverted = along <= 0 || along >= 1;
      } else if (kind == Kind::hex20) {
        Vec c[8];
        for (int k = 0; k < 8; ++k) c[k] = x[hex20_corners[k]];
        q.edge_ratio = edge_ratio(c, sides(Kind::hex8));
      } else {
        Vec c[4];
        for (int k = 0; k < 4; ++k) c[k] = x[quad_corners[k]];
        ElementQuality corners;
        verdict_quad(c, corners);
        q.warpage = corners.warpage;
        q.edge_ratio = edge_ratio(c, sides(Kind::quad4));
      }
    }
  }
  // Coordinates near the largest real can leave no number at all: such a measure counts 0.
  for (double* value : {&q.scaled_jacobian, &q.edge_ratio, &q.warpage}) {
    if (std::isnan(*value)) *value = 0;
  }
  return q;
}

}  // namespace vmztool
