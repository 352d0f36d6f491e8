#include "transform/common_items.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <utility>
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

// An item is "full" when its points are all different. A copy of a full item holds all its
// `width` points in its own `width` entries, so it names exactly the same points. An item with a
// repeated point may be held by items of other point sets (1 1 2 3 by 1 2 3 4), so it searches
// the list of all the items that contain one of its points.
bool is_full(const int* row, int width) {
  for (int k = 1; k < width; ++k) {
    if (repeated(row, k)) return false;
  }
  return true;
}

// Longest chain of items that share their smallest point; beyond it, items are chained by
// their whole point set.
constexpr int chain_limit = 32;

// Widest item: an element's whole node list.
constexpr int max_width = 20;

// The points of a row in ascending order.
void sorted_points(const int* row, int width, int* sorted) {
  for (int k = 0; k < width; ++k) {
    const int p = row[k];
    int m = k;
    for (; m > 0 && sorted[m - 1] > p; --m) sorted[m] = sorted[m - 1];
    sorted[m] = p;
  }
}

std::uint64_t hash_points(const int* sorted, int width) {
  std::uint64_t h = 0x9e3779b97f4a7c15ULL;
  for (int k = 0; k < width; ++k) {
    h ^= static_cast<std::uint32_t>(sorted[k]);
    h *= 0xff51afd7ed558ccdULL;
    h ^= h >> 29;
  }
  return h;
}

// The latest item so far of each point set, in an open-addressing table for `capacity` items.
class PointSets {
 public:
  explicit PointSets(int capacity) {
    std::size_t size = 2;
    while (size < 2 * static_cast<std::size_t>(capacity)) size *= 2;
    slots_.assign(capacity > 0 ? size : 0, 0);
  }

  // The slot of item i's point set: the latest item of that set so far, or 0.
  int& latest(const console::OneMatrix<int>& items, int width, int i) {
    if (width > max_width) console::fatal("flag_common_items: internal error 2");
    int points[max_width];
    int other[max_width];
    sorted_points(items.row(i), width, points);
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = static_cast<std::size_t>(hash_points(points, width)) & mask;
    while (slots_[slot] != 0) {
      sorted_points(items.row(slots_[slot]), width, other);
      if (std::equal(points, points + width, other)) break;
      slot = (slot + 1) & mask;
    }
    return slots_[slot];
  }

 private:
  std::vector<int> slots_;
};

// Lists of items by point, each in ascending item order: the items listed under point p are
// entries[first[p] .. first[p + 1] - 1]. head[p] marks where the part still worth scanning
// begins. Items are visited in ascending order and flags only ever change from 'y' to 'n', so
// an entry that is not after the visited item, or that is dropped, is never a copy again: heads
// only move forward.
struct PointLists {
  std::vector<std::size_t> first;
  std::vector<int> entries;
  std::vector<std::size_t> head;

  // Lists item i under each point that `points_of(i, list)` hands to `list(p)`.
  template <class PointsOf>
  void build(int nitem, int maxpoint, PointsOf points_of) {
    first.assign(static_cast<std::size_t>(maxpoint) + 2, 0);
    for (int i = 1; i <= nitem; ++i) {
      points_of(i, [&](int p) { ++first[static_cast<std::size_t>(p) + 1]; });
    }
    for (std::size_t p = 1; p < first.size(); ++p) first[p] += first[p - 1];
    entries.resize(first.back());
    head.assign(first.begin(), first.end() - 1);
    // Filled in item order, so each list comes out ascending; `head` serves as the fill
    // position and is reset afterwards.
    for (int i = 1; i <= nitem; ++i) {
      points_of(i, [&](int p) { entries[head[static_cast<std::size_t>(p)]++] = i; });
    }
    head.assign(first.begin(), first.end() - 1);
  }

  // The part of point p's list after item i that holds items still kept: [begin, end).
  template <class Flags>
  std::pair<std::size_t, std::size_t> after(int p, int i, const Flags& flags) {
    const std::size_t q = static_cast<std::size_t>(p);
    std::size_t h = head[q];
    const std::size_t end = first[q + 1];
    while (h < end && (entries[h] <= i || flags[entries[h]] != 'y')) ++h;
    head[q] = h;
    return {h, end};
  }
};

}  // namespace

void item_keys(const console::OneMatrix<int>& items, const console::OneMatrix<double>& coord,
               console::OneVector<double>& keys) {
  // x + y + z of each point once, then the sum of those over the nodes of each item.
  console::OneVector<double> point_sum(coord.rows());
  for (int ipoin = 1; ipoin <= coord.rows(); ++ipoin) {
    const double* x = coord.row(ipoin);
    point_sum[ipoin] = x[0] + x[1] + x[2];
  }
  const int width = items.cols();
  for (int i = 1; i <= items.rows(); ++i) {
    const int* row = items.row(i);
    double key = 0.0;
    for (int k = 0; k < width; ++k) key += point_sum[row[k]];
    keys[i] = key;
  }
}

void flag_common_items(const console::OneMatrix<int>& items, const console::OneVector<double>& keys,
                       CommonRule rule, console::OneVector<char>& flags) {
  const int nitem = items.rows();
  const int width = items.cols();
  for (int i = 1; i <= nitem; ++i) flags[i] = 'y';
  if (nitem == 0) return;

  if (width > max_width) console::fatal("flag_common_items: internal error 2");

  // For an item whose points all differ, next[i] is the next later item that may be a copy of
  // it (0 when there is none). Copies name the same points, so they share the smallest one:
  // items are chained by their smallest point where few items share it, and by their whole
  // point set where many do (a point that very many items meet would otherwise make every walk
  // along its chain long). Items with a repeated point have no chain (next[i] = -1) and search
  // the lists by point instead.
  bool any_repeat = false;
  console::OneVector<int> next(nitem);
  {
    std::vector<int> sharing;  // sharing[p]: the full items whose smallest point is p
    std::vector<int> latest;   // latest[p]: the last of them so far
    for (int i = 1; i <= nitem; ++i) {
      const int* row = items.row(i);
      const int low = *std::min_element(row, row + width);
      if (low < 1) console::fatal("flag_common_items: internal error 1");
      if (!is_full(row, width)) {
        next[i] = -1;
        any_repeat = true;
        continue;
      }
      next[i] = 0;
      const std::size_t p = static_cast<std::size_t>(low);
      if (p >= latest.size()) {
        const std::size_t size = std::max(p + 1, 2 * latest.size());
        latest.resize(size, 0);
        sharing.resize(size, 0);
      }
      ++sharing[p];
      if (latest[p] != 0) next[latest[p]] = i;
      latest[p] = i;
    }

    int nbusy = 0;  // full items whose smallest point is shared by too many
    for (int count : sharing) nbusy += count > chain_limit ? count : 0;
    if (nbusy > 0) {
      // Those items are chained again, by point set.
      PointSets sets(nbusy);
      for (int i = 1; i <= nitem; ++i) {
        if (next[i] < 0) continue;
        const int* row = items.row(i);
        if (sharing[static_cast<std::size_t>(*std::min_element(row, row + width))] <= chain_limit) {
          continue;
        }
        next[i] = 0;
        int& last = sets.latest(items, width, i);
        if (last != 0) next[last] = i;
        last = i;
      }
    }
  }

  PointLists by_point;
  if (any_repeat) {
    int maxpoint = 0;
    for (int i = 1; i <= nitem; ++i) {
      maxpoint = std::max(maxpoint, *std::max_element(items.row(i), items.row(i) + width));
    }
    by_point.build(nitem, maxpoint, [&](int i, auto&& list) {
      const int* row = items.row(i);
      for (int k = 0; k < width; ++k) {
        if (!repeated(row, k)) list(row[k]);
      }
    });
  }

  auto is_copy = [&](int i, int j) {
    return std::fabs(keys[i] - keys[j]) < key_tolerance &&
           holds_every_node(items.row(j), items.row(i), width);
  };
  auto drop = [&](int i, int j) {
    flags[j] = 'n';
    if (rule == CommonRule::drop_both) flags[i] = 'n';
  };

  for (int i = 1; i <= nitem; ++i) {
    if (flags[i] != 'y') continue;

    if (next[i] >= 0) {
      // Dropped items are unlinked on the way: they are never a copy again.
      int before = i;
      for (int j = next[i]; j != 0; j = next[j]) {
        if (flags[j] != 'y') {
          next[before] = next[j];
        } else if (is_copy(i, j)) {
          drop(i, j);
          break;
        } else {
          before = j;
        }
      }
      continue;
    }

    // A repeated point: the list of the point of i with the fewest later items.
    const int* row = items.row(i);
    std::pair<std::size_t, std::size_t> range;
    std::size_t best_length = std::numeric_limits<std::size_t>::max();
    for (int k = 0; k < width; ++k) {
      const auto part = by_point.after(row[k], i, flags);
      if (part.second - part.first < best_length) {
        best_length = part.second - part.first;
        range = part;
      }
    }
    for (std::size_t e = range.first; e < range.second; ++e) {
      const int j = by_point.entries[e];
      if (flags[j] == 'y' && is_copy(i, j)) {
        drop(i, j);
        break;
      }
    }
  }
}

}  // namespace transform
