// cue: removal of the elements with a node outside a slab.
#include <gtest/gtest.h>

#include "support/editing.h"
#include "support/session.h"

using namespace session;
using editing::handback;
using editing::read_step;
using editing::write_step;
using session::mesh_file;

namespace {

const char* const axis_q = "Axis that is normal to the cutting planes (1,2,or 3)";
const char* const first_q = "Coordinate of the first  plane";
const char* const second_q = "Coordinate of the second plane";
const std::string heading = "\nEliminate elements that have at least one node outside the planes\n";
const std::string planes =
    "\nEnter the coordinates of two planes normal to the direction\n"
    "previously specified.\n"
    "The first cordinate must be less than the second.\n";
const std::string repeat = "\nERROR: repeat answer ...\n";

// Four 4-node elements: on z = 0, on z = 1, one with a node at z = 1.0000001, one spanning
// z = 0 to 1. Point 9 is a special node.
std::vector<editing::Point> slab_points() {
  return {{0, 0, 0},   {1, 0, 0},   {1, 1, 0},         {0, 1, 0},    // element 1
          {0, 0, 1},   {1, 0, 1},   {1, 1, 1},         {0, 1, 1},    // element 2
          {0, 0, 0.5}, {1, 0, 0.5}, {1, 1, 1.0000001}, {0, 1, 0.5},  // element 3
          {2, 0, 0},   {3, 0, 0},   {3, 0, 1},         {2, 0, 1}};   // element 4
}
std::string slab(const std::vector<std::vector<int>>& elements) {
  return mesh_file("Slab", "Mesh", elements, slab_points(), {9});
}

}  // namespace

TEST(Cue, BothPlanesAreIncludedAndANodeJustOutsideRemovesItsElement) {
  Session s;
  s.write("slab.vmz", slab({{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {13, 14, 15, 16}}));
  Result r = s.run("rea\nslab\ncue\n3\n0\n1\nwri\nout\nend\n");
  EXPECT_EQ(r.out, startup() + read_step("slab", "new", "Slab", "Mesh", 4, 16, 1) + step("cue") +
                       heading + ask_int(axis_q, 1, "3") + planes + ask_real(first_q, "0", "0") +
                       ask_real(second_q, "0", "1") + handback("Slab", "Mesh", 3, 16, 1) +
                       write_step("out", "slab", 3, 16, 1) + step("end") + leave());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.read("out.vmz"), slab({{1, 2, 3, 4}, {5, 6, 7, 8}, {13, 14, 15, 16}}));
}

TEST(Cue, InvalidAxesAndPlanePairsAreAskedAgain) {
  Session s;
  s.write("slab.vmz", slab({{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {13, 14, 15, 16}}));
  // Axes 0 and 4; then the defaults 0 and 0 (not strictly increasing) and the pair 2, 1.
  Result r = s.run("rea\nslab\ncue\n0\n4\n3\n\n\n2\n1\n0\n0.5\nwri\nout\nend\n");
  EXPECT_EQ(r.out, startup() + read_step("slab", "new", "Slab", "Mesh", 4, 16, 1) + step("cue") +
                       heading + ask_int(axis_q, 1, "0") + repeat + ask_int(axis_q, 1, "4") +
                       repeat + ask_int(axis_q, 1, "3") + planes + ask_real(first_q, "0", "") +
                       ask_real(second_q, "0", "") + repeat + planes + ask_real(first_q, "0", "2") +
                       ask_real(second_q, "0", "1") + repeat + planes +
                       ask_real(first_q, "0", "0") + ask_real(second_q, "0", "0.5") +
                       handback("Slab", "Mesh", 1, 16, 1) + write_step("out", "slab", 1, 16, 1) +
                       step("end") + leave());
  EXPECT_EQ(s.read("out.vmz"), slab({{1, 2, 3, 4}}));
}

TEST(Cue, SlabAlongTheSecondAxisWithNegativeLimits) {
  Session s;
  // Bars along y from -2 to 0 in steps of 0.5; x and z vary so that only y decides.
  std::vector<editing::Point> points = {
      {5, -2, 9}, {-5, -1.5, -9}, {7, -1, 3}, {-7, -0.5, -3}, {1, 0, 1}};
  s.write("bars.vmz", mesh_file("Bars", "Mesh", {{1, 2}, {2, 3}, {3, 4}, {4, 5}}, points, {}));
  Result r = s.run("rea\nbars\ncue\n2\n-1.5\n-0.5\nwri\nout\nend\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.read("out.vmz"), mesh_file("Bars", "Mesh", {{2, 3}, {3, 4}}, points, {}));
}
