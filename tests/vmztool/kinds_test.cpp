// Element kinds: which node lists are which kind, and the node orders of Gmsh and VTK checked
// against the reference elements of both formats.
#include "vmztool/kinds.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "support/generation.h"

using generation::Position;
using vmztool::EightNodes;
using vmztool::Kind;

namespace {

// A buffer with one element per node list (point numbers up to 30).
mesh::MeshBuffer buffer_of(const std::vector<std::vector<int>>& lists) {
  mesh::MeshBuffer b;
  b.nelem = static_cast<int>(lists.size());
  b.npoin = 30;
  b.lnods = console::OneMatrix<int>(b.nelem, mesh::mnode);
  b.nnoel = console::OneVector<int>(b.nelem);
  for (int e = 1; e <= b.nelem; ++e) {
    const std::vector<int>& list = lists[static_cast<std::size_t>(e - 1)];
    b.nnoel[e] = static_cast<int>(list.size());
    for (std::size_t k = 0; k < list.size(); ++k) b.lnods(e, static_cast<int>(k + 1)) = list[k];
  }
  return b;
}

std::vector<int> upto(int n, bool closed) {
  std::vector<int> list;
  for (int k = 1; k <= n; ++k) list.push_back(k);
  if (closed) list.push_back(1);
  return list;
}

// Reference positions of the nodes of each kind, in each format's own order, as the formats'
// manuals draw them (parametric coordinates from -1 to 1).
std::vector<Position> gmsh_reference(Kind kind) {
  switch (kind) {
    case Kind::line2:
      return {{-1, 0, 0}, {1, 0, 0}};
    case Kind::line3:
      return {{-1, 0, 0}, {1, 0, 0}, {0, 0, 0}};
    case Kind::quad4:
      return {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}};
    case Kind::quad8:
      return {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0},
              {0, -1, 0},  {1, 0, 0},  {0, 1, 0}, {-1, 0, 0}};
    case Kind::quad9:
      return {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0},  {-1, 1, 0}, {0, -1, 0},
              {1, 0, 0},   {0, 1, 0},  {-1, 0, 0}, {0, 0, 0}};
    case Kind::hex8:
      return {{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1},
              {-1, -1, 1},  {1, -1, 1},  {1, 1, 1},  {-1, 1, 1}};
    default:  // 20-node hexahedron: corners, then the edges 0-1, 0-3, 0-4, 1-2, 1-5, 2-3, 2-6,
              // 3-7, 4-5, 4-7, 5-6, 6-7
      return {{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1}, {-1, -1, 1},
              {1, -1, 1},   {1, 1, 1},   {-1, 1, 1}, {0, -1, -1}, {-1, 0, -1},
              {-1, -1, 0},  {1, 0, -1},  {1, -1, 0}, {0, 1, -1},  {1, 1, 0},
              {-1, 1, 0},   {0, -1, 1},  {-1, 0, 1}, {1, 0, 1},   {0, 1, 1}};
  }
}

std::vector<Position> vtk_reference(Kind kind) {
  if (kind != Kind::hex20) return gmsh_reference(kind);  // the same in both formats
  // Corners, the bottom ring's edges, the top ring's edges, the vertical edges.
  return {{-1, -1, -1}, {1, -1, -1}, {1, 1, -1},  {-1, 1, -1}, {-1, -1, 1}, {1, -1, 1}, {1, 1, 1},
          {-1, 1, 1},   {0, -1, -1}, {1, 0, -1},  {0, 1, -1},  {-1, 0, -1}, {0, -1, 1}, {1, 0, 1},
          {0, 1, 1},    {-1, 0, 1},  {-1, -1, 0}, {1, -1, 0},  {1, 1, 0},   {-1, 1, 0}};
}

std::vector<Position> trelmo_reference(Kind kind) {
  const vmztool::KindInfo& k = vmztool::info(kind);
  return generation::node_positions(k.dimension, k.nodes);
}

}  // namespace

TEST(Kinds, NodeListsGiveTheirKinds) {
  mesh::MeshBuffer b =
      buffer_of({upto(2, false), upto(3, false), upto(4, false), upto(4, true), upto(8, true),
                 upto(9, false), upto(9, true), upto(8, false), upto(20, false)});
  const Kind expected[] = {Kind::line2, Kind::line3, Kind::quad4, Kind::quad4, Kind::quad8,
                           Kind::quad9, Kind::quad9, Kind::hex8,  Kind::hex20};
  for (int e = 1; e <= b.nelem; ++e) {
    EXPECT_EQ(vmztool::classify(b, e, EightNodes::by_closure), expected[e - 1]) << "element " << e;
  }
}

TEST(Kinds, OtherListsHaveNoKind) {
  // One node, lists of 5, 6, 7 or 10 to 19 nodes, and closed lists that are no quadrilateral:
  // a bar back to its start, a closed triangle, a closed 20-node list.
  std::vector<std::vector<int>> lists = {{1},       upto(5, false), upto(6, false), upto(7, false),
                                         {1, 2, 1}, upto(3, true),  upto(19, true)};
  for (int n = 10; n <= 19; ++n) lists.push_back(upto(n, false));
  mesh::MeshBuffer b = buffer_of(lists);
  for (int e = 1; e <= b.nelem; ++e) {
    for (EightNodes eight : {EightNodes::by_closure, EightNodes::quad, EightNodes::brick}) {
      EXPECT_EQ(vmztool::classify(b, e, eight), Kind::other) << "element " << e;
    }
  }
}

TEST(Kinds, TheUserDecidesEightNodeElements) {
  mesh::MeshBuffer b = buffer_of({upto(8, false), upto(8, true)});
  EXPECT_EQ(vmztool::classify(b, 1, EightNodes::quad), Kind::quad8);
  EXPECT_EQ(vmztool::classify(b, 2, EightNodes::quad), Kind::quad8);
  EXPECT_EQ(vmztool::classify(b, 1, EightNodes::brick), Kind::hex8);
  // A brick that shr wrote closed.
  EXPECT_EQ(vmztool::classify(b, 2, EightNodes::brick), Kind::hex8);
  EXPECT_EQ(vmztool::classify(b, 2, EightNodes::by_closure), Kind::quad8);
}

TEST(Kinds, GmshAndVtkOrdersPutEachNodeAtItsReferencePosition) {
  for (int k = 0; k < vmztool::kind_count; ++k) {
    Kind kind = static_cast<Kind>(k);
    const vmztool::KindInfo& info = vmztool::info(kind);
    std::vector<Position> trelmo = trelmo_reference(kind);
    std::vector<Position> gmsh = gmsh_reference(kind);
    std::vector<Position> vtk = vtk_reference(kind);
    ASSERT_EQ(static_cast<int>(gmsh.size()), info.nodes) << info.name;
    ASSERT_EQ(static_cast<int>(trelmo.size()), info.nodes) << info.name;
    std::set<int> used_gmsh, used_vtk;
    for (int i = 0; i < info.nodes; ++i) {
      std::size_t n = static_cast<std::size_t>(i);
      int g = info.gmsh_order[n];
      int v = info.vtk_order[n];
      ASSERT_TRUE(g >= 0 && g < info.nodes && v >= 0 && v < info.nodes) << info.name;
      used_gmsh.insert(g);
      used_vtk.insert(v);
      EXPECT_EQ(trelmo[static_cast<std::size_t>(g)], gmsh[n]) << info.name << ", Gmsh node " << i;
      EXPECT_EQ(trelmo[static_cast<std::size_t>(v)], vtk[n]) << info.name << ", VTK node " << i;
    }
    EXPECT_EQ(static_cast<int>(used_gmsh.size()), info.nodes) << info.name;
    EXPECT_EQ(static_cast<int>(used_vtk.size()), info.nodes) << info.name;
  }
}
