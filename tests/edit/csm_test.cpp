// csm: the five built-in meshes, their dialogue and the wide layout of the file they write.
#include "edit/csm.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "console/report.h"
#include "support/create_move.h"
#include "support/session.h"

using namespace session;
using namespace create_move;

namespace {

const std::string plane_xy = "\nThe mesh is in the plane (x+ , y+)\n";

}  // namespace

TEST(Csm, UnitSquareWithAllDefaults) {
  Session s;
  Result r = s.run("csm\n2\n\n\nwri\nsq\nend\n");
  EXPECT_EQ(r.out, startup() + step("csm") + csm_menu() + ask_int("Your choice", 1, "2") +
                       plane_xy + ask_real("Size in x", "1", "") + ask_real("Size in y", "1", "") +
                       handback("Rectangular mesh", "Mesh", 1, 4, 0) + step("wri") +
                       wri_dialogue("new", "sq", 1, 4, 0) + step("end") + leave());
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.read("sq.vmz"),
            "Rectangular mesh\n"
            "Mesh\n"
            "    1       4       0\n"
            "    1     5        1     2     4     3     1\n"
            "    1      0.00000000      0.00000000      0.00000000\n"
            "    2      1.00000000      0.00000000      0.00000000\n"
            "    3      0.00000000      1.00000000      0.00000000\n"
            "    4      1.00000000      1.00000000      0.00000000\n");
  // The hand-back file is gone.
  EXPECT_EQ(s.files(), std::vector<std::string>{"sq.vmz"});
}

TEST(Csm, QuarterCircleFileHasTheWideLayout) {
  MemoryConsole console("5\n2\n");
  edit::vmzcsm();
  EXPECT_EQ(console.out(), csm_menu() + ask_int("Your choice", 1, "5") + plane_xy +
                               "The center of the circle is the point (0,0,0)\n" +
                               ask_real("Radius of the circle", "1", "2"));
  EXPECT_EQ(console.read("tmp.vmz"),
            "Quarter of a circular mesh\n"
            "Mesh\n"
            "       3       16        0\n"
            " 1     9     1  2  3  7 11 10  9  6     1\n"
            " 2     9     3  4  5  8 13 12 11  7     3\n"
            " 3     9     9 10 11 12 13 15 16 14     9\n"
            "       1    0.0000000000    0.0000000000    0.0000000000\n"
            "       2    0.5000000000    0.0000000000    0.0000000000\n"
            "       3    1.0000000000    0.0000000000    0.0000000000\n"
            "       4    1.5000000000    0.0000000000    0.0000000000\n"
            "       5    2.0000000000    0.0000000000    0.0000000000\n"
            "       6    0.0000000000    0.5000000000    0.0000000000\n"
            "       7    0.9000000000    0.4000000000    0.0000000000\n"
            "       8    1.8477590650    0.7653668647    0.0000000000\n"
            "       9    0.0000000000    1.0000000000    0.0000000000\n"
            "      10    0.4000000000    0.9000000000    0.0000000000\n"
            "      11    0.8000000000    0.8000000000    0.0000000000\n"
            "      12    1.1071067812    1.1071067812    0.0000000000\n"
            "      13    1.4142135624    1.4142135624    0.0000000000\n"
            "      14    0.0000000000    1.5000000000    0.0000000000\n"
            "      15    0.7653668647    1.8477590650    0.0000000000\n"
            "      16    0.0000000000    2.0000000000    0.0000000000\n");
}

TEST(Csm, WideLayoutOfTheRectangleAndItsReadBack) {
  MemoryConsole console("2\n2.5\n-1\n");
  edit::vmzcsm();
  EXPECT_EQ(console.read("tmp.vmz"),
            "Rectangular mesh\n"
            "Mesh\n"
            "       1        4        0\n"
            " 1     5     1  2  4  3     1\n"
            "       1    0.0000000000    0.0000000000    0.0000000000\n"
            "       2    2.5000000000    0.0000000000    0.0000000000\n"
            "       3    0.0000000000   -1.0000000000    0.0000000000\n"
            "       4    2.5000000000   -1.0000000000    0.0000000000\n");
}

TEST(Csm, RefusedChoicesShowTheMenuAgain) {
  Session s;
  Result r = s.run("csm\n6\n0\n3\n2\n3\n4\nwri\nbox\nend\n");
  const std::string again = "\nERROR: repeat answer ...\n";
  EXPECT_EQ(r.out, startup() + step("csm") + csm_menu() + ask_int("Your choice", 1, "6") + again +
                       csm_menu() + ask_int("Your choice", 1, "0") + again + csm_menu() +
                       ask_int("Your choice", 1, "3") +
                       "\nThe mesh is in the plane (x+ , y+ , z+)\n" +
                       ask_real("Size in x", "1", "2") + ask_real("Size in y", "1", "3") +
                       ask_real("Size in z", "1", "4") +
                       handback("Parallelepipedic mesh", "Mesh", 1, 8, 0) + step("wri") +
                       wri_dialogue("new", "box", 1, 8, 0) + step("end") + leave());
  EXPECT_EQ(s.read("box.vmz"),
            "Parallelepipedic mesh\n"
            "Mesh\n"
            "    1       8       0\n"
            "    1     8        1     2     4     3     5     6     8     7\n"
            "    1      0.00000000      0.00000000      0.00000000\n"
            "    2      2.00000000      0.00000000      0.00000000\n"
            "    3      0.00000000      3.00000000      0.00000000\n"
            "    4      2.00000000      3.00000000      0.00000000\n"
            "    5      0.00000000      0.00000000      4.00000000\n"
            "    6      2.00000000      0.00000000      4.00000000\n"
            "    7      0.00000000      3.00000000      4.00000000\n"
            "    8      2.00000000      3.00000000      4.00000000\n");
}

TEST(Csm, AnswerThatIsNoNumberIsRefusedWithoutTheMenu) {
  Session s;
  Result r = s.run("csm\nabc\n\n\n\n\n\n\n\nend\ny\n");
  EXPECT_EQ(r.out,
            startup() + step("csm") + csm_menu() + ask_int("Your choice", 1, "abc") +
                "\nERROR: repeat answer ...\n" + ask_int("Your choice", 1, "") +
                "\nThe 3d coordinates of 2 points will be asked\n" +
                ask_real("First  point: x1", "0", "") + ask_real("First  point: x2", "0", "") +
                ask_real("First  point: x3", "0", "") + ask_real("Second point: x1", "0", "") +
                ask_real("Second point: x2", "0", "") + ask_real("Second point: x3", "0", "") +
                handback("Linear mesh", "Mesh", 1, 2, 0) + step("end") + leave_anyway());
  EXPECT_EQ(r.err, warning("No write of a .vmz file since last change"));
  EXPECT_EQ(r.status, 0);
}

TEST(Csm, LineFromTypedPointsAndZeroLengthLineFromDefaults) {
  Session s;
  Result r = s.run("csm\n1\n1\n2\n3\n-4\n5.5\n\nwri\nbar\ncsm\n\n\n\n\n\n\n\nwri\nnull\nend\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.read("bar.vmz"),
            "Linear mesh\n"
            "Mesh\n"
            "    1       2       0\n"
            "    1     2        1     2\n"
            "    1      1.00000000      2.00000000      3.00000000\n"
            "    2     -4.00000000      5.50000000      0.00000000\n");
  EXPECT_EQ(s.read("null.vmz"),
            "Linear mesh\n"
            "Mesh\n"
            "    1       2       0\n"
            "    1     2        1     2\n"
            "    1      0.00000000      0.00000000      0.00000000\n"
            "    2      0.00000000      0.00000000      0.00000000\n");
}

TEST(Csm, TriangleOfThreeQuadrilaterals) {
  Session s;
  Result r = s.run("csm\n4\n2\n4\nwri\ntri\nend\n");
  EXPECT_EQ(r.out, startup() + step("csm") + csm_menu() + ask_int("Your choice", 1, "4") +
                       plane_xy + ask_real("Size in x", "1", "2") +
                       ask_real("Size in y", "1", "4") +
                       handback("Triangular mesh", "Mesh", 3, 7, 0) + step("wri") +
                       wri_dialogue("new", "tri", 3, 7, 0) + step("end") + leave());
  EXPECT_EQ(s.read("tri.vmz"),
            "Triangular mesh\n"
            "Mesh\n"
            "    3       7       0\n"
            "    1     5        1     2     5     4     1\n"
            "    2     5        2     3     6     5     2\n"
            "    3     5        4     5     6     7     4\n"
            "    1      0.00000000      0.00000000      0.00000000\n"
            "    2      1.00000000      0.00000000      0.00000000\n"
            "    3      2.00000000      0.00000000      0.00000000\n"
            "    4      0.00000000      2.00000000      0.00000000\n"
            "    5      0.70000000      1.40000000      0.00000000\n"
            "    6      1.00000000      2.00000000      0.00000000\n"
            "    7      0.00000000      4.00000000      0.00000000\n");
}

TEST(Csm, ReplacesTheBufferAndItsSpecialNodes) {
  Session s;
  s.write("old.vmz", "Old\nOld\n1 2 2\n1 2 1 2\n1 5 5 5\n2 6 6 6\n1 1\n2 2\n");
  Result r = s.run("rea\nold\ncsm\n2\n\n\nwri\n\nend\n");
  EXPECT_EQ(r.out, startup() + step("rea") + rea_dialogue("new", "old", "Old", "Old", 1, 2, 2) +
                       step("csm") + csm_menu() + ask_int("Your choice", 1, "2") + plane_xy +
                       ask_real("Size in x", "1", "") + ask_real("Size in y", "1", "") +
                       handback("Rectangular mesh", "Mesh", 1, 4, 0) + step("wri") +
                       wri_dialogue("old", "", 1, 4, 0) + step("end") + leave());
  EXPECT_EQ(s.read("old.vmz"),
            "Rectangular mesh\n"
            "Mesh\n"
            "    1       4       0\n"
            "    1     5        1     2     4     3     1\n"
            "    1      0.00000000      0.00000000      0.00000000\n"
            "    2      1.00000000      0.00000000      0.00000000\n"
            "    3      0.00000000      1.00000000      0.00000000\n"
            "    4      1.00000000      1.00000000      0.00000000\n");
}

TEST(Csm, RadiusThatOverflowsTheMidpointsIsRefused) {
  Session s;
  s.write("m.vmz", "Bar\nB\n1 2 0\n1 2 1 2\n1 1 2 3\n2 4 5 6\n");
  // 0.4 R + cos(pi/4) R is beyond the largest real: nothing is handed back, the buffer stays.
  Result r = s.run("rea\nm\ncsm\n5\n1.7e308\n\nwri\nout\nend\n");
  EXPECT_EQ(r.out, startup() + step("rea") + rea_dialogue("new", "m", "Bar", "B", 1, 2, 0) +
                       step("csm") + csm_menu() + ask_int("Your choice", 1, "5") + plane_xy +
                       "The center of the circle is the point (0,0,0)\n" +
                       ask_real("Radius of the circle", "1", "1.7e308") + refusal_out() +
                       step("wri") + wri_dialogue("m", "out", 1, 2, 0) + step("end") + leave());
  EXPECT_EQ(r.err, warning("Coordinates out of range - the result cannot be stored"));
  EXPECT_EQ(s.read("out.vmz"),
            "Bar\n"
            "B\n"
            "    1       2       0\n"
            "    1     2        1     2\n"
            "    1      1.00000000      2.00000000      3.00000000\n"
            "    2      4.00000000      5.00000000      6.00000000\n");
  EXPECT_FALSE(s.exists("tmp.vmz"));
}

TEST(Csm, TemporaryFileIsOpenedBeforeTheSizeQuestions) {
  Session s;
  // The answers end at the first size question: tmp.vmz is already there, still empty.
  Result r = s.run("csm\n3\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(s.exists("tmp.vmz"));
  EXPECT_EQ(s.read("tmp.vmz"), "");
  EXPECT_EQ(r.out, startup() + step("csm") + csm_menu() + ask_int("Your choice", 1, "3") +
                       "\nThe mesh is in the plane (x+ , y+ , z+)\n\nSize in x [1] ? ");
}

TEST(Csm, TemporaryFileThatCannotBeOpenedIsFatal) {
  Session s;
  ::mkdir(s.path("tmp.vmz").c_str(), 0700);
  s.write("tmp.vmz/keep", "x");
  Result r = s.run("csm\n2\n");
  EXPECT_EQ(r.out, startup() + step("csm") + csm_menu() + ask_int("Your choice", 1, "2"));
  EXPECT_EQ(r.err, fatal("Unable to open output file - tmp.vmz"));
  EXPECT_EQ(r.status, 1);
}
