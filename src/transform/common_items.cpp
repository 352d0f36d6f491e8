#include "transform/common_items.h"

#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

#include "console/report.h"

namespace transform {

namespace {

// True when row `later` holds every point number of row `earlier` (rows of `width` entries).
bool holds_every_node(const int* later, const int* earlier, int width) {
  for (int a = 0; a < width; ++a) {
    bool found = false;
    for (int b = 0; b < width && !found; ++b) found = later[b] == earlier[a];
    if (!found) return false;
  }
  return true;
}

// True when row[k] already occurred in row[0 .. k - 1]: an item is listed once per point, even
// when a degenerate item names the point twice.
bool repeated(const int* row, int k) {
  for (int a = 0; a < k; ++a) {
    if (row[a] == row[k]) return true;
  }
  return false;
}

// For each point, the items that contain it, in ascending item order: the items of point p are
// entries[first[p] .. first[p + 1] - 1].
struct PointIndex {
  std::vector<std::size_t> first;
  std::vector<int> entries;
};

PointIndex index_points(const console::OneMatrix<int>& items) {
  const int nitem = items.rows();
  const int width = items.cols();
  int maxpoint = 0;
  for (int i = 1; i <= nitem; ++i) {
    const int* row = items.row(i);
    for (int k = 0; k < width; ++k) {
      if (row[k] < 1) console::fatal("flag_common_items: internal error 1");
      if (row[k] > maxpoint) maxpoint = row[k];
    }
  }
  PointIndex index;
  index.first.assign(static_cast<std::size_t>(maxpoint) + 2, 0);
  for (int i = 1; i <= nitem; ++i) {
    const int* row = items.row(i);
    for (int k = 0; k < width; ++k) {
      if (!repeated(row, k)) ++index.first[static_cast<std::size_t>(row[k]) + 1];
    }
  }
  for (std::size_t p = 1; p < index.first.size(); ++p) index.first[p] += index.first[p - 1];
  index.entries.resize(index.first.back());
  // Filled in item order, so each point's list comes out ascending. `next` starts as a copy of
  // `first` and ends one list further on.
  std::vector<std::size_t> next(index.first.begin(), index.first.end() - 1);
  for (int i = 1; i <= nitem; ++i) {
    const int* row = items.row(i);
    for (int k = 0; k < width; ++k) {
      if (!repeated(row, k)) index.entries[next[static_cast<std::size_t>(row[k])]++] = i;
    }
  }
  return index;
}

}  // namespace

void item_keys(const console::OneMatrix<int>& items, const console::OneMatrix<double>& coord,
               console::OneVector<double>& keys) {
  const int width = items.cols();
  for (int i = 1; i <= items.rows(); ++i) {
    const int* row = items.row(i);
    double key = 0.0;
    for (int k = 0; k < width; ++k) {
      const double* x = coord.row(row[k]);
      for (int idime = 0; idime < coord.cols(); ++idime) key += x[idime];
    }
    keys[i] = key;
  }
}

void flag_common_items(const console::OneMatrix<int>& items,
                       const console::OneVector<double>& keys, CommonRule rule,
                       console::OneVector<char>& flags) {
  const int nitem = items.rows();
  const int width = items.cols();
  for (int i = 1; i <= nitem; ++i) flags[i] = 'y';
  if (nitem == 0) return;

  const PointIndex index = index_points(items);
  // head[p]: where the part of point p's list still worth scanning begins. Items are visited in
  // ascending order and flags only ever change from 'y' to 'n', so an entry that is not after
  // the visited item, or that is dropped, is never a copy again: heads only move forward.
  std::vector<std::size_t> head(index.first.begin(), index.first.end() - 1);

  for (int i = 1; i <= nitem; ++i) {
    if (flags[i] != 'y') continue;
    const int* row = items.row(i);

    // The node of item i with the fewest later items: every copy of i is in its list.
    std::size_t best_begin = 0;
    std::size_t best_end = 0;
    std::size_t best_length = std::numeric_limits<std::size_t>::max();
    for (int k = 0; k < width; ++k) {
      const std::size_t p = static_cast<std::size_t>(row[k]);
      std::size_t h = head[p];
      const std::size_t end = index.first[p + 1];
      while (h < end && (index.entries[h] <= i || flags[index.entries[h]] != 'y')) ++h;
      head[p] = h;
      if (end - h < best_length) {
        best_length = end - h;
        best_begin = h;
        best_end = end;
      }
    }

    for (std::size_t e = best_begin; e < best_end; ++e) {
      const int j = index.entries[e];
      if (flags[j] != 'y') continue;
      if (!(std::fabs(keys[i] - keys[j]) < key_tolerance)) continue;
      if (!holds_every_node(items.row(j), row, width)) continue;
      flags[j] = 'n';
      if (rule == CommonRule::drop_both) flags[i] = 'n';
      break;
    }
  }
}

}  // namespace transform
