// Shape functions: the Kronecker property at the nodes, partition of unity, known values.
#include "generate/cshape.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <vector>

#include "console/report.h"
#include "support/generation.h"

using generate::cshape;

namespace {

// One element kind: node count, family code and the node positions in node order.
struct Kind {
  const char* name;
  int nnode;
  int family;
  std::vector<generation::Position> nodes;
};

const std::vector<Kind>& kinds() {
  using generation::node_positions;
  static const std::vector<Kind> all = {
      {"line2", 2, 7, node_positions(1, 2)},     {"line3", 3, 7, node_positions(1, 3)},
      {"quad4", 4, 1, node_positions(2, 4)},     {"quad8", 8, 1, node_positions(2, 8)},
      {"quad9", 9, 1, node_positions(2, 9)},     {"brick8", 8, 4, node_positions(3, 8)},
      {"brick20", 20, 4, node_positions(3, 20)},
  };
  return all;
}

std::vector<double> values(int nnode, int family, double s, double t, double u) {
  console::OneVector<double> shape(nnode);
  cshape(nnode, family, s, t, u, shape);
  return std::vector<double>(shape.begin(), shape.end());
}

}  // namespace

TEST(Cshape, EachFunctionIsOneAtItsNodeAndZeroAtTheOthers) {
  for (const Kind& k : kinds()) {
    ASSERT_EQ(static_cast<int>(k.nodes.size()), k.nnode) << k.name;
    for (int i = 0; i < k.nnode; ++i) {
      const auto& p = k.nodes[static_cast<std::size_t>(i)];
      std::vector<double> n = values(k.nnode, k.family, p[0], p[1], p[2]);
      for (int j = 0; j < k.nnode; ++j) {
        EXPECT_NEAR(n[static_cast<std::size_t>(j)], i == j ? 1.0 : 0.0, 1e-15)
            << k.name << " function " << j + 1 << " at node " << i + 1;
      }
    }
  }
}

TEST(Cshape, ValuesSumToOneAnywhere) {
  std::mt19937 random(20240611);
  std::uniform_real_distribution<double> coordinate(-1.0, 1.0);
  for (const Kind& k : kinds()) {
    for (int trial = 0; trial < 200; ++trial) {
      double s = coordinate(random), t = coordinate(random), u = coordinate(random);
      double sum = 0;
      for (double v : values(k.nnode, k.family, s, t, u)) sum += v;
      EXPECT_NEAR(sum, 1.0, 1e-14) << k.name << " at " << s << " " << t << " " << u;
    }
  }
}

TEST(Cshape, CentreValuesOfTheQuadraticKinds) {
  std::vector<double> quad8 = values(8, 1, 0, 0, 0);
  std::vector<double> quad9 = values(9, 1, 0, 0, 0);
  for (std::size_t i = 0; i < 8; ++i) {
    EXPECT_DOUBLE_EQ(quad8[i], i % 2 == 0 ? -0.25 : 0.5) << "quad8 node " << i + 1;
    EXPECT_DOUBLE_EQ(quad9[i], 0.0) << "quad9 node " << i + 1;
  }
  EXPECT_DOUBLE_EQ(quad9[8], 1.0);

  std::vector<double> brick20 = values(20, 4, 0, 0, 0);
  const std::vector<int> corners = {1, 3, 5, 7, 13, 15, 17, 19};
  for (int i = 1; i <= 20; ++i) {
    bool corner = std::find(corners.begin(), corners.end(), i) != corners.end();
    EXPECT_DOUBLE_EQ(brick20[static_cast<std::size_t>(i - 1)], corner ? -0.25 : 0.25)
        << "brick20 node " << i;
  }
}

TEST(Cshape, QuadraticLineBetweenItsNodes) {
  // At s = 1/2: s(s-1)/2 = -1/8, 1 - s^2 = 3/4, s(s+1)/2 = 3/8.
  std::vector<double> n = values(3, 7, 0.5, 0.9, -0.3);
  EXPECT_DOUBLE_EQ(n[0], -0.125);
  EXPECT_DOUBLE_EQ(n[1], 0.75);
  EXPECT_DOUBLE_EQ(n[2], 0.375);
}

TEST(Cshape, FamilyCodesOfOneFamilyGiveTheSameValues) {
  EXPECT_EQ(values(4, 2, 0.3, -0.7, 0.5), values(4, 1, 0.3, -0.7, 0.5));
  EXPECT_EQ(values(9, 3, 0.3, -0.7, 0.5), values(9, 1, 0.3, -0.7, 0.5));
  EXPECT_EQ(values(3, 8, -0.4, 0, 0), values(3, 7, -0.4, 0, 0));
}

TEST(Cshape, UnknownFamilyOrNodeCountIsAnInternalError) {
  const std::vector<std::array<int, 2>> wrong = {{4, 5}, {4, 0}, {4, 6}, {2, 9},  {5, 1},
                                                 {3, 1}, {9, 4}, {4, 4}, {20, 7}, {8, 8}};
  for (const auto& [nnode, family] : wrong) {
    console::OneVector<double> shape(20);
    try {
      cshape(nnode, family, 0, 0, 0, shape);
      ADD_FAILURE() << nnode << " nodes, family " << family << " accepted";
    } catch (const console::FatalError& e) {
      EXPECT_STREQ(e.what(), "cshape: internal error 1");
    }
  }
}
