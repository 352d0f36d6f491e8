// The shape of one element as a solver will see it: the scaled Jacobian, the edge ratio and
// the warpage, and whether the element is inverted or degenerate.
//
// Linear elements follow the Verdict definitions (the measures of VTK's mesh-quality filter):
//   - 4-node quadrilateral: the scaled Jacobian is the smallest over the four corners of the
//     corner's cross product, taken along the unit normal at the centre, over the product of
//     the two side lengths at the corner; the warpage is the cube of the smaller dot product
//     of the unit corner normals of opposite corners (1 for a flat element);
//   - 8-node brick: the smallest over the eight corners and the centre of the determinant of
//     the three edge (or axis) vectors over the product of their lengths.
// Quadratic elements (3-node lines, 8- and 9-node quadrilaterals, 20-node bricks) have a
// Jacobian that varies inside the element: their scaled Jacobian is the smallest over the
// largest magnitude of its determinant at the corners and the points of the 3-point Gauss rule
// in each direction (along the unit normal at the centre for quadrilaterals, along the chord
// for lines). The edge ratio is the longest over the shortest corner-to-corner edge (of a
// 3-node line, its longer over its shorter half); the warpage of a quadratic quadrilateral is
// that of its corners.
#pragma once

#include "mesh/meshbuffer.h"
#include "vmztool/kinds.h"

namespace vmztool {

struct ElementQuality {
  double scaled_jacobian = 1;
  double edge_ratio = 1;  // infinite when a corner edge has no length
  double warpage = 1;     // quadrilaterals only
  bool inverted = false;
  bool degenerate = false;
};

// The kind of element ielem for the quality check: as `classify` finds it, except that a list
// whose first and last points are the same but that is no closed quadrilateral (a 2-node bar
// on one point, a brick whose first and last corner coincide) takes the kind of its whole
// node count, so that it is found degenerate rather than left aside.
Kind check_kind(const mesh::MeshBuffer& buffer, int ielem, EightNodes eight);

// The measures of element ielem of kind `kind` (not `other`). The element is degenerate when
// a point appears twice in its open node list or a side's two points lie within `tolerance`
// of each other in every coordinate (the test by which `ren` joins points). It is inverted
// when the Jacobian's determinant is zero or negative at a corner or (quadratic bricks and
// quadrilaterals) at a Gauss point, measured along the centre normal for quadrilaterals, or
// when the middle node of a 3-node line lies outside the span of its ends.
ElementQuality measure(const mesh::MeshBuffer& buffer, int ielem, Kind kind, double tolerance);

}  // namespace vmztool
