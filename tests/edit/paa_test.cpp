// paa: copies of the mesh on a grid of nx by ny by nz positions.
#include <gtest/gtest.h>

#include "support/create_move.h"
#include "support/session.h"

using namespace session;
using namespace create_move;

namespace {

const std::string heading = "\nRepeat a drawing nx by ny by nz times\n";

std::string ask_counts(const std::string& x, const std::string& y, const std::string& z) {
  return ask_int("Number of repetitions in x", 1, x) + ask_int("Number of repetitions in y", 1, y) +
         ask_int("Number of repetitions in z", 1, z);
}

std::string ask_steps(const std::string& x, const std::string& y, const std::string& z) {
  return ask_real("Step   of repetitions in x", "0", x) +
         ask_real("Step   of repetitions in y", "0", y) +
         ask_real("Step   of repetitions in z", "0", z);
}

// One bar from (0,0,0) to (1,0,0) with its second point special.
const std::string bar = "Bar\nB\n1 2 1\n1 2 1 2\n1 0 0 0\n2 1 0 0\n1 2\n";

}  // namespace

TEST(Paa, CopiesAreNumberedWithXOutermostAndZInnermost) {
  Session s;
  s.write("bar.vmz", bar);
  Result r = s.run("rea\nbar\npaa\n2\n1\n3\n10\n20\n100\nwri\nout\nend\n");
  EXPECT_EQ(r.out, startup() + step("rea") + rea_dialogue("new", "bar", "Bar", "B", 1, 2, 1) +
                       step("paa") + heading + ask_counts("2", "1", "3") +
                       ask_steps("10", "20", "100") + handback("Bar", "B", 6, 12, 6) + step("wri") +
                       wri_dialogue("bar", "out", 6, 12, 6) + step("end") + leave());
  EXPECT_EQ(r.err, "");
  // Copy c (from 0) = 3 * (ix - 1) + (iz - 1); element 6 is copy 5, shifted by one x step and
  // two z steps.
  EXPECT_EQ(s.read("out.vmz"),
            "Bar\n"
            "B\n"
            "    6      12       6\n"
            "    1     2        1     2\n"
            "    2     2        3     4\n"
            "    3     2        5     6\n"
            "    4     2        7     8\n"
            "    5     2        9    10\n"
            "    6     2       11    12\n"
            "    1      0.00000000      0.00000000      0.00000000\n"
            "    2      1.00000000      0.00000000      0.00000000\n"
            "    3      0.00000000      0.00000000    100.00000000\n"
            "    4      1.00000000      0.00000000    100.00000000\n"
            "    5      0.00000000      0.00000000    200.00000000\n"
            "    6      1.00000000      0.00000000    200.00000000\n"
            "    7     10.00000000      0.00000000      0.00000000\n"
            "    8     11.00000000      0.00000000      0.00000000\n"
            "    9     10.00000000      0.00000000    100.00000000\n"
            "   10     11.00000000      0.00000000    100.00000000\n"
            "   11     10.00000000      0.00000000    200.00000000\n"
            "   12     11.00000000      0.00000000    200.00000000\n"
            "    1     2\n"
            "    2     4\n"
            "    3     6\n"
            "    4     8\n"
            "    5    10\n"
            "    6    12\n");
}

TEST(Paa, DefaultsRewriteTheMeshUnchangedApartFromRounding) {
  Session s;
  s.write("q.vmz",
          "Quad\nQ\n1 4 2\n1 5 1 2 3 4 1\n"
          "1 1.234567891 0 0\n2 2 0 0\n3 2 1 0\n4 0 1 -0.5\n1 3\n2 1\n");
  Result r = s.run("rea\nq\npaa\n\n\n\n\n\n\nwri\nout\nend\n");
  EXPECT_EQ(r.out, startup() + step("rea") + rea_dialogue("new", "q", "Quad", "Q", 1, 4, 2) +
                       step("paa") + heading + ask_counts("", "", "") + ask_steps("", "", "") +
                       handback("Quad", "Q", 1, 4, 2) + step("wri") +
                       wri_dialogue("q", "out", 1, 4, 2) + step("end") + leave());
  EXPECT_EQ(s.read("out.vmz"),
            "Quad\n"
            "Q\n"
            "    1       4       2\n"
            "    1     5        1     2     3     4     1\n"
            "    1      1.23456789      0.00000000      0.00000000\n"
            "    2      2.00000000      0.00000000      0.00000000\n"
            "    3      2.00000000      1.00000000      0.00000000\n"
            "    4      0.00000000      1.00000000     -0.50000000\n"
            "    1     3\n"
            "    2     1\n");
}

TEST(Paa, NegativeStepsAndAClosedListWithoutSpecialNodes) {
  Session s;
  s.write("t.vmz", "Tri\nT\n1 3 0\n1 4 1 2 3 1\n1 0 0 0\n2 1 0 0\n3 0 1 0\n");
  Result r = s.run("rea\nt\npaa\n1\n2\n1\n\n-2.5\n\nwri\nout\nend\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.read("out.vmz"),
            "Tri\n"
            "T\n"
            "    2       6       0\n"
            "    1     4        1     2     3     1\n"
            "    2     4        4     5     6     4\n"
            "    1      0.00000000      0.00000000      0.00000000\n"
            "    2      1.00000000      0.00000000      0.00000000\n"
            "    3      0.00000000      1.00000000      0.00000000\n"
            "    4      0.00000000     -2.50000000      0.00000000\n"
            "    5      1.00000000     -2.50000000      0.00000000\n"
            "    6      0.00000000     -1.50000000      0.00000000\n");
}

TEST(Paa, RepetitionsBelowOneAndBeyondTheRangeOfIntsAreAskedAgain) {
  Session s;
  s.write("bar.vmz", bar);
  // Two points a copy: more than 1073741823 copies would number points beyond an int.
  Result r = s.run(
      "rea\nbar\npaa\n0\n-3\n2147483647\n1\n1073741824\n1\n2000000000\n2\n\n\n\nwri\nout\nend\n");
  const std::string below = "\nERROR: n. of repetitions must be > 0 - repeat answer ...\n";
  const std::string beyond =
      "\nERROR: n. of repetitions too large for this mesh - repeat answer ...\n";
  EXPECT_EQ(r.out, startup() + step("rea") + rea_dialogue("new", "bar", "Bar", "B", 1, 2, 1) +
                       step("paa") + heading + ask_int("Number of repetitions in x", 1, "0") +
                       below + ask_int("Number of repetitions in x", 1, "-3") + below +
                       ask_int("Number of repetitions in x", 1, "2147483647") + beyond +
                       ask_int("Number of repetitions in x", 1, "1") +
                       ask_int("Number of repetitions in y", 1, "1073741824") + beyond +
                       ask_int("Number of repetitions in y", 1, "1") +
                       ask_int("Number of repetitions in z", 1, "2000000000") + beyond +
                       ask_int("Number of repetitions in z", 1, "2") + ask_steps("", "", "") +
                       handback("Bar", "B", 2, 4, 2) + step("wri") +
                       wri_dialogue("bar", "out", 2, 4, 2) + step("end") + leave());
  // Step 0 stacks the copies on top of each other.
  EXPECT_EQ(s.read("out.vmz"),
            "Bar\n"
            "B\n"
            "    2       4       2\n"
            "    1     2        1     2\n"
            "    2     2        3     4\n"
            "    1      0.00000000      0.00000000      0.00000000\n"
            "    2      1.00000000      0.00000000      0.00000000\n"
            "    3      0.00000000      0.00000000      0.00000000\n"
            "    4      1.00000000      0.00000000      0.00000000\n"
            "    1     2\n"
            "    2     4\n");
}

TEST(Paa, LargestRepetitionThatStillFitsIsAccepted) {
  Session s;
  // 1073741823 copies of 2 points number up to 2147483646; the question moves on. The answers
  // then end, so nothing is written.
  s.write("bar.vmz", bar);
  Result r = s.run("rea\nbar\npaa\n1073741823\n");
  EXPECT_EQ(r.out, startup() + step("rea") + rea_dialogue("new", "bar", "Bar", "B", 1, 2, 1) +
                       step("paa") + heading +
                       ask_int("Number of repetitions in x", 1, "1073741823") +
                       "\nNumber of repetitions in y [1] ? ");
  EXPECT_EQ(r.status, 1);
}

TEST(Paa, StepsThatThrowPointsOutOfRangeAreRefused) {
  Session s;
  s.write("far.vmz", "Far\nF\n1 2 0\n1 2 1 2\n1 1e308 1 2\n2 1e308 6 7\n");
  // The second copy would lie at 2e308: refused, the buffer keeps its one copy.
  Result r = s.run("rea\nfar\npaa\n2\n\n\n1e308\n\n\n\nmov\n-1e308\n\n\nwri\nout\nend\n");
  EXPECT_EQ(r.out,
            startup() + step("rea") + rea_dialogue("new", "far", "Far", "F", 1, 2, 0) +
                step("paa") + heading + ask_counts("2", "", "") + ask_steps("1e308", "", "") +
                refusal_out() + step("mov") + "\nMove the object (previous object is lost)\n" +
                ask_real("x", "0", "-1e308") + ask_real("y", "0", "") + ask_real("z", "0", "") +
                step("wri") + wri_dialogue("far", "out", 1, 2, 0) + step("end") + leave());
  EXPECT_EQ(r.err, warning("Coordinates out of range - the result cannot be stored"));
  EXPECT_EQ(s.read("out.vmz"),
            "Far\n"
            "F\n"
            "    1       2       0\n"
            "    1     2        1     2\n"
            "    1      0.00000000      1.00000000      2.00000000\n"
            "    2      0.00000000      6.00000000      7.00000000\n");
}
