// ren on random meshes with many equal and nearly equal coordinates, against a plain model of
// the renumbering: the sort, the grouping, the joining and the writing rules, nothing else.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "edit/sorting.h"
#include "support/session.h"

using namespace session;

namespace {

using Coords = std::vector<std::array<double, 4>>;  // [point][1..3], index 0 unused
const auto at = [](const std::array<double, 4>& x) { return Point{x[1], x[2], x[3]}; };

// The partition-exchange sort of order[lo .. hi] by v[order[k]][d], middle pivot, recursion on
// the left part and a loop on the right part.
void qsortp(int d, int lo, int hi, std::vector<int>& order, const Coords& v) {
  for (;;) {
    double pivot = v[order[(lo + hi) / 2]][d];
    int i = lo, j = hi;
    do {
      while (v[order[i]][d] < pivot) ++i;
      while (pivot < v[order[j]][d]) --j;
      if (i <= j) std::swap(order[i++], order[j--]);
    } while (i <= j);
    if (lo < j) qsortp(d, lo, j, order, v);
    if (i >= hi) return;
    lo = i;
  }
}

void sortc3(int d1, int d2, int d3, int n, double tol, std::vector<int>& order, const Coords& v) {
  qsortp(d1, 1, n, order, v);
  for (int i = 1, j; i <= n; i = j) {
    for (j = i + 1; j <= n && std::abs(v[order[j]][d1] - v[order[j - 1]][d1]) < tol;) ++j;
    qsortp(d2, i, j - 1, order, v);
    for (int s = i, k; s != j; s = k) {
      for (k = s + 1; k <= j - 1 && std::abs(v[order[k]][d2] - v[order[k - 1]][d2]) < tol;) ++k;
      qsortp(d3, s, k - 1, order, v);
    }
  }
}

struct Mesh {
  std::vector<std::vector<int>> elements;  // node lists, element 0 unused
  Coords points;                           // point 0 unused
  std::vector<int> specials;               // special node 0 unused
};

struct Answers {
  int d1, d2, d3;
  char sort_elements, sort_special, connect;
  std::string tol;
};

// The file ren writes, and its report of the largest difference between an element's nodes.
struct Expected {
  std::string file, report;
};

Expected renumber(const Mesh& in, const Answers& a) {
  const int nelem = static_cast<int>(in.elements.size()) - 1;
  const int npoin = static_cast<int>(in.points.size()) - 1;
  const double tol = std::strtod(a.tol.c_str(), nullptr);
  Coords centres(nelem + 1);
  for (int e = 1; e <= nelem; ++e)
    for (int j = 1; j <= 3; ++j) {
      double lo = 1e30, hi = -1e30;
      for (int p : in.elements[e])
        lo = std::min(lo, in.points[p][j]), hi = std::max(hi, in.points[p][j]);
      centres[e][j] = (hi + lo) * 0.5;
    }
  std::vector<int> order(npoin + 1), element_order(nelem + 1), position(npoin + 1);
  for (int k = 0; k <= npoin; ++k) order[k] = k;
  for (int e = 0; e <= nelem; ++e) element_order[e] = e;
  sortc3(a.d1, a.d2, a.d3, npoin, tol, order, in.points);
  for (int k = 1; k <= npoin; ++k) position[order[k]] = k;
  if (a.sort_elements == 'y' && nelem > 0)
    sortc3(a.d1, a.d2, a.d3, nelem, tol, element_order, centres);
  // Final number of every sorted position; a position joins the one just before it.
  std::vector<int> final_of(npoin + 1);
  std::vector<bool> keep(npoin + 1, true);
  int nfinal = 0;
  for (int k = 1; k <= npoin; ++k) {
    bool joined = a.connect == 'y' && k > 1;
    for (int j = 1; j <= 3 && joined; ++j)
      joined = std::abs(in.points[order[k]][j] - in.points[order[k - 1]][j]) <= tol;
    keep[k] = !joined;
    final_of[k] = nfinal += !joined;
  }
  int difference = 0;
  std::vector<int> spreads;
  std::vector<std::vector<int>> elements;
  for (int i = 1; i <= nelem; ++i) {
    std::vector<int> nodes;
    for (int p : in.elements[element_order[i]]) nodes.push_back(final_of[position[p]]);
    spreads.push_back(*std::max_element(nodes.begin(), nodes.end()) -
                      *std::min_element(nodes.begin(), nodes.end()));
    difference = std::max(difference, spreads.back());
    if (nodes.size() == 2 && nodes[0] > nodes[1]) std::swap(nodes[0], nodes[1]);
    elements.push_back(nodes);
  }
  std::string report = "maximum difference:\n";  // then the elements that reach it
  for (int i = 1; i <= nelem; ++i)
    if (spreads[i - 1] == difference) report += format(" %7d", i);
  std::vector<Point> points;
  for (int k = 1; k <= npoin; ++k)
    if (keep[k]) points.push_back(at(in.points[order[k]]));
  std::vector<int> specials;
  for (std::size_t s = 1; s < in.specials.size(); ++s)
    specials.push_back(final_of[position[in.specials[s]]]);
  if (a.sort_special == 'y') {
    std::sort(specials.begin(), specials.end());
    specials.erase(std::unique(specials.begin(), specials.end()), specials.end());
  }
  return {mesh_file("Random", "Mesh", elements, points, specials),
          report + format("\n\nMaximum difference between nodes of the same element = %8d\n",
                          difference)};
}

}  // namespace

TEST(Ren, RandomMeshesAgainstAModel) {
  // Values with at most 8 decimals, so that the file holds them exactly; several lie closer to
  // each other than the tolerances below, some chain.
  const double values[] = {0, 1, 2, 0.000004, 0.000008, 0.000012, 1.000005, 2.00001, 0.5, -1};
  const char* const tolerances[] = {"1e-05", "0", "-1", "0.000006", "0.6", "0.5", "1"};
  const int sizes[] = {1, 2, 3, 4, 5, 8, 9, 20};
  std::mt19937 random(20240611);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };

  for (int trial = 0; trial < 60; ++trial) {
    int npoin = 1 + pick(40), nelem = pick(12);
    Mesh in{{{}}, Coords(npoin + 1), {0}};  // each with its unused entry 0
    for (int p = 1; p <= npoin; ++p)
      for (int j = 1; j <= 3; ++j) in.points[p][j] = values[pick(4 + pick(7))];
    for (int e = 1; e <= nelem; ++e) {
      std::vector<int> nodes(sizes[pick(8)]);
      for (int& n : nodes) n = 1 + pick(npoin);
      in.elements.push_back(nodes);
    }
    for (int s = pick(6); s > 0; --s) in.specials.push_back(1 + pick(npoin));

    int d[3] = {1, 2, 3};
    std::shuffle(d, d + 3, random);
    Answers a{d[0], d[1], d[2], "yn"[pick(2)], "yn"[pick(2)], "yn"[pick(2)], tolerances[pick(7)]};

    std::vector<Point> points;
    for (int p = 1; p <= npoin; ++p) points.push_back(at(in.points[p]));
    Session s;
    s.write("rnd.vmz", mesh_file("Random", "Mesh", {in.elements.begin() + 1, in.elements.end()},
                                 points, {in.specials.begin() + 1, in.specials.end()}));
    std::string answers =
        format("rea\nrnd\nren\n%d\n%d\n%d\n%c\n%c\n%c\n%s\nwri\nout\nend\n", a.d1, a.d2, a.d3,
               a.sort_elements, a.sort_special, a.connect, a.tol.c_str());
    Result r = s.run(answers);
    ASSERT_EQ(r.status, 0) << r.err;

    Expected expected = renumber(in, a);
    EXPECT_EQ(s.read("out.vmz"), expected.file) << answers;
    EXPECT_NE(r.out.find(expected.report), std::string::npos) << answers;
  }
}

TEST(Ren, SpecialNodeSortMatchesTheStandardSort) {
  std::mt19937 random(777);
  for (int trial = 0; trial < 200; ++trial) {
    int n = 1 + static_cast<int>(random() % 300);
    console::OneVector<int> v(n);
    for (int& x : v) x = static_cast<int>(random() % 20) - 5;
    std::vector<int> expected(v.begin(), v.end());
    int lo = 1 + static_cast<int>(random() % n),
        hi = lo + static_cast<int>(random() % (n - lo + 1));
    std::sort(expected.begin() + (lo - 1), expected.begin() + hi);
    edit::qsorti(lo, hi, v);
    ASSERT_EQ(std::vector<int>(v.begin(), v.end()), expected) << "trial " << trial;
  }
}
