#include "edit/kept_elements.h"

#include "mesh/meshwriter.h"

namespace edit {

void write_kept_elements(const mesh::MeshBuffer& buffer, const mesh::Titles& titles,
                         const console::OneVector<int>& element_map, int kept,
                         const char* routine) {
  auto out = mesh::open_handback();
  mesh::MeshWriter writer(*out, titles, kept, buffer.npoin, buffer.nspno, routine);
  for (int e = 1; e <= buffer.nelem; ++e) {
    if (element_map[e] != 0) writer.element(buffer.nnoel[e], buffer.lnods.row(e));
  }
  for (int p = 1; p <= buffer.npoin; ++p) writer.point(buffer.coord.row(p));
  for (int s = 1; s <= buffer.nspno; ++s) writer.special(buffer.lspno[s]);
  writer.finish();
  mesh::close_handback(*out);
}

}  // namespace edit
