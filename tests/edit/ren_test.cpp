// ren: renumbering with joining of coincident points, element sorting, special nodes.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/editing.h"
#include "support/session.h"

using namespace session;
using editing::handback;
using editing::read_step;
using editing::write_step;
using session::mesh_file;

namespace {

const char* const biggest_q = "Direction with the biggest  number of nodes (1/2/3)";
const char* const medium_q = "Direction with the medium   number of nodes (1/2/3)";
const char* const smallest_q = "Direction with the smallest number of nodes (1/2/3)";
const std::string heading =
    "\nSort the coord. of the nodes, the numbers of the elem. and the sp. nodes\n";
const std::string please_wait =
    "\nSorting (quicksort) - please wait\n"
    "If you're using a RISC workstation don't leave your seat !!!\n";

// The answers of ren after the directions: sort elements, sort special nodes, connect, tolerance.
std::string options(const std::string& elements, const std::string& special,
                    const std::string& connect, const std::string& tol) {
  return ask_char("Sort the element numbers", 'y', 'n', 'y', elements) +
         ask_char("Sort the special   nodes", 'y', 'n', 'y', special) +
         ask_char("Connect coincident nodes", 'y', 'n', 'y', connect) +
         ask_real("Tolerance to compare nodal coordinates", "1e-05", tol);
}
std::string directions(const std::string& d1, const std::string& d2, const std::string& d3) {
  return ask_int(biggest_q, 1, d1) + ask_int(medium_q, 2, d2) + ask_int(smallest_q, 3, d3);
}
// The report of the largest node-number difference, the elements reaching it as text.
std::string report(const std::string& elements, int difference) {
  return "\nElement(s) with a difference between nodes equal to the maximum difference:\n" +
         elements + "\n" +
         format("\nMaximum difference between nodes of the same element = %8d\n", difference) +
         "\nWriting file: tmp.vmz\n";
}

// Two unit cubes side by side along x, as a brick repeated once with step 1: 16 points, the
// four points of the shared face twice. Points 2 and 9 (both at (1,0,0)) are special nodes.
std::string two_cubes(const std::vector<int>& specials = {2, 9}) {
  return mesh_file("Cubes", "Mesh", {{1, 2, 4, 3, 5, 6, 8, 7}, {9, 10, 12, 11, 13, 14, 16, 15}},
                   {{0, 0, 0},
                    {1, 0, 0},
                    {0, 1, 0},
                    {1, 1, 0},
                    {0, 0, 1},
                    {1, 0, 1},
                    {0, 1, 1},
                    {1, 1, 1},
                    {1, 0, 0},
                    {2, 0, 0},
                    {1, 1, 0},
                    {2, 1, 0},
                    {1, 0, 1},
                    {2, 0, 1},
                    {1, 1, 1},
                    {2, 1, 1}},
                   specials);
}

// The twelve points of the joined cubes, x slowest and z fastest.
const std::vector<std::string> joined_points = {
    "    1      0.00000000      0.00000000      0.00000000",
    "    2      0.00000000      0.00000000      1.00000000",
    "    3      0.00000000      1.00000000      0.00000000",
    "    4      0.00000000      1.00000000      1.00000000",
    "    5      1.00000000      0.00000000      0.00000000",
    "    6      1.00000000      0.00000000      1.00000000",
    "    7      1.00000000      1.00000000      0.00000000",
    "    8      1.00000000      1.00000000      1.00000000",
    "    9      2.00000000      0.00000000      0.00000000",
    "   10      2.00000000      0.00000000      1.00000000",
    "   11      2.00000000      1.00000000      0.00000000",
    "   12      2.00000000      1.00000000      1.00000000",
};

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace

TEST(Ren, TwoTouchingCubesAreJoinedIntoTwelvePoints) {
  Session s;
  s.write("cubes.vmz", two_cubes());
  Result r = s.run("rea\ncubes\nren\n\n\n\n\n\n\n\nwri\nout\nend\n");
  EXPECT_EQ(r.out, startup() + read_step("cubes", "new", "Cubes", "Mesh", 2, 16, 2) + step("ren") +
                       heading + directions("", "", "") + options("", "", "", "") + please_wait +
                       report("       1       2", 7) + handback("Cubes", "Mesh", 2, 12, 1) +
                       write_step("out", "cubes", 2, 12, 1) + step("end") + leave());
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.read("out.vmz"),
            lines(std::vector<std::string>{
                      "Cubes",
                      "Mesh",
                      "    2      12       1",
                      "    1     8        1     5     7     3     2     6     8     4",
                      "    2     8        5     9    11     7     6    10    12     8",
                  } +
                  joined_points + std::vector<std::string>{"    1     5"}));
}

TEST(Ren, WithoutJoiningCoincidentPointsGetConsecutiveNumbers) {
  Session s;
  s.write("cubes.vmz", two_cubes());
  Result r = s.run("rea\ncubes\nren\n\n\n\n\n\nn\n\nwri\nout\nend\n");
  EXPECT_EQ(r.out, startup() + read_step("cubes", "new", "Cubes", "Mesh", 2, 16, 2) + step("ren") +
                       heading + directions("", "", "") + options("", "", "n", "") + please_wait +
                       report("       2", 11) + handback("Cubes", "Mesh", 2, 16, 2) +
                       write_step("out", "cubes", 2, 16, 2) + step("end") + leave());
  // The partitions of the sort put the copy of (1,0,0) from the second cube first, and so on.
  EXPECT_EQ(s.read("out.vmz"), lines({
                                   "Cubes",
                                   "Mesh",
                                   "    2      16       2",
                                   "    1     8        1     6    10     3     2     8    11     4",
                                   "    2     8        5    13    15     9     7    14    16    12",
                                   "    1      0.00000000      0.00000000      0.00000000",
                                   "    2      0.00000000      0.00000000      1.00000000",
                                   "    3      0.00000000      1.00000000      0.00000000",
                                   "    4      0.00000000      1.00000000      1.00000000",
                                   "    5      1.00000000      0.00000000      0.00000000",
                                   "    6      1.00000000      0.00000000      0.00000000",
                                   "    7      1.00000000      0.00000000      1.00000000",
                                   "    8      1.00000000      0.00000000      1.00000000",
                                   "    9      1.00000000      1.00000000      0.00000000",
                                   "   10      1.00000000      1.00000000      0.00000000",
                                   "   11      1.00000000      1.00000000      1.00000000",
                                   "   12      1.00000000      1.00000000      1.00000000",
                                   "   13      2.00000000      0.00000000      0.00000000",
                                   "   14      2.00000000      0.00000000      1.00000000",
                                   "   15      2.00000000      1.00000000      0.00000000",
                                   "   16      2.00000000      1.00000000      1.00000000",
                                   "    1     5",
                                   "    2     6",
                               }));
}

TEST(Ren, JoinedSpecialNodesAreListedTwiceUnlessSorted) {
  Session s;
  s.write("cubes.vmz", two_cubes({9, 3, 2}));
  Result r = s.run("rea\ncubes\nren\n\n\n\n\nn\n\n\nwri\nout\nend\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(
      s.read("out.vmz"),
      lines(std::vector<std::string>{
                "Cubes",
                "Mesh",
                "    2      12       3",
                "    1     8        1     5     7     3     2     6     8     4",
                "    2     8        5     9    11     7     6    10    12     8",
            } +
            joined_points + std::vector<std::string>{"    1     5", "    2     3", "    3     5"}));

  Session t;
  t.write("cubes.vmz", two_cubes({9, 3, 2}));
  r = t.run("rea\ncubes\nren\n\n\n\n\n\n\n\nwri\nout\nend\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(t.read("out.vmz"),
            lines(std::vector<std::string>{
                      "Cubes",
                      "Mesh",
                      "    2      12       2",
                      "    1     8        1     5     7     3     2     6     8     4",
                      "    2     8        5     9    11     7     6    10    12     8",
                  } +
                  joined_points + std::vector<std::string>{"    1     3", "    2     5"}));
}

TEST(Ren, InvalidDirectionsAreAskedAgainAndAnyOrderOfTheThreeIsAccepted) {
  Session s;
  s.write("cubes.vmz", two_cubes());
  Result r = s.run("rea\ncubes\nren\n1\n1\n2\n3\n1\n2\n\n\n\n\nwri\nout\nend\n");
  EXPECT_EQ(r.out, startup() + read_step("cubes", "new", "Cubes", "Mesh", 2, 16, 2) + step("ren") +
                       heading + directions("1", "1", "2") +
                       "\nERROR: invalid set of directions - repeat answer ...\n" +
                       directions("3", "1", "2") + options("", "", "", "") + please_wait +
                       report("       1       2", 9) + handback("Cubes", "Mesh", 2, 12, 1) +
                       write_step("out", "cubes", 2, 12, 1) + step("end") + leave());
  // z slowest, then x, y fastest.
  EXPECT_EQ(s.read("out.vmz"), lines({
                                   "Cubes",
                                   "Mesh",
                                   "    2      12       1",
                                   "    1     8        1     3     4     2     7     9    10     8",
                                   "    2     8        3     5     6     4     9    11    12    10",
                                   "    1      0.00000000      0.00000000      0.00000000",
                                   "    2      0.00000000      1.00000000      0.00000000",
                                   "    3      1.00000000      0.00000000      0.00000000",
                                   "    4      1.00000000      1.00000000      0.00000000",
                                   "    5      2.00000000      0.00000000      0.00000000",
                                   "    6      2.00000000      1.00000000      0.00000000",
                                   "    7      0.00000000      0.00000000      1.00000000",
                                   "    8      0.00000000      1.00000000      1.00000000",
                                   "    9      1.00000000      0.00000000      1.00000000",
                                   "   10      1.00000000      1.00000000      1.00000000",
                                   "   11      2.00000000      0.00000000      1.00000000",
                                   "   12      2.00000000      1.00000000      1.00000000",
                                   "    1     3",
                               }));
}

TEST(Ren, BarsAreWrittenFromTheSmallerNodeAndOtherElementsKeepTheirOrder) {
  Session s;
  // Points along x in falling order, so point p becomes point 8 - p.
  std::vector<editing::Point> points;
  for (int p = 1; p <= 7; ++p) points.push_back({static_cast<double>(7 - p), 0, 0});
  s.write("line.vmz", mesh_file("Line", "Mesh", {{1, 5}, {1, 5, 3}, {2, 1, 3, 4, 2}}, points, {}));
  Result r = s.run("rea\nline\nren\n\n\n\nn\n\n\n\nwri\nout\nend\n");
  EXPECT_EQ(r.out, startup() + read_step("line", "new", "Line", "Mesh", 3, 7, 0) + step("ren") +
                       heading + directions("", "", "") + options("n", "", "", "") + please_wait +
                       report("       1       2", 4) + handback("Line", "Mesh", 3, 7, 0) +
                       write_step("out", "line", 3, 7, 0) + step("end") + leave());
  EXPECT_EQ(s.read("out.vmz"), lines({
                                   "Line",
                                   "Mesh",
                                   "    3       7       0",
                                   "    1     2        3     7",
                                   "    2     3        7     3     5",
                                   "    3     5        6     7     5     4     6",
                                   "    1      0.00000000      0.00000000      0.00000000",
                                   "    2      1.00000000      0.00000000      0.00000000",
                                   "    3      2.00000000      0.00000000      0.00000000",
                                   "    4      3.00000000      0.00000000      0.00000000",
                                   "    5      4.00000000      0.00000000      0.00000000",
                                   "    6      5.00000000      0.00000000      0.00000000",
                                   "    7      6.00000000      0.00000000      0.00000000",
                               }));
}

TEST(Ren, ElementsAreSortedByTheirCentresOnlyWhenAsked) {
  std::vector<editing::Point> points = {{4, 0, 0}, {5, 0, 0}, {0, 0, 0},
                                        {1, 0, 0}, {2, 0, 0}, {3, 0, 0}};
  std::string mesh = mesh_file("Bars", "Mesh", {{1, 2}, {3, 4}, {5, 6}}, points, {});
  std::vector<editing::Point> sorted = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0},
                                        {3, 0, 0}, {4, 0, 0}, {5, 0, 0}};
  Session s;
  s.write("bars.vmz", mesh);
  Result r = s.run("rea\nbars\nren\n\n\n\n\n\n\n\nwri\nout\nend\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.read("out.vmz"), mesh_file("Bars", "Mesh", {{1, 2}, {3, 4}, {5, 6}}, sorted, {}));

  Session t;
  t.write("bars.vmz", mesh);
  r = t.run("rea\nbars\nren\n\n\n\nn\n\n\n\nwri\nout\nend\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(t.read("out.vmz"), mesh_file("Bars", "Mesh", {{5, 6}, {1, 2}, {3, 4}}, sorted, {}));
}

TEST(Ren, MeshWithoutElementsHasAnEmptyListAndDifferenceZero) {
  Session s;
  s.write("pts.vmz", mesh_file("Points", "Mesh", {}, {{1, 0, 0}, {0, 0, 0}}, {1}));
  Result r = s.run("rea\npts\nren\n\n\n\n\n\n\n\nwri\nout\nend\n");
  EXPECT_EQ(r.out, startup() + read_step("pts", "new", "Points", "Mesh", 0, 2, 1) + step("ren") +
                       heading + directions("", "", "") + options("", "", "", "") + please_wait +
                       report("", 0) + handback("Points", "Mesh", 0, 2, 1) +
                       write_step("out", "pts", 0, 2, 1) + step("end") + leave());
  EXPECT_EQ(s.read("out.vmz"), mesh_file("Points", "Mesh", {}, {{0, 0, 0}, {1, 0, 0}}, {2}));
}

TEST(Ren, CloseFirstCoordinatesChainIntoOneGroupOrderedByTheOthers) {
  Session s;
  // x steps of 0.000008 chain (each below the tolerance 1e-05) although the group spans
  // 0.000016; inside the group the points go by y. Point 4 starts a group of its own.
  s.write("chain.vmz",
          mesh_file("Chain", "Mesh", {{1, 2, 3, 4}},
                    {{0, 3, 0}, {0.000008, 1, 0}, {0.000016, 2, 0}, {0.00005, 0, 0}}, {}));
  Result r = s.run("rea\nchain\nren\n\n\n\n\n\n\n\nwri\nout\nend\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.read("out.vmz"), lines({
                                   "Chain",
                                   "Mesh",
                                   "    1       4       0",
                                   "    1     4        3     1     2     4",
                                   "    1      0.00000800      1.00000000      0.00000000",
                                   "    2      0.00001600      2.00000000      0.00000000",
                                   "    3      0.00000000      3.00000000      0.00000000",
                                   "    4      0.00005000      0.00000000      0.00000000",
                               }));
}

TEST(Ren, GroupingIsStrictJoiningIsNotAndOnlyNeighboursAreJoined) {
  Session s;
  // Tolerance 0.25. Points 1 and 2 differ by exactly 0.25 in x: two groups (so point 1, with
  // the larger y, stays first) but not joined, since they differ in y. Points 3 and 4 differ by
  // exactly 0.25 in x only: joined. Points 5 and 7 lie within 0.25 of each other, but point 6
  // (far from both in y) comes between them in the order, so they stay apart.
  s.write("tol.vmz", mesh_file("Tol", "Mesh", {},
                               {{0, 1, 0},
                                {0.25, 0, 0},
                                {3, 0, 0},
                                {3.25, 0, 0},
                                {9, 0, 0},
                                {9, 0.4, 0.1},
                                {9, 0, 0.2},
                                {9, 0.2, 5}},
                               {}));
  Result r = s.run("rea\ntol\nren\n\n\n\n\n\n\n0.25\nwri\nout\nend\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.read("out.vmz"), lines({
                                   "Tol",
                                   "Mesh",
                                   "    0       7       0",
                                   "    1      0.00000000      1.00000000      0.00000000",
                                   "    2      0.25000000      0.00000000      0.00000000",
                                   "    3      3.00000000      0.00000000      0.00000000",
                                   "    4      9.00000000      0.00000000      0.00000000",
                                   "    5      9.00000000      0.40000000      0.10000000",
                                   "    6      9.00000000      0.00000000      0.20000000",
                                   "    7      9.00000000      0.20000000      5.00000000",
                               }));
}

TEST(Ren, TemporaryFileThatCannotBeCreatedIsFatal) {
  Session s;
  s.write("pts.vmz", mesh_file("Points", "Mesh", {}, {{0, 0, 0}}, {}));
  // A folder in the file's place, not empty, so that start-up cannot remove it.
  ASSERT_EQ(::mkdir(s.path("tmp.vmz").c_str(), 0700), 0);
  s.write("tmp.vmz/keep", "");
  Result r = s.run("rea\npts\nren\n\n\n\n\n\n\n\n");
  EXPECT_EQ(r.out, startup() + read_step("pts", "new", "Points", "Mesh", 0, 1, 0) + step("ren") +
                       heading + directions("", "", "") + options("", "", "", "") + please_wait +
                       report("", 0));
  EXPECT_EQ(r.err, fatal("Unable to open output file - jobname.vmz"));
  EXPECT_EQ(r.status, 1);
}

TEST(Ren, FailedWriteLeavesTheBufferAsItWas) {
  Session s;
  std::string mesh = two_cubes();
  s.write("cubes.vmz", mesh);
  if (::access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
  // tmp.vmz leads to a device that is always full: the renumbered mesh cannot be written.
  Result r =
      s.run("rea\ncubes\nsys\nln -s /dev/full tmp.vmz\n\nren\n\n\n\n\n\n\n\n\nwri\nout\nend\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, warning("Unable to write output file - tmp.vmz"));
  EXPECT_NE(r.out.find("\nWriting file: tmp.vmz\n\nNothing changed - press the Return key ... \n"),
            std::string::npos);
  EXPECT_EQ(s.read("out.vmz"), mesh);
  EXPECT_FALSE(s.exists("tmp.vmz"));
}
