#include "edit/cue.h"

#include "console/arrays.h"
#include "console/dialogue.h"
#include "console/report.h"
#include "edit/kept_elements.h"

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

  write_kept_elements(buffer, titles, element_map, kept, "vmzcue");
}

}  // namespace edit
