// vmztool's exchange files: VTK and Gmsh files line by line as the formats define them, the kind
// of each node list, Gmsh files of both versions read back, and the faults of a Gmsh file.
#include <gtest/gtest.h>

#include "support/session.h"
#include "vmztool/tool.h"

using session::lines;
using session::mesh_file;

TEST(VmzExport, WritesVtkAndGmshFilesLineByLine) {
  inprocess::Directory dir;
  // A closed 4-node quadrilateral, a 3-node line, a 6-node element no format has; point 3 special.
  tool::write("m.vmz", mesh_file("Two", "T", {{1, 2, 3, 4, 1}, {4, 5, 6}, {1, 2, 3, 4, 5, 6}},
                                 {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {-0.5, 1.25, 0},
                                  {-1, 1.5, 2.00000001}},
                                 {3}));
  EXPECT_EQ(tool::run({"export", "m", "--to", "vtk"}).status, 0);
  EXPECT_EQ(tool::read("m.vtk"),
            lines({"# vtk DataFile Version 3.0", "Two", "ASCII", "DATASET UNSTRUCTURED_GRID",
                   "POINTS 6 double", "0 0 0", "1 0 0", "1 1 0", "0 1 0", "-0.5 1.25 0",
                   "-1 1.5 2.00000001", "CELLS 2 9", "4 0 1 2 3", "3 3 5 4", "CELL_TYPES 2", "9",
                   "21", "CELL_DATA 2", "SCALARS element int 1", "LOOKUP_TABLE default", "1", "2",
                   "POINT_DATA 6", "SCALARS special_nodes int 1", "LOOKUP_TABLE default", "0",
                   "0", "1", "0", "0", "0"}));
  EXPECT_EQ(tool::run({"export", "m", "--to", "msh"}).status, 0);
  EXPECT_EQ(tool::read("m.msh"),
            lines({"$MeshFormat", "2.2 0 8", "$EndMeshFormat", "$TrelmoTitles", "Two", "T",
                   "$EndTrelmoTitles", "$PhysicalNames", "1", "0 2 \"special_nodes\"",
                   "$EndPhysicalNames", "$Nodes", "6", "1 0 0 0", "2 1 0 0", "3 1 1 0", "4 0 1 0",
                   "5 -0.5 1.25 0", "6 -1 1.5 2.00000001", "$EndNodes", "$Elements", "3",
                   "1 3 2 1 1 1 2 3 4", "2 8 2 1 1 4 6 5", "4 15 2 2 1 3", "$EndElements"}));
  // Without points and titles.
  tool::write("e.vmz", "\n\n0 0 0\n");
  EXPECT_EQ(tool::run({"export", "e", "--to", "vtk"}).status, 0);
  EXPECT_EQ(tool::read("e.vtk"), lines({"# vtk DataFile Version 3.0", "trelmo mesh", "ASCII",
                                        "DATASET UNSTRUCTURED_GRID", "POINTS 0 double",
                                        "CELLS 0 0", "CELL_TYPES 0"}));
  tool::write("e.vmz", "\nBeam\n0 1 0\n1 0 0 0\n");
  EXPECT_EQ(tool::run({"export", "e", "--to", "vtk"}).status, 0);
  EXPECT_EQ(tool::read("e.vtk").substr(0, 32), "# vtk DataFile Version 3.0\nBeam\n");
}

TEST(VmzExport, NodeListsGiveTheirCellTypes) {
  const std::vector<std::vector<int>> lists = {
      {1, 2}, {1, 2, 3}, {1, 2, 3, 4}, {1, 2, 3, 4, 1}, {1, 2, 3, 4, 5, 6, 7, 8},
      {1, 2, 3, 4, 5, 6, 7, 8, 1}, {1, 2, 3, 4, 5, 6, 7, 8, 9}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 1},
      {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20},
      // No cell type for these.
      {1}, {1, 2, 1}, {1, 2, 3, 1}, {1, 2, 3, 4, 5}, {1, 2, 3, 4, 5, 6, 7},
      {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19},
      {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 1}};
  inprocess::Directory dir;
  std::vector<session::Point> points;
  for (int p = 1; p <= 20; ++p) points.push_back({1.0 * p, 0, 0});
  tool::write("m.vmz", mesh_file("K", "K", lists, points));
  const std::pair<const char*, std::string> rows[] = {
      {"", "3|21|9|9|12|23|28|28|25|"}, {"quad", "3|21|9|9|23|23|28|28|25|"},
      {"brick", "3|21|9|9|12|12|28|28|25|"}};
  for (const auto& [eight, types] : rows) {
    std::vector<std::string> args{"export", "m", "--to", "vtk"};
    if (*eight != '\0') args.insert(args.end(), {"--eight-node", eight});
    tool::Run r = tool::run(args);
    std::string text = tool::read("m.vtk"), got;
    for (std::size_t at = text.find("CELL_TYPES 9\n") + 13; text[at] != 'C'; ++at) {
      got += text[at] == '\n' ? '|' : text[at];
    }
    EXPECT_EQ(got, types) << eight;
    EXPECT_EQ(r.err, "vmztool: warning: 8 elements not written: no cell type for their node "
                     "list (the first is element 10, with 1 entries)\n");
  }
}

namespace {

// A 9-node quadrangle on (0,0)-(2,2), a line along its lower side, a triangle and two points,
// one in the special-node group. Node numbers are sparse and out of order: (0,0) is 40, (1,0)
// 30, (2,0) 20, (2,1) 7, (2,2) 8, (1,2) 9, (0,2) 1, (0,1) 2, (1,1) 3; the line's number is
// lower than the quadrangle's.
const char* const plate_v4 =
    "$MeshFormat\n4.1 0 8\n$EndMeshFormat\n"
    "$PhysicalNames\n2\n0 7 \"special_nodes\"\n2 3 \"plate\"\n$EndPhysicalNames\n"
    "$Entities\n2 1 1 0\n10 0 0 0 1 7\n11 2 0 0 0\n5 0 0 0 2 0 0 0 2 10 -11\n"
    "1 0 0 0 2 2 0 1 3 1 5\n$EndEntities\n"
    "$Nodes\n3 9 1 40\n0 10 0 1\n40\n0 0 0\n1 5 1 1\n30\n1 0 0 0.5\n"
    "2 1 0 7\n20\n7\n8\n9\n1\n2\n3\n2 0 0\n2 1 0\n2 2 0\n1 2 0\n0 2 0\n0 1 0\n1 1 0\n$EndNodes\n"
    "$Elements\n5 5 2 9\n2 1 10 1\n5 40 20 8 1 30 7 9 2 3\n2 1 2 1\n6 40 20 8\n"
    "1 5 1 1\n2 40 20\n0 10 15 1\n9 8\n0 11 15 1\n8 20\n$EndElements\n";
const char* const plate_v2 =
    "$MeshFormat\n2.2 0 8\n$EndMeshFormat\n"
    "$PhysicalNames\n1\n0 7 \"special_nodes\"\n$EndPhysicalNames\n"
    "$Nodes\n9\n40 0 0 0\n30 1 0 0\n20 2 0 0\n7 2 1 0\n8 2 2 0\n9 1 2 0\n1 0 2 0\n2 0 1 0\n"
    "3 1 1 0\n$EndNodes\n$Elements\n5\n5 10 2 3 1 40 20 8 1 30 7 9 2 3\n6 2 2 3 1 40 20 8\n"
    "2 1 2 0 5 40 20\n9 15 2 7 10 8\n8 15 2 0 11 20\n$EndElements\n";

std::string crlf(const std::string& text) {
  std::string result;
  for (char c : text) result += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return result;
}

}  // namespace

TEST(VmzImport, ReadsBothVersionsInTheOrderOfTheNumbers) {
  // Points in the order of the node numbers, the line first, the quadrangle closed in trelmo's
  // order (corner, mid-side, ..., centre), node 8 special.
  const std::vector<session::Point> plate_points = {
      {0, 2, 0}, {0, 1, 0}, {1, 1, 0}, {2, 1, 0}, {2, 2, 0}, {1, 2, 0}, {2, 0, 0}, {1, 0, 0}, {0, 0, 0}};
  const std::vector<std::vector<int>> plate_elements = {{9, 7}, {9, 8, 7, 4, 5, 6, 1, 2, 3, 9}};
  const std::string skipped = "vmztool: warning: 2 elements of other kinds skipped: 1 of Gmsh type 2 "
                              "(3-node triangle), 1 of Gmsh type 15 (1-node point outside the group special_nodes)\n";
  const struct {
    std::string name, text, vmz, err;
  } rows[] = {
      {"v4.msh", plate_v4, mesh_file("v4.msh", "Mesh", plate_elements, plate_points, {5}), skipped},
      {"v2.msh", plate_v2, mesh_file("v2.msh", "Mesh", plate_elements, plate_points, {5}), skipped},
      {"v2.msh", crlf(plate_v2), mesh_file("v2.msh", "Mesh", plate_elements, plate_points, {5}), skipped},
      // Unknown sections skipped, titles cut to their lengths, nodes without elements kept.
      {"n.msh",
       "$MeshFormat\n2.2 0 8\n$EndMeshFormat\n$Comments\nany $Nodes text\n$EndComments\n"
       "$TrelmoTitles\n  Frame of a shed, and a rather long title beyond sixty characters  \n"
       "Shed mesh\n$EndTrelmoTitles\n$Nodes\n3\n1 0 0 0\n2 1.234567891 0 0\n3 0 0 -7\n$EndNodes\n"
       "$Elements\n1\n1 1 0 1 2\n$EndElements\n$NodeData\n1\n\"x\"\n$EndNodeData\n",
       mesh_file("Frame of a shed, and a rather long title beyond sixty charac", "Shed m", {{1, 2}},
                 {{0, 0, 0}, {1.23456789, 0, 0}, {0, 0, -7}}), ""},
      {"p.msh",
       "$MeshFormat\n4.1 0 8\n$EndMeshFormat\n$Nodes\n1 2 5 6\n0 1 0 2\n6\n5\n1 1 1\n2 2 2\n$EndNodes\n",
       mesh_file("p.msh", "Mesh", {}, {{2, 2, 2}, {1, 1, 1}}), ""},
  };
  for (const auto& row : rows) {
    inprocess::Directory dir;
    tool::write(row.name, row.text);
    tool::Run r = tool::run({"import", row.name, "out"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, row.err);
    EXPECT_EQ(tool::read("out.vmz"), row.vmz) << row.text;
  }
}

TEST(VmzImport, EveryKindGoesToGmshAndBackUnchanged) {
  // One element of each kind on points of its own, quadrilaterals closed; two special nodes.
  std::vector<std::vector<int>> elements;
  std::vector<session::Point> points;
  for (int n : {2, 3, -4, -8, -9, 8, 20}) {
    elements.emplace_back();
    double e = static_cast<double>(elements.size());
    for (int k = 0; k < std::abs(n); ++k) {
      points.push_back({0.5 * k - e, 0.25 * k * k, 1.00000001 * e});
      elements.back().push_back(static_cast<int>(points.size()));
    }
    if (n < 0) elements.back().push_back(elements.back().front());
  }
  const std::string original = mesh_file("Every kind", "Kinds", elements, points, {3, 40});
  inprocess::Directory dir;
  tool::write("all.vmz", original);
  EXPECT_EQ(tool::run({"export", "all", "--to", "msh"}).status, 0);
  tool::Run r = tool::run({"import", "all.msh", "back"});
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(tool::read("back.vmz"), original);
}

TEST(VmzImport, FaultsOfTheFileAreReportedWithTheirPlace) {
  const std::string v2 = "$MeshFormat\n2.2 0 8\n$EndMeshFormat\n";
  const std::string v4 = "$MeshFormat\n4.1 0 8\n$EndMeshFormat\n";
  const std::string nodes = "$Nodes\n2\n1 0 0 0\n3 1 0 0\n$EndNodes\n";
  const std::pair<std::string, std::string> rows[] = {
      {"", "not a Gmsh mesh file: it does not begin with $MeshFormat"},
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
  inprocess::Directory dir;
  for (const auto& [text, message] : rows) {
    tool::write("bad.msh", text);
    tool::Run r = tool::run({"import", "bad.msh", "out"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "vmztool: bad.msh: " + message + "\n") << text;
  }
  EXPECT_EQ(tool::files(), std::vector<std::string>{"bad.msh"});
}
