// rot: rotation about an axis given by two points, in place.
#include <gtest/gtest.h>

#include "support/create_move.h"
#include "support/session.h"

using namespace session;
using namespace create_move;

namespace {

const std::string heading = "\nRotate the object around an axis (previous object is lost)\n";
const std::string mesh = "Rot\nR\n1 2 0\n1 2 1 2\n1 1 0 0\n2 2 3 4\n";

std::string rotated_file(const std::string& point1, const std::string& point2) {
  return "Rot\nR\n    1       2       0\n    1     2        1     2\n    1" + point1 + "\n    2" +
         point2 + "\n";
}

}  // namespace

TEST(Rot, QuarterTurnAboutThePositiveZAxis) {
  Session s;
  s.write("m.vmz", mesh);
  Result r = s.run("rea\nm\nrot\nc\n0\n0\n0\n0\n0\n1\n90\nwri\nout\nend\n");
  EXPECT_EQ(r.out, startup() + step("rea") + rea_dialogue("new", "m", "Rot", "R", 1, 2, 0) +
                       step("rot") + heading + asklin_coordinates({"0", "0", "0", "0", "0", "1"}) +
                       ask_real("Rotation angle (degrees)", "0", "90") + step("wri") +
                       wri_dialogue("m", "out", 1, 2, 0) + step("end") + leave());
  EXPECT_EQ(r.err, "");
  // (1,0,0) goes to (0,1,0); (2,3,4) to (-3,2,4).
  EXPECT_EQ(s.read("out.vmz"), rotated_file("      0.00000000      1.00000000      0.00000000",
                                            "     -3.00000000      2.00000000      4.00000000"));
}

TEST(Rot, AxisFromTopToBottomTurnsTheOtherWay) {
  Session s;
  s.write("m.vmz", mesh);
  Result r = s.run("rea\nm\nrot\nc\n0\n0\n1\n0\n0\n0\n90\nwri\nout\nend\n");
  EXPECT_EQ(r.status, 0);
  // (1,0,0) goes to (0,-1,0); (2,3,4) to (3,-2,4).
  EXPECT_EQ(s.read("out.vmz"), rotated_file("      0.00000000     -1.00000000      0.00000000",
                                            "      3.00000000     -2.00000000      4.00000000"));
}

TEST(Rot, AxisAlongYGivenByNodeNumbersAndTheBufferIsMarkedChanged) {
  Session s;
  s.write("y.vmz", "Y axis\nY\n1 3 0\n1 2 1 3\n1 0 0 0\n2 0 2 0\n3 1 0 0\n");
  // A refused node number and coincident points first; then the axis from point 1 to point 2.
  Result r = s.run("rea\ny\nrot\nn\n4\n1\n1\n\n\n2\n90\nend\n\nwri\nout\nend\n");
  EXPECT_EQ(r.out, startup() + step("rea") + rea_dialogue("new", "y", "Y axis", "Y", 1, 3, 0) +
                       step("rot") + heading + "\nTwo points will be asked to define a line:\n" +
                       ask_char("Nodal n)umbers or c)oordinates", 'n', 'c', 'n', "n") +
                       ask_int("First  point: node number", 1, "4") +
                       "\nERROR: invalid node number - repeat answer ...\n" +
                       ask_int("First  point: node number", 1, "1") +
                       ask_int("Second point: node number", 1, "1") +
                       "\nERROR: coincident points - repeat answer ...\n" +
                       asklin_numbers("", "2") + ask_real("Rotation angle (degrees)", "0", "90") +
                       step("end") + ask_char("Leave anyway", 'y', 'n', 'n', "") + step("wri") +
                       wri_dialogue("y", "out", 1, 3, 0) + step("end") + leave());
  EXPECT_EQ(r.err, warning("No write of a .vmz file since last change"));
  // Right-handed about +y: x turns towards -z; the points on the axis stay.
  EXPECT_EQ(s.read("out.vmz"),
            "Y axis\n"
            "Y\n"
            "    1       3       0\n"
            "    1     2        1     3\n"
            "    1      0.00000000      0.00000000      0.00000000\n"
            "    2      0.00000000      2.00000000      0.00000000\n"
            "    3      0.00000000      0.00000000     -1.00000000\n");
}

TEST(Rot, AxisTooLongForTheRangeOfRealsIsRefused) {
  Session s;
  s.write("m.vmz", mesh);
  // The axis length overflows, so no direction can be formed: nothing changes.
  Result r = s.run("rea\nm\nrot\nc\n-1e300\n0\n0\n1e300\n0\n0\n45\n\nend\n");
  EXPECT_EQ(r.out, startup() + step("rea") + rea_dialogue("new", "m", "Rot", "R", 1, 2, 0) +
                       step("rot") + heading +
                       asklin_coordinates({"-1e300", "0", "0", "1e300", "0", "0"}) +
                       ask_real("Rotation angle (degrees)", "0", "45") + refusal_out() +
                       step("end") + leave());
  EXPECT_EQ(r.err, warning("Coordinates out of range - the result cannot be stored"));
}
