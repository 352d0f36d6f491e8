// Reading a Gmsh mesh file (MSH 2.2 or 4.1, ASCII) or an Abaqus input file into a trelmo mesh.
#pragma once

#include <string>
#include <vector>

#include "console/textfile.h"
#include "mesh/meshbuffer.h"
#include "vmztool/kinds.h"

namespace vmztool {

// An imported mesh as trelmo sees it. Nodes and elements are numbered from 1 in the order of the
// file's numbers (Gmsh tags), without gaps; every node is kept, used or not.
struct ImportedMesh {
  mesh::Titles titles;
  std::vector<double> coord;  // three coordinates a point, point after point
  std::vector<Kind> kind;     // the kind of each element
  std::vector<int> nodes;     // open node lists in trelmo order, element after element
  std::vector<int> special;   // point numbers of the special nodes
  std::string skipped;        // what was left out, for a warning ("" when nothing was)

  int npoin() const { return static_cast<int>(coord.size() / 3); }
  int nelem() const { return static_cast<int>(kind.size()); }
};

// Reads the Gmsh file `path`. Elements of the kinds trelmo has (2- and 3-node lines, 4-, 8- and
// 9-node quadrangles, 8- and 20-node hexahedra) become elements; the 1-node points of the
// physical group "special_nodes" become special nodes; other elements are skipped and counted
// in `skipped`. The titles come from the file's titles section when it has one; otherwise the
// main title is the file's name. A file that cannot be read, or that is not an ASCII Gmsh mesh
// of version 2.2 or 4.1, is a fatal error naming the file and the place of the fault.
ImportedMesh read_msh(const std::string& path);

// Reads the Abaqus input file `path`: the titles from the first two lines of *HEADING (the file's
// name as the main title when there is none), the nodes of *NODE, the elements of *ELEMENT whose
// type has a trelmo kind (trusses, beams, plane, axisymmetric and shell quadrilaterals, 8- and
// 20-node bricks, in their reduced and incompatible-mode forms too), and the node set SPECIAL
// as the special nodes, in its order. Other elements are skipped and counted in `skipped`;
// other keywords are passed over. Nodes and elements are numbered in the order of their
// numbers. A file that cannot be read, or a malformed record, is a fatal error naming the file
// and the line.
ImportedMesh read_inp(const std::string& path);

// Writes the mesh in the mesh-file layout; quadrilaterals are written with closed node lists,
// as the commands that create surface elements write them.
void write_imported(console::OutputFile& out, const ImportedMesh& imported);

}  // namespace vmztool
