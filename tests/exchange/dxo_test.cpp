// dxo: drawings of random meshes compared with a model of the drawing rules, read back by dxi;
// the refusals; the layer names of the entity writers.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "exchange/dxfwriter.h"
#include "exchange/dxo.h"
#include "support/drawings.h"
#include "support/inprocess.h"

using namespace session;

namespace {

struct Mesh {
  std::vector<std::vector<int>> elements;
  std::vector<Point> points;
  std::vector<int> specials;
  std::string text() const { return mesh_file("Plate", "P", elements, points, specials); }
};

// Elements of the given node counts (negative: a closed list of that many nodes) on distinct
// random points; the last point and a random one are special.
Mesh random_mesh(unsigned seed, const std::vector<int>& counts, int npoin) {
  std::mt19937 rng(seed);
  Mesh m;
  auto quarter = [&](int n) { return static_cast<int>(rng() % 161u) / 4.0 - n; };
  for (int p = 0; p < npoin; ++p) m.points.push_back({quarter(20), quarter(20), quarter(0)});
  std::vector<int> order(static_cast<std::size_t>(npoin));
  for (int n : counts) {
    std::iota(order.begin(), order.end(), 1);
    std::shuffle(order.begin(), order.end(), rng);
    m.elements.emplace_back(order.begin(), order.begin() + std::abs(n));
    if (n < 0) m.elements.back().push_back(order[0]);
  }
  m.specials = {npoin};
  if (npoin > 1) m.specials.push_back(1 + static_cast<int>(rng() % (npoin - 1)));
  return m;
}

struct Row {
  std::vector<int> counts;
  int npoin;
  std::array<std::string, 7> answers;  // frame, conversion, marks and numbers ("": default)
  std::array<std::string, 4> sizes;    // special marks, element, node, special numbers
};
const Row rows[] = {
    {{1, 2, 3, 4, -4, 5, 8, -8, 9, -9, 20}, 24, {"l", "", "y", "y", "y", "y", "y"},
     {"0.5", "0.75", "1.25", "2"}},
    {{2, 3, 4, -4, 8, -8, 9, -9, 20, 6}, 24, {"", "y", "y", "y", "y", "y", "y"}, {"", "", "", ""}},
    {{3, -9, 20}, 24, {"p", "n", "n", "n", "n", "n", "n"}, {}},
    {{}, 1, {"p", "y", "y", "y", "y", "y", "y"}, {"0.5", "0.75", "1.25", "2"}},
};

// The drawing as the export rules make it, and the reference size (the smallest element's
// largest bounding-box side).
struct Model {
  std::string drawing;
  double reference = 1e30;
};
Model model(const Mesh& m, const Row& row) {
  const bool convert = row.answers[1] == "y";
  auto at = [&](int p) {
    Point c = m.points[static_cast<std::size_t>(p - 1)];
    return convert ? Point{c[1], c[2], c[0]} : c;
  };
  auto size = [&](int i, double reference) {
    return row.sizes[i].empty() ? 0.1 * reference : std::stod(row.sizes[i]);
  };
  Model r;
  Point low{1e30, 1e30, 0}, high{-1e30, -1e30, 0};
  std::vector<std::pair<Point, Point>> boxes;
  for (const auto& e : m.elements) {
    Point lo{1e30, 1e30, 1e30}, hi{-1e30, -1e30, -1e30};
    for (int p : e) {
      for (int j = 0; j < 3; ++j) lo[j] = std::min(lo[j], at(p)[j]), hi[j] = std::max(hi[j], at(p)[j]);
    }
    r.reference = std::min(r.reference, std::max({0.0, hi[0] - lo[0], hi[1] - lo[1], hi[2] - lo[2]}));
    for (int j = 0; j < 2; ++j) low[j] = std::min(low[j], lo[j]), high[j] = std::max(high[j], hi[j]);
    boxes.push_back({lo, hi});
  }
  std::string& d = r.drawing;
  d = dxf_head + dxf_text("TITLE", xyz({low[0] + 0.05 * (high[0] - low[0]),
                                         high[1] + 0.2 * (high[1] - low[1]), 0}),
                          0.2 * r.reference, "Plate - P");
  for (const auto& e : m.elements) {
    std::vector<int> chain = e;
    std::size_t n = e.size();
    if ((n == 4 || n == 8 || n == 9) && e.front() != e.back()) chain.push_back(e.front());
    std::vector<Xyz> v;
    for (int p : chain) v.push_back(xyz(at(p)));
    if (row.answers[0] == "l") {
      for (std::size_t k = 1; k < v.size(); ++k) d += dxf_line("LINES", v[k - 1], v[k]);
    } else {
      d += dxf_polyline("LINES", v);
    }
  }
  const auto& a = row.answers;
  for (int p = 1; a[2] == "y" && p <= static_cast<int>(m.points.size()); ++p) {
    d += dxf_point("MARNO", xyz(at(p)));
  }
  for (std::size_t k = 0; a[3] == "y" && k < m.specials.size(); ++k) {
    auto [x, y, z] = at(m.specials[k]);
    double h = size(0, r.reference) / 2;
    Xyz c1 = xyz({x - h, y - h, z}), c2 = xyz({x + h, y - h, z}), c3 = xyz({x + h, y + h, z}),
        c4 = xyz({x - h, y + h, z});
    d += dxf_line("MARSN", c1, c2) + dxf_line("MARSN", c2, c3) + dxf_line("MARSN", c3, c4) +
         dxf_line("MARSN", c4, c1) + dxf_line("MARSN", c1, c3) + dxf_line("MARSN", c4, c2);
  }
  for (std::size_t e = 0; a[4] == "y" && e < boxes.size(); ++e) {
    auto [lo, hi] = boxes[e];
    double s = size(1, r.reference);
    d += dxf_text("NUMEL", xyz({(lo[0] + hi[0]) / 2 - s / 2, (lo[1] + hi[1]) / 2 - s / 2, (lo[2] + hi[2]) / 2}),
                  s, std::to_string(e + 1));
  }
  for (int p = 1; a[5] == "y" && p <= static_cast<int>(m.points.size()); ++p) {
    double s = size(2, r.reference);
    d += dxf_text("NUMNO", xyz({at(p)[0] + 0.8 * s, at(p)[1] + 0.8 * s, at(p)[2]}), s,
                  std::to_string(p));
  }
  for (std::size_t k = 0; a[6] == "y" && k < m.specials.size(); ++k) {
    Point c = at(m.specials[k]);
    double s = size(3, r.reference);
    d += dxf_text("NUMSN", xyz({c[0] + 0.8 * s, c[1] - 1.5 * s, c[2]}), s, std::to_string(k + 1));
  }
  d += dxf_end;
  return r;
}

// What dxo prints from its heading to its last question.
std::string dxo_screen(const Row& row, double reference) {
  const auto& a = row.answers;
  std::string s = job_dialogue("Write a .dxf file (AutoCad 10) with buffer a or b", "plate", "") +
                  "\nWire frame output with:\n\nl) lines\np) polylines\n" +
                  ask_char("Your choice", 'l', 'p', 'p', a[0]) + "\nCoordinate conversion:\n\n" +
                  lines({"   +---------------+", "   | .vmz  |  .dxf |", "   |---------------|",
                         "   |   x   ->   z  |", "   |   y   ->   x  |", "   |   z   ->   y  |",
                         "   +---------------+"});
  const char* questions[] = {"Perform this conversion",      "Marks   in the         nodes",
                             "Marks   in the special nodes", "Numbers in the      elements",
                             "Numbers in the         nodes", "Numbers in the special nodes"};
  for (int i = 0; i < 6; ++i) s += ask_char(questions[i], 'y', 'n', 'n', a[i + 1]);
  s += "\nWriting file: plate.dxf\n";
  const char* sizes[] = {"marks in the special nodes", "numbers in the elements",
                         "numbers in the nodes", "numbers in the special nodes"};
  for (int i = 0; i < 4; ++i) {
    if (a[i + 3] == "y") {
      s += ask_real(std::string("Size of the ") + sizes[i], format("%.15g", 0.1 * reference),
                    row.sizes[i]);
    }
  }
  return s;
}

}  // namespace

TEST(Dxo, DrawsWhatTheModelDrawsAndDxiReadsItBack) {
  unsigned seed = 7;
  for (const Row& row : rows) {
    Mesh m = random_mesh(++seed, row.counts, row.npoin);
    Model expected = model(m, row);
    Session s;
    s.write("plate.vmz", m.text());
    std::string answers = "rea\nplate\ndxo\n\n";
    for (const std::string& a : row.answers) answers += a + "\n";
    for (int i = 0; i < 4; ++i) answers += row.answers[i + 3] == "y" ? row.sizes[i] + "\n" : "";
    Result r = s.run(answers + "wri\nback\nend\n");
    int ne = static_cast<int>(m.elements.size()), np = row.npoin;
    int ns = static_cast<int>(m.specials.size());
    EXPECT_EQ(r.out, startup() + rea_step("new", "plate", "Plate", "P", ne, np, ns) +
                         step("dxo") + dxo_screen(row, expected.reference) +
                         wri_step("plate", "back", ne, np, ns) + step("end") + leave());
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(s.read("plate.dxf"), expected.drawing) << seed;
    EXPECT_EQ(s.read("back.vmz"), m.text());  // the buffer is left as it was
    if (row.answers[0] == "l") {  // lines only: nothing to import
      EXPECT_NE(s.run("dxi\nplate\nend\n").out.find(counts(0, 0, 0)), std::string::npos);
      continue;
    }
    if (m.elements.empty()) continue;
    // Every vertex of every polyline comes back as a point of its own.
    Mesh back;
    for (const auto& e : m.elements) {
      std::vector<int> chain = e;
      std::size_t n = e.size();
      if ((n == 4 || n == 8 || n == 9) && e.front() != e.back()) chain.push_back(e.front());
      back.elements.emplace_back();
      for (int p : chain) {
        Point c = m.points[static_cast<std::size_t>(p - 1)];
        back.points.push_back(row.answers[1] == "y" ? Point{c[1], c[2], c[0]} : c);
        back.elements.back().push_back(static_cast<int>(back.points.size()));
      }
    }
    r = s.run("dxi\nplate\nwri\nback\nend\n");
    EXPECT_EQ(s.read("back.vmz"), mesh_file("Main title", "Mesh", back.elements, back.points));
  }
}

TEST(Dxo, RefusesSizesOfZeroAndOutputsThatFail) {
  Session s;
  s.write("flat.vmz", mesh_file("Flat", "F", {{1, 2}, {3, 3}}, {{0, 0, 0}, {1, 0, 0}, {5, 5, 1}}));
  Result r = s.run("rea\nflat\ndxo\n\nl\n\n\n\ny\n\n\n\n0\n-1\n0.25\nend\n");
  const std::string refused = "\nERROR: positive number expected - repeat answer ...\n";
  const std::string question = "Size of the numbers in the elements";
  EXPECT_NE(r.out.find("\nWriting file: flat.dxf\n" + ask_real(question, "0", "") + refused +
                       ask_real(question, "0", "0") + refused + ask_real(question, "0", "-1") +
                       refused + ask_real(question, "0", "0.25") + step("end")),
            std::string::npos);
  EXPECT_NE(s.read("flat.dxf").find(dxf_text("NUMEL", xyz({4.875, 4.875, 1}), 0.25, "2")),
            std::string::npos);

  // A folder that does not exist, and a disk too small for the drawing.
  const std::string refusal = "\nNothing changed - press the Return key ...";
  const std::string first = s.read("flat.dxf");
  r = s.run("rea\nflat\ndxo\nno/flat\n\n\n\n\n\n\n\n\nend\n");
  EXPECT_NE(r.out.find("\nWriting file: no/flat.dxf\n" + refusal + "\n" + step("end")),
            std::string::npos);
  EXPECT_EQ(r.err, warning("Unable to open output file - jobname.dxf"));
  std::vector<std::vector<int>> bars;
  std::vector<Point> points{{0, 0, 0}};
  for (int e = 1; e <= 400; ++e) bars.push_back({e, e + 1}), points.push_back({0.5 * e, 0, 0});
  s.write("flat.vmz", mesh_file("Big", "B", bars, points));
  s.limit_file_size(32 * 1024);
  r = s.run("rea\nflat\ndxo\n\n\n\n\n\n\n\n\n\nend\n");
  EXPECT_NE(r.out.find("\nWriting file: flat.dxf\n" + refusal + " \n" + step("end")),
            std::string::npos);
  EXPECT_EQ(r.err, warning("Unable to write output file - jobname.dxf"));
  EXPECT_EQ(s.read("flat.dxf"), first);
  s.limit_file_size(0);

  // Without a point the shell refuses; called anyway, the export refuses too.
  EXPECT_EQ(s.run("dxo\nend\n").out,
            startup() + step("dxo") + "\nERROR: need at least one point\n" + step("end") + leave());
  inprocess::Console console("\n");
  exchange::vmzdxo(mesh::MeshBuffer{}, s.path("none"), mesh::Titles{});
  EXPECT_EQ(console.out(), "\nNothing changed - press the Return key ...\n");
  EXPECT_EQ(console.err(), warning("There is nothing to write in the .dxf file"));
  EXPECT_FALSE(s.exists("none.dxf"));
}

TEST(DxfWriter, LayerNamesAreTrimmedAndCutToEight) {
  inprocess::Directory dir;
  auto dxf = exchange::dxfopn("d");
  ASSERT_NE(dxf, nullptr);
  EXPECT_EQ(dxf->layer(), "0");
  dxf->dxflay("  ABCDEFGH ");
  EXPECT_EQ(dxf->layer(), "ABCDEFGH");
  dxf->dxflay(" A LONG LAYER");
  console::OneVector<double> none(0);
  dxf->dxfpol(0, none, none, none);
  dxf->dxfcls();
  EXPECT_EQ(dir.read("d.dxf"), dxf_head + dxf_polyline("A LONG L", {}) + dxf_end);
}
