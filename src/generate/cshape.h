// Isoparametric shape functions of the element kinds that the refinement reads and writes:
// lines of 2 and 3 nodes, quadrilaterals of 4, 8 and 9 nodes, bricks of 8 and 20 nodes.
//
// Node order (the order of element node lists throughout the refinement):
//   lines          -1, (0,) +1
//   quadrilaterals counter-clockwise from (-1,-1), corners and mid-side nodes alternating,
//                  the centre (0,0) last for 9 nodes
//   bricks         the ring of the face u = -1, then (20 nodes) the four mid-height nodes at
//                  u = 0 below the corners, then the ring of the face u = +1
#pragma once

#include "console/arrays.h"

namespace generate {

// Family codes: quadrilaterals answer to 1, 2 and 3, bricks to 4, lines to 7 and 8.
constexpr int family_quadrilateral = 1;
constexpr int family_brick = 4;
constexpr int family_line = 7;

// Fills shape[1 .. nnode] with the values of the nnode-node functions of the family at
// (s, t, u); t and u are ignored for lines, u for quadrilaterals. A family code, or a node count
// outside its family, is the fatal report "cshape: internal error 1".
void cshape(int nnode, int family, double s, double t, double u, console::OneVector<double>& shape);

// The same, writing shape[0 .. nnode - 1] of a plain array.
void cshape(int nnode, int family, double s, double t, double u, double* shape);

}  // namespace generate
