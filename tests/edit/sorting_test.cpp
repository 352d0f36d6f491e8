// The sorts of ren and snd, the joining of coincident points, srtspn and maxdif.
#include "edit/sorting.h"

#include <gtest/gtest.h>
#include <pthread.h>

#include <algorithm>
#include <random>
#include <vector>

#include "support/inprocess.h"

using console::OneMatrix;
using console::OneVector;

namespace {

// The partition-exchange sort as a plain recursion on the left part (index 0 unused).
void reference_qsortp(int d, int lo, int hi, std::vector<int>& order,
                      const OneMatrix<double>& values) {
  for (;;) {
    double pivot = values(order[(lo + hi) / 2], d);
    int i = lo, j = hi;
    do {
      while (values(order[i], d) < pivot) ++i;
      while (pivot < values(order[j], d)) --j;
      if (i <= j) std::swap(order[i++], order[j--]);
    } while (i <= j);
    if (lo < j) reference_qsortp(d, lo, j, order, values);
    if (i >= hi) return;
    lo = i;
  }
}

OneVector<int> identity(int n) {
  OneVector<int> order(n);
  for (int k = 1; k <= n; ++k) order[k] = k;
  return order;
}
std::vector<int> as_vector(const OneVector<int>& v) {
  return std::vector<int>(v.begin(), v.end());
}

// Keys for which the left-recursive sort recurses n - 1 levels deep: at every level the middle
// entry of the range holds its largest key, which the partition moves to the end, leaving all
// the others in the left part.
std::vector<double> deepest_keys(int n) {
  std::vector<int> at(n + 1);  // at[position] = original entry now there
  for (int k = 1; k <= n; ++k) at[k] = k;
  std::vector<double> key(n + 1);
  for (int hi = n; hi >= 1; --hi) {
    int mid = (1 + hi) / 2;
    key[at[mid]] = hi;
    std::swap(at[mid], at[hi]);
  }
  return key;
}

struct DeepSortRun {
  OneMatrix<double>* values;
  OneVector<int>* order;
  int n;
};

void* run_qsortp(void* arg) {
  auto* run = static_cast<DeepSortRun*>(arg);
  edit::qsortp(1, 1, run->n, *run->order, *run->values);
  return nullptr;
}

}  // namespace

TEST(Qsortp, SameOrderAsTheRecursiveSortOnKeysWithManyTies) {
  std::mt19937 random(12345);
  for (int trial = 0; trial < 400; ++trial) {
    int n = 1 + static_cast<int>(random() % 120);
    int distinct = 1 + static_cast<int>(random() % 6);
    OneMatrix<double> values(n, 3);
    for (int k = 1; k <= n; ++k) {
      for (int j = 1; j <= 3; ++j) values(k, j) = static_cast<double>(random() % distinct);
    }
    int d = 1 + static_cast<int>(random() % 3);
    OneVector<int> order = identity(n);
    std::vector<int> expected(n + 1);
    for (int k = 1; k <= n; ++k) expected[k] = k;
    // A sub-range with the rest untouched, or the whole range.
    int lo = 1 + static_cast<int>(random() % n);
    int hi = lo + static_cast<int>(random() % (n - lo + 1));
    if (trial % 2 == 0) lo = 1, hi = n;
    edit::qsortp(d, lo, hi, order, values);
    reference_qsortp(d, lo, hi, expected, values);
    expected.erase(expected.begin());
    ASSERT_EQ(as_vector(order), expected) << "trial " << trial;
  }
}

TEST(Qsortp, InputThatRecursesDeepestSortsOnASmallStack) {
  const int n = 20000;
  std::vector<double> keys = deepest_keys(n);
  OneMatrix<double> values(n, 3);
  for (int k = 1; k <= n; ++k) values(k, 1) = keys[k];
  OneVector<int> order = identity(n);
  // 64 KiB of stack: far less than n nested calls would need.
  DeepSortRun run{&values, &order, n};
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setstacksize(&attr, 64 * 1024);
  pthread_t thread;
  ASSERT_EQ(pthread_create(&thread, &attr, run_qsortp, &run), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attr);
  // The keys are 1 .. n, each once: position k must hold the entry whose key is k.
  for (int k = 1; k <= n; ++k) ASSERT_EQ(values(order[k], 1), k) << "position " << k;
}

TEST(Qsorti, SortsAscendingWithRepeatsAndSubRanges) {
  std::mt19937 random(777);
  for (int trial = 0; trial < 200; ++trial) {
    int n = 1 + static_cast<int>(random() % 300);
    OneVector<int> v(n);
    for (int k = 1; k <= n; ++k) v[k] = static_cast<int>(random() % 20) - 5;
    std::vector<int> expected = as_vector(v);
    int lo = 1 + static_cast<int>(random() % n);
    int hi = lo + static_cast<int>(random() % (n - lo + 1));
    std::sort(expected.begin() + (lo - 1), expected.begin() + hi);
    edit::qsorti(lo, hi, v);
    ASSERT_EQ(as_vector(v), expected) << "trial " << trial;
  }
}

TEST(Cnnode, JoinsNeighboursWithinTheToleranceInEveryCoordinate) {
  // In sorted order: A, A + 0.25 in x (joined: non-strict), then 0.3 away in y (new), then a
  // point back at A (not a neighbour of A: new).
  double rows[4][3] = {{0, 0, 0}, {0.25, 0, 0}, {0.25, 0.3, 0}, {0, 0, 0}};
  OneMatrix<double> coord(4, 3);
  for (int k = 1; k <= 4; ++k) {
    for (int j = 1; j <= 3; ++j) coord(k, j) = rows[k - 1][j - 1];
  }
  // Sorted order 4 1 2 3 is given; positions refer to it.
  OneVector<int> order(4);
  order[1] = 2, order[2] = 1, order[3] = 3, order[4] = 4;
  OneVector<int> map(4);
  OneVector<char> keep(4);
  EXPECT_EQ(edit::cnnode(4, 0.25, 'y', map, order, coord, keep), 3);
  EXPECT_EQ(as_vector(map), (std::vector<int>{1, 1, 2, 3}));
  EXPECT_EQ(std::string(keep.begin(), keep.end()), "ynyy");
}

TEST(Maxdif, ListsEveryElementReachingTheLargestDifference) {
  // Differences: element 1 (one node) 0, element 2 7, element 3 (a closed list) 4, element 4 7.
  int counts[4] = {1, 3, 5, 2};
  int nodes[11] = {4, 9, 2, 5, 3, 6, 7, 5, 3, 1, 8};
  edit::NodeLists lists;
  lists.nelem = 4;
  lists.count = OneVector<int>(4);
  lists.nodes = OneVector<int>(11);
  for (int i = 1; i <= 4; ++i) lists.count[i] = counts[i - 1];
  for (int k = 1; k <= 11; ++k) lists.nodes[k] = nodes[k - 1];
  inprocess::Console console("");
  EXPECT_EQ(edit::maxdif(lists), 7);
  EXPECT_EQ(console.out(),
            "\nElement(s) with a difference between nodes equal to the maximum difference:\n"
            "       2       4\n");
}
