// cya: copies of the mesh turned around an axis.
#include <gtest/gtest.h>

#include "support/create_move.h"
#include "support/session.h"

using namespace session;
using namespace create_move;

namespace {

const std::string heading = "\nRepeat a drawing n times around an axis\n";
const std::string count_question = "Number of repetitions (including the existing object)";

}  // namespace

TEST(Cya, FourQuarterTurnsAboutTheZAxis) {
  Session s;
  s.write("m.vmz", "Spoke\nS\n1 2 1\n1 2 1 2\n1 1 0 0\n2 0 0 3\n1 1\n");
  Result r = s.run("rea\nm\ncya\n4\nc\n\n\n\n\n\n1\n90\nwri\nout\nend\n");
  EXPECT_EQ(r.out, startup() + step("rea") + rea_dialogue("new", "m", "Spoke", "S", 1, 2, 1) +
                       step("cya") + heading + ask_int(count_question, 1, "4") +
                       asklin_coordinates({"", "", "", "", "", "1"}) +
                       ask_real("Step of repetitions (degrees)", "0", "90") +
                       handback("Spoke", "S", 4, 8, 4) + step("wri") +
                       wri_dialogue("m", "out", 4, 8, 4) + step("end") + leave());
  EXPECT_EQ(r.err, "");
  // (1,0,0) turns to (0,1,0), (-1,0,0) and (0,-1,0); the cosine of the last angle is a tiny
  // negative number. The point on the axis stays.
  EXPECT_EQ(s.read("out.vmz"),
            "Spoke\n"
            "S\n"
            "    4       8       4\n"
            "    1     2        1     2\n"
            "    2     2        3     4\n"
            "    3     2        5     6\n"
            "    4     2        7     8\n"
            "    1      1.00000000      0.00000000      0.00000000\n"
            "    2      0.00000000      0.00000000      3.00000000\n"
            "    3      0.00000000      1.00000000      0.00000000\n"
            "    4      0.00000000      0.00000000      3.00000000\n"
            "    5     -1.00000000      0.00000000      0.00000000\n"
            "    6      0.00000000      0.00000000      3.00000000\n"
            "    7     -0.00000000     -1.00000000      0.00000000\n"
            "    8      0.00000000      0.00000000      3.00000000\n"
            "    1     1\n"
            "    2     3\n"
            "    3     5\n"
            "    4     7\n");
}

TEST(Cya, AxisThroughNodesAwayFromTheOriginAndClosedLists) {
  Session s;
  // Axis from point 1 (1,1,0) to point 2 (1,1,5); point 3 lies one unit off the axis.
  s.write("m.vmz", "Off\nO\n2 3 1\n1 2 1 3\n2 4 1 3 2 1\n1 1 1 0\n2 1 1 5\n3 2 1 0\n1 3\n");
  Result r = s.run("rea\nm\ncya\n\nn\n3\n3\nn\n\n2\n\nwri\nout\nend\n");
  EXPECT_EQ(r.status, 0);
  // One copy (the default): the mesh itself through the turn by 0 degrees. The first axis
  // (point 3 to point 3) is refused.
  EXPECT_EQ(r.out,
            startup() + step("rea") + rea_dialogue("new", "m", "Off", "O", 2, 3, 1) + step("cya") +
                heading + ask_int(count_question, 1, "") + asklin_numbers("3", "3") +
                "\nERROR: coincident points - repeat answer ...\n" + asklin_numbers("", "2") +
                ask_real("Step of repetitions (degrees)", "0", "") + handback("Off", "O", 2, 3, 1) +
                step("wri") + wri_dialogue("m", "out", 2, 3, 1) + step("end") + leave());
  EXPECT_EQ(s.read("out.vmz"),
            "Off\n"
            "O\n"
            "    2       3       1\n"
            "    1     2        1     3\n"
            "    2     4        1     3     2     1\n"
            "    1      1.00000000      1.00000000      0.00000000\n"
            "    2      1.00000000      1.00000000      5.00000000\n"
            "    3      2.00000000      1.00000000      0.00000000\n"
            "    1     3\n");
}

TEST(Cya, HalfTurnsAboutAnOffsetAxisRepeatTheClosingNode) {
  Session s;
  s.write("m.vmz", "Off\nO\n2 3 1\n1 2 1 3\n2 4 1 3 2 1\n1 1 1 0\n2 1 1 5\n3 2 1 0\n1 3\n");
  Result r = s.run("rea\nm\ncya\n2\nn\n\n2\n180\nwri\nout\nend\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  // Point 3 turns to (0,1,0); the points on the axis stay.
  EXPECT_EQ(s.read("out.vmz"),
            "Off\n"
            "O\n"
            "    4       6       2\n"
            "    1     2        1     3\n"
            "    2     4        1     3     2     1\n"
            "    3     2        4     6\n"
            "    4     4        4     6     5     4\n"
            "    1      1.00000000      1.00000000      0.00000000\n"
            "    2      1.00000000      1.00000000      5.00000000\n"
            "    3      2.00000000      1.00000000      0.00000000\n"
            "    4      1.00000000      1.00000000      0.00000000\n"
            "    5      1.00000000      1.00000000      5.00000000\n"
            "    6      0.00000000      1.00000000      0.00000000\n"
            "    1     3\n"
            "    2     6\n");
}

TEST(Cya, RepetitionsBelowOneAndBeyondTheRangeOfIntsAreAskedAgain) {
  Session s;
  s.write("m.vmz", "Spoke\nS\n1 2 1\n1 2 1 2\n1 1 0 0\n2 0 0 3\n1 1\n");
  Result r = s.run("rea\nm\ncya\n0\n1073741824\n2\n\n\n2\n90\nwri\nout\nend\n");
  EXPECT_EQ(r.out, startup() + step("rea") + rea_dialogue("new", "m", "Spoke", "S", 1, 2, 1) +
                       step("cya") + heading + ask_int(count_question, 1, "0") +
                       "\nERROR: n. of repetitions must be > 0 - repeat answer ...\n" +
                       ask_int(count_question, 1, "1073741824") +
                       "\nERROR: n. of repetitions too large for this mesh - repeat answer ...\n" +
                       ask_int(count_question, 1, "2") + asklin_numbers("", "2") +
                       ask_real("Step of repetitions (degrees)", "0", "90") +
                       handback("Spoke", "S", 2, 4, 2) + step("wri") +
                       wri_dialogue("m", "out", 2, 4, 2) + step("end") + leave());
}

TEST(Cya, ResultOutOfRangeIsRefusedAndTheBufferIsNotShifted) {
  Session s;
  s.write("far.vmz", "Far\nF\n1 2 0\n1 2 1 2\n1 1e308 0 0\n2 1e308 1 0\n");
  // Relative to the axis through x = -1e308 the points lie at 2e308: refused. Had the buffer
  // been shifted by the axis point, the move back would not give 0.
  Result r = s.run(
      "rea\nfar\ncya\n2\nc\n-1e308\n0\n0\n-1e308\n0\n1\n90\n\nmov\n-1e308\n\n\nwri\nout\nend\n");
  EXPECT_EQ(r.err, warning("Coordinates out of range - the result cannot be stored"));
  EXPECT_NE(r.out.find(ask_real("Step of repetitions (degrees)", "0", "90") + refusal_out()),
            std::string::npos);
  EXPECT_EQ(s.read("out.vmz"),
            "Far\n"
            "F\n"
            "    1       2       0\n"
            "    1     2        1     2\n"
            "    1      0.00000000      0.00000000      0.00000000\n"
            "    2      0.00000000      1.00000000      0.00000000\n");
  EXPECT_EQ(s.files(), (std::vector<std::string>{"far.vmz", "out.vmz"}));
}
