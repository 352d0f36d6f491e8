// Refinement: shape functions, divisions-and-weights readers, and gen against a model mesh.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <random>

#include "generate/cshape.h"
#include "generate/dwfile.h"
#include "support/inprocess.h"
#include "support/session.h"

using namespace session;

namespace {

// Node positions (s, t, u) of each kind, in node order.
std::vector<Point> positions(int ngtyp, int nnode) {
  const std::vector<Point> ring = {{-1, -1, 0}, {0, -1, 0}, {1, -1, 0}, {1, 0, 0},
                                   {1, 1, 0},   {0, 1, 0},  {-1, 1, 0}, {-1, 0, 0}};
  std::vector<Point> p;
  if (ngtyp == 1)
    return nnode == 2 ? std::vector<Point>{{-1, 0, 0}, {1, 0, 0}}
                      : std::vector<Point>{{-1, 0, 0}, {0, 0, 0}, {1, 0, 0}};
  for (double layer : ngtyp == 2 ? std::vector<double>{0} : std::vector<double>{-1, 0, 1}) {
    for (std::size_t k = 0; k < 8; ++k) {
      const bool keep = k % 2 == 0 ? layer != 0 || nnode == 20 || ngtyp == 2
                                   : (ngtyp == 2 && nnode != 4) || (layer != 0 && nnode == 20);
      if (keep) p.push_back({ring[k][0], ring[k][1], layer});
    }
  }
  if (nnode == 9) p.push_back({0, 0, 0});
  return p;
}

bool quadratic(int ngtyp, int nnode) {
  return nnode == 3 || nnode == 9 || nnode == 20 || (ngtyp == 2 && nnode == 8);
}

const struct Kind {
  int ngtyp, nnode, family;
} kinds[] = {{1, 2, 7}, {1, 3, 7}, {2, 4, 1}, {2, 8, 1}, {2, 9, 1}, {3, 8, 4}, {3, 20, 4}};

std::vector<double> shape(int nnode, int family, double s, double t, double u) {
  console::OneVector<double> v(nnode);
  generate::cshape(nnode, family, s, t, u, v);
  return std::vector<double>(v.begin(), v.end());
}

std::string fatal_of(const std::function<void()>& call) {
  try {
    call();
  } catch (const console::FatalError& e) {
    return e.what();
  }
  return "no fatal error";
}

// The three readers run as gen runs them: ngtyp, nnodg, mode, maximum, divisions and weights.
std::string read_dw(const char* content, int nelem) {
  std::unique_ptr<console::InputFile> file;
  if (content != nullptr) {
    std::ofstream("m_dw.dat") << content;
    file = console::InputFile::open("m_dw.dat");
  }
  char mode = content != nullptr ? 'y' : 'n';
  int ngtyp = 0, nnodg = 0;
  std::string name;
  generate::rdwdat(mode, file.get(), ngtyp, nnodg, name);
  console::OneMatrix<int> divisions(nelem, ngtyp);
  const int maximum = generate::rnelsi(nelem, ngtyp, mode, divisions, file.get());
  generate::StepWeights weights(divisions);
  generate::rweisi(nelem, ngtyp, mode, divisions, weights, file.get());
  std::string r = format("%d %d %c %d", ngtyp, nnodg, mode, maximum);
  for (int i = 1; i <= nelem; ++i) {
    for (int j = 1; j <= ngtyp; ++j) {
      r += format(" |%d:", divisions(i, j));
      for (int k = 1; k <= divisions(i, j); ++k) r += format(" %.3g", weights(i, j, k));
    }
  }
  return r;
}

std::string max_line(int maximum) {
  return format("\nMaximum number of elements per side = %8d\n", maximum);
}
const std::string equal_steps = "\nEqual steps in all elements and in all directions\n";
std::string ask_ngtyp(const char* a) {
  return ask_int("N. of local dimensions (lines=>1 ; surfaces=>2 ; solids=>3)", 1, a);
}
std::string ask_nnodg(int ngtyp, const char* a) {
  const char* hint[] = {"2 or 3", "4, 8 or 9", "8 or 20"};
  return "\nGenerated elements may have " + std::string(hint[ngtyp - 1]) + " nodes\n" +
         ask_int("N. of nodes of the generated elements", std::vector<int>{2, 8, 20}[ngtyp - 1], a);
}
std::string ask_div(int j, const std::string& a) {
  return ask_int("N. of divisions for all the elements in s" + std::to_string(j), 1, a);
}

// An element placed by a map its shape functions reproduce: affine, s t, s squared if quadratic.
struct Element {
  std::array<Point, 6> map;  // origin, images of s, t, u, the s t term, the s squared term
  std::array<int, 3> divisions;
  std::array<std::vector<double>, 3> weights;  // per direction; empty: equal steps
  Point at(double s, double t, double u, bool quadratic) const {
    const double f[6] = {1, s, t, u, s * t, quadratic ? s * s : 0};
    Point x{};
    for (std::size_t m = 0; m < 18; ++m) x[m % 3] += f[m / 3] * map[m / 3][m % 3];
    return x;
  }
};

// The refined mesh: grid points in scan order, s1 fastest; sub-elements in the generated kind.
std::string model(const std::vector<Element>& elements, int ngtyp, int nnode, int nnodg) {
  const bool corner = !quadratic(ngtyp, nnodg);
  const bool serendipity = (ngtyp == 2 && nnodg == 8) || nnodg == 20;
  const int scale = corner ? 1 : 2;
  std::vector<std::vector<int>> lists;
  std::vector<Point> points;
  for (const Element& e : elements) {
    std::array<std::vector<double>, 3> pos = {{{0.0}, {0.0}, {0.0}}};
    for (int j = 0; j < ngtyp; ++j) {
      pos[j] = {-1.0};
      std::vector<double> w = e.weights[j];
      if (w.empty()) w.assign(e.divisions[j], 1.0);
      double sum = 0;
      for (double x : w) sum += x;
      for (int m = 1; m <= scale * e.divisions[j]; ++m) {
        pos[j].push_back(pos[j].back() + (corner ? 2 : 1) * w[(m + scale - 1) / scale - 1] / sum);
      }
    }
    std::map<std::array<int, 3>, int> number;
    for (int c = 0; c < int(pos[2].size()); ++c) {
      for (int b = 0; b < int(pos[1].size()); ++b) {
        for (int a = 0; a < int(pos[0].size()); ++a) {
          if (serendipity && a % 2 + b % 2 + c % 2 > 1) continue;
          points.push_back(e.at(pos[0][a], pos[1][b], pos[2][c], quadratic(ngtyp, nnode)));
          number[{a, b, c}] = int(points.size());
        }
      }
    }
    for (int m = 0; m < (ngtyp > 2 ? e.divisions[2] : 1); ++m) {
      for (int j = 0; j < (ngtyp > 1 ? e.divisions[1] : 1); ++j) {
        for (int k = 0; k < e.divisions[0]; ++k) {
          std::vector<int> list;
          for (const Point& p : positions(ngtyp, nnodg)) {
            int o[3] = {};
            for (int d = 0; d < ngtyp; ++d) o[d] = int(p[d] + 1) / (3 - scale);
            list.push_back(number[{scale * k + o[0], scale * j + o[1], scale * m + o[2]}]);
          }
          if (ngtyp == 2) list.push_back(list.front());
          lists.push_back(list);
        }
      }
    }
  }
  return mesh_file("Model mesh", "Model", lists, points);
}

std::string gen_start(int nnode) {
  return "\nGenerate a refined mesh\n" +
         format("\nN. of nodes per element in the original file = %5d\n", nnode) +
         "\nReading file: m_dw.dat\n";
}
std::string kind(int ngtyp, int nnodg) {
  return format("\nN. of local dimensions                (ngtyp) = %5d\n", ngtyp) +
         format("N. of nodes of the generated elements (nnodg) = %5d\n", nnodg);
}
const std::string not_found = warning("File jobname_dw.dat not found - running interactively");
const std::string gen_refusal =
    "\nNo mesh generation (previous data unchanged) - press the Return key ... \n";

}  // namespace

TEST(Cshape, KroneckerPolynomialsAndKnownValues) {
  std::mt19937 rng(611);
  std::uniform_real_distribution<double> coordinate(-1.0, 1.0);
  for (const Kind& k : kinds) {
    const std::vector<Point> nodes = positions(k.ngtyp, k.nnode);
    std::vector<double> raw(21, 7.0);  // no value is written beyond the node count
    generate::cshape(k.nnode, k.family, 0.5, -0.5, 0.25, raw.data());
    EXPECT_EQ(std::count(raw.begin() + k.nnode, raw.end(), 7.0), 21 - k.nnode) << k.nnode;
    for (int i = 0; i < k.nnode; ++i) {
      std::vector<double> n = shape(k.nnode, k.family, nodes[i][0], nodes[i][1], nodes[i][2]);
      for (int j = 0; j < k.nnode; ++j) {
        EXPECT_NEAR(n[j], i == j, 1e-15) << k.nnode << " nodes: N" << j + 1 << " at node " << i + 1;
      }
    }
    // Every kind reproduces 1, s, t, u and s t; the quadratic kinds also s squared.
    for (int trial = 0; trial < 100; ++trial) {
      const double x[3] = {coordinate(rng), k.ngtyp > 1 ? coordinate(rng) : 0,
                           k.ngtyp > 2 ? coordinate(rng) : 0};
      std::vector<double> n = shape(k.nnode, k.family, x[0], x[1], x[2]);
      double sum[6] = {};
      for (std::size_t i = 0; i < n.size(); ++i) {
        const Point& p = nodes[i];
        const double f[6] = {1, p[0], p[1], p[2], p[0] * p[1], p[0] * p[0]};
        for (int m = 0; m < 6; ++m) sum[m] += n[i] * f[m];
      }
      const double want[6] = {1, x[0], x[1], x[2], x[0] * x[1], x[0] * x[0]};
      for (int m = 0; m < (quadratic(k.ngtyp, k.nnode) ? 6 : 5); ++m) {
        EXPECT_NEAR(sum[m], want[m], 1e-14) << k.nnode << " nodes, polynomial " << m;
      }
    }
  }
  // Known values at the centre and between nodes; family codes of one family agree.
  const std::vector<double> q8 = shape(8, 1, 0, 0, 0), q9 = shape(9, 1, 0, 0, 0);
  const std::vector<double> b20 = shape(20, 4, 0, 0, 0), l3 = shape(3, 7, 0.5, 0.9, -0.3);
  for (std::size_t i = 0; i < 20; ++i) {
    const bool corner = i < 8 ? i % 2 == 0 : i >= 12 && i % 2 == 0;
    EXPECT_DOUBLE_EQ(b20[i], corner ? -0.25 : 0.25) << "brick20 node " << i + 1;
    EXPECT_DOUBLE_EQ(i < 8 ? q8[i] : 0, i < 8 && corner ? -0.25 : i < 8 ? 0.5 : 0) << i + 1;
    EXPECT_DOUBLE_EQ(i < 9 ? q9[i] : 0, i == 8 ? 1 : 0) << "quad9 node " << i + 1;
  }
  EXPECT_EQ(l3, (std::vector<double>{-0.125, 0.75, 0.375}));
  EXPECT_EQ(shape(4, 2, 0.3, -0.7, 0.5), shape(4, 1, 0.3, -0.7, 0.5));
  EXPECT_EQ(shape(9, 3, 0.3, -0.7, 0.5), shape(9, 1, 0.3, -0.7, 0.5));
  EXPECT_EQ(shape(3, 8, -0.4, 0, 0), shape(3, 7, -0.4, 0, 0));
  const int wrong[][2] = {{4, 5}, {4, 0}, {4, 6}, {2, 9}, {5, 1}, {3, 1}, {9, 4}, {4, 4}, {8, 8}};
  for (const auto& [nnode, family] : wrong) {
    console::OneVector<double> v(20);
    EXPECT_EQ(fatal_of([&] { generate::cshape(nnode, family, 0, 0, 0, v); }),
              "cshape: internal error 1")
        << nnode << " nodes, family " << family;
  }
}

TEST(DwFile, AcceptedForms) {
  const struct {
    std::string content, title;
    int nelem;
    std::string read;
  } rows[] = {
      {"Plate refinement\n2\n8\n1 3 2\n2 2 2\n1\n1 1.0\n2 2.0\n3 1.0\n1 -1\n2\n1 1\n2 1\n1 -1\n"
       "END_OF_FILE\n",
       "Plate refinement", 2, "2 8 y 3 |3: 0.25 0.5 0.25 |2: 0.5 0.5 |2: 0.5 0.5 |2: 0.5 0.5"},
      {"\n   \n# c\n   Title # hash   \n\n# c\n2   # ngtyp\n\n\t\n4\n# d\n1\t2 1 # e\n\n# w\n\n"
       "1\n  # s1\n1 3 # first\n\n2 1\n1 -1\n\n   END_OF_FILE   \nanything after the end\n",
       "Title # hash", 1, "2 4 y 2 |2: 0.75 0.25 |1: 1"},
      {"P\n2\n8\n1 3 1\n2 2 4\n\n# no weights\nEND_OF_FILE\n", "P", 2,
       "2 8 n 4 |3: 0.333 0.333 0.333 |1: 1 |2: 0.5 0.5 |4: 0.25 0.25 0.25 0.25"},
      // -1 discards the weights before it in its direction only; a zero weight is a step.
      {"P\n2\n8\n1 3 2\n1\n1 5\n2 7\n3 -1\n1 0\n2 2\nEND_OF_FILE\n", "P", 1,
       "2 8 y 3 |3: 0.333 0.333 0.333 |2: 0 1"},
      // A 997-character title line and a 77-character comment before END_OF_FILE fit.
      {"  " + std::string(993, 'x') + "  \n3\n20\n1 1 1 2\n#" + std::string(76, '-') +
           "\nEND_OF_FILE\n",
       std::string(72, 'x'), 1, "3 20 n 2 |1: 1 |1: 1 |2: 0.5 0.5"},
  };
  inprocess::Directory dir;
  for (const auto& row : rows) {
    inprocess::Console io("");
    EXPECT_EQ(read_dw(row.content.c_str(), row.nelem), row.read) << row.content;
    int maximum = 0;
    char mode = 0;
    std::sscanf(row.read.c_str(), "%*d %*d %c %d", &mode, &maximum);
    EXPECT_EQ(io.out(),
              "\n" + row.title + "\n" + max_line(maximum) + (mode == 'n' ? equal_steps : ""));
    EXPECT_EQ(io.err(), "");
  }
}

TEST(DwFile, FaultsAreFatalWithTheirContext) {
  auto at = [](const char* what, int n) { return format("\nReading %s n. %8d\n", what, n); };
  const std::string e1 = at("divisions of element", 1), e2 = at("divisions of element", 2);
  const std::string w1 = at("weights of element", 1), w2 = at("weights of element", 2);
  const std::string p1 = at("the generation parameter", 1), p2 = at("the generation parameter", 2);
  auto w = [](const std::string& e, int j, int k) {
    return e + format("Direction n. %8d\n", j) + (k > 0 ? format("Weight n. %8d\n", k) : "");
  };
  const std::string h = "Plate\n2\n8\n", d = h + "1 2 1\n2 1 2\n";  // 2 x 1 and 1 x 2 divisions
  const std::string eof = "Unexpected end of file", words = "Invalid number of words in the line";
  const std::string lf = "elimnl: internal error 2 (LF expected)", syntax = "Syntax error";
  const std::string integer = "Invalid integer", element = "Wrong element number";
  const std::string less = "Number of divisions is less than 1";
  const struct {
    std::vector<std::string> contents;
    std::string context, message;
  } rows[] = {
      {{"", "\n# only comments\n   \n", "Title\n# none\n", "Title\n2\n"}, "", eof},
      {{h + "1 2 2\n", h + "1 2 2\n\n# none\n", h + "1 2 2\n2 2 2\n", d + "1\n1 1\n"}, "", eof},
      {{"Title\n2\n\n\n", d + "1\n1 -1\n1 -1\n2\n1 -1\n1 1\n2 1\n"}, "", eof},
      {{"Title\n2 8\n"}, p1, words},
      {{"Title\n2.0\n8\n"}, p1, integer},
      {{"Title\n2\n8 x\n"}, p2, words},
      {{"Title\n2\neight\n", "Title\n2\n99999999999\n"}, p2, integer},
      {{"Title without line end", std::string(998, 't') + "\n2\n8\n"}, "", lf},
      {{h + "1 1 1\n2 1 1\n#" + std::string(78, '-') + "\nEND_OF_FILE\n"}, "", lf},
      {{h + "1 2\n"}, e1, words},
      {{h + "1 2 2\n2 2 2 2\n"}, e2, words},
      {{h + "1 2 2.5\n", h + "x 2 2\n"}, e1, syntax},
      {{h + "1 2 2\n2 1 99999999999\n"}, e2, syntax},
      {{h + "2 2 2\n1 2 2\n"}, e1, element},
      {{h + "1 2 2\n3 2 2\n"}, e2, element},
      {{h + "1 0 2\n"}, e1, less},
      {{h + "1 2 2\n2 2 -3\n"}, e2, less},
      {{h + "1 1 1\n2 1 1\nend_of_file\n", h + "1 1 1\n2 1 1\nEND_OF_FILE # done\n"}, w1, syntax},
      {{d + "one\n"}, w1, syntax},
      {{h + "1 1 1" + std::string(980, ' ') + "\n"}, "", "Line too long"},
      {{d + "1 1\n"}, w1, words},
      {{d + "2\n"}, w1, element},
      {{d + "1\n1 -1\n1 -1\n3\n"}, w2, element},
      {{d + "1\n1 1 1\n", d + "1\n1\n"}, w(w1, 1, 1), words},
      {{d + "1\n1 1\n2.0 1\n", d + "1\n1 1\n2 heavy\n"}, w(w1, 1, 2), syntax},
      {{d + "1\n1 1\n2 1e999\n"}, w(w1, 1, 2), syntax},
      {{d + "1\n2 1\n"}, w(w1, 1, 1), "Wrong weight number"},
      {{d + "1\n1 -1\n1 -1\n2\n1 -1\n1 1\n3 1\n"}, w(w2, 2, 2), "Wrong weight number"},
      {{d + "1\n1 1\n2 -0.5\n"}, w(w1, 1, 2), "Invalid weight value"},
      {{d + "1\n1 -1\n1 -2\n"}, w(w1, 2, 1), "Invalid weight value"},
      {{d + "1\n1 0\n2 0.0\n"}, w(w1, 1, 0), "Weight sum is too small"},
      {{d + "1\n1 1\n2 1\n1 -1\n2\n1 -1\n1 -1\nEND\n"}, "", "Missing END_OF_FILE"},
      {{d + "1\n1 -1\n1 -1\n2\n1 -1\n1 -1\nEND_OF_FILE # done\n"}, "", "Missing END_OF_FILE"},
  };
  inprocess::Directory dir;
  for (const auto& row : rows) {
    for (const std::string& content : row.contents) {
      inprocess::Console io("");
      EXPECT_EQ(fatal_of([&] { read_dw(content.c_str(), 2); }), row.message) << content;
      EXPECT_EQ(io.err(), row.context) << content;
    }
  }
}

TEST(DwFile, InteractiveAnswers) {
  const std::string repeat = "\nERROR: repeat answer ...\n";
  const struct {
    const char* answers;
    int nelem;
    std::string out, read;
  } rows[] = {
      {"0\n4\n2\n5\n\n-1\n3\n2\n", 1,
       ask_ngtyp("0") + repeat + ask_ngtyp("4") + repeat + ask_ngtyp("2") + ask_nnodg(2, "5") +
           repeat + ask_nnodg(2, "") + ask_div(1, "-1") + repeat + ask_div(1, "3") +
           ask_div(2, "2") + max_line(3),
       "2 8 n 3 |3: 0.333 0.333 0.333 |2: 0.5 0.5"},
      {"1\n4\n3\n7\n", 1,
       ask_ngtyp("1") + ask_nnodg(1, "4") + repeat + ask_nnodg(1, "3") + ask_div(1, "7") +
           max_line(7),
       "1 3 n 7 |7: 0.143 0.143 0.143 0.143 0.143 0.143 0.143"},
      {"3\n9\n\n\n2\n1\n", 1,
       ask_ngtyp("3") + ask_nnodg(3, "9") + repeat + ask_nnodg(3, "") + ask_div(1, "") +
           ask_div(2, "2") + ask_div(3, "1") + max_line(2),
       "3 20 n 2 |1: 1 |2: 0.5 0.5 |1: 1"},
  };
  for (const auto& row : rows) {
    inprocess::Console io(row.answers);
    EXPECT_EQ(read_dw(nullptr, row.nelem), row.read) << row.answers;
    EXPECT_EQ(io.out(), row.out + equal_steps) << row.answers;
  }
  inprocess::Console io("");
  console::OneMatrix<int> divisions(1, 1);
  generate::StepWeights weights(divisions);
  divisions(1, 1) = 0;  // a direction without steps
  EXPECT_EQ(fatal_of([&] { generate::rweisi(1, 1, 'n', divisions, weights, nullptr); }),
            "Weight sum is too small");
  EXPECT_EQ(io.err(), "\nReading weights of element n.        1\nDirection n.        1\n");
}

TEST(Gen, EveryCombinationAgreesWithTheModel) {
  // Two bent elements: the first graded (a zero step too) and closed, the second not.
  const std::vector<Element> bent = {
      {{{{11, 12, 13}, {2, 0.5, 0}, {-0.5, 1.5, 0}, {0.25, 0, 1}, {0.5, 0, -1}, {0, -0.5, 1}}},
       {2, 3, 2},
       {{{1, 3}, {1, 0, 2}, {2, 1}}}},
      {{{{-15, 10, 11}, {1, 0, 0.5}, {0, 1, 0}, {0.5, 0.5, 1.5}, {0, 0, 0.25}, {0.25, 0, 0}}},
       {3, 1, 2},
       {{{}, {5}, {}}}}};
  for (const auto& [ngtyp, nnode, family] : kinds) {
    for (const auto& [to_ngtyp, nnodg, to_family] : kinds) {
      if (to_ngtyp != ngtyp) continue;
      for (bool from_file : {true, false}) {
        std::vector<Element> e = bent;
        if (!from_file) e[1].divisions = e[0].divisions, e[0].weights = e[1].weights = {};
        std::vector<std::vector<int>> lists;
        std::vector<Point> points;
        for (const Element& el : e) {
          lists.emplace_back();
          for (const Point& p : positions(ngtyp, nnode)) {
            points.push_back(el.at(p[0], p[1], p[2], quadratic(ngtyp, nnode)));
            lists.back().push_back(int(points.size()));
          }
          if (ngtyp == 2 && lists.size() == 1) lists.back().push_back(lists.back().front());
        }
        std::string divisions, weights, answers = format("%d\n%d\n", ngtyp, nnodg);
        for (int i = 0; i < 2; ++i) {
          divisions += std::to_string(i + 1);
          weights += std::to_string(i + 1) + "\n";
          for (int j = 0; j < ngtyp; ++j) {
            divisions += " " + std::to_string(e[i].divisions[j]);
            if (i == 0) answers += std::to_string(e[0].divisions[j]) + "\n";
            if (e[i].weights[j].empty()) weights += "1 -1\n";
            for (std::size_t k = 0; k < e[i].weights[j].size(); ++k) {
              weights += format("%zu %g\n", k + 1, e[i].weights[j][k]);
            }
          }
          divisions += "\n";
        }
        Session s;
        s.write("m.vmz", mesh_file("Model mesh", "Model", lists, points, {3}));
        if (from_file) {
          s.write("m_dw.dat", "Model divisions\n" + answers.substr(0, answers.find('\n', 2) + 1) +
                                  divisions + weights + "END_OF_FILE\n");
        }
        SCOPED_TRACE(format("%d: %d into %d, %s", ngtyp, nnode, nnodg, from_file ? "file" : "-"));
        Result r = s.run("rea\nm\ngen\n" + (from_file ? "" : answers) + "wri\nout\nend\n");
        EXPECT_EQ(s.read("out.vmz"), model(e, ngtyp, nnode, nnodg));
        EXPECT_EQ(r.err, from_file ? "" : not_found);
      }
    }
  }
}

TEST(Gen, RefusalsLeaveTheBufferAsItWas) {
  auto mesh = [](int ngtyp, int nnode) {
    std::vector<int> list;
    for (int k = 1; k <= nnode; ++k) list.push_back(k);
    return mesh_file("M", "M", {list}, positions(ngtyp, nnode), {nnode});
  };
  const std::string quad4 = mesh(2, 4), brick8 = mesh(3, 8), brick20 = mesh(3, 20),
                    line3 = mesh(1, 3);
  const std::string mixed = mesh_file("M", "M", {{1, 2}, {1, 2, 3, 4, 1}}, positions(2, 4), {4});
  auto both = [](std::string original, std::string generated) {
    const std::string a = "N. of nodes per element in the original file must be ";
    const std::string b = "N. of nodes of the generated elements (nnodg) must be ";
    return (original.empty() ? "" : warning(a + original)) +
           (generated.empty() ? "" : warning(b + generated));
  };
  const std::string ngtyp = warning("N. of local dimensions (ngtyp) must be 1, 2 or 3");
  const struct {
    const std::string& mesh;
    int npoin;
    const char* dw;
    std::string middle, err;
  } rows[] = {
      {brick20, 20, "S\n2\n9\n", kind(2, 9), both("4, 8 or 9", "")},
      {brick20, 20, "S\n2\n20\n", kind(2, 20), both("4, 8 or 9", "4, 8 or 9")},
      {brick8, 8, "S\n1\n4\n", kind(1, 4), both("2 or 3", "2 or 3")},
      {brick8, 8, "S\n3\n9\n", kind(3, 9), both("", "8 or 20")},
      {quad4, 4, "S\n1\n2\n", kind(1, 2), both("2 or 3", "")},
      {quad4, 4, "S\n3\n8\n", kind(3, 8), both("8 or 20", "")},
      {quad4, 4, "S\n2\n3\n", kind(2, 3), both("", "4, 8 or 9")},
      {brick8, 8, "S\n4\n8\n", kind(4, 8), ngtyp},
      {brick8, 8, "S\n0\n8\n", kind(0, 8), ngtyp},
      {brick8, 8, "S\n3\n8\n1 2000 2000 2000\nEND_OF_FILE\n",
       kind(3, 8) + max_line(2000) + equal_steps,
       warning("N. of generated elements greater than 2147483647") +
           warning("N. of generated nodes greater than 2147483647")},
      {quad4, 4, "S\n2\n4\n1 46341 46340\nEND_OF_FILE\n",
       kind(2, 4) + max_line(46341) + equal_steps,
       warning("N. of generated nodes greater than 2147483647")},
      {line3, 3, "S\n1\n3\n1 2147483647\n1\n1 -1\nEND_OF_FILE\n", kind(1, 3) + max_line(2147483647),
       warning("N. of generated nodes greater than 2147483647")},
      {mixed, 4, nullptr, "",
       "\nChecking element n.        2\n\nN. of nodes per element =        4\n" +
           warning("N. of nodes per element must be constant")},
  };
  for (const auto& row : rows) {
    Session s;
    s.limit_address_space(1L << 30);  // counts beyond an int are refused before memory is used
    s.write("m.vmz", row.mesh);
    if (row.dw != nullptr) s.write("m_dw.dat", row.dw);
    const int nelem = row.dw != nullptr ? 1 : 2, nnode = row.npoin;
    Result r = s.run("rea\nm\ngen\n\nwri\nout\nend\n");
    EXPECT_EQ(r.out, startup() + rea_step("new", "m", "M", "M", nelem, row.npoin, 1) + step("gen") +
                         (row.dw != nullptr ? gen_start(nnode) + "\nS\n" + row.middle
                                            : "\nGenerate a refined mesh\n") +
                         gen_refusal + wri_step("m", "out", nelem, row.npoin, 1) + step("end") +
                         leave())
        << row.dw;
    EXPECT_EQ(r.err, row.err) << row.dw;
    EXPECT_EQ(s.read("out.vmz"), row.mesh);
  }
}
