// bts (bricks to shells) and stf (shells to bars) against a plain model on random meshes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "support/session.h"
#include "transform/common_items.h"

using namespace session;
using transform::CommonRule;
using Items = std::vector<std::vector<int>>;

namespace {

// Faces of 8- and 20-node bricks, sides of 4- and 8/9-node shells, as local node numbers.
const Items faces8 = {{1, 2, 3, 4}, {5, 6, 7, 8}, {1, 4, 8, 5},
                      {2, 3, 7, 6}, {1, 2, 6, 5}, {4, 3, 7, 8}};
const Items faces20 = {{1, 8, 7, 12, 19, 20, 13, 9}, {3, 4, 5, 11, 17, 16, 15, 10},
                       {1, 2, 3, 10, 15, 14, 13, 9}, {7, 6, 5, 11, 17, 18, 19, 12},
                       {1, 2, 3, 4, 5, 6, 7, 8},     {13, 14, 15, 16, 17, 18, 19, 20}};
const Items bars4 = {{1, 2}, {2, 3}, {3, 4}, {4, 1}};
const Items bars8 = {{1, 2, 3}, {3, 4, 5}, {5, 6, 7}, {7, 8, 1}};
const Items& table_of(bool bts, int nnode) {
  return bts ? (nnode == 8 ? faces8 : faces20) : (nnode == 4 ? bars4 : bars8);
}

// Plain search: the first later kept item within 1e-8 in key holding i is dropped; i too if both.
std::string reference_flags(const Items& items, const std::vector<double>& keys, bool both) {
  std::string flags(items.size(), 'y');
  for (std::size_t i = 0; i < items.size(); ++i) {
    for (std::size_t j = i + 1; j < items.size() && flags[i] == 'y'; ++j) {
      if (flags[j] != 'y' || !(std::fabs(keys[i] - keys[j]) < 1e-8)) continue;
      bool holds = std::all_of(items[i].begin(), items[i].end(), [&](int n) {
        return std::find(items[j].begin(), items[j].end(), n) != items[j].end();
      });
      if (holds) flags[j] = 'n', flags[i] = both ? 'n' : 'y', j = items.size();
    }
  }
  return flags;
}

std::string fast_flags(const Items& items, const std::vector<double>& keys, bool both) {
  console::OneMatrix<int> table(int(items.size()), int(items[0].size()));
  console::OneVector<double> key(table.rows());
  for (int i = 1; i <= table.rows(); ++i) {
    for (int k = 1; k <= table.cols(); ++k) table(i, k) = items[i - 1][k - 1];
    key[i] = keys[i - 1];
  }
  console::OneVector<char> flags(table.rows());
  transform::flag_common_items(table, key, both ? CommonRule::drop_both : CommonRule::drop_later,
                               flags);
  return std::string(flags.begin(), flags.end());
}

// The element lines that bts or stf writes for these elements.
Items model(bool bts, const Items& elements, const std::vector<Point>& points, bool eliminate) {
  Items items;
  std::vector<double> keys;
  for (std::vector<int> e : elements) {
    if (e.size() > 1 && e.front() == e.back()) e.pop_back();  // a closed list
    for (const auto& local : table_of(bts, int(e.size()))) {
      std::vector<int> item;
      double key = 0;
      for (int k : local) item.push_back(e[k - 1]);
      if (item.size() == 2 && item[0] > item[1]) std::swap(item[0], item[1]);
      for (int n : item) key += points[n - 1][0] + points[n - 1][1] + points[n - 1][2];
      items.push_back(item);
      keys.push_back(key);
    }
  }
  const std::string flags = reference_flags(items, keys, bts);
  Items written;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (eliminate && flags[i] != 'y') continue;
    written.push_back(items[i]);
    if (bts) written.back().push_back(items[i][0]);
  }
  return written;
}

// Random elements sharing a shuffled item of an earlier one, repeating one, or apart.
struct Mesh {
  Items elements;
  std::vector<Point> points;
  std::vector<int> specials;
};
Mesh random_mesh(std::mt19937& rng, bool bts, int nnode) {
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  auto any = [&](const Items& v) { return v[pick(0, int(v.size()) - 1)]; };
  const Items& table = table_of(bts, nnode);
  Mesh m;
  auto fresh = [&] {
    m.points.push_back({0.5 * pick(0, 2), 0.5 * pick(0, 1), 0.25 * pick(0, 2)});
    return int(m.points.size());
  };
  for (int count = pick(1, 7); count > 0; --count) {
    std::vector<int> e(nnode, 0);
    const int how = m.elements.empty() ? 2 : pick(0, 5);
    const std::vector<int> from = m.elements.empty() ? e : any(m.elements);
    if (how == 0) e.assign(from.begin(), from.begin() + nnode);
    std::vector<int> shared, to = any(table);
    for (int k : any(table)) shared.push_back(from[k - 1]);
    std::shuffle(shared.begin(), shared.end(), rng);
    for (std::size_t k = 0; how >= 3 && k < to.size(); ++k) e[to[k] - 1] = shared[k];
    for (int& n : e) {
      if (n == 0) n = pick(0, 4) == 0 ? pick(1, int(m.points.size()) + 1) : 0;
      if (n == 0 || n > int(m.points.size())) n = fresh();
    }
    if (e.back() == e.front()) e.back() = fresh();
    if (nnode != 20 && pick(0, 1) == 0) e.push_back(e.front());
    m.elements.push_back(e);
  }
  for (int k = pick(0, 2); k > 0; --k) m.specials.push_back(pick(1, int(m.points.size())));
  return m;
}

std::string dialogue(bool bts, const std::string& answer) {
  return step(bts ? "bts" : "stf") +
         (bts ? "\nTransform each brick element in six shell elements\n"
              : "\nTransform each shell element in four frame elements\n") +
         ask_char(bts ? "Eliminate common faces" : "Eliminate common bars", 'y', 'n', 'y', answer);
}

}  // namespace

TEST(CommonItems, IndexedSearchMatchesPlainSearch) {
  // Few points, many items: repeated nodes, equal keys, keys at the edge of the tolerance.
  std::mt19937 rng(4242);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const double offsets[] = {0.0, 0.4e-8, 0.9e-8, 1e-8, 1.6e-8, -0.7e-8, -1e-8};
  for (int round = 0; round < 3000; ++round) {
    const int width = std::vector<int>{2, 3, 4, 8}[pick(0, 3)];
    const int npoint = pick(1, round % 3 == 0 ? 4 * width : width + 4);
    Items items(pick(1, round % 4 == 0 ? 200 : 60));
    std::vector<double> keys, lattice;
    for (int p = 0; p < npoint; ++p) lattice.push_back(pick(0, 2) + 0.5 * pick(0, 1));
    const bool by_points = pick(0, 1) == 0;
    for (auto& item : items) {
      double key = by_points ? 0 : pick(0, 2) + offsets[pick(0, 6)];
      for (int k = 0; k < width; ++k) item.push_back(pick(1, npoint));
      for (int n : item) key += by_points ? lattice[n - 1] : 0;
      keys.push_back(key);
    }
    for (bool both : {true, false}) {
      ASSERT_EQ(fast_flags(items, keys, both), reference_flags(items, keys, both))
          << "round " << round << (both ? " drop both" : " drop later");
    }
  }
}

TEST(Transform, RandomMeshesAgreeWithTheModel) {
  std::mt19937 rng(20240601);
  const std::pair<bool, int> kinds[] = {{true, 8}, {true, 20}, {false, 4}, {false, 8}, {false, 9}};
  for (const auto& [bts, nnode] : kinds) {
    for (int round = 0; round < 16; ++round) {
      const Mesh m = random_mesh(rng, bts, nnode);
      const int np = int(m.points.size()), ns = int(m.specials.size());
      const std::string answer = round % 3 == 0 ? "" : round % 3 == 1 ? "y" : "n";
      const Items written = model(bts, m.elements, m.points, answer != "n");
      const int n = int(written.size());
      Session s;
      s.write("m.vmz", mesh_file("Random mesh", "Rnd", m.elements, m.points, m.specials));
      Result r = s.run("rea\nm\n" + std::string(bts ? "bts" : "stf") + "\n" + answer +
                       "\nwri\nout\nend\n");
      SCOPED_TRACE(format("%d nodes, round %d", nnode, round));
      EXPECT_EQ(r.out,
                startup() +
                    rea_step("new", "m", "Random mesh", "Rnd", int(m.elements.size()), np, ns) +
                    dialogue(bts, answer) + "\nWriting file: tmp.vmz\n" +
                    handback_reading("Random mesh", "Rnd", n, np, ns) +
                    wri_step("m", "out", n, np, ns) + step("end") + leave());
      EXPECT_EQ(s.read("out.vmz"), mesh_file("Random mesh", "Rnd", written, m.points, m.specials));
    }
  }
}

TEST(Transform, RefusalsLeaveTheBufferAsItWas) {
  const std::vector<Point> points(20, Point{1, 2, 3});
  const struct {
    bool bts;
    Items elements;
    int count, checking;  // the node count named, and the element that differs (0: none)
  } rows[] = {
      {true, {{1, 2, 3, 4, 5, 6, 7, 8}, {1, 2, 3, 4, 1}}, 4, 2},
      {true, {{1, 2, 3, 4, 1}, {5, 6, 7, 8, 5}}, 4, 0},
      {true, {{1, 2, 3, 4, 5, 6, 7, 8, 9}}, 9, 0},
      {false, {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20}}, 20, 0},
      {false, {{1, 2, 3}}, 3, 0},
      {false, {{1, 2, 5, 4, 1}, {1, 2, 3, 4, 5, 6, 7, 8, 1}, {1, 2}}, 8, 2},
  };
  for (const auto& row : rows) {
    const int nelem = int(row.elements.size());
    Session s;
    const std::string input = mesh_file("Refused", "R", row.elements, points, {4});
    s.write("m.vmz", input);
    Result r = s.run("rea\nm\n" + std::string(row.bts ? "bts" : "stf") + "\nn\n\nwri\nout\nend\n");
    EXPECT_EQ(r.out,
              startup() + rea_step("new", "m", "Refused", "R", nelem, 20, 1) +
                  dialogue(row.bts, "n") +
                  "\nNo transformation (previous data unchanged) - press the Return key ... \n" +
                  wri_step("m", "out", nelem, 20, 1) + step("end") + leave());
    EXPECT_EQ(r.err, (row.checking > 0 ? format("\nChecking element n. %8d\n", row.checking) : "") +
                         format("\nN. of nodes per element = %8d\n", row.count) +
                         warning(row.checking > 0 ? "N. of nodes per element must be constant"
                                 : row.bts        ? "N. of nodes per element must be 8 or 20"
                                                  : "N. of nodes per element must be 4, 8 or 9"));
    EXPECT_EQ(s.read("out.vmz"), input);
  }
}
