#include "edit/cue.h"

#include "console/arrays.h"
#include "console/dialogue.h"
#include "console/report.h"
#include "mesh/meshwriter.h"

namespace edit {

using console::outf;

void vmzcue(const mesh::MeshBuffer& buffer, const mesh::Titles& titles) {
  const int nelem = buffer.nelem;
  outf("\nEliminate elements that have at least one node outside the planes\n");
  int axis = console::askint("Axis that is normal to the cutting planes (1,2,or 3)", 1);
  while (axis < 1 || axis > 3) {
    outf("\nERROR: repeat answer ...\n");
    axis = console::askint("Axis that is normal to the cutting planes (1,2,or 3)", 1);
  }
  double first, second;
  for (;;) {
    outf("\nEnter the coordinates of two planes normal to the direction\n");
    outf("previously specified.\n");
    outf("The first cordinate must be less than the second.\n");
    first = console::askrea("Coordinate of the first  plane", 0);
    second = console::askrea("Coordinate of the second plane", 0);
    if (first < second) break;
    outf("\nERROR: repeat answer ...\n");
  }

  // Element map: 0 for a removed element, otherwise its new number. An element is kept when
  // every entry of its node list lies in the slab, both planes included.
  console::OneVector<int> element_map(nelem);
  int kept = 0;
  for (int e = 1; e <= nelem; ++e) {
    const int* row = buffer.lnods.row(e);
    bool inside = true;
    for (int k = 0; k < buffer.nnoel[e] && inside; ++k) {
      double x = buffer.coord(row[k], axis);
      inside = first <= x && x <= second;
    }
    element_map[e] = inside ? ++kept : 0;
  }

  auto out = mesh::open_handback();
  mesh::MeshWriter writer(*out, titles, kept, buffer.npoin, buffer.nspno, "vmzcue");
  for (int e = 1; e <= nelem; ++e) {
    if (element_map[e] != 0) writer.element(buffer.nnoel[e], buffer.lnods.row(e));
  }
  for (int p = 1; p <= buffer.npoin; ++p) writer.point(buffer.coord.row(p));
  for (int s = 1; s <= buffer.nspno; ++s) writer.special(buffer.lspno[s]);
  writer.finish();
  mesh::close_handback(*out);
}

}  // namespace edit
