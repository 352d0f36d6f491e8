// Measures the plain search for common faces or bars (each item against every later one)
// beside the indexed search that bts and stf use, on a structured block, and checks that both
// give the same flags.
//
//   quadratic brick NX NY NZ [shuffled]   faces of an NX x NY x NZ block of 8-node bricks
//                                         (both copies dropped)
//   quadratic quad  NX NY [shuffled]      sides of an NX x NY patch of 4-node shells (the
//                                         later copy dropped)
//
// With "shuffled" the elements come in a random order, so that the copy of an item is no longer
// a few layers further on: the plain search then scans far more items before it finds it.
//
// Prints: items, processor seconds of the plain search and of the indexed search, kept items.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include "console/arrays.h"
#include "transform/common_items.h"

namespace {

using console::OneMatrix;
using console::OneVector;
using transform::CommonRule;

constexpr int faces8[6][4] = {
    {1, 2, 3, 4}, {5, 6, 7, 8}, {1, 4, 8, 5}, {2, 3, 7, 6}, {1, 2, 6, 5}, {4, 3, 7, 8},
};

void plain_search(const OneMatrix<int>& items, const OneVector<double>& keys, CommonRule rule,
                  OneVector<char>& flags) {
  const int n = items.rows();
  const int width = items.cols();
  for (int i = 1; i <= n; ++i) flags[i] = 'y';
  for (int i = 1; i <= n; ++i) {
    if (flags[i] != 'y') continue;
    for (int j = i + 1; j <= n; ++j) {
      if (flags[j] != 'y') continue;
      if (!(std::fabs(keys[i] - keys[j]) < 1e-8)) continue;
      bool holds = true;
      for (int a = 1; a <= width && holds; ++a) {
        bool found = false;
        for (int b = 1; b <= width; ++b) found = found || items(j, b) == items(i, a);
        holds = found;
      }
      if (holds) {
        flags[j] = 'n';
        if (rule == CommonRule::drop_both) flags[i] = 'n';
        break;
      }
    }
  }
}

// Processor time of this process: less disturbed than the wall clock on a shared machine.
double seconds_since(std::clock_t start) {
  return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
}

}  // namespace

int main(int argc, char** argv) {
  std::string kind = argc > 1 ? argv[1] : "";
  const bool brick = kind == "brick";
  const int nargs = brick ? 5 : 4;
  const bool shuffled = argc == nargs + 1 && std::string(argv[nargs]) == "shuffled";
  if (!(brick || kind == "quad") || !(argc == nargs || shuffled)) {
    std::fprintf(stderr, "usage: quadratic brick NX NY NZ [shuffled] | quad NX NY [shuffled]\n");
    return 2;
  }
  const int nx = std::atoi(argv[2]), ny = std::atoi(argv[3]), nz = brick ? std::atoi(argv[4]) : 0;
  const int px = nx + 1, py = ny + 1, pz = nz + 1;
  OneMatrix<double> coord(px * py * pz, 3);
  auto id = [&](int i, int j, int k) { return 1 + i + px * (j + py * k); };
  for (int k = 0; k < pz; ++k)
    for (int j = 0; j < py; ++j)
      for (int i = 0; i < px; ++i) {
        coord(id(i, j, k), 1) = 0.1 * i;
        coord(id(i, j, k), 2) = 0.1 * j;
        coord(id(i, j, k), 3) = 0.1 * k;
      }
  const int nelem = brick ? nx * ny * nz : nx * ny;
  std::vector<int> order(static_cast<std::size_t>(nelem));
  for (int e = 0; e < nelem; ++e) order[static_cast<std::size_t>(e)] = e;
  if (shuffled) std::shuffle(order.begin(), order.end(), std::mt19937(12345));
  const int nitem = brick ? 6 * nelem : 4 * nelem;
  const int width = brick ? 4 : 2;
  OneMatrix<int> items(nitem, width);
  int row = 0;
  if (brick) {
    for (int e : order) {
      const int i = e % nx, j = (e / nx) % ny, k = e / (nx * ny);
      const int nodes[8] = {
          id(i, j, k),     id(i + 1, j, k),     id(i + 1, j + 1, k),     id(i, j + 1, k),
          id(i, j, k + 1), id(i + 1, j, k + 1), id(i + 1, j + 1, k + 1), id(i, j + 1, k + 1)};
      for (const auto& face : faces8) {
        ++row;
        for (int m = 0; m < 4; ++m) items(row, m + 1) = nodes[face[m] - 1];
      }
    }
  } else {
    for (int e : order) {
      const int i = e % nx, j = e / nx;
      const int corners[4] = {id(i, j, 0), id(i + 1, j, 0), id(i + 1, j + 1, 0), id(i, j + 1, 0)};
      for (int b = 0; b < 4; ++b) {
        const int p = corners[b], q = corners[(b + 1) % 4];
        ++row;
        items(row, 1) = p < q ? p : q;
        items(row, 2) = p < q ? q : p;
      }
    }
  }
  const CommonRule rule = brick ? CommonRule::drop_both : CommonRule::drop_later;
  OneVector<double> keys(nitem);
  transform::item_keys(items, coord, keys);

  OneVector<char> plain(nitem), indexed(nitem);
  std::clock_t start = std::clock();
  plain_search(items, keys, rule, plain);
  const double plain_seconds = seconds_since(start);
  start = std::clock();
  transform::flag_common_items(items, keys, rule, indexed);
  const double indexed_seconds = seconds_since(start);

  int kept = 0;
  for (int i = 1; i <= nitem; ++i) {
    if (plain[i] != indexed[i]) {
      std::fprintf(stderr, "quadratic: the searches differ at item %d\n", i);
      return 1;
    }
    kept += plain[i] == 'y' ? 1 : 0;
  }
  std::printf("%d %.6f %.6f %d\n", nitem, plain_seconds, indexed_seconds, kept);
  return 0;
}
