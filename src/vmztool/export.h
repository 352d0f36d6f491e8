// The exchange files written from a mesh: the legacy VTK unstructured grid read by ParaView,
// the Gmsh mesh file in its ASCII version 2.2 and the Abaqus input file read by CalculiX.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "console/textfile.h"
#include "mesh/meshbuffer.h"
#include "vmztool/kinds.h"

namespace vmztool {

// The elements of a buffer sorted into kinds, and the ones that have no cell type.
struct Cells {
  std::vector<Kind> kind;  // kind[ielem - 1]
  int count = 0;           // elements of a known kind
  long long entries = 0;   // their nodes, all together
  int skipped = 0;         // elements of no known kind
  int first_skipped = 0;   // the first of them (0: none)
};
Cells sort_cells(const mesh::MeshBuffer& buffer, EightNodes eight);

// The warning for the elements that were not written ("" when all were).
std::string skipped_message(const mesh::MeshBuffer& buffer, const Cells& cells);

// Legacy VTK, ASCII: the points, the cells in element order with their cell types, the element
// number of each cell as cell data "element", and the special nodes as point data
// "special_nodes" (1 on a special node, 0 elsewhere).
void write_vtk(console::OutputFile& out, const mesh::MeshBuffer& buffer, const mesh::Titles& titles,
               const Cells& cells);

// The name of the Gmsh physical group, and of the VTK point data, of the special nodes.
inline constexpr const char* special_group = "special_nodes";
// The Gmsh section that carries the two titles.
inline constexpr const char* titles_section = "TrelmoTitles";

// Gmsh MSH 2.2, ASCII: the titles in a section of their own (which other readers skip), the
// points as nodes numbered like the points, each element with its own number and the Gmsh
// type of its kind (physical and elementary tag 1), and each special node i as a 1-node point
// element numbered nelem + i in the physical group "special_nodes" (physical tag 2, elementary
// tag i).
void write_msh(console::OutputFile& out, const mesh::MeshBuffer& buffer, const mesh::Titles& titles,
               const Cells& cells);

// The CalculiX (Abaqus) elements chosen for a problem type of trelmo's solver input file: the
// element name of each kind, null where the family has none. Type 0 chooses by dimension:
// beams for lines, shells for quadrilaterals, solids for bricks.
struct InpFamily {
  int type;
  const char* name;  // "plane stress", ...
  std::array<const char*, kind_count> element;
};
// The family of problem type `type` (0 to 9); null for a type that has none.
const InpFamily* inp_family(int type);

// Leaves out of `cells` the elements that the family has no element for; the warning for all
// that were left out ("" when none were).
std::string select_inp_cells(const mesh::MeshBuffer& buffer, const InpFamily& family, Cells& cells);

// The name of the node set of the special nodes in an Abaqus input file.
inline constexpr const char* special_nset = "SPECIAL";

// Abaqus input: *HEADING with the two titles, *NODE with the points, one *ELEMENT block per
// kind (element set named after the kind) with the trelmo element numbers, and the special
// nodes as the node set SPECIAL.
void write_inp(console::OutputFile& out, const mesh::MeshBuffer& buffer, const mesh::Titles& titles,
               const InpFamily& family, const Cells& cells);

}  // namespace vmztool
