// Gmsh files read into trelmo meshes: both versions, sparse and unsorted numbers, the node
// order, the special-node group, what is skipped, every element kind back and forth, and the
// faults of a file.
#include "vmztool/import.h"

#include <gtest/gtest.h>

#include "console/report.h"
#include "support/generation.h"
#include "support/session.h"
#include "vmztool/export.h"
#include "vmztool/files.h"

using session::Session;

namespace {

struct Imported {
  std::string vmz;      // the mesh file written
  std::string skipped;  // the warning
  std::string fatal;    // the fatal message after the file name, "" when none
};

Imported import_text(const std::string& name, const std::string& text) {
  Session s;
  s.write(name, text);
  Imported result;
  try {
    vmztool::ImportedMesh mesh = vmztool::read_msh(s.path(name));
    result.skipped = mesh.skipped;
    vmztool::write_file(s.path("out.vmz"),
                        [&](console::OutputFile& out) { vmztool::write_imported(out, mesh); });
    result.vmz = s.read("out.vmz");
  } catch (const console::FatalError& error) {
    std::string message = error.what();
    std::string prefix = s.path(name) + ": ";
    result.fatal = message.rfind(prefix, 0) == 0 ? message.substr(prefix.size()) : message;
  }
  return result;
}

// A 9-node quadrangle on the square (0,0)-(2,2), a 2-node line along its lower side, a
// triangle, and two points, one of them in the special-node group. Node numbers are sparse and
// out of order: (0,0) is 40, (1,0) 30, (2,0) 20, (2,1) 7, (2,2) 8, (1,2) 9, (0,2) 1, (0,1) 2,
// (1,1) 3; the line's number is lower than the quadrangle's.
const char* const plate_v4 =
    "$MeshFormat\n4.1 0 8\n$EndMeshFormat\n"
    "$PhysicalNames\n2\n0 7 \"special_nodes\"\n2 3 \"plate\"\n$EndPhysicalNames\n"
    "$Entities\n2 1 1 0\n"
    "10 0 0 0 1 7\n"
    "11 2 0 0 0\n"
    "5 0 0 0 2 0 0 0 2 10 -11\n"
    "1 0 0 0 2 2 0 1 3 1 5\n"
    "$EndEntities\n"
    "$Nodes\n3 9 1 40\n"
    "0 10 0 1\n40\n0 0 0\n"
    "1 5 1 1\n30\n1 0 0 0.5\n"
    "2 1 0 7\n20\n7\n8\n9\n1\n2\n3\n2 0 0\n2 1 0\n2 2 0\n1 2 0\n0 2 0\n0 1 0\n1 1 0\n"
    "$EndNodes\n"
    "$Elements\n5 5 2 9\n"
    "2 1 10 1\n5 40 20 8 1 30 7 9 2 3\n"
    "2 1 2 1\n6 40 20 8\n"
    "1 5 1 1\n2 40 20\n"
    "0 10 15 1\n9 8\n"
    "0 11 15 1\n8 20\n"
    "$EndElements\n";

const char* const plate_v2 =
    "$MeshFormat\n2.2 0 8\n$EndMeshFormat\n"
    "$PhysicalNames\n1\n0 7 \"special_nodes\"\n$EndPhysicalNames\n"
    "$Nodes\n9\n"
    "40 0 0 0\n30 1 0 0\n20 2 0 0\n7 2 1 0\n8 2 2 0\n9 1 2 0\n1 0 2 0\n2 0 1 0\n3 1 1 0\n"
    "$EndNodes\n"
    "$Elements\n5\n"
    "5 10 2 3 1 40 20 8 1 30 7 9 2 3\n"
    "6 2 2 3 1 40 20 8\n"
    "2 1 2 0 5 40 20\n"
    "9 15 2 7 10 8\n"
    "8 15 2 0 11 20\n"
    "$EndElements\n";

// The plate as a trelmo mesh: points in the order of the node numbers, the line first, the
// quadrangle closed in trelmo's order (corner, mid-side, ..., centre), node 8 special.
std::string plate_vmz(const std::string& title) {
  return title +
         "\n"
         "Mesh\n"
         "    2       9       1\n"
         "    1     2        9     7\n"
         "    2    10        9     8     7     4     5     6     1     2     3     9\n"
         "    1      0.00000000      2.00000000      0.00000000\n"
         "    2      0.00000000      1.00000000      0.00000000\n"
         "    3      1.00000000      1.00000000      0.00000000\n"
         "    4      2.00000000      1.00000000      0.00000000\n"
         "    5      2.00000000      2.00000000      0.00000000\n"
         "    6      1.00000000      2.00000000      0.00000000\n"
         "    7      2.00000000      0.00000000      0.00000000\n"
         "    8      1.00000000      0.00000000      0.00000000\n"
         "    9      0.00000000      0.00000000      0.00000000\n"
         "    1     5\n";
}

const char* const plate_skipped =
    "2 elements of other kinds skipped: 1 of Gmsh type 2 (3-node triangle), 1 of Gmsh type 15 "
    "(1-node point outside the group special_nodes)";

std::string crlf(const std::string& text) {
  std::string result;
  for (char c : text) result += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return result;
}

}  // namespace

TEST(ImportMsh, Version41) {
  Imported r = import_text("plate41.msh", plate_v4);
  ASSERT_EQ(r.fatal, "");
  EXPECT_EQ(r.vmz, plate_vmz("plate41.msh"));
  EXPECT_EQ(r.skipped, plate_skipped);
}

TEST(ImportMsh, Version22WithEitherLineEnd) {
  Imported r = import_text("plate22.msh", plate_v2);
  ASSERT_EQ(r.fatal, "");
  EXPECT_EQ(r.vmz, plate_vmz("plate22.msh"));
  EXPECT_EQ(r.skipped, plate_skipped);
  Imported dos = import_text("plate22.msh", crlf(plate_v2));
  ASSERT_EQ(dos.fatal, "");
  EXPECT_EQ(dos.vmz, plate_vmz("plate22.msh"));
}

TEST(ImportMsh, UnknownSectionsAreSkippedAndUnusedNodesKept) {
  Imported r = import_text(
      "n.msh",
      "$MeshFormat\n2.2 0 8\n$EndMeshFormat\n$Comments\nany $Nodes text\n$EndComments\n"
      "$TrelmoTitles\n  Frame of a shed, and a rather long title beyond sixty characters  \n"
      "Shed mesh\n$EndTrelmoTitles\n"
      "$Nodes\n3\n1 0 0 0\n2 1.234567891 0 0\n3 0 0 -7\n$EndNodes\n"
      "$Elements\n1\n1 1 0 1 2\n$EndElements\n$NodeData\n1\n\"x\"\n$EndNodeData\n");
  ASSERT_EQ(r.fatal, "");
  EXPECT_EQ(r.vmz,
            "Frame of a shed, and a rather long title beyond sixty charac\n"
            "Shed m\n"
            "    1       3       0\n"
            "    1     2        1     2\n"
            "    1      0.00000000      0.00000000      0.00000000\n"
            "    2      1.23456789      0.00000000      0.00000000\n"
            "    3      0.00000000      0.00000000     -7.00000000\n");
  EXPECT_EQ(r.skipped, "");
}

TEST(ImportMsh, EveryKindThereAndBack) {
  // One element of each kind with points of its own, quadrilaterals closed as trelmo writes
  // them, and two special nodes; exported and imported, the mesh file comes back unchanged.
  std::vector<std::vector<int>> elements;
  std::vector<generation::Position> points;
  const int kinds[][2] = {{1, 2}, {1, 3}, {2, 4}, {2, 8}, {2, 9}, {3, 8}, {3, 20}};
  double shift = 0;
  for (const auto& kind : kinds) {
    std::vector<int> list;
    for (generation::Position p : generation::node_positions(kind[0], kind[1])) {
      points.push_back({p[0] * 0.5 + shift, p[1] * 0.25 - shift, p[2] * 0.125 + 1.00000001});
      list.push_back(static_cast<int>(points.size()));
    }
    if (kind[0] == 2) list.push_back(list.front());
    elements.push_back(list);
    shift += 3.3;
  }
  std::string original = generation::mesh_text("Every kind", "Kinds", elements, points, {3, 40});

  Session s;
  s.write("all.vmz", original);
  mesh::MeshBuffer buffer;
  mesh::Titles titles;
  vmztool::read_job(s.path("all"), buffer, titles);
  vmztool::Cells cells = vmztool::sort_cells(buffer, vmztool::EightNodes::by_closure);
  ASSERT_EQ(cells.count, 7);
  vmztool::write_file(s.path("all.msh"), [&](console::OutputFile& out) {
    vmztool::write_msh(out, buffer, titles, cells);
  });
  Imported back = import_text("all.msh", s.read("all.msh"));
  ASSERT_EQ(back.fatal, "");
  EXPECT_EQ(back.vmz, original);
  EXPECT_EQ(back.skipped, "");
}

TEST(ImportMsh, NodesWithoutElements) {
  Imported r = import_text("p.msh",
                           "$MeshFormat\n4.1 0 8\n$EndMeshFormat\n"
                           "$Nodes\n1 2 5 6\n0 1 0 2\n6\n5\n1 1 1\n2 2 2\n$EndNodes\n");
  ASSERT_EQ(r.fatal, "");
  EXPECT_EQ(r.vmz,
            "p.msh\nMesh\n    0       2       0\n"
            "    1      2.00000000      2.00000000      2.00000000\n"
            "    2      1.00000000      1.00000000      1.00000000\n");
}

TEST(ImportMsh, FaultsOfTheFileAreReportedWithTheirPlace) {
  const std::string v2 = "$MeshFormat\n2.2 0 8\n$EndMeshFormat\n";
  const std::string v4 = "$MeshFormat\n4.1 0 8\n$EndMeshFormat\n";
  const std::string nodes = "$Nodes\n2\n1 0 0 0\n3 1 0 0\n$EndNodes\n";
  const std::pair<std::string, std::string> cases[] = {
      {"", "not a Gmsh mesh file: it does not begin with $MeshFormat"},
      {"$NOD\n1\n1 0 0 0\n$ENDNOD\n", "not a Gmsh mesh file: it does not begin with $MeshFormat"},
      {"$MeshFormat\n4 0 8\n$EndMeshFormat\n",
       "$MeshFormat: MSH version 4 is not read; save the mesh as version 4.1 or 2.2"},
      {"$MeshFormat\n2.2 1 8\n$EndMeshFormat\n",
       "$MeshFormat: binary MSH files are not read; save the mesh as ASCII"},
      {v2 + v2, "$MeshFormat: a second $MeshFormat section"},
      {v2, "no $Nodes section: there is no mesh to import"},
      {v2 + "$Nodes\n2\n1 0 0 0\n1 1 0 0\n$EndNodes\n$Elements\n0\n$EndElements\n",
       "$Nodes: node 1 is given twice"},
      {v2 + nodes + "$Elements\n1\n1 1 2 0 0 1 2\n$EndElements\n",
       "$Elements: element 1 refers to node 2, which is not in $Nodes"},
      {v2 + "$Nodes\n3\n1 0 0 0\n2 1 0", "$Nodes: unexpected end of file before $EndNodes"},
      {v2 + "$Nodes\n1\n1 0 x1 0\n$EndNodes\n", "$Nodes: invalid coordinate 'x1'"},
      {v2 + "$Nodes\n1\n1 0 0 nan\n$EndNodes\n", "$Nodes: invalid coordinate 'nan'"},
      {v2 + "$Nodes\n-1\n$EndNodes\n", "$Nodes: invalid number of nodes '-1'"},
      {v2 + "$Nodes\n1\n1 0 0 0\n2 1 0 0\n$EndNodes\n",
       "$Nodes: expected $EndNodes, found '2' (more entries than announced?)"},
      {v2 + nodes + "$Elements\n1\n1 99 0 1 3\n$EndElements\n",
       "$Elements: element 1 has the unknown type 99"},
      {v2 + "$Elements\n0\n$EndElements\n" + nodes,
       "$Elements: the nodes must come before the elements"},
      {v2 + nodes + nodes, "$Nodes: a second $Nodes section"},
      {v2 + "$Comments\nno end", "$Comments: no $EndComments before the end of the file"},
      {v2 + "stray\n", "expected a section header such as $Nodes, found 'stray'"},
      {v4 + "$Nodes\n1 3 1 3\n0 1 0 2\n1\n2\n0 0 0\n1 1 1\n$EndNodes\n",
       "$Nodes: announces 3 nodes but its blocks hold 2"},
      {v4 + "$Nodes\n1 1 1 1\n4 1 0 1\n1\n0 0 0\n$EndNodes\n", "$Nodes: invalid entity dimension"},
      {v4 + "$Nodes\n1 2 1 2\n0 1 0 2\n1\n2\n0 0 0\n1 1 1\n$EndNodes\n"
            "$Elements\n1 2 1 2\n1 1 1 1\n1 1 2\n$EndElements\n",
       "$Elements: announces 2 elements but its blocks hold 1"},
      {v2 + "$TrelmoTitles\nonly one\n", "$TrelmoTitles: unexpected end of file in the titles"},
  };
  for (const auto& [text, message] : cases) {
    Imported r = import_text("bad.msh", text);
    EXPECT_EQ(r.fatal, message) << text;
    EXPECT_EQ(r.vmz, "") << text;
  }
}

TEST(ImportMsh, MissingFile) {
  Session s;
  try {
    vmztool::read_msh(s.path("none.msh"));
    ADD_FAILURE() << "no fatal error";
  } catch (const console::FatalError& error) {
    EXPECT_EQ(std::string(error.what()),
              "cannot open " + s.path("none.msh") + ": No such file or directory");
  }
}
