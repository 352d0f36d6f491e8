// ele: elimination of ranges of elements.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/editing.h"
#include "support/session.h"

using namespace session;
using editing::handback;
using editing::read_step;
using editing::write_step;
using session::mesh_file;

namespace {

const std::string rule =
    "\n=====================================================================\n";
const char* const first_q = "Number of the first element to be eliminated (0=end)";
const char* const last_q = "Number of the last  element to be eliminated (0=end)";

// A chain of 10 bars along x: bar i joins points i and i + 1; point 11 is a special node.
std::vector<editing::Point> chain_points() {
  std::vector<editing::Point> points;
  for (int i = 0; i <= 10; ++i) points.push_back({static_cast<double>(i), 0, 0});
  return points;
}
std::string chain(const std::vector<std::vector<int>>& bars) {
  return mesh_file("Bars", "Mesh", bars, chain_points(), {11});
}
std::string full_chain() {
  std::vector<std::vector<int>> bars;
  for (int i = 1; i <= 10; ++i) bars.push_back({i, i + 1});
  return chain(bars);
}

// Runs rea of the chain, ele with the given range answers, wri to out.vmz.
Result eliminate(Session& s, const std::string& ranges) {
  s.write("bars.vmz", full_chain());
  return s.run("rea\nbars\nele\n" + ranges + "wri\nout\nend\n");
}

}  // namespace

TEST(Ele, ZeroAtOnceWritesTheMeshUnchangedButRounded) {
  Session s;
  s.write("bars.vmz",
          "Bars\nMesh\n2 3 0\n1 2 1 2\n2 2 2 3\n"
          "1 0 0 0\n2 1.234567891 0 0\n3 2 0 0\n");
  Result r = s.run("rea\nbars\nele\n\nwri\nout\nend\n");
  EXPECT_EQ(r.out, startup() + read_step("bars", "new", "Bars", "Mesh", 2, 3, 0) + step("ele") +
                       "\nEliminate ranges of elements\n" + rule + ask_int(first_q, 0, "") +
                       handback("Bars", "Mesh", 2, 3, 0) + write_step("out", "bars", 2, 3, 0) +
                       step("end") + leave());
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.read("out.vmz"), lines({
                                   "Bars",
                                   "Mesh",
                                   "    2       3       0",
                                   "    1     2        1     2",
                                   "    2     2        2     3",
                                   "    1      0.00000000      0.00000000      0.00000000",
                                   "    2      1.23456789      0.00000000      0.00000000",
                                   "    3      2.00000000      0.00000000      0.00000000",
                               }));
  EXPECT_FALSE(s.exists("tmp.vmz"));
}

TEST(Ele, OverlappingRangesKeepTheOthersInTheirOldOrder) {
  Session s;
  Result r = eliminate(s, "3\n5\n4\n7\n0\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.read("out.vmz"), chain({{1, 2}, {2, 3}, {8, 9}, {9, 10}, {10, 11}}));
}

TEST(Ele, NestedAndRepeatedRangesInAnyOrder) {
  Session s;
  // A wide range, one inside it, one from the same first element but shorter, a single one.
  Result r = eliminate(s, "2\n9\n3\n4\n2\n3\n10\n10\n0\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.read("out.vmz"), chain({{1, 2}}));

  Session t;
  r = eliminate(t, "5\n5\n1\n6\n0\n");
  EXPECT_EQ(t.read("out.vmz"), chain({{7, 8}, {8, 9}, {9, 10}, {10, 11}}));
}

TEST(Ele, InvalidRangesAreAskedAgainAndAcceptedOnesStayMarked) {
  Session s;
  Result r = eliminate(s, "3\n5\n5\n2\n1\n11\n0\n");
  std::string error = "\nERROR: invalid element range - repeat answer ...\n";
  std::string dialogue = "\nEliminate ranges of elements\n" + rule + ask_int(first_q, 0, "3") +
                         ask_int(last_q, 0, "5") + rule + ask_int(first_q, 0, "5") +
                         ask_int(last_q, 0, "2") + error + rule + ask_int(first_q, 0, "1") +
                         ask_int(last_q, 0, "11") + error + rule + ask_int(first_q, 0, "0");
  EXPECT_EQ(r.out, startup() + read_step("bars", "new", "Bars", "Mesh", 10, 11, 1) + step("ele") +
                       dialogue + handback("Bars", "Mesh", 7, 11, 1) +
                       write_step("out", "bars", 7, 11, 1) + step("end") + leave());
  EXPECT_EQ(s.read("out.vmz"), chain({{1, 2}, {2, 3}, {6, 7}, {7, 8}, {8, 9}, {9, 10}, {10, 11}}));
}

TEST(Ele, ZeroAsLastNumberEndsWithoutUsingTheFirst) {
  Session s;
  Result r = eliminate(s, "3\n0\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.read("out.vmz"), full_chain());
}

TEST(Ele, RemovingEveryElementKeepsAllPoints) {
  Session s;
  Result r = eliminate(s, "1\n10\n0\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.read("out.vmz"), chain({}));
}

TEST(Ele, RefusedOnAMeshWithoutElements) {
  Session s;
  s.write("pts.vmz", mesh_file("Points", "Mesh", {}, {{0, 0, 0}}, {}));
  Result r = s.run("rea\npts\nele\nend\n");
  EXPECT_EQ(r.out, startup() + read_step("pts", "new", "Points", "Mesh", 0, 1, 0) + step("ele") +
                       "\nERROR: need at least one element\n" + step("end") + leave());
}

TEST(Ele, TemporaryFileThatCannotBeCreatedIsFatal) {
  Session s;
  s.write("bars.vmz", full_chain());
  // A folder in the file's place, not empty, so that start-up cannot remove it.
  ASSERT_EQ(::mkdir(s.path("tmp.vmz").c_str(), 0700), 0);
  s.write("tmp.vmz/keep", "");
  Result r = s.run("rea\nbars\nele\n0\n");
  EXPECT_EQ(r.err, fatal("Unable to open output file - tmp.vmz"));
  EXPECT_EQ(r.status, 1);
}
