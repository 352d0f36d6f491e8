#include "edit/ele.h"

#include "console/arrays.h"
#include "console/dialogue.h"
#include "console/report.h"
#include "edit/kept_elements.h"

namespace edit {

using console::outf;

void vmzele(const mesh::MeshBuffer& buffer, const mesh::Titles& titles) {
  const int nelem = buffer.nelem;
  outf("\nEliminate ranges of elements\n");
  // reach[e]: the last element of the widest range that starts at e (0: none starts there).
  // Sweeping once over the elements then marks every range, however many overlap.
  console::OneVector<int> reach(nelem);
  reach.zero();
  for (;;) {
    outf("\n=====================================================================\n");
    int first = console::askint("Number of the first element to be eliminated (0=end)", 0);
    if (first == 0) break;
    int last = console::askint("Number of the last  element to be eliminated (0=end)", 0);
    if (last == 0) break;
    if (first < 1 || first > nelem || last < 1 || last > nelem || first > last) {
      outf("\nERROR: invalid element range - repeat answer ...\n");
      continue;
    }
    if (last > reach[first]) reach[first] = last;
  }

  // Element map: 0 for a removed element, otherwise its new number.
  console::OneVector<int> element_map(nelem);
  int kept = 0;
  int removed_up_to = 0;
  for (int e = 1; e <= nelem; ++e) {
    if (reach[e] > removed_up_to) removed_up_to = reach[e];
    element_map[e] = e <= removed_up_to ? 0 : ++kept;
  }

  write_kept_elements(buffer, titles, element_map, kept, "vmzele");
}

}  // namespace edit
