// The sorts and the joining of coincident points behind `ren` (renumbering), and the integer
// sort behind `snd`.
//
// The partition-exchange sorts follow one fixed sequence of partitions (middle element as
// pivot), because that sequence decides the order of entries with equal keys, and with it the
// numbering of points with equal coordinates. Pending parts are kept on a small explicit stack,
// the smaller part processed first, so the depth stays logarithmic whatever the input; parts
// that do not overlap can be sorted in any order with the same result.
#pragma once

#include "console/arrays.h"
#include "mesh/meshbuffer.h"

namespace edit {

// Sorts order[lo .. hi] by the keys values(order[k], d), ascending, in place.
void qsortp(int d, int lo, int hi, console::OneVector<int>& order,
            const console::OneMatrix<double>& values);

// Three-key sort of order[1 .. n]: by direction d1; then, within each run of neighbours whose
// d1 keys differ by less than tol (a chain, however wide it grows), by d2; then, within each
// such run of d2 keys, by d3.
void sortc3(int d1, int d2, int d3, int n, double tol, console::OneVector<int>& order,
            const console::OneMatrix<double>& values);

// Decides which sorted positions 1 .. npoin start a new final point. Without joining (connect
// 'n') every keep flag is 'y', the point map is left alone and the result is npoin. With
// joining, a position whose point lies within tol (in every coordinate) of the point at the
// position before it is joined to it (flag 'n'); the point map then receives the final number
// of every sorted position, and the result is the number of final points.
int cnnode(int npoin, double tol, char connect, console::OneVector<int>& point_map,
           const console::OneVector<int>& point_order, const console::OneMatrix<double>& coord,
           console::OneVector<char>& keep);

// Replaces lspno[1 .. nspno] by its distinct entries in ascending order (entries lie in
// 1 .. npoin) and returns their number.
int srtspn(int npoin, int nspno, console::OneVector<int>& lspno);

// Element node lists one after another: the count[i] entries of element i follow those of
// elements 1 .. i - 1.
struct NodeLists {
  int nelem = 0;
  console::OneVector<int> count;
  console::OneVector<int> nodes;
};

// The largest difference between the node numbers of one element, over all elements (0 without
// elements). Prints the numbers of the elements that reach it.
int maxdif(const NodeLists& lists);

// Sorts v[lo .. hi] ascending.
void qsorti(int lo, int hi, console::OneVector<int>& v);

}  // namespace edit
