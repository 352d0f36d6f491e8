#include "console/numfmt.h"
#include "vmztool/export.h"
#include "vmztool/files.h"

namespace vmztool {

Cells sort_cells(const mesh::MeshBuffer& buffer, EightNodes eight) {
  Cells cells;
  cells.kind.resize(static_cast<std::size_t>(buffer.nelem));
  for (int ielem = 1; ielem <= buffer.nelem; ++ielem) {
    Kind kind = classify(buffer, ielem, eight);
    cells.kind[static_cast<std::size_t>(ielem - 1)] = kind;
    if (kind == Kind::other) {
      if (cells.skipped++ == 0) cells.first_skipped = ielem;
    } else {
      ++cells.count;
      cells.entries += info(kind).nodes;
    }
  }
  return cells;
}

std::string skipped_message(const mesh::MeshBuffer& buffer, const Cells& cells) {
  if (cells.skipped == 0) return "";
  return console::cformat(
      "%d element%s not written: no cell type for %s node list (the first is element %d, "
      "with %d entries)",
      cells.skipped, cells.skipped == 1 ? "" : "s", cells.skipped == 1 ? "its" : "their",
      cells.first_skipped, buffer.nnoel[cells.first_skipped]);
}

namespace {

// The first line of text of the file: the main title, or the mesh title when that is empty.
std::string vtk_title(const mesh::Titles& titles) {
  if (!titles.main.empty()) return titles.main;
  if (!titles.mesh.empty()) return titles.mesh;
  return "trelmo mesh";
}

}  // namespace

void write_vtk(console::OutputFile& out, const mesh::MeshBuffer& buffer, const mesh::Titles& titles,
               const Cells& cells) {
  out.put("# vtk DataFile Version 3.0\n");
  out.put(vtk_title(titles));
  out.put("\nASCII\nDATASET UNSTRUCTURED_GRID\nPOINTS ");
  out.put_int(buffer.npoin, 0);
  out.put(" double\n");
  for (int ipoin = 1; ipoin <= buffer.npoin; ++ipoin) {
    const double* x = buffer.coord.row(ipoin);
    put_real(out, x[0]);
    out.put(' ');
    put_real(out, x[1]);
    out.put(' ');
    put_real(out, x[2]);
    out.put('\n');
  }

  // Point numbers count from 0 in VTK.
  out.put("CELLS ");
  out.put_int(cells.count, 0);
  out.put(' ');
  out.put(std::to_string(cells.count + cells.entries));
  out.put('\n');
  for (int ielem = 1; ielem <= buffer.nelem; ++ielem) {
    Kind kind = cells.kind[static_cast<std::size_t>(ielem - 1)];
    if (kind == Kind::other) continue;
    const KindInfo& k = info(kind);
    const int* nodes = buffer.lnods.row(ielem);
    out.put_int(k.nodes, 0);
    for (int i = 0; i < k.nodes; ++i) {
      out.put(' ');
      out.put_int(nodes[k.vtk_order[static_cast<std::size_t>(i)]] - 1, 0);
    }
    out.put('\n');
  }
  out.put("CELL_TYPES ");
  out.put_int(cells.count, 0);
  out.put('\n');
  for (Kind kind : cells.kind) {
    if (kind == Kind::other) continue;
    out.put_int(info(kind).vtk_type, 0);
    out.put('\n');
  }

  if (cells.count > 0) {
    out.put("CELL_DATA ");
    out.put_int(cells.count, 0);
    out.put("\nSCALARS element int 1\nLOOKUP_TABLE default\n");
    for (int ielem = 1; ielem <= buffer.nelem; ++ielem) {
      if (cells.kind[static_cast<std::size_t>(ielem - 1)] == Kind::other) continue;
      out.put_int(ielem, 0);
      out.put('\n');
    }
  }

  if (buffer.npoin > 0) {
    std::vector<char> special(static_cast<std::size_t>(buffer.npoin) + 1, 0);
    for (int i = 1; i <= buffer.nspno; ++i) special[static_cast<std::size_t>(buffer.lspno[i])] = 1;
    out.put("POINT_DATA ");
    out.put_int(buffer.npoin, 0);
    out.put("\nSCALARS ");
    out.put(special_group);
    out.put(" int 1\nLOOKUP_TABLE default\n");
    for (int ipoin = 1; ipoin <= buffer.npoin; ++ipoin) {
      out.put(special[static_cast<std::size_t>(ipoin)] != 0 ? "1\n" : "0\n");
    }
  }
}

}  // namespace vmztool
