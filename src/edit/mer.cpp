#include "edit/mer.h"

#include "console/report.h"
#include "mesh/meshwriter.h"

namespace edit {

void vmzmer(const mesh::MeshBuffer& a, const mesh::MeshBuffer& b, const mesh::Titles& titles) {
  console::outf("\nMerge buffer b in buffer a (all elements go to buffer a)\n");
  auto out = mesh::open_handback();
  mesh::MeshWriter writer(*out, titles, a.nelem + b.nelem, a.npoin + b.npoin, a.nspno + b.nspno,
                          "vmzmer");
  // Buffer a keeps its numbers; every point number of buffer b moves behind buffer a's points.
  const int offset = a.npoin;
  for (int e = 1; e <= a.nelem; ++e) writer.element(a.nnoel[e], a.lnods.row(e));
  int nodes[mesh::mnode];
  for (int e = 1; e <= b.nelem; ++e) {
    const int* row = b.lnods.row(e);
    for (int k = 0; k < b.nnoel[e]; ++k) nodes[k] = row[k] + offset;
    writer.element(b.nnoel[e], nodes);
  }
  for (int p = 1; p <= a.npoin; ++p) writer.point(a.coord.row(p));
  for (int p = 1; p <= b.npoin; ++p) writer.point(b.coord.row(p));
  for (int s = 1; s <= a.nspno; ++s) writer.special(a.lspno[s]);
  for (int s = 1; s <= b.nspno; ++s) writer.special(b.lspno[s] + offset);
  writer.finish();
  mesh::close_handback(*out);
}

}  // namespace edit
