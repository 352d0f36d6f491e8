// One finite-element mesh in memory, and the titles that the two buffers share.
#pragma once

#include <string>

#include "console/arrays.h"

namespace mesh {

// Largest number of nodes of an element, and coordinates per point.
constexpr int mnode = 20;
constexpr int ndime = 3;
// Longest main title and mesh title.
constexpr int main_title_length = 60;
constexpr int mesh_title_length = 6;

// Elements, points and special nodes are numbered from 1 without gaps; the number of an item is
// its index. lnods(ielem, k) is the point of node k of element ielem for k = 1 .. nnoel[ielem];
// the columns beyond nnoel[ielem] hold nothing of meaning.
struct MeshBuffer {
  int nelem = 0;
  int npoin = 0;
  int nspno = 0;
  console::OneMatrix<int> lnods{0, mnode};
  console::OneVector<int> nnoel{0};
  console::OneVector<int> lspno{0};
  console::OneMatrix<double> coord{0, ndime};
};

struct Titles {
  std::string main = "Main title";
  std::string mesh = "Mesh";
};

// A surface element may store its first node again after its last one (a closed node list).
// True when the first and the last entry of the element's list hold the same point. A list of
// a single entry is open: taken as closed it would leave an element without nodes.
inline bool is_closed(const MeshBuffer& buffer, int ielem) {
  int n = buffer.nnoel[ielem];
  return n >= 2 && buffer.lnods(ielem, 1) == buffer.lnods(ielem, n);
}
// The node count without the closing repeat of a closed list.
inline int open_count(const MeshBuffer& buffer, int ielem) {
  return is_closed(buffer, ielem) ? buffer.nnoel[ielem] - 1 : buffer.nnoel[ielem];
}

}  // namespace mesh
