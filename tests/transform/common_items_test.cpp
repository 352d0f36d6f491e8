// The indexed search for common faces and bars against the plain search it replaces: each kept
// item compared with every later one.
#include "transform/common_items.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <string>
#include <vector>

using console::OneMatrix;
using console::OneVector;
using transform::CommonRule;

namespace {

// The search as first stated, quadratic: for each item i still kept, the first later item j
// still kept whose key differs by less than 1e-8 and that holds every node of i.
std::string reference_flags(const OneMatrix<int>& items, const OneVector<double>& keys,
                            CommonRule rule) {
  const int n = items.rows();
  std::string flags(static_cast<std::size_t>(n), 'y');
  auto flag = [&](int i) -> char& { return flags[static_cast<std::size_t>(i - 1)]; };
  for (int i = 1; i <= n; ++i) {
    if (flag(i) != 'y') continue;
    for (int j = i + 1; j <= n; ++j) {
      if (flag(j) != 'y') continue;
      if (!(std::fabs(keys[i] - keys[j]) < 1e-8)) continue;
      bool holds = true;
      for (int a = 1; a <= items.cols() && holds; ++a) {
        bool found = false;
        for (int b = 1; b <= items.cols(); ++b) found = found || items(j, b) == items(i, a);
        holds = found;
      }
      if (holds) {
        flag(j) = 'n';
        if (rule == CommonRule::drop_both) flag(i) = 'n';
        break;
      }
    }
  }
  return flags;
}

std::string fast_flags(const OneMatrix<int>& items, const OneVector<double>& keys,
                       CommonRule rule) {
  OneVector<char> flags(items.rows());
  transform::flag_common_items(items, keys, rule, flags);
  return std::string(flags.begin(), flags.end());
}

OneMatrix<int> table(const std::vector<std::vector<int>>& rows) {
  OneMatrix<int> items(static_cast<int>(rows.size()), static_cast<int>(rows.at(0).size()));
  for (int i = 1; i <= items.rows(); ++i) {
    for (int k = 1; k <= items.cols(); ++k) items(i, k) = rows[i - 1][k - 1];
  }
  return items;
}

OneVector<double> vector_of(const std::vector<double>& values) {
  OneVector<double> v(static_cast<int>(values.size()));
  for (int i = 1; i <= v.size(); ++i) v[i] = values[i - 1];
  return v;
}

OneMatrix<double> coordinates(const std::vector<std::array<double, 3>>& points) {
  OneMatrix<double> coord(static_cast<int>(points.size()), 3);
  for (int p = 1; p <= coord.rows(); ++p) {
    for (int d = 1; d <= 3; ++d) coord(p, d) = points[p - 1][d - 1];
  }
  return coord;
}

OneVector<double> keys_of(const OneMatrix<int>& items, const OneMatrix<double>& coord) {
  OneVector<double> keys(items.rows());
  transform::item_keys(items, coord, keys);
  return keys;
}

// Both rules: the indexed search gives the flags of the plain one.
void expect_same_as_reference(const OneMatrix<int>& items, const OneVector<double>& keys,
                              const std::string& what) {
  for (CommonRule rule : {CommonRule::drop_both, CommonRule::drop_later}) {
    const std::string expected = reference_flags(items, keys, rule);
    ASSERT_EQ(fast_flags(items, keys, rule), expected)
        << what << (rule == CommonRule::drop_both ? " (drop both)" : " (drop later)");
  }
}

}  // namespace

// ---- the rules, on small tables written out by hand ----

TEST(ItemKeys, SumAllThreeCoordinatesOfEveryNodeRepeatsIncluded) {
  OneMatrix<double> coord = coordinates({{1, 2, 3}, {0.5, 0.25, 4}, {-1, 0, 0.125}});
  OneVector<double> keys = keys_of(table({{1, 2}, {2, 3}, {3, 3}}), coord);
  EXPECT_EQ(keys[1], 10.75);
  EXPECT_EQ(keys[2], 3.875);
  EXPECT_EQ(keys[3], -1.75);
}

TEST(CommonItems, CopiesWithAnotherOrderOrStartingPointAreCommon) {
  OneMatrix<int> items = table({{1, 2, 3, 4}, {5, 6, 7, 8}, {3, 4, 1, 2}, {8, 7, 6, 5}});
  OneVector<double> keys = vector_of({10, 26, 10, 26});
  EXPECT_EQ(fast_flags(items, keys, CommonRule::drop_both), "nnnn");
  EXPECT_EQ(fast_flags(items, keys, CommonRule::drop_later), "yynn");
}

TEST(CommonItems, KeysMustDifferByLessThanTheTolerance) {
  // The same nodes everywhere; only the keys decide.
  OneMatrix<int> items = table({{1, 2}, {2, 1}, {1, 2}, {2, 1}});
  EXPECT_EQ(fast_flags(items, vector_of({0, 1e-8, 2e-8, 3.5e-8}), CommonRule::drop_both), "yyyy");
  EXPECT_EQ(fast_flags(items, vector_of({0, 0.99e-8, 5, 5.5e-9}), CommonRule::drop_both), "nnyy");
  EXPECT_EQ(fast_flags(items, vector_of({0, 0.99e-8, 5, 5.5e-9}), CommonRule::drop_later), "ynyy");
}

TEST(CommonItems, EqualKeysWithOtherPointNumbersAreNotCommon) {
  // Points 5 to 8 lie where points 1 to 4 lie: same key, other numbers.
  OneMatrix<int> items = table({{1, 2, 3, 4}, {5, 6, 7, 8}});
  OneVector<double> keys = vector_of({4, 4});
  EXPECT_EQ(fast_flags(items, keys, CommonRule::drop_both), "yy");
  EXPECT_EQ(fast_flags(items, keys, CommonRule::drop_later), "yy");
}

TEST(CommonItems, LaterItemMustHoldEveryNodeOfTheEarlierOne) {
  // A degenerate item (1 twice) is held by a later item naming 1, 2 and 3; the opposite is
  // not so: a degenerate later item does not hold all four nodes of an earlier one.
  OneMatrix<int> degenerate_first = table({{1, 1, 2, 3}, {3, 2, 1, 4}});
  OneMatrix<int> degenerate_last = table({{3, 2, 1, 4}, {1, 1, 2, 3}});
  OneVector<double> keys = vector_of({7, 7});
  EXPECT_EQ(fast_flags(degenerate_first, keys, CommonRule::drop_both), "nn");
  EXPECT_EQ(fast_flags(degenerate_last, keys, CommonRule::drop_both), "yy");
}

TEST(CommonItems, TheFirstLaterCopyIsTakenEvenWhenALaterOneFitsBetter) {
  // Item 1 (points 1 and 2) is held by item 2 (1, 2, 5) before its exact copy, item 3.
  OneMatrix<int> items = table({{1, 1, 2}, {5, 2, 1}, {2, 1, 1}});
  OneVector<double> keys = vector_of({3, 3, 3});
  EXPECT_EQ(fast_flags(items, keys, CommonRule::drop_both), "nny");
  EXPECT_EQ(fast_flags(items, keys, CommonRule::drop_later), "yny");
}

TEST(CommonItems, EachItemRemovesOnlyOneCopy) {
  OneMatrix<int> three = table({{4, 9}, {4, 9}, {4, 9}});
  OneMatrix<int> four = table({{4, 9}, {4, 9}, {4, 9}, {4, 9}});
  EXPECT_EQ(fast_flags(three, vector_of({1, 1, 1}), CommonRule::drop_both), "nny");
  EXPECT_EQ(fast_flags(three, vector_of({1, 1, 1}), CommonRule::drop_later), "yny");
  EXPECT_EQ(fast_flags(four, vector_of({1, 1, 1, 1}), CommonRule::drop_both), "nnnn");
  EXPECT_EQ(fast_flags(four, vector_of({1, 1, 1, 1}), CommonRule::drop_later), "ynyn");
}

TEST(CommonItems, DroppedItemsNeitherSearchNorAreFound) {
  // Item 2 is dropped by item 1 with both rules; with drop_later item 2 would otherwise have
  // removed item 3, which it must not.
  OneMatrix<int> items = table({{1, 2}, {1, 2}, {1, 2}});
  OneVector<double> keys = vector_of({0, 0.6e-8, 1.2e-8});
  EXPECT_EQ(fast_flags(items, keys, CommonRule::drop_both), "nny");
  EXPECT_EQ(fast_flags(items, keys, CommonRule::drop_later), "yny");
}

TEST(CommonItems, EmptyTableAndSingleItem) {
  OneMatrix<int> none(0, 4);
  OneVector<double> no_keys(0);
  EXPECT_EQ(fast_flags(none, no_keys, CommonRule::drop_both), "");
  EXPECT_EQ(fast_flags(table({{3, 3, 3, 3}}), vector_of({0}), CommonRule::drop_both), "y");
}

// ---- the indexed search against the plain one on random tables ----

namespace {

// Local nodes of the six faces of an 8-node brick.
constexpr int brick_faces[6][4] = {
    {1, 2, 3, 4}, {5, 6, 7, 8}, {1, 4, 8, 5}, {2, 3, 7, 6}, {1, 2, 6, 5}, {4, 3, 7, 8},
};

// Node orders that keep a brick a brick, so that shared faces appear in other orders and from
// other starting points: the identity, the rings turned, the rings swapped, both.
constexpr int brick_orders[4][8] = {
    {1, 2, 3, 4, 5, 6, 7, 8},
    {2, 3, 4, 1, 6, 7, 8, 5},
    {5, 8, 7, 6, 1, 4, 3, 2},
    {8, 7, 6, 5, 4, 3, 2, 1},
};

struct RandomMesh {
  std::vector<std::array<int, 8>> bricks;
  std::vector<std::array<double, 3>> points;
};

// A block of bricks on shared points, then spoiled at random: bricks repeated, turned,
// collapsed (two nodes made one) and moved onto duplicate points that coincide with the
// originals, and the order of the bricks shuffled.
RandomMesh random_brick_mesh(std::mt19937& rng) {
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  RandomMesh mesh;
  const int nx = pick(1, 3), ny = pick(1, 3), nz = pick(1, 3);
  // Small steps keep the keys of a face nearly equal in any order; huge ones make rounding
  // differences between orders larger than the tolerance.
  const double step = pick(0, 4) == 0 ? 123456789.123 : 0.1;
  auto id = [&](int i, int j, int k) { return 1 + i + (nx + 1) * (j + (ny + 1) * k); };
  for (int k = 0; k <= nz; ++k)
    for (int j = 0; j <= ny; ++j)
      for (int i = 0; i <= nx; ++i) mesh.points.push_back({step * i, step * j, step * k});
  for (int k = 0; k < nz; ++k)
    for (int j = 0; j < ny; ++j)
      for (int i = 0; i < nx; ++i)
        mesh.bricks.push_back({id(i, j, k), id(i + 1, j, k), id(i + 1, j + 1, k), id(i, j + 1, k),
                               id(i, j, k + 1), id(i + 1, j, k + 1), id(i + 1, j + 1, k + 1),
                               id(i, j + 1, k + 1)});
  const int nbrick = static_cast<int>(mesh.bricks.size());
  for (int copies = pick(0, 3); copies > 0; --copies) {
    mesh.bricks.push_back(mesh.bricks[static_cast<std::size_t>(pick(0, nbrick - 1))]);
  }
  for (auto& brick : mesh.bricks) {
    std::array<int, 8> turned{};
    const int order = pick(0, 3);
    for (int k = 0; k < 8; ++k) turned[k] = brick[brick_orders[order][k] - 1];
    brick = turned;
    if (pick(0, 5) == 0) brick[pick(0, 7)] = brick[pick(0, 7)];
  }
  for (int twins = pick(0, 3); twins > 0; --twins) {
    const int original = pick(1, static_cast<int>(mesh.points.size()));
    mesh.points.push_back(mesh.points[static_cast<std::size_t>(original - 1)]);
    const int twin = static_cast<int>(mesh.points.size());
    for (auto& brick : mesh.bricks) {
      for (int& node : brick) {
        if (node == original && pick(0, 1) == 0) node = twin;
      }
    }
  }
  std::shuffle(mesh.bricks.begin(), mesh.bricks.end(), rng);
  return mesh;
}

OneMatrix<int> face_table(const RandomMesh& mesh) {
  OneMatrix<int> faces(6 * static_cast<int>(mesh.bricks.size()), 4);
  for (int e = 1; e <= static_cast<int>(mesh.bricks.size()); ++e) {
    for (int f = 1; f <= 6; ++f) {
      for (int k = 1; k <= 4; ++k) {
        faces(6 * (e - 1) + f, k) = mesh.bricks[e - 1][brick_faces[f - 1][k - 1] - 1];
      }
    }
  }
  return faces;
}

}  // namespace

TEST(CommonItemsRandom, BrickFacesOfSpoiledBlocks) {
  std::mt19937 rng(20240601);
  for (int round = 0; round < 400; ++round) {
    RandomMesh mesh = random_brick_mesh(rng);
    OneMatrix<int> faces = face_table(mesh);
    OneVector<double> keys = keys_of(faces, coordinates(mesh.points));
    expect_same_as_reference(faces, keys, "brick round " + std::to_string(round));
  }
}

TEST(CommonItemsRandom, ShellSidesWithPagesAroundASide) {
  // Quadrilaterals of a grid, plus extra shells hinged on sides of the grid (three or more
  // shells on one side), as 2-node bars (smaller point first) and 3-node bars (side order,
  // mid-side points shared like the corners).
  std::mt19937 rng(77);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int round = 0; round < 400; ++round) {
    const int nx = pick(1, 4), ny = pick(1, 4);
    std::vector<std::array<double, 3>> points;
    auto id = [&](int i, int j) { return 1 + i + (2 * nx + 1) * j; };
    for (int j = 0; j <= 2 * ny; ++j)
      for (int i = 0; i <= 2 * nx; ++i) points.push_back({0.05 * i, 0.05 * j, 0.0});
    std::vector<std::array<int, 8>> shells;
    for (int j = 0; j < ny; ++j)
      for (int i = 0; i < nx; ++i) {
        const int a = 2 * i, b = 2 * j;
        shells.push_back({id(a, b), id(a + 1, b), id(a + 2, b), id(a + 2, b + 1), id(a + 2, b + 2),
                          id(a + 1, b + 2), id(a, b + 2), id(a, b + 1)});
      }
    for (int pages = pick(0, 4); pages > 0; --pages) {
      const auto& base = shells[static_cast<std::size_t>(pick(0, nx * ny - 1))];
      std::array<int, 8> page{};
      page[0] = base[2];  // the page turns on the base shell's side 3-4-5, either way round
      page[1] = base[3];
      page[2] = base[4];
      if (pick(0, 1) == 0) std::swap(page[0], page[2]);
      for (int k = 3; k < 8; ++k) {
        points.push_back({0.05 * k, 0.05 * pages, 1.0 + 0.1 * pick(0, 2)});
        page[k] = static_cast<int>(points.size());
      }
      shells.insert(shells.begin() + pick(0, static_cast<int>(shells.size())), page);
    }
    const int nshell = static_cast<int>(shells.size());
    OneMatrix<int> bars2(4 * nshell, 2);
    OneMatrix<int> bars3(4 * nshell, 3);
    for (int e = 1; e <= nshell; ++e) {
      const auto& s = shells[e - 1];
      const int corners[4] = {s[0], s[2], s[4], s[6]};
      for (int b = 1; b <= 4; ++b) {
        const int p = corners[b - 1], q = corners[b % 4];
        bars2(4 * (e - 1) + b, 1) = std::min(p, q);
        bars2(4 * (e - 1) + b, 2) = std::max(p, q);
        for (int k = 1; k <= 3; ++k) bars3(4 * (e - 1) + b, k) = s[(2 * (b - 1) + k - 1) % 8];
      }
    }
    OneMatrix<double> coord = coordinates(points);
    expect_same_as_reference(bars2, keys_of(bars2, coord), "2-node round " + std::to_string(round));
    expect_same_as_reference(bars3, keys_of(bars3, coord), "3-node round " + std::to_string(round));
  }
}

TEST(CommonItemsRandom, SmallPointPoolsWithRepeatsAndTies) {
  // Few points, many items: repeated nodes, items that hold others, equal keys of other point
  // sets (lattice coordinates), keys placed around the edge of the tolerance, and points that
  // dozens of items share.
  std::mt19937 rng(4242);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const double offsets[] = {0.0, 0.4e-8, 0.9e-8, 1e-8, 1.6e-8, -0.7e-8, -1e-8};
  for (int round = 0; round < 3000; ++round) {
    const int widths[] = {2, 3, 4, 8};
    const int width = widths[pick(0, 3)];
    const int npoint = pick(1, width + 4);
    const int nitem = pick(1, round % 4 == 0 ? 200 : 60);
    OneMatrix<int> items(nitem, width);
    for (int i = 1; i <= nitem; ++i) {
      for (int k = 1; k <= width; ++k) items(i, k) = pick(1, npoint);
    }
    OneVector<double> keys(nitem);
    if (pick(0, 1) == 0) {
      std::vector<std::array<double, 3>> lattice;
      for (int p = 0; p < npoint; ++p) lattice.push_back({1.0 * pick(0, 2), 0.0, 1.0 * pick(0, 1)});
      keys = keys_of(items, coordinates(lattice));
    } else {
      for (int i = 1; i <= nitem; ++i) keys[i] = pick(0, 2) + offsets[pick(0, 6)];
    }
    expect_same_as_reference(items, keys, "pool round " + std::to_string(round));
  }
}

TEST(CommonItemsRandom, FansAroundAPointManyElementsMeet) {
  // Shells around a hub point (a disk of quadrilaterals, some repeated, some collapsed onto
  // the hub), as 2-node bars and as rows of all four points: far more items share the hub
  // than share any other point.
  std::mt19937 rng(9001);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int round = 0; round < 60; ++round) {
    const int nsector = pick(20, 150);
    const int hub = pick(1, 2 * nsector + 1);  // the hub is not always the smallest number
    std::vector<std::array<double, 3>> points(static_cast<std::size_t>(2 * nsector + 1));
    std::vector<int> number(static_cast<std::size_t>(2 * nsector));  // rim points
    int next_number = 1;
    for (int& n : number) {
      if (next_number == hub) ++next_number;
      n = next_number++;
    }
    points[static_cast<std::size_t>(hub - 1)] = {0, 0, 0};
    for (int k = 0; k < 2 * nsector; ++k) {
      const double angle = 3.14159 * k / nsector;
      const double radius = k % 2 == 0 ? 1.0 : 2.0;
      points[static_cast<std::size_t>(number[k] - 1)] = {radius * std::cos(angle),
                                                         radius * std::sin(angle), 0.0};
    }
    std::vector<std::array<int, 4>> shells;
    for (int k = 0; k < nsector; ++k) {
      std::array<int, 4> q = {hub, number[2 * k], number[2 * k + 1],
                              number[(2 * k + 2) % (2 * nsector)]};
      if (pick(0, 9) == 0) q[pick(1, 3)] = hub;
      shells.push_back(q);
      if (pick(0, 4) == 0) shells.push_back(q);
    }
    std::shuffle(shells.begin(), shells.end(), rng);
    const int nshell = static_cast<int>(shells.size());
    OneMatrix<int> bars(4 * nshell, 2);
    OneMatrix<int> rows(nshell, 4);
    for (int e = 1; e <= nshell; ++e) {
      for (int b = 1; b <= 4; ++b) {
        const int p = shells[e - 1][b - 1], q = shells[e - 1][b % 4];
        bars(4 * (e - 1) + b, 1) = std::min(p, q);
        bars(4 * (e - 1) + b, 2) = std::max(p, q);
        rows(e, b) = shells[e - 1][b - 1];
      }
    }
    OneMatrix<double> coord = coordinates(points);
    expect_same_as_reference(bars, keys_of(bars, coord), "fan bars " + std::to_string(round));
    expect_same_as_reference(rows, keys_of(rows, coord), "fan shells " + std::to_string(round));
  }
}
