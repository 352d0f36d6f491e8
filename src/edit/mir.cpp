#include "edit/mir.h"

#include <cmath>
#include <span>

#include "console/dialogue.h"
#include "console/pointinput.h"
#include "console/report.h"
#include "edit/axbase.h"
#include "edit/rot.h"

namespace edit {

using mesh::mnode;
using mesh::ndime;

namespace {

// Answers to "Number of local variables".
enum Correction { none = 0, frame = 1, surface = 2, brick = 3 };

const char* const correction_table[] = {
    "+------------------------------------------+", "| Type of element  | N. of local variables |",
    "|------------------+-----------------------|", "| Frame/Truss      |           1           |",
    "| Plane/Slab/Shell |           2           |", "| Brick            |           3           |",
    "|------------------+-----------------------|", "| No correction    |           0           |",
    "+------------------------------------------+",
};

int ask_correction() {
  for (;;) {
    console::outf("\nAfter mirroring, some elements need to be numbered in the\n");
    console::outf("opposite direction. Please specify:\n\n");
    for (const char* line : correction_table) console::outf("%s\n", line);
    int answer = console::askint("Number of local variables (1, 2, 3 or 0)", 0);
    if (answer >= 0 && answer <= 3) return answer;
    console::outf("\nERROR: repeat answer ...\n");
  }
}

// New position i of an open node list takes old node p[i - 1]: each ring of nodes is read
// backwards, starting from a corner, so that a mirrored element keeps its orientation.
constexpr int surface4[] = {2, 1, 4, 3};
constexpr int surface8[] = {3, 2, 1, 8, 7, 6, 5, 4};
constexpr int surface9[] = {3, 2, 1, 8, 7, 6, 5, 4, 9};
constexpr int brick8[] = {4, 3, 2, 1, 8, 7, 6, 5};
constexpr int brick20[] = {7, 6, 5, 4, 3, 2, 1, 8, 12, 11, 10, 9, 19, 18, 17, 16, 15, 14, 13, 20};

// The permutation for an element of open node count k; empty when no correction is made.
// `valid` is false when the node count does not fit the type of element.
std::span<const int> permutation(int correction, int k, bool& valid) {
  valid = true;
  switch (correction) {
    case none:
      return {};
    case frame:
      if (k == 2 || k == 3) return {};
      break;
    case surface:
      if (k == 4) return surface4;
      if (k == 8) return surface8;
      if (k == 9) return surface9;
      break;
    case brick:
      if (k == 8) return brick8;
      if (k == 20) return brick20;
      break;
    default:
      console::fatal("vmzmir: internal error 1");
  }
  valid = false;
  return {};
}

void correct_node_order(mesh::MeshBuffer& buffer, int correction) {
  int old[mnode];
  for (int ielem = 1; ielem <= buffer.nelem; ++ielem) {
    int* nodes = buffer.lnods.row(ielem);
    int k = buffer.nnoel[ielem];
    bool closed = mesh::is_closed(buffer, ielem);
    if (closed) --k;
    bool valid = true;
    std::span<const int> p = permutation(correction, k, valid);
    if (!valid) {
      console::warning("Invalid n. of nodes for the specified type of element - no correction");
      continue;
    }
    if (p.empty()) continue;
    for (int i = 0; i < k; ++i) old[i] = nodes[i];
    for (int i = 0; i < k; ++i) nodes[i] = old[p[i] - 1];
    if (closed) nodes[k] = nodes[0];
  }
}

}  // namespace

void vmzmir(mesh::MeshBuffer& buffer) {
  console::outf("\nMirror the object (previous object is lost)\n");
  int correction = ask_correction();
  console::OneVector<double> p1(ndime), p2(ndime), p3(ndime);
  console::askpla(buffer.npoin, buffer.coord, p1, p2, p3);
  double l[ndime + 1], m[ndime + 1];
  for (int j = 1; j <= ndime; ++j) {
    l[j] = p2[j] - p1[j];
    m[j] = p3[j] - p1[j];
  }
  console::OneVector<double> n(ndime);
  n[1] = l[2] * m[3] - l[3] * m[2];
  n[2] = l[3] * m[1] - l[1] * m[3];
  n[3] = l[1] * m[2] - l[2] * m[1];
  double length = std::sqrt(n[1] * n[1] + n[2] * n[2] + n[3] * n[3]);
  for (int j = 1; j <= ndime; ++j) n[j] = n[j] / length;
  console::OneMatrix<double> r(3, 3);
  r.zero();
  r(1, 1) = 1;
  r(2, 2) = 1;
  r(3, 3) = -1;
  console::OneMatrix<double> t = global_matrix(axbase(n), r);
  turn_all_points(buffer, t, p1);
  correct_node_order(buffer, correction);
}

}  // namespace edit
