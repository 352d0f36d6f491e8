// The search for common items: faces that two bricks share, sides that two shells share.
//
// Every item is a row of point numbers (a face of a brick, a bar along a shell's side). Its key
// is the sum of all coordinates of its nodes: x + y + z of each node, added up in row order. Item j
// is a copy of an earlier item i when
//   - j comes after i and both are still kept,
//   - their keys differ by less than 1e-8 in absolute value, and
//   - j holds every node of i (each of i's point numbers occurs somewhere in j's row).
// The key only preselects: points that coincide but carry different numbers never make a copy.
// Items are visited in order; each kept item looks for its first kept copy and, when it finds
// one, drops the copy (and itself too, for shared faces).
//
// Instead of comparing every item with every later one, the search keeps lists of items, in
// item order, that hold every possible copy of an item: an item whose points all differ can only
// be copied by an item naming the same points, so it looks along the chain of items with the
// same smallest point; an item with a repeated point can be held by larger sets, all of which
// appear in the list of each of its points (the shortest one is scanned). Scanning such a list
// from i onwards meets the copies in the same order as the full scan, so the first one found is
// the same.
#pragma once

#include "console/arrays.h"

namespace transform {

// What happens when an item finds its copy.
enum class CommonRule {
  drop_both,   // both are dropped: a face between two bricks is no outer face
  drop_later,  // only the copy is dropped: a side between two shells is written once
};

// Keys may differ by less than this and still be equal.
constexpr double key_tolerance = 1e-8;

// keys[i] = (x + y + z) of each node of row i of `items`, summed in row order. `keys` must hold
// items.rows() entries; every point number must be a row of `coord` (three columns).
void item_keys(const console::OneMatrix<int>& items, const console::OneMatrix<double>& coord,
               console::OneVector<double>& keys);

// Sets flags[i] to 'y' for the items kept and 'n' for the items dropped. `keys` and `flags`
// hold items.rows() entries; every point number is at least 1.
void flag_common_items(const console::OneMatrix<int>& items, const console::OneVector<double>& keys,
                       CommonRule rule, console::OneVector<char>& flags);

}  // namespace transform
