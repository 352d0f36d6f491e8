// shr: separated elements shrunk towards the centres of their bounding boxes.
#include <gtest/gtest.h>

#include "support/create_move.h"
#include "support/session.h"

using namespace session;
using namespace create_move;

namespace {

const std::string heading = "\nSeparate and shrink the elements of the mesh\n";

// Two closed quadrilaterals sharing the edge 2-5 on a 2 x 1 grid; points 2 and 5 special, 2
// listed twice.
const std::string two_quads =
    "Two quads\nQ\n2 6 3\n"
    "1 5 1 2 5 4 1\n"
    "2 5 2 3 6 5 2\n"
    "1 0 0 0\n2 1 0 0\n3 2 0 0\n4 0 1 0\n5 1 1 0\n6 2 1 0\n"
    "1 2\n2 5\n3 2\n";

const std::string two_quads_elements =
    "Two quads\n"
    "Q\n"
    "    2       8       4\n"
    "    1     5        1     2     3     4     1\n"
    "    2     5        5     6     7     8     5\n";

// Each position holding point 2 or 5 becomes a special node of its own.
const std::string two_quads_specials =
    "    1     2\n"
    "    2     3\n"
    "    3     5\n"
    "    4     8\n";

}  // namespace

TEST(Shr, UnitSquareWithTheDefaultFactor) {
  Session s;
  Result r = s.run("csm\n2\n\n\nshr\n\nwri\nsq\nend\n");
  EXPECT_EQ(r.out, startup() + step("csm") + csm_menu() + ask_int("Your choice", 1, "2") +
                       "\nThe mesh is in the plane (x+ , y+)\n" + ask_real("Size in x", "1", "") +
                       ask_real("Size in y", "1", "") +
                       handback("Rectangular mesh", "Mesh", 1, 4, 0) + step("shr") + heading +
                       ask_real("Shrink factor", "0.8", "") +
                       handback("Rectangular mesh", "Mesh", 1, 4, 0) + step("wri") +
                       wri_dialogue("new", "sq", 1, 4, 0) + step("end") + leave());
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(s.read("sq.vmz"),
            "Rectangular mesh\n"
            "Mesh\n"
            "    1       4       0\n"
            "    1     5        1     2     3     4     1\n"
            "    1      0.10000000      0.10000000      0.00000000\n"
            "    2      0.90000000      0.10000000      0.00000000\n"
            "    3      0.90000000      0.90000000      0.00000000\n"
            "    4      0.10000000      0.90000000      0.00000000\n");
}

TEST(Shr, FactorOneSeparatesSharedPointsAndSharedSpecialNodes) {
  Session s;
  s.write("m.vmz", two_quads);
  Result r = s.run("rea\nm\nshr\n1\nwri\nout\nend\n");
  EXPECT_EQ(r.out, startup() + step("rea") + rea_dialogue("new", "m", "Two quads", "Q", 2, 6, 3) +
                       step("shr") + heading + ask_real("Shrink factor", "0.8", "1") +
                       handback("Two quads", "Q", 2, 8, 4) + step("wri") +
                       wri_dialogue("m", "out", 2, 8, 4) + step("end") + leave());
  EXPECT_EQ(s.read("out.vmz"), two_quads_elements +
                                   "    1      0.00000000      0.00000000      0.00000000\n"
                                   "    2      1.00000000      0.00000000      0.00000000\n"
                                   "    3      1.00000000      1.00000000      0.00000000\n"
                                   "    4      0.00000000      1.00000000      0.00000000\n"
                                   "    5      1.00000000      0.00000000      0.00000000\n"
                                   "    6      2.00000000      0.00000000      0.00000000\n"
                                   "    7      2.00000000      1.00000000      0.00000000\n"
                                   "    8      1.00000000      1.00000000      0.00000000\n" +
                                   two_quads_specials);
}

TEST(Shr, FactorZeroCollapsesEveryElementToItsCentre) {
  Session s;
  s.write("m.vmz", two_quads);
  Result r = s.run("rea\nm\nshr\n0\nwri\nout\nend\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.read("out.vmz"), two_quads_elements +
                                   "    1      0.50000000      0.50000000      0.00000000\n"
                                   "    2      0.50000000      0.50000000      0.00000000\n"
                                   "    3      0.50000000      0.50000000      0.00000000\n"
                                   "    4      0.50000000      0.50000000      0.00000000\n"
                                   "    5      1.50000000      0.50000000      0.00000000\n"
                                   "    6      1.50000000      0.50000000      0.00000000\n"
                                   "    7      1.50000000      0.50000000      0.00000000\n"
                                   "    8      1.50000000      0.50000000      0.00000000\n" +
                                   two_quads_specials);
}

TEST(Shr, ClosingDependsOnTheOpenNodeCountAlone) {
  Session s;
  // A bar stored closed (1 2 1), a single-node element, a 3-node bar and an 8-node brick.
  s.write("m.vmz",
          "Mixed\nX\n4 11 0\n"
          "1 3 1 2 1\n"
          "2 1 3\n"
          "3 3 1 2 3\n"
          "4 8 4 5 6 7 8 9 10 11\n"
          "1 0 0 0\n2 2 0 0\n3 4 4 0\n"
          "4 0 0 0\n5 2 0 0\n6 2 2 0\n7 0 2 0\n8 0 0 2\n9 2 0 2\n10 2 2 2\n11 0 2 2\n");
  Result r = s.run("rea\nm\nshr\n0.5\nwri\nout\nend\n");
  EXPECT_EQ(r.out, startup() + step("rea") + rea_dialogue("new", "m", "Mixed", "X", 4, 11, 0) +
                       step("shr") + heading + ask_real("Shrink factor", "0.8", "0.5") +
                       handback("Mixed", "X", 4, 14, 0) + step("wri") +
                       wri_dialogue("m", "out", 4, 14, 0) + step("end") + leave());
  EXPECT_EQ(r.err, "");
  // The closed bar comes out open, the single node stays one node, the brick comes out with its
  // first node repeated.
  EXPECT_EQ(s.read("out.vmz"),
            "Mixed\n"
            "X\n"
            "    4      14       0\n"
            "    1     2        1     2\n"
            "    2     1        3\n"
            "    3     3        4     5     6\n"
            "    4     9        7     8     9    10    11    12    13    14     7\n"
            "    1      0.50000000      0.00000000      0.00000000\n"
            "    2      1.50000000      0.00000000      0.00000000\n"
            "    3      4.00000000      4.00000000      0.00000000\n"
            "    4      1.00000000      1.00000000      0.00000000\n"
            "    5      2.00000000      1.00000000      0.00000000\n"
            "    6      3.00000000      3.00000000      0.00000000\n"
            "    7      0.50000000      0.50000000      0.50000000\n"
            "    8      1.50000000      0.50000000      0.50000000\n"
            "    9      1.50000000      1.50000000      0.50000000\n"
            "   10      0.50000000      1.50000000      0.50000000\n"
            "   11      0.50000000      0.50000000      1.50000000\n"
            "   12      1.50000000      0.50000000      1.50000000\n"
            "   13      1.50000000      1.50000000      1.50000000\n"
            "   14      0.50000000      1.50000000      1.50000000\n");
}

TEST(Shr, BoundingBoxOfCoordinatesBeyondTenToTheThirty) {
  Session s;
  // y = 2^101 and 2^102; the centre is 3 * 2^100, written exactly.
  s.write("m.vmz",
          "Far\nF\n1 2 0\n1 2 1 2\n"
          "1 0 2535301200456458802993406410752 0\n"
          "2 0 5070602400912917605986812821504 0\n");
  Result r = s.run("rea\nm\nshr\n0\nwri\nout\nend\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.read("out.vmz"),
            "Far\n"
            "F\n"
            "    1       2       0\n"
            "    1     2        1     2\n"
            "    1      0.00000000 3802951800684688204490109616128.00000000      0.00000000\n"
            "    2      0.00000000 3802951800684688204490109616128.00000000      0.00000000\n");
}

TEST(Shr, FactorThatThrowsPointsOutOfRangeIsRefused) {
  Session s;
  // Both ends of the bar lie 5 from its centre: 5 times 1e308 is beyond the range of reals.
  s.write("m.vmz", "Bar\nB\n1 2 0\n1 2 1 2\n1 0 0 0\n2 10 0 0\n");
  Result r = s.run("rea\nm\nshr\n1e308\n\nend\n");
  EXPECT_EQ(r.out, startup() + step("rea") + rea_dialogue("new", "m", "Bar", "B", 1, 2, 0) +
                       step("shr") + heading + ask_real("Shrink factor", "0.8", "1e308") +
                       refusal_out() + step("end") + leave());
  EXPECT_EQ(r.err, warning("Coordinates out of range - the result cannot be stored"));
  EXPECT_EQ(s.files(), std::vector<std::string>{"m.vmz"});
}
