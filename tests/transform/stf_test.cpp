// stf: shells to bars, with and without later copies of a bar, and its refusals.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/session.h"
#include "support/transform_session.h"

using namespace session;

namespace {

// A 3 x 3 grid of points in the plane z = 0, numbered row by row:
//   7 8 9
//   4 5 6
//   1 2 3
std::vector<Point> grid3() {
  std::vector<Point> points;
  for (int j = 0; j < 3; ++j)
    for (int i = 0; i < 3; ++i) points.push_back({0.5 * i, 0.5 * j, 0.0});
  return points;
}

// The sides of the shells 1 2 5 4 and 2 3 6 5, the shared side 2-5 once.
const std::vector<std::string> pair_bars = {
    "    1     2        1     2", "    2     2        2     5", "    3     2        4     5",
    "    4     2        1     4", "    5     2        2     3", "    6     2        3     6",
    "    7     2        5     6",
};

std::string stf_step(const std::string& answer) {
  return step("stf") + "\nTransform each shell element in four frame elements\n" +
         ask_char("Eliminate common bars", 'y', 'n', 'y', answer);
}

std::string stf_session(const std::string& job, const std::string& answer) {
  return "rea\n" + job + "\nstf\n" + answer + "\nwri\nout\nend\n";
}

}  // namespace

TEST(Stf, FourNodeShellGivesTwoNodeBarsSmallerPointFirst) {
  Session s;
  s.write("one.vmz", mesh_file("One shell", "Q4", {{7, 3, 5, 9}}, grid3(), {5, 1}));
  Result r = s.run(stf_session("one", "n"));
  EXPECT_EQ(r.out, startup() + read_step("one", "One shell", "Q4", 1, 9, 2) + stf_step("n") +
                       handback_step("One shell", "Q4", 4, 9, 2) +
                       write_step("one", "out", 4, 9, 2) + step("end") + leave());
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.read("out.vmz"), mesh_head("One shell", "Q4", 4, 9, 2) +
                                   lines({
                                       "    1     2        3     7",
                                       "    2     2        3     5",
                                       "    3     2        5     9",
                                       "    4     2        7     9",
                                   }) +
                                   point_lines(grid3()) + special_lines({5, 1}));
  EXPECT_FALSE(s.exists("tmp.vmz"));
}

TEST(Stf, EightAndNineNodeShellsGiveThreeNodeBarsInSideOrder) {
  const std::vector<std::string> bars = {
      "    1     3        1     2     3",
      "    2     3        3     4     5",
      "    3     3        5     6     7",
      "    4     3        7     8     1",
  };
  Session s;
  s.write("q8.vmz", mesh_file("Serendipity", "Q8", {{1, 2, 3, 4, 5, 6, 7, 8}}, grid3(), {}));
  s.write("q9.vmz", mesh_file("Lagrange", "Q9", {{1, 2, 3, 4, 5, 6, 7, 8, 9}}, grid3(), {9}));

  Result q8 = s.run(stf_session("q8", "n"));
  EXPECT_EQ(q8.status, 0);
  EXPECT_EQ(s.read("out.vmz"),
            mesh_head("Serendipity", "Q8", 4, 9, 0) + lines(bars) + point_lines(grid3()));

  // The centre node is on no bar, but stays a point (and a special node).
  Result q9 = s.run(stf_session("q9", "y"));
  EXPECT_EQ(q9.out, startup() + read_step("q9", "Lagrange", "Q9", 1, 9, 1) + stf_step("y") +
                        handback_step("Lagrange", "Q9", 4, 9, 1) +
                        write_step("q9", "out", 4, 9, 1) + step("end") + leave());
  EXPECT_EQ(s.read("out.vmz"), mesh_head("Lagrange", "Q9", 4, 9, 1) + lines(bars) +
                                   point_lines(grid3()) + special_lines({9}));
}

TEST(Stf, SideSharedByTwoShellsIsWrittenOnceWhereItFirstOccurs) {
  Session s;
  s.write("two.vmz", mesh_file("Two shells", "Pair", {{1, 2, 5, 4}, {2, 3, 6, 5}}, grid3(), {}));

  Result all = s.run(stf_session("two", "n"));
  EXPECT_EQ(all.status, 0);
  EXPECT_EQ(element_lines(s.read("out.vmz"), 8), std::vector<std::string>({
                                                     "    1     2        1     2",
                                                     "    2     2        2     5",
                                                     "    3     2        4     5",
                                                     "    4     2        1     4",
                                                     "    5     2        2     3",
                                                     "    6     2        3     6",
                                                     "    7     2        5     6",
                                                     "    8     2        2     5",
                                                 }));

  Result once = s.run(stf_session("two", ""));
  EXPECT_EQ(once.out, startup() + read_step("two", "Two shells", "Pair", 2, 9, 0) + stf_step("") +
                          handback_step("Two shells", "Pair", 7, 9, 0) +
                          write_step("two", "out", 7, 9, 0) + step("end") + leave());
  EXPECT_EQ(s.read("out.vmz"),
            mesh_head("Two shells", "Pair", 7, 9, 0) + lines(pair_bars) + point_lines(grid3()));
}

TEST(Stf, TwoByTwoPatchGivesTwelveBars) {
  Session s;
  s.write("patch.vmz",
          mesh_file("Patch", "P2x2", {{1, 2, 5, 4}, {2, 3, 6, 5}, {4, 5, 8, 7}, {5, 6, 9, 8}},
                    grid3(), {}));
  Result r = s.run(stf_session("patch", "y"));
  EXPECT_EQ(r.out, startup() + read_step("patch", "Patch", "P2x2", 4, 9, 0) + stf_step("y") +
                       handback_step("Patch", "P2x2", 12, 9, 0) +
                       write_step("patch", "out", 12, 9, 0) + step("end") + leave());
  EXPECT_EQ(s.read("out.vmz"), mesh_head("Patch", "P2x2", 12, 9, 0) +
                                   lines({
                                       "    1     2        1     2",
                                       "    2     2        2     5",
                                       "    3     2        4     5",
                                       "    4     2        1     4",
                                       "    5     2        2     3",
                                       "    6     2        3     6",
                                       "    7     2        5     6",
                                       "    8     2        5     8",
                                       "    9     2        7     8",
                                       "   10     2        4     7",
                                       "   11     2        6     9",
                                       "   12     2        8     9",
                                   }) +
                                   point_lines(grid3()));
}

TEST(Stf, SideSharedByThreeShellsKeepsTwoOfItsThreeBars) {
  // Three shells hinged on the side 1-2, like pages of a book.
  std::vector<Point> points = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0},  {0, 1, 0},
                               {1, 0, 1}, {0, 0, 1}, {1, -1, 0}, {0, -1, 0}};
  Session s;
  s.write("book.vmz",
          mesh_file("Book", "Pages", {{1, 2, 3, 4}, {2, 1, 6, 5}, {1, 2, 7, 8}}, points, {}));
  Result r = s.run(stf_session("book", "y"));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.read("out.vmz"), mesh_head("Book", "Pages", 11, 8, 0) +
                                   lines({
                                       "    1     2        1     2",
                                       "    2     2        2     3",
                                       "    3     2        3     4",
                                       "    4     2        1     4",
                                       "    5     2        1     6",
                                       "    6     2        5     6",
                                       "    7     2        2     5",
                                       "    8     2        1     2",
                                       "    9     2        2     7",
                                       "   10     2        7     8",
                                       "   11     2        1     8",
                                   }) +
                                   point_lines(points));
}

TEST(Stf, ThreeNodeSideListedTheOtherWayRoundIsCommon) {
  // Two 8-node shells side by side; the second lists the shared side as 5 4 3.
  std::vector<Point> points;
  for (int p = 1; p <= 13; ++p) points.push_back({0.25 * p, 0.125 * p, 0.0});
  Session s;
  s.write("q8.vmz",
          mesh_file("Side by side", "Q8", {{1, 2, 3, 4, 5, 6, 7, 8}, {5, 4, 3, 9, 10, 11, 12, 13}},
                    points, {}));
  Result r = s.run(stf_session("q8", "y"));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(element_lines(s.read("out.vmz"), 7), std::vector<std::string>({
                                                     "    1     3        1     2     3",
                                                     "    2     3        3     4     5",
                                                     "    3     3        5     6     7",
                                                     "    4     3        7     8     1",
                                                     "    5     3        3     9    10",
                                                     "    6     3       10    11    12",
                                                     "    7     3       12    13     5",
                                                 }));
}

TEST(Stf, CoincidentPointsWithOtherNumbersDoNotMakeACommonBar) {
  // The second shell uses points 10 and 11, which lie where points 2 and 5 lie.
  std::vector<Point> points = grid3();
  points.push_back(points[1]);
  points.push_back(points[4]);
  Session s;
  s.write("apart.vmz", mesh_file("Apart", "Pair", {{1, 2, 5, 4}, {10, 3, 6, 11}}, points, {}));
  Result r = s.run(stf_session("apart", "y"));
  EXPECT_EQ(r.out, startup() + read_step("apart", "Apart", "Pair", 2, 11, 0) + stf_step("y") +
                       handback_step("Apart", "Pair", 8, 11, 0) +
                       write_step("apart", "out", 8, 11, 0) + step("end") + leave());
  EXPECT_EQ(element_lines(s.read("out.vmz"), 8)[7], "    8     2       10    11");
}

TEST(Stf, ClosedFourNodeListsCountAsFourNodes) {
  Session s;
  s.write("closed.vmz", mesh_file("Closed", "Q4", {{1, 2, 5, 4, 1}, {2, 3, 6, 5, 2}}, grid3(), {}));
  Result r = s.run(stf_session("closed", "y"));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.read("out.vmz"),
            mesh_head("Closed", "Q4", 7, 9, 0) + lines(pair_bars) + point_lines(grid3()));
}

TEST(Stf, RefusesTwentyNodeBricks) {
  // (An 8-node brick would pass: the check is on the node count only.)
  std::vector<Point> points;
  std::vector<int> brick;
  for (int p = 1; p <= 20; ++p) {
    points.push_back({0.5 * p, 0.0, 1.0});
    brick.push_back(p);
  }
  Session s;
  const std::string input = mesh_file("Brick", "B20", {brick}, points, {4});
  s.write("brick.vmz", input);
  Result r = s.run("rea\nbrick\nstf\nn\n\nwri\nout\nend\n");
  EXPECT_EQ(r.out, startup() + read_step("brick", "Brick", "B20", 1, 20, 1) + stf_step("n") +
                       transform_refusal() + write_step("brick", "out", 1, 20, 1) + step("end") +
                       leave());
  EXPECT_EQ(r.err, lines({"", "N. of nodes per element =       20"}) +
                       warning("N. of nodes per element must be 4, 8 or 9"));
  EXPECT_EQ(s.read("out.vmz"), input);
}

TEST(Stf, RefusesNodeCountsThatDifferAndKeepsClosedLists) {
  // A closed 4-node shell (five entries) beside a closed 8-node shell (nine entries).
  Session s;
  const std::string input =
      mesh_file("Mixed", "Mix", {{1, 2, 5, 4, 1}, {1, 2, 3, 6, 9, 8, 7, 4, 1}}, grid3(), {});
  s.write("mix.vmz", input);
  Result r = s.run("rea\nmix\nstf\ny\n\nend\nwri\nout\nend\n");
  // After the refusal end leaves at once: the buffer was not changed.
  EXPECT_EQ(r.out, startup() + read_step("mix", "Mixed", "Mix", 2, 9, 0) + stf_step("y") +
                       transform_refusal() + step("end") + leave());
  EXPECT_EQ(r.err,
            lines({"", "Checking element n.        2", "", "N. of nodes per element =        8"}) +
                warning("N. of nodes per element must be constant"));

  Result kept = s.run("rea\nmix\nstf\ny\n\nwri\nout\nend\n");
  EXPECT_EQ(kept.status, 0);
  EXPECT_EQ(s.read("out.vmz"), input);
}

TEST(Stf, NeedsAnElement) {
  Session s;
  Result r = s.run("stf\nend\n");
  EXPECT_EQ(r.out, startup() + step("stf") + "\nERROR: need at least one element\n" + step("end") +
                       leave());
  EXPECT_EQ(r.status, 0);
}
