#include "edit/shr.h"

#include <climits>
#include <vector>

#include "console/dialogue.h"
#include "console/report.h"
#include "edit/bbcent.h"
#include "edit/refusal.h"
#include "mesh/meshwriter.h"

namespace edit {

using mesh::ndime;

namespace {

// Surface elements (4, 8 or 9 nodes) are written with their first node repeated at the end.
bool written_closed(int k) {
  return k == 4 || k == 8 || k == 9;
}

}  // namespace

void vmzshr(const mesh::MeshBuffer& buffer, const mesh::Titles& titles) {
  console::outf("\nSeparate and shrink the elements of the mesh\n");
  double f = console::askrea("Shrink factor", 0.8);

  auto out = mesh::open_handback("Unable to open output file - tmp.vmz");

  // Every (element, node) pair becomes a point of its own, and a special node when its point is
  // one, however often that point occurs in the special-node list.
  std::vector<bool> special(static_cast<std::size_t>(buffer.npoin) + 1, false);
  for (int i = 1; i <= buffer.nspno; ++i) special[static_cast<std::size_t>(buffer.lspno[i])] = true;
  long long npoin = 0;
  long long nspno = 0;
  for (int ielem = 1; ielem <= buffer.nelem; ++ielem) {
    int k = mesh::open_count(buffer, ielem);
    npoin += k;
    for (int i = 1; i <= k; ++i) {
      if (special[static_cast<std::size_t>(buffer.lnods(ielem, i))]) ++nspno;
    }
  }
  if (npoin > INT_MAX) {
    throw console::WriteFailure(
        "Too many nodes in the separated mesh - the result cannot be stored");
  }

  mesh::MeshWriter writer(*out, titles, buffer.nelem, static_cast<int>(npoin),
                          static_cast<int>(nspno), "vmzshr");
  int nodes[mesh::mnode + 1];
  int next = 0;
  for (int ielem = 1; ielem <= buffer.nelem; ++ielem) {
    int k = mesh::open_count(buffer, ielem);
    int first = next + 1;
    for (int i = 0; i < k; ++i) nodes[i] = ++next;
    if (written_closed(k)) {
      nodes[k] = first;
      writer.element(k + 1, nodes);
    } else {
      writer.element(k, nodes);
    }
  }
  double centre[ndime];
  double x[ndime];
  for (int ielem = 1; ielem <= buffer.nelem; ++ielem) {
    int k = mesh::open_count(buffer, ielem);
    bbcent(buffer, ielem, k, centre);
    for (int i = 1; i <= k; ++i) {
      const double* point = buffer.coord.row(buffer.lnods(ielem, i));
      for (int j = 0; j < ndime; ++j) x[j] = centre[j] + f * (point[j] - centre[j]);
      require_finite(x, ndime);
      writer.point(x);
    }
  }
  int ipoin = 0;
  for (int ielem = 1; ielem <= buffer.nelem; ++ielem) {
    int k = mesh::open_count(buffer, ielem);
    for (int i = 1; i <= k; ++i) {
      ++ipoin;
      if (special[static_cast<std::size_t>(buffer.lnods(ielem, i))]) writer.special(ipoin);
    }
  }
  writer.finish();
  mesh::close_handback(*out);
}

}  // namespace edit
