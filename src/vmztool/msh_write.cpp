#include "vmztool/export.h"
#include "vmztool/files.h"

namespace vmztool {

namespace {
// Physical tags of the mesh elements and of the special nodes.
constexpr int mesh_physical = 1;
constexpr int special_physical = 2;
// Gmsh's element type of a 1-node point.
constexpr int gmsh_point = 15;
}  // namespace

void write_msh(console::OutputFile& out, const mesh::MeshBuffer& buffer, const mesh::Titles& titles,
               const Cells& cells) {
  out.put("$MeshFormat\n2.2 0 8\n$EndMeshFormat\n$");
  out.put(titles_section);
  out.put('\n');
  out.put(titles.main);
  out.put('\n');
  out.put(titles.mesh);
  out.put("\n$End");
  out.put(titles_section);
  out.put('\n');
  if (buffer.nspno > 0) {
    out.put("$PhysicalNames\n1\n0 ");
    out.put_int(special_physical, 0);
    out.put(" \"");
    out.put(special_group);
    out.put("\"\n$EndPhysicalNames\n");
  }

  out.put("$Nodes\n");
  out.put_int(buffer.npoin, 0);
  out.put('\n');
  for (int ipoin = 1; ipoin <= buffer.npoin; ++ipoin) {
    const double* x = buffer.coord.row(ipoin);
    out.put_int(ipoin, 0);
    for (int j = 0; j < mesh::ndime; ++j) {
      out.put(' ');
      put_real(out, x[j]);
    }
    out.put('\n');
  }
  out.put("$EndNodes\n");

  out.put("$Elements\n");
  out.put(std::to_string(static_cast<long long>(cells.count) + buffer.nspno));
  out.put('\n');
  for (int ielem = 1; ielem <= buffer.nelem; ++ielem) {
    Kind kind = cells.kind[static_cast<std::size_t>(ielem - 1)];
    if (kind == Kind::other) continue;
    const KindInfo& k = info(kind);
    const int* nodes = buffer.lnods.row(ielem);
    out.put_int(ielem, 0);
    out.put(' ');
    out.put_int(k.gmsh_type, 0);
    out.put(" 2 ");
    out.put_int(mesh_physical, 0);
    out.put(" 1");
    for (int i = 0; i < k.nodes; ++i) {
      out.put(' ');
      out.put_int(nodes[k.gmsh_order[static_cast<std::size_t>(i)]], 0);
    }
    out.put('\n');
  }
  // The point elements of the special nodes are numbered after the elements.
  for (int i = 1; i <= buffer.nspno; ++i) {
    out.put(std::to_string(static_cast<long long>(buffer.nelem) + i));
    out.put(' ');
    out.put_int(gmsh_point, 0);
    out.put(" 2 ");
    out.put_int(special_physical, 0);
    out.put(' ');
    out.put_int(i, 0);
    out.put(' ');
    out.put_int(buffer.lspno[i], 0);
    out.put('\n');
  }
  out.put("$EndElements\n");
}

}  // namespace vmztool
