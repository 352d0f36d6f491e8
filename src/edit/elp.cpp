#include "edit/elp.h"

#include "console/arrays.h"
#include "console/report.h"
#include "mesh/meshwriter.h"

namespace edit {

void vmzelp(const mesh::MeshBuffer& buffer, const mesh::Titles& titles) {
  const int npoin = buffer.npoin;
  console::outf("\nEliminate points not belonging to any element\n");

  // Point map: 0 for a removed point, otherwise its new number. A point is kept when an element
  // uses it or it is a special node.
  console::OneVector<int> point_map(npoin);
  point_map.zero();
  for (int e = 1; e <= buffer.nelem; ++e) {
    const int* row = buffer.lnods.row(e);
    for (int k = 0; k < buffer.nnoel[e]; ++k) point_map[row[k]] = 1;
  }
  for (int s = 1; s <= buffer.nspno; ++s) point_map[buffer.lspno[s]] = 1;
  int kept = 0;
  for (int p = 1; p <= npoin; ++p) {
    if (point_map[p] != 0) point_map[p] = ++kept;
  }

  auto out = mesh::open_handback();
  mesh::MeshWriter writer(*out, titles, buffer.nelem, kept, buffer.nspno, "vmzelp");
  int nodes[mesh::mnode];
  for (int e = 1; e <= buffer.nelem; ++e) {
    const int* row = buffer.lnods.row(e);
    for (int k = 0; k < buffer.nnoel[e]; ++k) nodes[k] = point_map[row[k]];
    writer.element(buffer.nnoel[e], nodes);
  }
  for (int p = 1; p <= npoin; ++p) {
    if (point_map[p] != 0) writer.point(buffer.coord.row(p));
  }
  for (int s = 1; s <= buffer.nspno; ++s) writer.special(point_map[buffer.lspno[s]]);
  writer.finish();
  mesh::close_handback(*out);
}

}  // namespace edit
