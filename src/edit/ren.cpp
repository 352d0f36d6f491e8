#include "edit/ren.h"

#include <climits>

#include "console/arrays.h"
#include "console/dialogue.h"
#include "console/report.h"
#include "edit/bbcent.h"
#include "edit/sorting.h"
#include "mesh/meshwriter.h"

namespace edit {

namespace {

using console::OneMatrix;
using console::OneVector;
using console::outf;

// The renumbering as it is written, kept apart from the buffer: element i is buffer element
// element_order[i], and its renumbered node list is element i of `lists`; buffer point p becomes
// final point final_point[p]; sorted position k holds buffer point point_order[k] and is written
// when keep[k] is 'y'; the special nodes are lspno[1 .. nspno] in final numbers.
struct Renumbering {
  OneVector<int> element_order;
  NodeLists lists;
  OneVector<int> point_order;
  OneVector<int> final_point;
  OneVector<char> keep;
  int nfinal = 0;
  OneVector<int> lspno;
  int nspno = 0;
};

bool is_direction_set(int d1, int d2, int d3) {
  for (int d = 1; d <= 3; ++d) {
    if (d1 != d && d2 != d && d3 != d) return false;
  }
  return true;
}

// The bounding-box centre of every element, over all the entries of its node list.
OneMatrix<double> element_centres(const mesh::MeshBuffer& buffer) {
  OneMatrix<double> centres(buffer.nelem, mesh::ndime);
  for (int e = 1; e <= buffer.nelem; ++e) bbcent(buffer, e, buffer.nnoel[e], centres.row(e));
  return centres;
}

// The node lists of the elements in their new order, in final point numbers.
NodeLists renumber_lists(const mesh::MeshBuffer& buffer, const OneVector<int>& element_order,
                         const OneVector<int>& final_point) {
  long long total = 0;
  for (int e = 1; e <= buffer.nelem; ++e) total += buffer.nnoel[e];
  // One int vector holds them all; more entries than it can index cannot be held.
  if (total > INT_MAX) console::fatal("Memory allocation failed");
  NodeLists lists;
  lists.nelem = buffer.nelem;
  lists.count = OneVector<int>(buffer.nelem);
  lists.nodes = OneVector<int>(static_cast<int>(total));
  int* node = lists.nodes.begin();
  for (int i = 1; i <= buffer.nelem; ++i) {
    int e = element_order[i];
    const int* row = buffer.lnods.row(e);
    lists.count[i] = buffer.nnoel[e];
    for (int k = 0; k < buffer.nnoel[e]; ++k) *node++ = final_point[row[k]];
  }
  return lists;
}

// Writes the renumbered mesh to tmp.vmz.
void wrnvmz(const mesh::MeshBuffer& buffer, const mesh::Titles& titles, const Renumbering& r) {
  outf("\nWriting file: %s\n", mesh::handback_file);
  auto out = mesh::open_handback("Unable to open output file - jobname.vmz");
  mesh::MeshWriter writer(*out, titles, buffer.nelem, r.nfinal, r.nspno, "wrnvmz");
  const int* node = r.lists.nodes.begin();
  for (int i = 1; i <= buffer.nelem; ++i) {
    int count = r.lists.count[i];
    if (count == 2 && node[0] > node[1]) {
      // A bar is written from its smaller point number to its larger one.
      int bar[2] = {node[1], node[0]};
      writer.element(2, bar);
    } else {
      writer.element(count, node);
    }
    node += count;
  }
  for (int k = 1; k <= buffer.npoin; ++k) {
    if (r.keep[k] == 'y') writer.point(buffer.coord.row(r.point_order[k]));
  }
  for (int s = 1; s <= r.nspno; ++s) writer.special(r.lspno[s]);
  writer.finish();
  mesh::close_handback(*out);
}

}  // namespace

void vmzren(const mesh::MeshBuffer& buffer, const mesh::Titles& titles) {
  outf("\nSort the coord. of the nodes, the numbers of the elem. and the sp. nodes\n");
  int d1, d2, d3;
  for (;;) {
    d1 = console::askint("Direction with the biggest  number of nodes (1/2/3)", 1);
    d2 = console::askint("Direction with the medium   number of nodes (1/2/3)", 2);
    d3 = console::askint("Direction with the smallest number of nodes (1/2/3)", 3);
    if (is_direction_set(d1, d2, d3)) break;
    outf("\nERROR: invalid set of directions - repeat answer ...\n");
  }
  char sort_elements = console::askcha("Sort the element numbers", 'y', 'n', 'y');
  char sort_special = console::askcha("Sort the special   nodes", 'y', 'n', 'y');
  char connect = console::askcha("Connect coincident nodes", 'y', 'n', 'y');
  double tol = console::askrea("Tolerance to compare nodal coordinates", 1e-05);
  outf("\nSorting (quicksort) - please wait\n");
  outf("If you're using a RISC workstation don't leave your seat !!!\n");

  const int nelem = buffer.nelem;
  const int npoin = buffer.npoin;
  Renumbering r;
  OneMatrix<double> centres;
  if (sort_elements == 'y') centres = element_centres(buffer);

  // Points in sorted order; point_map takes each buffer point to its sorted position.
  r.point_order = OneVector<int>(npoin);
  for (int k = 1; k <= npoin; ++k) r.point_order[k] = k;
  r.element_order = OneVector<int>(nelem);
  for (int i = 1; i <= nelem; ++i) r.element_order[i] = i;
  sortc3(d1, d2, d3, npoin, tol, r.point_order, buffer.coord);
  OneVector<int> point_map(npoin);
  for (int k = 1; k <= npoin; ++k) point_map[r.point_order[k]] = k;
  r.final_point = OneVector<int>(npoin);
  for (int p = 1; p <= npoin; ++p) r.final_point[p] = point_map[p];

  if (sort_elements == 'y' && nelem > 0) {
    sortc3(d1, d2, d3, nelem, tol, r.element_order, centres);
  }

  // Joining: point_map now takes each sorted position to its final point.
  r.keep = OneVector<char>(npoin);
  r.nfinal = cnnode(npoin, tol, connect, point_map, r.point_order, buffer.coord, r.keep);
  if (connect == 'y') {
    for (int p = 1; p <= npoin; ++p) r.final_point[p] = point_map[r.final_point[p]];
  }

  r.nspno = buffer.nspno;
  r.lspno = OneVector<int>(r.nspno);
  for (int s = 1; s <= r.nspno; ++s) r.lspno[s] = r.final_point[buffer.lspno[s]];
  if (sort_special == 'y') r.nspno = srtspn(npoin, r.nspno, r.lspno);

  r.lists = renumber_lists(buffer, r.element_order, r.final_point);
  int difference = maxdif(r.lists);
  outf("\nMaximum difference between nodes of the same element = %8d\n", difference);
  wrnvmz(buffer, titles, r);
}

}  // namespace edit
