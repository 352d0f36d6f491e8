#include "vmztool/kinds.h"

namespace vmztool {

namespace {

// Trelmo node orders (0-based positions in the list):
//   lines: end, (middle,) end;
//   quadrilaterals: counter-clockwise from a corner, corners and mid-side nodes alternating,
//     centre last;
//   bricks: the ring of the face u = -1, (the four mid-height nodes,) the ring of u = +1.
// Gmsh and VTK list the corners first, then the mid-side (mid-edge) nodes, then the centre.
// Their bricks differ in the order of the mid-edge nodes: Gmsh takes edges 0-1, 0-3, 0-4, 1-2,
// 1-5, 2-3, 2-6, 3-7, 4-5, 4-7, 5-6, 6-7 (corners counted from 0), VTK the bottom ring, the top
// ring and then the vertical edges. Abaqus takes VTK's orders, except that its 3-node line runs
// end, middle, end as trelmo's does.
// clang-format off
const KindInfo kinds[kind_count] = {
    {"2-node line", 2, 1, false, 1, 3, {0, 1}, {0, 1}, {0, 1}},
    {"3-node line", 3, 1, false, 8, 21, {0, 2, 1}, {0, 2, 1}, {0, 1, 2}},
    {"4-node quadrilateral", 4, 2, true, 3, 9, {0, 1, 2, 3}, {0, 1, 2, 3}, {0, 1, 2, 3}},
    {"8-node quadrilateral", 8, 2, true, 16, 23,
     {0, 2, 4, 6, 1, 3, 5, 7},
     {0, 2, 4, 6, 1, 3, 5, 7},
     {0, 2, 4, 6, 1, 3, 5, 7}},
    {"9-node quadrilateral", 9, 2, true, 10, 28,
     {0, 2, 4, 6, 1, 3, 5, 7, 8},
     {0, 2, 4, 6, 1, 3, 5, 7, 8},
     {0, 2, 4, 6, 1, 3, 5, 7, 8}},
    {"8-node brick", 8, 3, false, 5, 12, {0, 1, 2, 3, 4, 5, 6, 7}, {0, 1, 2, 3, 4, 5, 6, 7},
     {0, 1, 2, 3, 4, 5, 6, 7}},
    {"20-node brick", 20, 3, false, 17, 25,
     {0, 2, 4, 6, 12, 14, 16, 18, 1, 7, 8, 3, 9, 5, 10, 11, 13, 19, 15, 17},
     {0, 2, 4, 6, 12, 14, 16, 18, 1, 3, 5, 7, 13, 15, 17, 19, 8, 9, 10, 11},
     {0, 2, 4, 6, 12, 14, 16, 18, 1, 3, 5, 7, 13, 15, 17, 19, 8, 9, 10, 11}},
};
// clang-format on

const KindInfo other_info = {"element of another kind", 0, 0, false, 0, 0, {}, {}, {}};

}  // namespace

const KindInfo& info(Kind kind) {
  return kind == Kind::other ? other_info : kinds[static_cast<int>(kind)];
}

Kind classify(const mesh::MeshBuffer& buffer, int ielem, EightNodes eight) {
  int n = buffer.nnoel[ielem];
  if (n >= 2 && buffer.lnods(ielem, 1) == buffer.lnods(ielem, n)) {
    // Only surface elements are stored closed; any other closed list is a polygon trelmo has
    // no element for.
    switch (n - 1) {
      case 4:
        return Kind::quad4;
      case 8:
        return eight == EightNodes::brick ? Kind::hex8 : Kind::quad8;
      case 9:
        return Kind::quad9;
      default:
        return Kind::other;
    }
  }
  return kind_of_count(n, eight);
}

Kind kind_of_count(int n, EightNodes eight) {
  switch (n) {
    case 2:
      return Kind::line2;
    case 3:
      return Kind::line3;
    case 4:
      return Kind::quad4;
    case 8:
      return eight == EightNodes::quad ? Kind::quad8 : Kind::hex8;
    case 9:
      return Kind::quad9;
    case 20:
      return Kind::hex20;
    default:
      return Kind::other;
  }
}

Kind kind_of_gmsh_type(int gmsh_type) {
  for (int k = 0; k < kind_count; ++k) {
    if (kinds[k].gmsh_type == gmsh_type) return static_cast<Kind>(k);
  }
  return Kind::other;
}

}  // namespace vmztool
