#include "edit/sorting.h"

#include <cmath>
#include <string>
#include <utility>

#include "console/numfmt.h"
#include "console/report.h"

namespace edit {

namespace {

// Pending parts of a partition-exchange sort. The part processed next is always the smaller
// one, so every part on the stack is at least twice as large as any part pushed after it: 64
// entries cover any int range.
class PartStack {
 public:
  explicit PartStack(const char* routine) : routine_(routine) {}
  void push(int lo, int hi) {
    if (top_ == capacity) console::fatal(std::string(routine_) + ": internal error 1");
    parts_[top_++] = {lo, hi};
  }
  bool pop(int& lo, int& hi) {
    if (top_ == 0) return false;
    --top_;
    lo = parts_[top_].lo;
    hi = parts_[top_].hi;
    return true;
  }

 private:
  static constexpr int capacity = 64;
  struct Part {
    int lo, hi;
  };
  const char* routine_;
  Part parts_[capacity];
  int top_ = 0;
};

// The partition-exchange sort of entries lo .. hi of a sequence; key(k) is the key of entry k
// and swap(a, b) exchanges entries a and b. One partition of lo .. hi with the middle entry as
// pivot leaves i > j; the parts lo .. j and i .. hi are then sorted the same way (each only if it
// has more than one entry). The two parts never overlap, so the order in which they are
// processed does not change the result.
template <class Key, class Swap>
void partition_sort(const char* routine, int lo, int hi, Key key, Swap swap) {
  PartStack pending(routine);
  for (;;) {
    while (lo < hi) {
      auto pivot = key(lo + (hi - lo) / 2);
      int i = lo;
      int j = hi;
      do {
        while (key(i) < pivot) ++i;
        while (pivot < key(j)) --j;
        if (i <= j) {
          swap(i, j);
          ++i;
          --j;
        }
      } while (i <= j);
      bool left = lo < j;
      bool right = i < hi;
      if (left && right) {
        if (j - lo < hi - i) {
          pending.push(i, hi);
          hi = j;
        } else {
          pending.push(lo, j);
          lo = i;
        }
      } else if (left) {
        hi = j;
      } else if (right) {
        lo = i;
      } else {
        break;
      }
    }
    if (!pending.pop(lo, hi)) return;
  }
}

// An entry of a permutation with its key beside it. Sorting these pairs makes exactly the
// comparisons and exchanges that sorting the permutation by looking its keys up would make, but
// reads memory in sequence instead of jumping through the key table.
struct Keyed {
  double key;
  int item;
};

// Below this many entries the keys are looked up directly.
constexpr int packed_minimum = 32;

// qsortp with room for hi - lo + 1 pairs at `scratch`.
void sort_by_key(int d, int lo, int hi, console::OneVector<int>& order,
                 const console::OneMatrix<double>& values, Keyed* scratch) {
  if (lo >= hi) return;
  if (hi - lo + 1 < packed_minimum) {
    partition_sort(
        "qsortp", lo, hi, [&](int k) { return values(order[k], d); },
        [&](int a, int b) { std::swap(order[a], order[b]); });
    return;
  }
  // Entry k of the range is scratch[k - lo].
  for (int k = lo; k <= hi; ++k) scratch[k - lo] = {values(order[k], d), order[k]};
  partition_sort(
      "qsortp", lo, hi, [&](int k) { return scratch[k - lo].key; },
      [&](int a, int b) { std::swap(scratch[a - lo], scratch[b - lo]); });
  for (int k = lo; k <= hi; ++k) order[k] = scratch[k - lo].item;
}

}  // namespace

void qsortp(int d, int lo, int hi, console::OneVector<int>& order,
            const console::OneMatrix<double>& values) {
  if (lo >= hi) return;
  console::OneVector<Keyed> scratch(hi - lo + 1 >= packed_minimum ? hi - lo + 1 : 0);
  sort_by_key(d, lo, hi, order, values, scratch.begin());
}

void sortc3(int d1, int d2, int d3, int n, double tol, console::OneVector<int>& order,
            const console::OneMatrix<double>& values) {
  if (n < 1) return;
  auto key = [&](int k, int d) { return values(order[k], d); };
  console::OneVector<Keyed> scratch(n);
  sort_by_key(d1, 1, n, order, values, scratch.begin());
  int i = 1;
  for (;;) {
    // The group i .. j - 1: neighbours closer than tol along d1 chain together.
    int j = i + 1;
    while (j <= n && std::fabs(key(j, d1) - key(j - 1, d1)) < tol) ++j;
    sort_by_key(d2, i, j - 1, order, values, scratch.begin());
    // Sub-groups s .. k - 1 along d2, each sorted along d3.
    int s = i;
    do {
      int k = s + 1;
      while (k <= j - 1 && std::fabs(key(k, d2) - key(k - 1, d2)) < tol) ++k;
      sort_by_key(d3, s, k - 1, order, values, scratch.begin());
      s = k;
    } while (s != j);
    if (j == n + 1) return;
    i = j;
  }
}

int cnnode(int npoin, double tol, char connect, console::OneVector<int>& point_map,
           const console::OneVector<int>& point_order, const console::OneMatrix<double>& coord,
           console::OneVector<char>& keep) {
  if (connect != 'y') {
    for (int k = 1; k <= npoin; ++k) keep[k] = 'y';
    return npoin;
  }
  if (npoin < 1) return 0;
  int nfinal = 1;
  point_map[1] = 1;
  keep[1] = 'y';
  for (int k = 2; k <= npoin; ++k) {
    const double* here = coord.row(point_order[k]);
    const double* before = coord.row(point_order[k - 1]);
    bool coincide = true;
    for (int j = 0; j < mesh::ndime; ++j) {
      if (!(std::fabs(here[j] - before[j]) <= tol)) coincide = false;
    }
    if (coincide) {
      keep[k] = 'n';
    } else {
      ++nfinal;
      keep[k] = 'y';
    }
    point_map[k] = nfinal;
  }
  return nfinal;
}

int srtspn(int npoin, int nspno, console::OneVector<int>& lspno) {
  console::OneVector<int> marked(npoin);
  marked.zero();
  for (int s = 1; s <= nspno; ++s) {
    int p = lspno[s];
    if (p < 1 || p > npoin) console::fatal("srtspn: internal error 1");
    marked[p] = 1;
  }
  int m = 0;
  for (int p = 1; p <= npoin; ++p) {
    if (marked[p] != 0) lspno[++m] = p;
  }
  return m;
}

int maxdif(const NodeLists& lists) {
  console::OneVector<int> spread(lists.nelem);
  int result = 0;
  const int* node = lists.nodes.begin();
  for (int i = 1; i <= lists.nelem; ++i) {
    int smallest = node[0];
    int largest = smallest;
    for (int k = 1; k < lists.count[i]; ++k) {
      if (node[k] > largest) largest = node[k];
      if (node[k] < smallest) smallest = node[k];
    }
    node += lists.count[i];
    spread[i] = largest - smallest;
    if (spread[i] > result) result = spread[i];
  }
  console::outf("\nElement(s) with a difference between nodes equal to the maximum difference:\n");
  std::string text;
  for (int i = 1; i <= lists.nelem; ++i) {
    if (spread[i] != result) continue;
    text.push_back(' ');
    console::append_int(text, i, 7);
    if (text.size() >= (1 << 16)) {
      console::outs(text);
      text.clear();
    }
  }
  text.push_back('\n');
  console::outs(text);
  return result;
}

void qsorti(int lo, int hi, console::OneVector<int>& v) {
  partition_sort(
      "qsorti", lo, hi, [&](int k) { return v[k]; }, [&](int a, int b) { std::swap(v[a], v[b]); });
}

}  // namespace edit
