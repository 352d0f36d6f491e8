// bts: bricks to shells, with and without the faces two bricks share, and its refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/session.h"
#include "support/transform_session.h"

using namespace session;

namespace {

const std::vector<Point> cube = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0},
                                 {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}};

// The cube and, above it, the points 9 to 12 of a second brick on the same face.
std::vector<Point> two_cubes() {
  std::vector<Point> points = cube;
  for (Point p : {Point{0, 0, 2}, Point{1, 0, 2}, Point{1, 1, 2}, Point{0, 1, 2}}) {
    points.push_back(p);
  }
  return points;
}

// The six faces of the brick 1 to 8 as closed 4-node shells.
const std::vector<std::string> cube_shells = {
    "    1     5        1     2     3     4     1", "    2     5        5     6     7     8     5",
    "    3     5        1     4     8     5     1", "    4     5        2     3     7     6     2",
    "    5     5        1     2     6     5     1", "    6     5        4     3     7     8     4",
};

std::string bts_step(const std::string& answer) {
  return step("bts") + "\nTransform each brick element in six shell elements\n" +
         ask_char("Eliminate common faces", 'y', 'n', 'y', answer);
}

// The answers of a session that reads job.vmz, runs bts with `answer`, writes out.vmz, ends.
std::string bts_session(const std::string& job, const std::string& answer) {
  return "rea\n" + job + "\nbts\n" + answer + "\nwri\nout\nend\n";
}

}  // namespace

TEST(Bts, OneBrickWithoutEliminationGivesItsSixFacesAsClosedShells) {
  Session s;
  const std::string input = mesh_file("One brick", "Cube", {{1, 2, 3, 4, 5, 6, 7, 8}}, cube, {3});
  s.write("one.vmz", input);
  Result r = s.run(bts_session("one", "n"));
  EXPECT_EQ(r.out, startup() + read_step("one", "One brick", "Cube", 1, 8, 1) + bts_step("n") +
                       handback_step("One brick", "Cube", 6, 8, 1) +
                       write_step("one", "out", 6, 8, 1) + step("end") + leave());
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.read("out.vmz"), mesh_head("One brick", "Cube", 6, 8, 1) + lines(cube_shells) +
                                   point_lines(cube) + special_lines({3}));
  EXPECT_FALSE(s.exists("tmp.vmz"));
}

TEST(Bts, TwoBricksSharingAFace) {
  Session s;
  s.write("two.vmz",
          mesh_file("Two bricks", "Stack", {{1, 2, 3, 4, 5, 6, 7, 8}, {5, 6, 7, 8, 9, 10, 11, 12}},
                    two_cubes(), {12, 5}));

  // Without elimination: all twelve faces, the shared one twice.
  Result all = s.run(bts_session("two", "n"));
  EXPECT_EQ(all.status, 0);
  EXPECT_EQ(element_lines(s.read("out.vmz"), 12),
            std::vector<std::string>({
                "    1     5        1     2     3     4     1",
                "    2     5        5     6     7     8     5",
                "    3     5        1     4     8     5     1",
                "    4     5        2     3     7     6     2",
                "    5     5        1     2     6     5     1",
                "    6     5        4     3     7     8     4",
                "    7     5        5     6     7     8     5",
                "    8     5        9    10    11    12     9",
                "    9     5        5     8    12     9     5",
                "   10     5        6     7    11    10     6",
                "   11     5        5     6    10     9     5",
                "   12     5        8     7    11    12     8",
            }));

  // With elimination (the default answer): both copies of the shared face go; every point
  // and special node stays.
  Result outer = s.run(bts_session("two", ""));
  EXPECT_EQ(outer.out, startup() + read_step("two", "Two bricks", "Stack", 2, 12, 2) +
                           bts_step("") + handback_step("Two bricks", "Stack", 10, 12, 2) +
                           write_step("two", "out", 10, 12, 2) + step("end") + leave());
  EXPECT_EQ(outer.err, "");
  EXPECT_EQ(s.read("out.vmz"), mesh_head("Two bricks", "Stack", 10, 12, 2) +
                                   lines({
                                       "    1     5        1     2     3     4     1",
                                       "    2     5        1     4     8     5     1",
                                       "    3     5        2     3     7     6     2",
                                       "    4     5        1     2     6     5     1",
                                       "    5     5        4     3     7     8     4",
                                       "    6     5        9    10    11    12     9",
                                       "    7     5        5     8    12     9     5",
                                       "    8     5        6     7    11    10     6",
                                       "    9     5        5     6    10     9     5",
                                       "   10     5        8     7    11    12     8",
                                   }) +
                                   point_lines(two_cubes()) + special_lines({12, 5}));
}

TEST(Bts, SharedFaceListedFromAnotherCornerIsStillCommon) {
  // The upper brick starts its rings one corner further on: its first face lists 6 7 8 5.
  Session s;
  s.write("turn.vmz",
          mesh_file("Turned", "Stack", {{1, 2, 3, 4, 5, 6, 7, 8}, {6, 7, 8, 5, 10, 11, 12, 9}},
                    two_cubes(), {}));
  Result r = s.run(bts_session("turn", "y"));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.read("out.vmz"), mesh_head("Turned", "Stack", 10, 12, 0) +
                                   lines({
                                       "    1     5        1     2     3     4     1",
                                       "    2     5        1     4     8     5     1",
                                       "    3     5        2     3     7     6     2",
                                       "    4     5        1     2     6     5     1",
                                       "    5     5        4     3     7     8     4",
                                       "    6     5       10    11    12     9    10",
                                       "    7     5        6     5     9    10     6",
                                       "    8     5        7     8    12    11     7",
                                       "    9     5        6     7    11    10     6",
                                       "   10     5        5     8    12     9     5",
                                   }) +
                                   point_lines(two_cubes()));
}

TEST(Bts, CoincidentPointsWithOtherNumbersDoNotMakeACommonFace) {
  // The upper brick stands on points 13 to 16, which lie where points 5 to 8 lie.
  std::vector<Point> points = two_cubes();
  for (int p = 5; p <= 8; ++p) points.push_back(cube[static_cast<std::size_t>(p - 1)]);
  Session s;
  s.write("apart.vmz",
          mesh_file("Apart", "Stack", {{1, 2, 3, 4, 5, 6, 7, 8}, {13, 14, 15, 16, 9, 10, 11, 12}},
                    points, {}));
  Result r = s.run(bts_session("apart", "y"));
  EXPECT_EQ(r.out, startup() + read_step("apart", "Apart", "Stack", 2, 16, 0) + bts_step("y") +
                       handback_step("Apart", "Stack", 12, 16, 0) +
                       write_step("apart", "out", 12, 16, 0) + step("end") + leave());
  EXPECT_EQ(element_lines(s.read("out.vmz"), 12)[6],
            "    7     5       13    14    15    16    13");
}

TEST(Bts, BlockOfTwoByTwoByTwoBricksKeepsOnlyItsOuterSurface) {
  std::vector<Point> points;
  auto id = [](int i, int j, int k) { return 1 + i + 3 * (j + 3 * k); };
  for (int k = 0; k <= 2; ++k)
    for (int j = 0; j <= 2; ++j)
      for (int i = 0; i <= 2; ++i) points.push_back({1.0 * i, 1.0 * j, 1.0 * k});
  std::vector<std::vector<int>> bricks;
  for (int k = 0; k < 2; ++k)
    for (int j = 0; j < 2; ++j)
      for (int i = 0; i < 2; ++i)
        bricks.push_back({id(i, j, k), id(i + 1, j, k), id(i + 1, j + 1, k), id(i, j + 1, k),
                          id(i, j, k + 1), id(i + 1, j, k + 1), id(i + 1, j + 1, k + 1),
                          id(i, j + 1, k + 1)});
  Session s;
  s.write("block.vmz", mesh_file("Block", "B2x2x2", bricks, points, {14}));
  Result r = s.run(bts_session("block", "y"));
  EXPECT_EQ(r.out, startup() + read_step("block", "Block", "B2x2x2", 8, 27, 1) + bts_step("y") +
                       handback_step("Block", "B2x2x2", 24, 27, 1) +
                       write_step("block", "out", 24, 27, 1) + step("end") + leave());

  // Every shell is a closed 4-node list on one of the six sides of the block, and no shell
  // is there twice: 6 sides of 4 faces each.
  std::set<std::set<int>> seen;
  for (const std::string& line : element_lines(s.read("out.vmz"), 24)) {
    std::istringstream in(line);
    int number = 0, count = 0;
    std::vector<int> nodes(5);
    in >> number >> count >> nodes[0] >> nodes[1] >> nodes[2] >> nodes[3] >> nodes[4];
    ASSERT_EQ(count, 5) << line;
    EXPECT_EQ(nodes[4], nodes[0]) << line;
    bool on_side = false;
    for (int d = 0; d < 3; ++d) {
      for (double side : {0.0, 2.0}) {
        on_side = on_side || std::all_of(nodes.begin(), nodes.end(), [&](int p) {
                    return points[static_cast<std::size_t>(p - 1)][d] == side;
                  });
      }
    }
    EXPECT_TRUE(on_side) << line;
    EXPECT_TRUE(seen.insert(std::set<int>(nodes.begin(), nodes.end())).second) << line;
  }
  EXPECT_EQ(seen.size(), 24u);
}

TEST(Bts, TwentyNodeBricksGiveEightNodeShells) {
  std::vector<Point> points;
  for (int p = 1; p <= 32; ++p) points.push_back({0.5 * p, 1.0, -0.25 * p});
  std::vector<int> lower, upper;
  for (int p = 1; p <= 20; ++p) lower.push_back(p);
  for (int p = 13; p <= 32; ++p) upper.push_back(p);  // its first face is the lower's last
  Session s;
  s.write("one.vmz", mesh_file("Quadratic", "Q20", {lower}, points, {}));
  s.write("two.vmz", mesh_file("Quadratic", "Q20", {lower, upper}, points, {}));

  Result one = s.run(bts_session("one", "n"));
  EXPECT_EQ(one.status, 0);
  EXPECT_EQ(s.read("out.vmz"),
            mesh_head("Quadratic", "Q20", 6, 32, 0) +
                lines({
                    "    1     9        1     8     7    12    19    20    13     9     1",
                    "    2     9        3     4     5    11    17    16    15    10     3",
                    "    3     9        1     2     3    10    15    14    13     9     1",
                    "    4     9        7     6     5    11    17    18    19    12     7",
                    "    5     9        1     2     3     4     5     6     7     8     1",
                    "    6     9       13    14    15    16    17    18    19    20    13",
                }) +
                point_lines(points));

  Result two = s.run(bts_session("two", "y"));
  EXPECT_EQ(two.out, startup() + read_step("two", "Quadratic", "Q20", 2, 32, 0) + bts_step("y") +
                         handback_step("Quadratic", "Q20", 10, 32, 0) +
                         write_step("two", "out", 10, 32, 0) + step("end") + leave());
  EXPECT_EQ(element_lines(s.read("out.vmz"), 10),
            std::vector<std::string>({
                "    1     9        1     8     7    12    19    20    13     9     1",
                "    2     9        3     4     5    11    17    16    15    10     3",
                "    3     9        1     2     3    10    15    14    13     9     1",
                "    4     9        7     6     5    11    17    18    19    12     7",
                "    5     9        1     2     3     4     5     6     7     8     1",
                "    6     9       13    20    19    24    31    32    25    21    13",
                "    7     9       15    16    17    23    29    28    27    22    15",
                "    8     9       13    14    15    22    27    26    25    21    13",
                "    9     9       19    18    17    23    29    30    31    24    19",
                "   10     9       25    26    27    28    29    30    31    32    25",
            }));
}

TEST(Bts, ClosedEightNodeQuadrilateralsAreTransformedAsBricks) {
  Session s;
  s.write("quad.vmz", mesh_file("Closed", "Q8", {{1, 2, 3, 4, 5, 6, 7, 8, 1}}, cube, {}));
  Result r = s.run(bts_session("quad", "y"));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.read("out.vmz"),
            mesh_head("Closed", "Q8", 6, 8, 0) + lines(cube_shells) + point_lines(cube));
}

TEST(Bts, RefusesNodeCountsThatDiffer) {
  // A brick, then a closed 4-node shell (five entries, four nodes).
  Session s;
  s.write("mix.vmz",
          mesh_file("Mixed", "Mix", {{1, 2, 3, 4, 5, 6, 7, 8}, {1, 2, 3, 4, 1}}, cube, {}));
  // The buffer keeps its written mark: end leaves without asking.
  Result r = s.run("rea\nmix\nbts\ny\n\nend\n");
  EXPECT_EQ(r.out, startup() + read_step("mix", "Mixed", "Mix", 2, 8, 0) + bts_step("y") +
                       transform_refusal() + step("end") + leave());
  EXPECT_EQ(r.err,
            lines({"", "Checking element n.        2", "", "N. of nodes per element =        4"}) +
                warning("N. of nodes per element must be constant"));
  EXPECT_EQ(r.status, 0);

  // The first element that differs is the one named.
  s.write("mix2.vmz",
          mesh_file("Mixed", "Mix", {{1, 2, 3, 4, 5, 6, 7, 8}, {8, 7, 6, 5, 4, 3, 2, 1}, {1, 2}},
                    cube, {}));
  Result third = s.run("rea\nmix2\nbts\nn\n\nend\n");
  EXPECT_EQ(third.err,
            lines({"", "Checking element n.        3", "", "N. of nodes per element =        2"}) +
                warning("N. of nodes per element must be constant"));
  EXPECT_EQ(third.status, 0);
}

TEST(Bts, RefusesShellsAndKeepsTheirClosedLists) {
  Session s;
  const std::string input =
      mesh_file("Shells", "Q4", {{1, 2, 3, 4, 1}, {5, 6, 7, 8, 5}}, cube, {2});
  s.write("shells.vmz", input);
  Result r = s.run("rea\nshells\nbts\n\n\nwri\nout\nend\n");
  EXPECT_EQ(r.out, startup() + read_step("shells", "Shells", "Q4", 2, 8, 1) + bts_step("") +
                       transform_refusal() + write_step("shells", "out", 2, 8, 1) + step("end") +
                       leave());
  EXPECT_EQ(r.err, lines({"", "N. of nodes per element =        4"}) +
                       warning("N. of nodes per element must be 8 or 20"));
  EXPECT_EQ(s.read("out.vmz"), input);
}

TEST(Bts, NeedsAnElement) {
  Session s;
  Result r = s.run("bts\nend\n");
  EXPECT_EQ(r.out, startup() + step("bts") + "\nERROR: need at least one element\n" + step("end") +
                       leave());
  EXPECT_EQ(r.status, 0);
}

TEST(Bts, OutputFileThatCannotBeOpenedEndsTheProgram) {
  Session s;
  s.write("one.vmz", mesh_file("One brick", "Cube", {{1, 2, 3, 4, 5, 6, 7, 8}}, cube, {}));
  std::filesystem::create_directories(s.path("tmp.vmz/in-the-way"));
  Result r = s.run("rea\none\nbts\ny\n");
  EXPECT_EQ(r.out, startup() + read_step("one", "One brick", "Cube", 1, 8, 0) + bts_step("y") +
                       "\nWriting file: tmp.vmz\n");
  EXPECT_EQ(r.err, fatal("Unable to open output file - jobname.vmz"));
  EXPECT_EQ(r.status, 1);
}
