// The gen command end to end: the refined mesh of every accepted combination, from a divisions
// file and from answers, the edge cases of the numbering, and the refusals.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <map>
#include <tuple>

#include "console/report.h"
#include "shell/commands.h"
#include "shell/shell.h"
#include "support/generation.h"
#include "support/session.h"

using namespace session;
using namespace generation;

namespace {

const std::string interactive_warning =
    warning("File jobname_dw.dat not found - running interactively");

// ---------------------------------------------------------------------------------------------
// A model of the refinement for straight-edged elements: the element is the affine image of its
// parametric cube, so every generated point is the image of its grid position.

struct ModelElement {
  Position origin;
  std::array<Position, 3> edges;               // images of the unit steps along s1, s2, s3
  std::array<int, 3> divisions;                // the first ngtyp are used
  std::array<std::vector<double>, 3> weights;  // per direction; empty: equal steps (-1)
  bool closed;                                 // quadrilaterals: list stored closed

  Position at(double s, double t, double u) const {
    Position x = origin;
    const double f[3] = {(s + 1) / 2, (t + 1) / 2, (u + 1) / 2};
    for (int j = 0; j < 3; ++j) {
      for (int k = 0; k < 3; ++k) x[static_cast<std::size_t>(k)] += f[j] * edges[j][k];
    }
    return x;
  }
};

// Node offsets of the generated kinds from the lower corner of a sub-element.
std::vector<std::array<int, 3>> offsets(int ngtyp, int nnodg) {
  switch (ngtyp * 100 + nnodg) {
    case 102:
      return {{0, 0, 0}, {1, 0, 0}};
    case 103:
      return {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}};
    case 204:
      return {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    case 208:
      return {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {2, 1, 0},
              {2, 2, 0}, {1, 2, 0}, {0, 2, 0}, {0, 1, 0}};
    case 209:
      return {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {2, 1, 0}, {2, 2, 0},
              {1, 2, 0}, {0, 2, 0}, {0, 1, 0}, {1, 1, 0}};
    case 308:
      return {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0},
              {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}};
    default:  // 20-node brick
      return {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {2, 1, 0}, {2, 2, 0}, {1, 2, 0}, {0, 2, 0},
              {0, 1, 0}, {0, 0, 1}, {2, 0, 1}, {2, 2, 1}, {0, 2, 1}, {0, 0, 2}, {1, 0, 2},
              {2, 0, 2}, {2, 1, 2}, {2, 2, 2}, {1, 2, 2}, {0, 2, 2}, {0, 1, 2}};
  }
}

// The buffer mesh: each element gets its own points, at the images of its node positions.
std::string model_mesh(const std::vector<ModelElement>& elements, int ngtyp, int nnode) {
  std::vector<std::vector<int>> lists;
  std::vector<Position> points;
  for (const ModelElement& e : elements) {
    std::vector<int> list;
    for (const Position& p : node_positions(ngtyp, nnode)) {
      points.push_back(e.at(p[0], p[1], p[2]));
      list.push_back(static_cast<int>(points.size()));
    }
    if (e.closed) list.push_back(list.front());
    lists.push_back(list);
  }
  return mesh_text("Model mesh", "Model", lists, points);
}

std::string model_dw_file(const std::vector<ModelElement>& elements, int ngtyp, int nnodg) {
  std::string text =
      "Model divisions\n" + std::to_string(ngtyp) + "\n" + std::to_string(nnodg) + "\n";
  for (std::size_t i = 0; i < elements.size(); ++i) {
    text += std::to_string(i + 1);
    for (int j = 0; j < ngtyp; ++j) text += " " + std::to_string(elements[i].divisions[j]);
    text += "\n";
  }
  for (std::size_t i = 0; i < elements.size(); ++i) {
    text += std::to_string(i + 1) + "\n";
    for (int j = 0; j < ngtyp; ++j) {
      const std::vector<double>& w = elements[i].weights[static_cast<std::size_t>(j)];
      if (w.empty()) text += "1 -1\n";
      for (std::size_t k = 0; k < w.size(); ++k) text += format("%zu %.17g\n", k + 1, w[k]);
    }
  }
  return text + "END_OF_FILE\n";
}

// Checks the refined mesh against the model: counts, the element node lists as grid points,
// and every point at the image of its grid position.
void expect_model(const MeshFile& out, const std::vector<ModelElement>& elements, int ngtyp,
                  int nnodg) {
  bool corner = nnodg == 2 || nnodg == 4 || (ngtyp == 3 && nnodg == 8);
  bool serendipity = (ngtyp == 2 && nnodg == 8) || nnodg == 20;
  int scale = corner ? 1 : 2;
  std::vector<std::vector<int>> lists;
  std::vector<Position> points;
  for (const ModelElement& e : elements) {
    // Positions along each direction.
    std::array<std::vector<double>, 3> pos;
    for (int j = 0; j < 3; ++j) {
      auto& p = pos[static_cast<std::size_t>(j)];
      if (j >= ngtyp) {
        p = {0.0};
        continue;
      }
      int d = e.divisions[static_cast<std::size_t>(j)];
      std::vector<double> w = e.weights[static_cast<std::size_t>(j)];
      if (w.empty()) w.assign(static_cast<std::size_t>(d), 1.0);
      double sum = 0;
      for (double x : w) sum += x;
      p = {-1.0};
      for (int m = 1; m <= scale * d; ++m) {
        double step = w[static_cast<std::size_t>((m + scale - 1) / scale - 1)] / sum;
        p.push_back(p.back() + (corner ? 2 * step : step));
      }
    }
    // Numbers of the grid points in scan order, s1 fastest.
    std::map<std::tuple<int, int, int>, int> number;
    for (int c = 0; c < static_cast<int>(pos[2].size()); ++c) {
      for (int b = 0; b < static_cast<int>(pos[1].size()); ++b) {
        for (int a = 0; a < static_cast<int>(pos[0].size()); ++a) {
          if (serendipity && a % 2 + b % 2 + c % 2 > 1) continue;
          points.push_back(e.at(pos[0][static_cast<std::size_t>(a)],
                                pos[1][static_cast<std::size_t>(b)],
                                pos[2][static_cast<std::size_t>(c)]));
          number[{a, b, c}] = static_cast<int>(points.size());
        }
      }
    }
    int d2 = ngtyp >= 2 ? e.divisions[1] : 1;
    int d3 = ngtyp >= 3 ? e.divisions[2] : 1;
    for (int m = 0; m < d3; ++m) {
      for (int j = 0; j < d2; ++j) {
        for (int k = 0; k < e.divisions[0]; ++k) {
          std::vector<int> list;
          for (const auto& o : offsets(ngtyp, nnodg)) {
            auto key = std::make_tuple(scale * k + o[0], scale * j + o[1], scale * m + o[2]);
            EXPECT_TRUE(number.count(key) == 1) << "offset outside the written grid";
            list.push_back(number[key]);
          }
          if (ngtyp == 2) list.push_back(list.front());
          lists.push_back(list);
        }
      }
    }
  }
  ASSERT_EQ(out.nelem, static_cast<int>(lists.size()));
  ASSERT_EQ(out.npoin, static_cast<int>(points.size()));
  EXPECT_EQ(out.nspno, 0);
  for (std::size_t i = 0; i < lists.size() && i < out.elements.size(); ++i) {
    EXPECT_EQ(out.elements[i], lists[i]) << "element " << i + 1;
  }
  for (std::size_t i = 0; i < points.size() && i < out.points.size(); ++i) {
    for (std::size_t k = 0; k < 3; ++k) {
      EXPECT_NEAR(out.points[i][k], points[i][k], 1e-8)
          << "point " << i + 1 << " coordinate " << k + 1;
    }
  }
}

// The largest of the first ngtyp divisions over all elements.
int model_maximum(const std::vector<ModelElement>& elements, int ngtyp) {
  int maximum = 0;
  for (const ModelElement& e : elements) {
    for (int j = 0; j < ngtyp; ++j) maximum = std::max(maximum, e.divisions[j]);
  }
  return maximum;
}

std::string counts_of(const MeshFile& m) {
  return format("%d %d %d", m.nelem, m.npoin, m.nspno);
}

struct Combination {
  int ngtyp, nnode, nnodg;
};

const Combination combinations[] = {
    {1, 2, 2}, {1, 2, 3},  {1, 3, 2},  {1, 3, 3},                          // lines
    {2, 4, 4}, {2, 4, 8},  {2, 4, 9},  {2, 8, 4},   {2, 8, 8}, {2, 8, 9},  // surfaces
    {2, 9, 4}, {2, 9, 8},  {2, 9, 9},                                      //
    {3, 8, 8}, {3, 8, 20}, {3, 20, 8}, {3, 20, 20},                        // solids
};

// Two skewed elements: the first graded along every direction, the second with other divisions
// and equal or single steps; a quadrilateral's first list closed, the second open.
std::vector<ModelElement> two_elements(int ngtyp) {
  ModelElement a{{1, 2, 3},
                 {{{4, 1, 0}, {-1, 3, 0.5}, {0.5, 0, 2}}},
                 {2, 3, 2},
                 {{{1, 3}, {1, 2, 1}, {2, 1}}},
                 ngtyp == 2};
  ModelElement b{
      {-5, 0, 1}, {{{2, 0, 1}, {0, 2, 0}, {1, 1, 3}}}, {3, 1, 2}, {{{}, {5}, {}}}, false};
  return {a, b};
}

}  // namespace

TEST(Gen, EveryCombinationFromTheDivisionsFile) {
  for (const Combination& c : combinations) {
    SCOPED_TRACE(format("ngtyp %d, %d nodes into %d", c.ngtyp, c.nnode, c.nnodg));
    std::vector<ModelElement> elements = two_elements(c.ngtyp);
    Session s;
    s.write("model.vmz", model_mesh(elements, c.ngtyp, c.nnode));
    s.write("model_dw.dat", model_dw_file(elements, c.ngtyp, c.nnodg));
    Result r = s.run("rea\nmodel\ngen\nwri\nout\nend\n");
    MeshFile out = parse_mesh(s.read("out.vmz"));
    expect_model(out, elements, c.ngtyp, c.nnodg);
    int npoin_in = 2 * c.nnode;
    EXPECT_EQ(r.out,
              startup() + read_step("new", "model", "Model mesh", "Model", 2, npoin_in, 0) +
                  step("gen") + gen_start(c.nnode, "model_dw.dat") + "\nModel divisions\n" +
                  gen_kind(c.ngtyp, c.nnodg) + max_divisions(model_maximum(elements, c.ngtyp)) +
                  gen_written("Model mesh", "Model", out.nelem, out.npoin) +
                  write_step("model", "out", out.nelem, out.npoin, 0) + step("end") + leave());
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 0);
  }
}

TEST(Gen, EveryCombinationAskedInteractively) {
  for (const Combination& c : combinations) {
    SCOPED_TRACE(format("ngtyp %d, %d nodes into %d", c.ngtyp, c.nnode, c.nnodg));
    std::vector<ModelElement> elements = two_elements(c.ngtyp);
    elements[1].divisions = elements[0].divisions;
    for (auto* e : {&elements[0], &elements[1]}) e->weights = {};
    Session s;
    s.write("model.vmz", model_mesh(elements, c.ngtyp, c.nnode));
    std::string answers = std::to_string(c.ngtyp) + "\n" + std::to_string(c.nnodg) + "\n";
    std::string asked;
    for (int j = 1; j <= c.ngtyp; ++j) {
      std::string d = std::to_string(elements[0].divisions[static_cast<std::size_t>(j - 1)]);
      answers += d + "\n";
      asked += ask_divisions(j, d);
    }
    Result r = s.run("rea\nmodel\ngen\n" + answers + "wri\nout\nend\n");
    MeshFile out = parse_mesh(s.read("out.vmz"));
    expect_model(out, elements, c.ngtyp, c.nnodg);
    EXPECT_EQ(r.out,
              startup() + read_step("new", "model", "Model mesh", "Model", 2, 2 * c.nnode, 0) +
                  step("gen") + gen_start(c.nnode, "model_dw.dat") +
                  ask_ngtyp(std::to_string(c.ngtyp)) + ask_nnodg(c.ngtyp, std::to_string(c.nnodg)) +
                  gen_kind(c.ngtyp, c.nnodg) + asked +
                  max_divisions(model_maximum(elements, c.ngtyp)) + equal_steps() +
                  gen_written("Model mesh", "Model", out.nelem, out.npoin) +
                  write_step("model", "out", out.nelem, out.npoin, 0) + step("end") + leave());
    EXPECT_EQ(r.err, interactive_warning);
    EXPECT_EQ(r.status, 0);
  }
}

TEST(Gen, GradedBrickOfTwentyNodesRefinedTenTimesInEachDirection) {
  ModelElement box{{0, 0, 0}, {{{10, 0, 0}, {0, 20, 0}, {0, 0, 30}}}, {10, 10, 10}, {}, false};
  for (int k = 1; k <= 10; ++k) {
    box.weights[0].push_back(k);
    box.weights[1].push_back(11 - k);
    box.weights[2].push_back(k % 2 == 1 ? 1 : 2);
  }
  for (int nnodg : {20, 8}) {
    Session s;
    s.write("box.vmz", model_mesh({box}, 3, 20));
    s.write("box_dw.dat", model_dw_file({box}, 3, nnodg));
    Result r = s.run("rea\nbox\ngen\nwri\nout\nend\n");
    ASSERT_EQ(r.status, 0) << r.err;
    MeshFile out = parse_mesh(s.read("out.vmz"));
    // 11^3 corners plus 3 x 10 x 11^2 mid-edge points; 11^3 corners alone.
    EXPECT_EQ(counts_of(out), nnodg == 20 ? "1000 4961 0" : "1000 1331 0");
    expect_model(out, {box}, 3, nnodg);
  }
}

TEST(Gen, ClosedQuadrilateralRefinedOnceGivesItsCornersInScanOrder) {
  Session s;
  s.write("quad.vmz", lines({"Skew quadrilateral", "Skew", "    1       4       0",
                             "    1     5        1     2     3     4     1",
                             "    1      0.00000000      0.00000000      0.00000000",
                             "    2      4.00000000      0.00000000      1.00000000",
                             "    3      5.00000000      3.00000000      1.00000000",
                             "    4      1.00000000      2.00000000      0.00000000"}));
  Result r = s.run("rea\nquad\ngen\n2\n4\n1\n1\nwri\nout\nend\n");
  EXPECT_EQ(r.out, startup() + read_step("new", "quad", "Skew quadrilateral", "Skew", 1, 4, 0) +
                       step("gen") + gen_start(4, "quad_dw.dat") + ask_ngtyp("2") +
                       ask_nnodg(2, "4") + gen_kind(2, 4) + ask_divisions(1, "1") +
                       ask_divisions(2, "1") + max_divisions(1) + equal_steps() +
                       gen_written("Skew quadrilateral", "Skew", 1, 4) +
                       write_step("quad", "out", 1, 4, 0) + step("end") + leave());
  EXPECT_EQ(r.err, interactive_warning);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.read("out.vmz"), lines({"Skew quadrilateral", "Skew", "    1       4       0",
                                      "    1     5        1     2     4     3     1",
                                      "    1      0.00000000      0.00000000      0.00000000",
                                      "    2      4.00000000      0.00000000      1.00000000",
                                      "    3      1.00000000      2.00000000      0.00000000",
                                      "    4      5.00000000      3.00000000      1.00000000"}));
  EXPECT_EQ(s.files(), (std::vector<std::string>{"out.vmz", "quad.vmz"}));
}

TEST(Gen, ClosedAndOpenQuadrilateralsSharingASideKeepTheirOwnPoints) {
  Session s;
  s.write("sides.vmz",
          lines({"Two plates", "Plates", "    2       6       1",
                 "    1     5        1     2     5     4     1",
                 "    2     4        2     3     6     5",
                 "    1      0.00000000      0.00000000      0.00000000",
                 "    2      1.00000000      0.00000000      0.00000000",
                 "    3      2.00000000      0.00000000      0.00000000",
                 "    4      0.00000000      1.00000000      0.00000000",
                 "    5      1.00000000      1.00000000      0.00000000",
                 "    6      2.00000000      1.00000000      0.00000000", "    1     3"}));
  s.write("sides_dw.dat", "Both 2 x 2\n2\n4\n1 2 2\n2 2 2\nEND_OF_FILE\n");
  Result r = s.run("rea\nsides\ngen\nwri\nout\nend\n");
  EXPECT_EQ(r.out, startup() + read_step("new", "sides", "Two plates", "Plates", 2, 6, 1) +
                       step("gen") + gen_start(4, "sides_dw.dat") + "\nBoth 2 x 2\n" +
                       gen_kind(2, 4) + max_divisions(2) + equal_steps() +
                       gen_written("Two plates", "Plates", 8, 18) +
                       write_step("sides", "out", 8, 18, 0) + step("end") + leave());
  EXPECT_EQ(r.err, "");
  // Points 3, 6, 9 of the first element and 10, 13, 16 of the second lie on the shared side;
  // the special node is gone.
  EXPECT_EQ(s.read("out.vmz"), lines({"Two plates",
                                      "Plates",
                                      "    8      18       0",
                                      "    1     5        1     2     5     4     1",
                                      "    2     5        2     3     6     5     2",
                                      "    3     5        4     5     8     7     4",
                                      "    4     5        5     6     9     8     5",
                                      "    5     5       10    11    14    13    10",
                                      "    6     5       11    12    15    14    11",
                                      "    7     5       13    14    17    16    13",
                                      "    8     5       14    15    18    17    14",
                                      "    1      0.00000000      0.00000000      0.00000000",
                                      "    2      0.50000000      0.00000000      0.00000000",
                                      "    3      1.00000000      0.00000000      0.00000000",
                                      "    4      0.00000000      0.50000000      0.00000000",
                                      "    5      0.50000000      0.50000000      0.00000000",
                                      "    6      1.00000000      0.50000000      0.00000000",
                                      "    7      0.00000000      1.00000000      0.00000000",
                                      "    8      0.50000000      1.00000000      0.00000000",
                                      "    9      1.00000000      1.00000000      0.00000000",
                                      "   10      1.00000000      0.00000000      0.00000000",
                                      "   11      1.50000000      0.00000000      0.00000000",
                                      "   12      2.00000000      0.00000000      0.00000000",
                                      "   13      1.00000000      0.50000000      0.00000000",
                                      "   14      1.50000000      0.50000000      0.00000000",
                                      "   15      2.00000000      0.50000000      0.00000000",
                                      "   16      1.00000000      1.00000000      0.00000000",
                                      "   17      1.50000000      1.00000000      0.00000000",
                                      "   18      2.00000000      1.00000000      0.00000000"}));
}

TEST(Gen, FourNodeQuadrilateralIntoNineNodeElements) {
  Session s;
  s.write("nine.vmz", lines({"Nine", "Nine", "    1       4       0",
                             "    1     5        1     2     3     4     1",
                             "    1      0.00000000      0.00000000      0.00000000",
                             "    2      4.00000000      0.00000000      0.00000000",
                             "    3      4.00000000      2.00000000      0.00000000",
                             "    4      0.00000000      2.00000000      0.00000000"}));
  s.write("nine_dw.dat", "Two by one\n2\n9\n1 2 1\nEND_OF_FILE\n");
  Result r = s.run("rea\nnine\ngen\nwri\nout\nend\n");
  ASSERT_EQ(r.status, 0) << r.err;
  std::vector<std::string> expected = {
      "Nine", "Nine", "    2      15       0",
      "    1    10        1     2     3     8    13    12    11     6     7     1",
      "    2    10        3     4     5    10    15    14    13     8     9     3"};
  for (int y = 0; y <= 2; ++y) {
    for (int x = 0; x <= 4; ++x) {
      expected.push_back(
          format("%5d %15.8f %15.8f %15.8f", 1 + x + 5 * y, double(x), double(y), 0.0));
    }
  }
  EXPECT_EQ(s.read("out.vmz"), lines(expected));
}

TEST(Gen, EightNodeQuadrilateralIntoItselfLeavesOutTheCentre) {
  Session s;
  s.write("eight.vmz",
          lines({"Eight", "Eight", "    1       8       0",
                 "    1     9        1     2     3     4     5     6     7     8     1",
                 "    1      0.00000000      0.00000000      0.00000000",
                 "    2      1.00000000     -0.50000000      1.00000000",
                 "    3      2.00000000      0.00000000      0.00000000",
                 "    4      2.00000000      1.00000000      0.00000000",
                 "    5      2.00000000      2.00000000      0.00000000",
                 "    6      1.00000000      2.00000000      0.00000000",
                 "    7      0.00000000      2.00000000      0.00000000",
                 "    8      0.00000000      1.00000000      0.00000000"}));
  Result r = s.run("rea\neight\ngen\n2\n8\n1\n1\nwri\nout\nend\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(s.read("out.vmz"),
            lines({"Eight", "Eight", "    1       8       0",
                   "    1     9        1     2     3     5     8     7     6     4     1",
                   "    1      0.00000000      0.00000000      0.00000000",
                   "    2      1.00000000     -0.50000000      1.00000000",
                   "    3      2.00000000      0.00000000      0.00000000",
                   "    4      0.00000000      1.00000000      0.00000000",
                   "    5      2.00000000      1.00000000      0.00000000",
                   "    6      0.00000000      2.00000000      0.00000000",
                   "    7      1.00000000      2.00000000      0.00000000",
                   "    8      2.00000000      2.00000000      0.00000000"}));
}

TEST(Gen, CurvedEightNodeQuadrilateralAtHandWorkedPoints) {
  // The side s2 = -1 bulges through (1, -0.5, 1). Steps of 1/4 and 3/4 along s1 put the inner
  // grid line at s1 = -1/2; equal steps along s2 put the middle one at s2 = 0.
  //   (-1/2, -1): the side's functions are 3/8, 3/4, -1/8: (0.5, -0.375, 0.75)
  //   (-1/2,  0): corners -3/16 each, mid-sides 3/8 (s2 = -1, +1), 1/4 (s1 = 1), 3/4
  //               (s1 = -1): (0.5, 0.8125, 0.375)
  //   (-1/2,  1): the straight top side: (0.5, 2, 0)
  Session s;
  s.write("curved.vmz", lines({"Curved", "Curved", "    1       8       0",
                               "    1     8        1     2     3     4     5     6     7     8",
                               "    1      0.00000000      0.00000000      0.00000000",
                               "    2      1.00000000     -0.50000000      1.00000000",
                               "    3      2.00000000      0.00000000      0.00000000",
                               "    4      2.00000000      1.00000000      0.00000000",
                               "    5      2.00000000      2.00000000      0.00000000",
                               "    6      1.00000000      2.00000000      0.00000000",
                               "    7      0.00000000      2.00000000      0.00000000",
                               "    8      0.00000000      1.00000000      0.00000000"}));
  s.write("curved_dw.dat", "Graded\n2\n4\n1 2 2\n1\n1 1\n2 3\n1 -1\nEND_OF_FILE\n");
  Result r = s.run("rea\ncurved\ngen\nwri\nout\nend\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(s.read("out.vmz"), lines({"Curved", "Curved", "    4       9       0",
                                      "    1     5        1     2     5     4     1",
                                      "    2     5        2     3     6     5     2",
                                      "    3     5        4     5     8     7     4",
                                      "    4     5        5     6     9     8     5",
                                      "    1      0.00000000      0.00000000      0.00000000",
                                      "    2      0.50000000     -0.37500000      0.75000000",
                                      "    3      2.00000000      0.00000000      0.00000000",
                                      "    4      0.00000000      1.00000000      0.00000000",
                                      "    5      0.50000000      0.81250000      0.37500000",
                                      "    6      2.00000000      1.00000000      0.00000000",
                                      "    7      0.00000000      2.00000000      0.00000000",
                                      "    8      0.50000000      2.00000000      0.00000000",
                                      "    9      2.00000000      2.00000000      0.00000000"}));
}

TEST(Gen, TwentyNodeBrickIntoItselfNumbersItsNodesInScanOrder) {
  // Node k of the brick lies at (1 + s, 2 + 2 t, 3 + 3 u).
  std::vector<Position> nodes;
  for (const Position& p : node_positions(3, 20)) {
    nodes.push_back({1 + p[0], 2 + 2 * p[1], 3 + 3 * p[2]});
  }
  std::vector<int> list;
  for (int k = 1; k <= 20; ++k) list.push_back(k);
  Session s;
  s.write("brick.vmz", mesh_text("Brick", "Brick", {list}, nodes));
  s.write("brick_dw.dat", "Once\n3\n20\n1 1 1 1\nEND_OF_FILE\n");
  Result r = s.run("rea\nbrick\ngen\nwri\nout\nend\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(s.read("out.vmz"),
            lines({"Brick",
                   "Brick",
                   "    1      20       0",
                   "    1    20        1     2     3     5     8     7     6     4     9    10"
                   "    12    11    13    14    15    17    20    19    18    16",
                   "    1      0.00000000      0.00000000      0.00000000",
                   "    2      1.00000000      0.00000000      0.00000000",
                   "    3      2.00000000      0.00000000      0.00000000",
                   "    4      0.00000000      2.00000000      0.00000000",
                   "    5      2.00000000      2.00000000      0.00000000",
                   "    6      0.00000000      4.00000000      0.00000000",
                   "    7      1.00000000      4.00000000      0.00000000",
                   "    8      2.00000000      4.00000000      0.00000000",
                   "    9      0.00000000      0.00000000      3.00000000",
                   "   10      2.00000000      0.00000000      3.00000000",
                   "   11      0.00000000      4.00000000      3.00000000",
                   "   12      2.00000000      4.00000000      3.00000000",
                   "   13      0.00000000      0.00000000      6.00000000",
                   "   14      1.00000000      0.00000000      6.00000000",
                   "   15      2.00000000      0.00000000      6.00000000",
                   "   16      0.00000000      2.00000000      6.00000000",
                   "   17      2.00000000      2.00000000      6.00000000",
                   "   18      0.00000000      4.00000000      6.00000000",
                   "   19      1.00000000      4.00000000      6.00000000",
                   "   20      2.00000000      4.00000000      6.00000000"}));
}

TEST(Gen, ZeroWeightGivesCoincidentPoints) {
  Session s;
  s.write("bar.vmz", lines({"Bar", "Bar", "    1       2       0", "    1     2        1     2",
                            "    1      0.00000000      0.00000000      0.00000000",
                            "    2      3.00000000      0.00000000      0.00000000"}));
  s.write("bar_dw.dat", "Zero step\n1\n2\n1 3\n1\n1 1\n2 0\n3 1\nEND_OF_FILE\n");
  Result r = s.run("rea\nbar\ngen\nwri\nout\nend\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(s.read("out.vmz"),
            lines({"Bar", "Bar", "    3       4       0", "    1     2        1     2",
                   "    2     2        2     3", "    3     2        3     4",
                   "    1      0.00000000      0.00000000      0.00000000",
                   "    2      1.50000000      0.00000000      0.00000000",
                   "    3      1.50000000      0.00000000      0.00000000",
                   "    4      3.00000000      0.00000000      0.00000000"}));
}

// --------------------------------------------------------------------------------------------
// Refusals: the warnings, the wait for the Return key, and the buffer as it was.

namespace {

const std::string brick_mesh =
    lines({"Brick", "Brick", "    1       8       1",
           "    1     8        1     2     3     4     5     6     7     8",
           "    1      0.00000000      0.00000000      0.00000000",
           "    2      1.00000000      0.00000000      0.00000000",
           "    3      1.00000000      1.00000000      0.00000000",
           "    4      0.00000000      1.00000000      0.00000000",
           "    5      0.00000000      0.00000000      1.00000000",
           "    6      1.00000000      0.00000000      1.00000000",
           "    7      1.00000000      1.00000000      1.00000000",
           "    8      0.00000000      1.00000000      1.00000000", "    1     7"});

// A 20-node brick, its list numbered 1 .. 20 and its points at the nodes' parametric positions.
std::string brick20_mesh() {
  std::vector<int> list;
  for (int k = 1; k <= 20; ++k) list.push_back(k);
  return mesh_text("Brick", "Brick", {list}, node_positions(3, 20), {20});
}

// A session that reads brick.vmz (one brick of nnode nodes, one special node), refuses gen with
// the given divisions file, writes the buffer to out.vmz and ends.
Result refused_brick(Session& s, const std::string& dw, const std::string& expected_middle,
                     int nnode = 8) {
  std::string mesh = nnode == 8 ? brick_mesh : brick20_mesh();
  s.write("brick.vmz", mesh);
  s.write("brick_dw.dat", dw);
  Result r = s.run("rea\nbrick\ngen\n\nwri\nout\nend\n");
  EXPECT_EQ(r.out, startup() + read_step("new", "brick", "Brick", "Brick", 1, nnode, 1) +
                       step("gen") + gen_start(nnode, "brick_dw.dat") + expected_middle +
                       gen_refusal() + write_step("brick", "out", 1, nnode, 1) + step("end") +
                       leave());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.read("out.vmz"), mesh);
  return r;
}

}  // namespace

TEST(GenRefusal, BrickMeshAskedForSurfaces) {
  {
    Session s;
    Result r = refused_brick(s, "Surfaces\n2\n9\n", "\nSurfaces\n" + gen_kind(2, 9), 20);
    EXPECT_EQ(r.err, warning("N. of nodes per element in the original file must be 4, 8 or 9"));
  }
  {
    Session s;
    Result r = refused_brick(s, "Surfaces\n2\n20\n", "\nSurfaces\n" + gen_kind(2, 20), 20);
    EXPECT_EQ(r.err,
              warning("N. of nodes per element in the original file must be 4, 8 or 9") +
                  warning("N. of nodes of the generated elements (nnodg) must be 4, 8 or 9"));
  }
}

TEST(GenRefusal, WrongCountsOfEachRow) {
  struct Case {
    std::string dw;
    int ngtyp, nnodg;
    std::string warnings;
  };
  const Case cases[] = {
      {"Lines\n1\n4\n", 1, 4,
       warning("N. of nodes per element in the original file must be 2 or 3") +
           warning("N. of nodes of the generated elements (nnodg) must be 2 or 3")},
      {"Solids\n3\n9\n", 3, 9,
       warning("N. of nodes of the generated elements (nnodg) must be 8 or 20")},
      {"Four\n4\n8\n", 4, 8, warning("N. of local dimensions (ngtyp) must be 1, 2 or 3")},
      {"None\n0\n8\n", 0, 8, warning("N. of local dimensions (ngtyp) must be 1, 2 or 3")},
  };
  for (const Case& c : cases) {
    Session s;
    Result r = refused_brick(
        s, c.dw, "\n" + c.dw.substr(0, c.dw.find('\n')) + "\n" + gen_kind(c.ngtyp, c.nnodg));
    EXPECT_EQ(r.err, c.warnings) << c.dw;
  }
}

TEST(GenRefusal, TotalsBeyondTheRangeOfIntAreRefused) {
  {
    Session s;
    Result r = refused_brick(s, "Huge\n3\n8\n1 2000 2000 2000\nEND_OF_FILE\n",
                             "\nHuge\n" + gen_kind(3, 8) + max_divisions(2000) + equal_steps());
    EXPECT_EQ(r.err, warning("N. of generated elements greater than 2147483647") +
                         warning("N. of generated nodes greater than 2147483647"));
  }
  {
    // 46341 x 46340 elements still fit; 46342 x 46341 points do not.
    Session s;
    std::string quad =
        lines({"Quad", "Quad", "    1       4       0", "    1     4        1     2     3     4",
               "    1      0.00000000      0.00000000      0.00000000",
               "    2      1.00000000      0.00000000      0.00000000",
               "    3      1.00000000      1.00000000      0.00000000",
               "    4      0.00000000      1.00000000      0.00000000"});
    s.write("quad.vmz", quad);
    s.write("quad_dw.dat", "Fine\n2\n4\n1 46341 46340\nEND_OF_FILE\n");
    Result r = s.run("rea\nquad\ngen\n\nwri\nout\nend\n");
    EXPECT_EQ(r.err, warning("N. of generated nodes greater than 2147483647"));
    EXPECT_EQ(r.out, startup() + read_step("new", "quad", "Quad", "Quad", 1, 4, 0) + step("gen") +
                         gen_start(4, "quad_dw.dat") + "\nFine\n" + gen_kind(2, 4) +
                         max_divisions(46341) + equal_steps() + gen_refusal() +
                         write_step("quad", "out", 1, 4, 0) + step("end") + leave());
    EXPECT_EQ(s.read("out.vmz"), quad);
  }
}

TEST(GenRefusal, NodeCountsThatDifferLeaveTheBufferAsItWas) {
  std::string mixed =
      lines({"Mixed", "Mixed", "    2       4       1", "    1     2        1     2",
             "    2     5        1     2     3     4     1",
             "    1      0.00000000      0.00000000      0.00000000",
             "    2      1.00000000      0.00000000      0.00000000",
             "    3      1.00000000      1.00000000      0.00000000",
             "    4      0.00000000      1.00000000      0.00000000", "    1     4"});
  Session s;
  s.write("mixed.vmz", mixed);
  Result r = s.run("rea\nmixed\ngen\n\nwri\nout\nend\n");
  EXPECT_EQ(r.out, startup() + read_step("new", "mixed", "Mixed", "Mixed", 2, 4, 1) + step("gen") +
                       "\nGenerate a refined mesh\n" + gen_refusal() +
                       write_step("mixed", "out", 2, 4, 1) + step("end") + leave());
  EXPECT_EQ(r.err, "\nChecking element n.        2\n\nN. of nodes per element =        4\n" +
                       warning("N. of nodes per element must be constant"));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.read("out.vmz"), mixed);
}

// --------------------------------------------------------------------------------------------
// Faults: the file, and the output that cannot be written.

TEST(GenFault, FaultInTheDivisionsFileEndsTheProgramWithNothingWritten) {
  Session s;
  s.write("brick.vmz", brick_mesh);
  s.write("brick_dw.dat", "Bad\n3\n8\n2 1 1 1\nEND_OF_FILE\n");
  Result r = s.run("rea\nbrick\ngen\nend\n");
  EXPECT_EQ(r.out, startup() + read_step("new", "brick", "Brick", "Brick", 1, 8, 1) + step("gen") +
                       gen_start(8, "brick_dw.dat") + "\nBad\n" + gen_kind(3, 8));
  EXPECT_EQ(r.err, "\nReading divisions of element n.        1\n" + fatal("Wrong element number"));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(s.files(), (std::vector<std::string>{"brick.vmz", "brick_dw.dat"}));
}

TEST(GenFault, UnopenableOutputIsFatal) {
  Session s;
  s.write("brick.vmz", brick_mesh);
  s.write("brick_dw.dat", "Once\n3\n8\n1 1 1 1\nEND_OF_FILE\n");
  // A directory that start-up cannot delete stands where tmp.vmz would be written.
  ASSERT_EQ(::mkdir(s.path("tmp.vmz").c_str(), 0700), 0);
  s.write("tmp.vmz/keep", "x");
  Result r = s.run("rea\nbrick\ngen\nend\n");
  EXPECT_EQ(r.err, fatal("Unable to open output file - jobname.vmz"));
  EXPECT_EQ(r.status, 1);
}

TEST(GenFault, OutputThatCannotBeWrittenLeavesTheBufferAsItWas) {
  if (::access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
  Session s;
  s.write("brick.vmz", brick_mesh);
  s.write("brick_dw.dat", "Once\n3\n8\n1 1 1 1\nEND_OF_FILE\n");
  Result r = s.run("rea\nbrick\nsys\nln -s /dev/full tmp.vmz\n\ngen\n\nwri\nout\nend\n");
  EXPECT_EQ(r.out, startup() + read_step("new", "brick", "Brick", "Brick", 1, 8, 1) + step("sys") +
                       "\nSystem command ? You answered: ln -s /dev/full tmp.vmz\n" +
                       "\nReturning to trelmo - press the Return key ... \n" + step("gen") +
                       gen_start(8, "brick_dw.dat") + "\nOnce\n" + gen_kind(3, 8) +
                       max_divisions(1) + equal_steps() + "\nWriting file: tmp.vmz\n" +
                       "\nNothing changed - press the Return key ... \n" +
                       write_step("brick", "out", 1, 8, 1) + step("end") + leave());
  EXPECT_EQ(r.err, warning("Unable to write output file - tmp.vmz"));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.read("out.vmz"), brick_mesh);
  EXPECT_FALSE(s.exists("tmp.vmz"));
}

// --------------------------------------------------------------------------------------------
// The shell row: right after start the divisions come from buffa_dw.dat.

TEST(GenShell, FirstBufferReadsBuffaDivisionsAndTakesTheResultBack) {
  Session s;
  s.write("buffa_dw.dat", "Start\n2\n4\n1 2 1\nEND_OF_FILE\n");
  shell::Shell sh;
  mesh::MeshBuffer& b = sh.current();
  b.nelem = 1;
  b.npoin = 4;
  b.lnods = console::OneMatrix<int>(1, mesh::mnode);
  b.nnoel = console::OneVector<int>(1);
  b.coord = console::OneMatrix<double>(4, mesh::ndime);
  b.nnoel[1] = 4;
  const double xy[4][2] = {{0, 0}, {2, 0}, {2, 1}, {0, 1}};
  for (int p = 1; p <= 4; ++p) {
    b.lnods(1, p) = p;
    b.coord(p, 1) = xy[p - 1][0];
    b.coord(p, 2) = xy[p - 1][1];
    b.coord(p, 3) = 0;
  }
  char cwd[4096];
  ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
  ASSERT_EQ(::chdir(s.dir().c_str()), 0);
  std::string out;
  {
    CapturedConsole io;
    shell::find_command("gen")->run(sh);
    out = io.out();
  }
  ASSERT_EQ(::chdir(cwd), 0);
  EXPECT_EQ(out, gen_start(4, "buffa_dw.dat") + "\nStart\n" + gen_kind(2, 4) + max_divisions(2) +
                     equal_steps() + gen_written("Main title", "Mesh", 2, 6));
  EXPECT_EQ(sh.current().nelem, 2);
  EXPECT_EQ(sh.current().npoin, 6);
  EXPECT_DOUBLE_EQ(sh.current().coord(2, 1), 1.0);
  EXPECT_EQ(sh.written(1), 'n');
  EXPECT_EQ(s.files(), std::vector<std::string>{"buffa_dw.dat"});
}
