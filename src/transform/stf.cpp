#include "transform/stf.h"

#include <climits>
#include <string>

#include "console/arrays.h"
#include "console/dialogue.h"
#include "console/report.h"
#include "mesh/meshwriter.h"
#include "transform/common_items.h"
#include "transform/node_count.h"

namespace transform {

namespace {

constexpr int nbar = 4;

// Local node numbers of the four sides of a shell. The centre node of a 9-node shell belongs to
// no side.
constexpr int bars4[nbar][2] = {{1, 2}, {2, 3}, {3, 4}, {4, 1}};
constexpr int bars8[nbar][3] = {{1, 2, 3}, {3, 4, 5}, {5, 6, 7}, {7, 8, 1}};

// Nodes of a bar made from a side of `nnode`-node shells.
int bar_nodes(int nnode, const char* routine) {
  if (nnode == 4) return 2;
  if (nnode == 8 || nnode == 9) return 3;
  console::fatal(std::string(routine) + ": internal error 1");
}

// 4 x nelem, the number of bars; a count the mesh file cannot hold is an impossible state.
int bar_count(const mesh::MeshBuffer& buffer, const char* routine) {
  if (buffer.nelem > INT_MAX / nbar) console::fatal(std::string(routine) + ": internal error 3");
  return nbar * buffer.nelem;
}

// The point numbers of side ibar of shell ielem. A 2-node bar holds the smaller number first,
// so that the same side of two neighbouring shells gives the same bar; a 3-node bar keeps the
// order of the side.
void side(const mesh::MeshBuffer& buffer, int ielem, int ibar, int width, int* bar) {
  if (width == 2) {
    const int a = buffer.lnods(ielem, bars4[ibar - 1][0]);
    const int b = buffer.lnods(ielem, bars4[ibar - 1][1]);
    bar[0] = a < b ? a : b;
    bar[1] = a < b ? b : a;
  } else {
    for (int k = 0; k < width; ++k) bar[k] = buffer.lnods(ielem, bars8[ibar - 1][k]);
  }
}

// Writes tmp.vmz: `nbars` bars, which `each_bar(write)` hands over in order as write(bar), bar
// pointing to the bar's nodes, written as open lists; then the points and special nodes of the
// buffer.
template <class EachBar>
void write_bars(const mesh::MeshBuffer& buffer, const mesh::Titles& titles, int nbars, int width,
                const char* routine, EachBar each_bar) {
  console::outf("\nWriting file: %s\n", mesh::handback_file);
  auto out = mesh::open_handback("Unable to open output file - jobname.vmz");
  mesh::MeshWriter writer(*out, titles, nbars, buffer.npoin, buffer.nspno, routine);
  each_bar([&](const int* bar) { writer.element(width, bar); });
  for (int ipoin = 1; ipoin <= buffer.npoin; ++ipoin) writer.point(buffer.coord.row(ipoin));
  for (int ispno = 1; ispno <= buffer.nspno; ++ispno) writer.special(buffer.lspno[ispno]);
  writer.finish();
  mesh::close_handback(*out);
}

}  // namespace

char vmzstf(const mesh::MeshBuffer& buffer, const mesh::Titles& titles) {
  console::outf("\nTransform each shell element in four frame elements\n");
  const char eliminate = console::askcha("Eliminate common bars", 'y', 'n', 'y');

  int nnode = 0;
  if (!constant_node_count(buffer, nnode)) return refuse_transformation();
  if (nnode != 4 && nnode != 8 && nnode != 9) {
    wrong_node_count(nnode, "N. of nodes per element must be 4, 8 or 9");
    return refuse_transformation();
  }
  if (eliminate == 'y') {
    wfevmz(buffer, nnode, titles);
  } else if (eliminate == 'n') {
    wfrvmz(buffer, nnode, titles);
  } else {
    console::fatal("vmzstf: internal error 1");
  }
  return 'y';
}

void wfrvmz(const mesh::MeshBuffer& buffer, int nnode, const mesh::Titles& titles) {
  const int width = bar_nodes(nnode, "wfrvmz");
  const int nbars = bar_count(buffer, "wfrvmz");
  write_bars(buffer, titles, nbars, width, "wfrvmz", [&](auto&& write) {
    int bar[3];
    for (int ielem = 1; ielem <= buffer.nelem; ++ielem) {
      for (int ibar = 1; ibar <= nbar; ++ibar) {
        side(buffer, ielem, ibar, width, bar);
        write(bar);
      }
    }
  });
}

void wfevmz(const mesh::MeshBuffer& buffer, int nnode, const mesh::Titles& titles) {
  const int width = bar_nodes(nnode, "wfevmz");
  const int nbars = bar_count(buffer, "wfevmz");

  // Side ibar of shell ielem is row 4 (ielem - 1) + ibar.
  console::OneMatrix<int> bars(nbars, width);
  for (int ielem = 1; ielem <= buffer.nelem; ++ielem) {
    for (int ibar = 1; ibar <= nbar; ++ibar) {
      side(buffer, ielem, ibar, width, bars.row(nbar * (ielem - 1) + ibar));
    }
  }
  console::OneVector<double> keys(nbars);
  item_keys(bars, buffer.coord, keys);
  console::OneVector<char> flags(nbars);
  flag_common_items(bars, keys, CommonRule::drop_later, flags);

  int nkept = 0;
  for (char flag : flags) nkept += flag == 'y' ? 1 : 0;
  write_bars(buffer, titles, nkept, width, "wfevmz", [&](auto&& write) {
    for (int row = 1; row <= nbars; ++row) {
      if (flags[row] == 'y') write(bars.row(row));
    }
  });
}

}  // namespace transform
