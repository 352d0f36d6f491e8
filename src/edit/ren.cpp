#include "edit/ren.h"

#include <utility>

#include "console/arrays.h"
#include "console/dialogue.h"
#include "console/report.h"
#include "edit/sorting.h"
#include "mesh/meshwriter.h"

namespace edit {

namespace {

using console::OneMatrix;
using console::OneVector;
using console::outf;

// The renumbering as it is written: element i is buffer element element_order[i]; buffer point
// p becomes final point final_point[p]; sorted position k holds buffer point point_order[k] and
// is written when keep[k] is 'y'; the special nodes are lspno[1 .. nspno] in final numbers.
struct Renumbering {
  OneVector<int> element_order;
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

// The bounding-box centre of every element.
OneMatrix<double> element_centres(const mesh::MeshBuffer& buffer) {
  OneMatrix<double> centres(buffer.nelem, mesh::ndime);
  for (int e = 1; e <= buffer.nelem; ++e) {
    const int* row = buffer.lnods.row(e);
    for (int j = 1; j <= mesh::ndime; ++j) {
      double smallest = buffer.coord(row[0], j);
      double largest = smallest;
      for (int k = 1; k < buffer.nnoel[e]; ++k) {
        double x = buffer.coord(row[k], j);
        if (x < smallest) smallest = x;
        if (x > largest) largest = x;
      }
      centres(e, j) = (largest + smallest) * 0.5;
    }
  }
  return centres;
}

// Writes the renumbered mesh to tmp.vmz.
void wrnvmz(const mesh::MeshBuffer& buffer, const mesh::Titles& titles, const Renumbering& r) {
  outf("\nWriting file: %s\n", mesh::handback_file);
  auto out = mesh::open_handback("Unable to open output file - jobname.vmz");
  mesh::MeshWriter writer(*out, titles, buffer.nelem, r.nfinal, r.nspno, "wrnvmz");
  int nodes[mesh::mnode];
  for (int i = 1; i <= buffer.nelem; ++i) {
    int e = r.element_order[i];
    int count = buffer.nnoel[e];
    const int* row = buffer.lnods.row(e);
    for (int k = 0; k < count; ++k) nodes[k] = r.final_point[row[k]];
    // A bar is written from its smaller point number to its larger one.
    if (count == 2 && nodes[0] > nodes[1]) std::swap(nodes[0], nodes[1]);
    writer.element(count, nodes);
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

  int difference = maxdif(buffer, r.element_order, r.final_point);
  outf("\nMaximum difference between nodes of the same element = %8d\n", difference);
  wrnvmz(buffer, titles, r);
}

}  // namespace edit
