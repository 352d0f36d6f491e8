// The element kinds that vmztool draws and exchanges, told apart by their node lists, and each
// kind's node order in the formats of Gmsh, VTK and Abaqus (CalculiX).
//
// A trelmo element has no type of its own: its kind follows from its node list. A list whose
// first and last entries are the same point is closed; a closed list of 5, 9 or 10 entries is a
// quadrilateral of 4, 8 or 9 nodes. An open list of 2 or 3 nodes is a line, of 4 or 9 nodes a
// quadrilateral, of 20 nodes a brick. Eight nodes are either: the commands that create surface
// elements write them closed and bricks open, so by default a closed list of 8 is a
// quadrilateral and an open one a brick; `EightNodes` lets the user decide instead.
#pragma once

#include <array>
#include <cstdint>

#include "mesh/meshbuffer.h"

namespace vmztool {

enum class Kind : std::uint8_t { line2, line3, quad4, quad8, quad9, hex8, hex20, other };
constexpr int kind_count = 7;  // the kinds before `other`

// How 8-node elements are read: by their closure (closed: quadrilateral, open: brick), or all
// as quadrilaterals, or all as bricks.
enum class EightNodes { by_closure, quad, brick };

struct KindInfo {
  const char* name;     // for messages: "8-node quadrilateral"
  int nodes;            // open node count
  int dimension;        // 1 line, 2 surface, 3 solid
  bool closed_in_file;  // written as a closed list in mesh files (quadrilaterals)
  int gmsh_type;        // Gmsh element type number
  int vtk_type;         // VTK cell type number
  // Node k of the Gmsh (VTK, Abaqus) element is node gmsh_order[k] (vtk_order[k],
  // abaqus_order[k]) of the trelmo node list, counted from 0.
  std::array<int, mesh::mnode> gmsh_order;
  std::array<int, mesh::mnode> vtk_order;
  std::array<int, mesh::mnode> abaqus_order;
};

const KindInfo& info(Kind kind);

// The kind of element ielem of the buffer.
Kind classify(const mesh::MeshBuffer& buffer, int ielem, EightNodes eight);

// The kind of an open list of n nodes (an 8-node list is a brick unless `eight` says quad).
Kind kind_of_count(int n, EightNodes eight);

// The kind whose Gmsh element type is `gmsh_type`; `other` for any other type.
Kind kind_of_gmsh_type(int gmsh_type);

}  // namespace vmztool
