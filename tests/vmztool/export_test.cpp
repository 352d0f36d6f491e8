// The VTK and Gmsh files written from a mesh, line by line as each format defines them.
#include "vmztool/export.h"

#include <gtest/gtest.h>

#include "console/report.h"
#include "mesh/vmzfile.h"
#include "support/session.h"
#include "vmztool/files.h"

using session::Session;

namespace {

// A closed 4-node quadrilateral, a 3-node line, a 6-node element that no format has, and
// point 3 as special node.
const char* const small_mesh =
    "Two\n"
    "T\n"
    "    3       6       1\n"
    "    1     5        1     2     3     4     1\n"
    "    2     3        4     5     6\n"
    "    3     6        1     2     3     4     5     6\n"
    "    1      0.00000000      0.00000000      0.00000000\n"
    "    2      1.00000000      0.00000000      0.00000000\n"
    "    3      1.00000000      1.00000000      0.00000000\n"
    "    4      0.00000000      1.00000000      0.00000000\n"
    "    5     -0.50000000      1.25000000      0.00000000\n"
    "    6     -1.00000000      1.50000000      2.00000001\n"
    "    1     3\n";

struct Exported {
  std::string text;
  vmztool::Cells cells;
  std::string warning;
};

Exported export_mesh(const std::string& mesh_text, bool vtk,
                     vmztool::EightNodes eight = vmztool::EightNodes::by_closure) {
  Session s;
  s.write("m.vmz", mesh_text);
  mesh::MeshBuffer buffer;
  mesh::Titles titles;
  vmztool::read_job(s.path("m"), buffer, titles);
  Exported e;
  e.cells = vmztool::sort_cells(buffer, eight);
  vmztool::write_file(s.path("out"), [&](console::OutputFile& out) {
    if (vtk) {
      vmztool::write_vtk(out, buffer, titles, e.cells);
    } else {
      vmztool::write_msh(out, buffer, titles, e.cells);
    }
  });
  e.text = s.read("out");
  e.warning = vmztool::skipped_message(buffer, e.cells);
  return e;
}

}  // namespace

TEST(ExportVtk, PointsCellsAndTheirData) {
  Exported e = export_mesh(small_mesh, true);
  EXPECT_EQ(e.text,
            "# vtk DataFile Version 3.0\n"
            "Two\n"
            "ASCII\n"
            "DATASET UNSTRUCTURED_GRID\n"
            "POINTS 6 double\n"
            "0 0 0\n"
            "1 0 0\n"
            "1 1 0\n"
            "0 1 0\n"
            "-0.5 1.25 0\n"
            "-1 1.5 2.00000001\n"
            "CELLS 2 9\n"
            "4 0 1 2 3\n"
            "3 3 5 4\n"
            "CELL_TYPES 2\n"
            "9\n"
            "21\n"
            "CELL_DATA 2\n"
            "SCALARS element int 1\n"
            "LOOKUP_TABLE default\n"
            "1\n"
            "2\n"
            "POINT_DATA 6\n"
            "SCALARS special_nodes int 1\n"
            "LOOKUP_TABLE default\n"
            "0\n"
            "0\n"
            "1\n"
            "0\n"
            "0\n"
            "0\n");
  EXPECT_EQ(e.warning,
            "1 element not written: no cell type for its node list (the first is element 3, "
            "with 6 entries)");
}

TEST(ExportVtk, EmptyMeshAndUntitledMesh) {
  EXPECT_EQ(export_mesh("\n\n0 0 0\n", true).text,
            "# vtk DataFile Version 3.0\n"
            "trelmo mesh\n"
            "ASCII\n"
            "DATASET UNSTRUCTURED_GRID\n"
            "POINTS 0 double\n"
            "CELLS 0 0\n"
            "CELL_TYPES 0\n");
  // Without a main title, the mesh title names the data set.
  std::string text = export_mesh("\nBeam\n0 1 0\n1 0 0 0\n", true).text;
  EXPECT_EQ(text.substr(0, text.find("ASCII")), "# vtk DataFile Version 3.0\nBeam\n");
}

TEST(ExportMsh, NodesElementsTitlesAndTheSpecialNodeGroup) {
  Exported e = export_mesh(small_mesh, false);
  EXPECT_EQ(e.text,
            "$MeshFormat\n"
            "2.2 0 8\n"
            "$EndMeshFormat\n"
            "$TrelmoTitles\n"
            "Two\n"
            "T\n"
            "$EndTrelmoTitles\n"
            "$PhysicalNames\n"
            "1\n"
            "0 2 \"special_nodes\"\n"
            "$EndPhysicalNames\n"
            "$Nodes\n"
            "6\n"
            "1 0 0 0\n"
            "2 1 0 0\n"
            "3 1 1 0\n"
            "4 0 1 0\n"
            "5 -0.5 1.25 0\n"
            "6 -1 1.5 2.00000001\n"
            "$EndNodes\n"
            "$Elements\n"
            "3\n"
            "1 3 2 1 1 1 2 3 4\n"
            "2 8 2 1 1 4 6 5\n"
            "4 15 2 2 1 3\n"
            "$EndElements\n");
  EXPECT_EQ(e.cells.count, 2);
  EXPECT_EQ(e.cells.skipped, 1);
}

TEST(ExportMsh, EightNodeElementsAsTheUserReadsThem) {
  // One open list of 8: a brick by default, a quadrangle when asked; its Gmsh node lists differ.
  const std::string one =
      "E\nM\n1 8 0\n1 8 1 2 3 4 5 6 7 8\n"
      "1 0 0 0\n2 1 0 0\n3 2 0 0\n4 2 1 0\n5 2 2 0\n6 1 2 0\n7 0 2 0\n8 0 1 0\n";
  auto element_line = [](const std::string& text) {
    std::size_t start = text.find("$Elements\n1\n") + 12;
    return text.substr(start, text.find('\n', start) - start);
  };
  EXPECT_EQ(element_line(export_mesh(one, false).text), "1 5 2 1 1 1 2 3 4 5 6 7 8");
  EXPECT_EQ(element_line(export_mesh(one, false, vmztool::EightNodes::quad).text),
            "1 16 2 1 1 1 3 5 7 2 4 6 8");
}
