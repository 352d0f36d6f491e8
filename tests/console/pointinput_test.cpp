// The line and plane dialogues: node numbers and coordinates, and the refusals of invalid node
// numbers, coincident points and collinear points.
#include "console/pointinput.h"

#include <gtest/gtest.h>

#include "console/report.h"
#include "support/create_move.h"

using console::OneMatrix;
using console::OneVector;
using create_move::MemoryConsole;
using session::ask_char;
using session::ask_int;
using session::ask_real;

namespace {

// Four points: (1,2,3), (4,5,6), (7,8,9) on one line, and (1,0,0).
OneMatrix<double> four_points() {
  OneMatrix<double> coord(4, 3);
  const double values[4][3] = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {1, 0, 0}};
  for (int i = 1; i <= 4; ++i) {
    for (int j = 1; j <= 3; ++j) coord(i, j) = values[i - 1][j - 1];
  }
  return coord;
}

void expect_point(const OneVector<double>& p, double x1, double x2, double x3) {
  EXPECT_EQ(p[1], x1);
  EXPECT_EQ(p[2], x2);
  EXPECT_EQ(p[3], x3);
}

const std::string line_heading = "\nTwo points will be asked to define a line:\n";
const std::string plane_heading = "\nThree points will be asked to define a plane:\n";
const std::string invalid_node = "\nERROR: invalid node number - repeat answer ...\n";

std::string choice(const std::string& answer) {
  return ask_char("Nodal n)umbers or c)oordinates", 'n', 'c', 'n', answer);
}

}  // namespace

TEST(Asklin, NodeNumbersCopyThePointsOfTheMesh) {
  OneMatrix<double> coord = four_points();
  OneVector<double> a(3), b(3);
  MemoryConsole console("\n3\n\n");
  console::asklin(4, coord, a, b);
  expect_point(a, 7, 8, 9);
  expect_point(b, 1, 2, 3);
  EXPECT_EQ(console.out(), line_heading + choice("") +
                               ask_int("First  point: node number", 1, "3") +
                               ask_int("Second point: node number", 1, ""));
  EXPECT_EQ(console.err(), "");
}

TEST(Asklin, NodeNumbersOutsideTheMeshAreRefusedOneByOne) {
  OneMatrix<double> coord = four_points();
  OneVector<double> a(3), b(3);
  MemoryConsole console("n\n0\n5\n4\n-1\n2\n");
  console::asklin(4, coord, a, b);
  expect_point(a, 1, 0, 0);
  expect_point(b, 4, 5, 6);
  EXPECT_EQ(console.out(), line_heading + choice("n") +
                               ask_int("First  point: node number", 1, "0") + invalid_node +
                               ask_int("First  point: node number", 1, "5") + invalid_node +
                               ask_int("First  point: node number", 1, "4") +
                               ask_int("Second point: node number", 1, "-1") + invalid_node +
                               ask_int("Second point: node number", 1, "2"));
}

TEST(Asklin, SameNodeTwiceIsCoincidentAndTheChoiceIsAskedAgain) {
  OneMatrix<double> coord = four_points();
  OneVector<double> a(3), b(3);
  // The second round switches to coordinates.
  MemoryConsole console("n\n2\n2\nC\n1\n\n\n\n\n-1.5\n");
  console::asklin(4, coord, a, b);
  expect_point(a, 1, 0, 0);
  expect_point(b, 0, 0, -1.5);
  EXPECT_EQ(console.out(),
            line_heading + choice("n") + ask_int("First  point: node number", 1, "2") +
                ask_int("Second point: node number", 1, "2") +
                "\nERROR: coincident points - repeat answer ...\n" + line_heading + choice("c") +
                ask_real("First  point: x1", "0", "1") + ask_real("First  point: x2", "0", "") +
                ask_real("First  point: x3", "0", "") + ask_real("Second point: x1", "0", "") +
                ask_real("Second point: x2", "0", "") + ask_real("Second point: x3", "0", "-1.5"));
}

TEST(Asklin, CoincidenceToleranceIsAbsoluteAndStrict) {
  OneMatrix<double> coord = four_points();
  OneVector<double> a(3), b(3);
  // (0,0,0)-(0,0,1e-9) is refused, (0,0,0)-(0,0,2e-8) accepted.
  MemoryConsole console("c\n\n\n\n\n\n1e-9\nc\n\n\n\n\n\n2e-8\n");
  console::asklin(4, coord, a, b);
  expect_point(a, 0, 0, 0);
  expect_point(b, 0, 0, 2e-8);
  auto round = [](const std::string& x3) {
    return line_heading + choice("c") + ask_real("First  point: x1", "0", "") +
           ask_real("First  point: x2", "0", "") + ask_real("First  point: x3", "0", "") +
           ask_real("Second point: x1", "0", "") + ask_real("Second point: x2", "0", "") +
           ask_real("Second point: x3", "0", x3);
  };
  EXPECT_EQ(console.out(),
            round("1e-9") + "\nERROR: coincident points - repeat answer ...\n" + round("2e-8"));
}

TEST(Asklin, EndOfInputIsFatal) {
  OneMatrix<double> coord = four_points();
  OneVector<double> a(3), b(3);
  MemoryConsole console("n\n1\n");
  EXPECT_THROW(console::asklin(4, coord, a, b), console::FatalError);
}

TEST(Askpla, NodeNumbersGiveThePlanePoints) {
  OneMatrix<double> coord = four_points();
  OneVector<double> a(3), b(3), c(3);
  MemoryConsole console("\n\n4\n2\n");
  console::askpla(4, coord, a, b, c);
  expect_point(a, 1, 2, 3);
  expect_point(b, 1, 0, 0);
  expect_point(c, 4, 5, 6);
  EXPECT_EQ(console.out(), plane_heading + choice("") +
                               ask_int("First  point: node number", 1, "") +
                               ask_int("Second point: node number", 1, "4") +
                               ask_int("Third  point: node number", 1, "2"));
}

TEST(Askpla, ThirdNodeNumberIsCheckedToo) {
  OneMatrix<double> coord = four_points();
  OneVector<double> a(3), b(3), c(3);
  MemoryConsole console("n\n1\n4\n5\n0\n2\n");
  console::askpla(4, coord, a, b, c);
  expect_point(c, 4, 5, 6);
  EXPECT_EQ(console.out(), plane_heading + choice("n") +
                               ask_int("First  point: node number", 1, "1") +
                               ask_int("Second point: node number", 1, "4") +
                               ask_int("Third  point: node number", 1, "5") + invalid_node +
                               ask_int("Third  point: node number", 1, "0") + invalid_node +
                               ask_int("Third  point: node number", 1, "2"));
}

TEST(Askpla, CollinearOrRepeatedPointsAreRefusedAndEverythingIsAskedAgain) {
  OneMatrix<double> coord = four_points();
  OneVector<double> a(3), b(3), c(3);
  // Points 1, 2, 3 lie on one line; then point 4 given twice; then a proper plane.
  MemoryConsole console("n\n1\n2\n3\nn\n4\n1\n4\nn\n1\n2\n4\n");
  console::askpla(4, coord, a, b, c);
  expect_point(a, 1, 2, 3);
  expect_point(b, 4, 5, 6);
  expect_point(c, 1, 0, 0);
  const std::string collinear = "\nERROR: collinear points - repeat answer ...\n";
  EXPECT_EQ(console.out(),
            plane_heading + choice("n") + ask_int("First  point: node number", 1, "1") +
                ask_int("Second point: node number", 1, "2") +
                ask_int("Third  point: node number", 1, "3") + collinear + plane_heading +
                choice("n") + ask_int("First  point: node number", 1, "4") +
                ask_int("Second point: node number", 1, "1") +
                ask_int("Third  point: node number", 1, "4") + collinear + plane_heading +
                choice("n") + ask_int("First  point: node number", 1, "1") +
                ask_int("Second point: node number", 1, "2") +
                ask_int("Third  point: node number", 1, "4"));
}

TEST(Askpla, TinyTriangleIsCollinearUnderTheAbsoluteTolerance) {
  OneMatrix<double> coord = four_points();
  OneVector<double> a(3), b(3), c(3);
  // Sides of 1e-5: the normal's components are about 1e-10. Then sides of 1e-3 pass.
  MemoryConsole console(
      "c\n0\n0\n0\n1e-5\n0\n0\n0\n1e-5\n0\n"
      "c\n0\n0\n0\n1e-3\n0\n0\n0\n1e-3\n0\n");
  console::askpla(4, coord, a, b, c);
  expect_point(b, 1e-3, 0, 0);
  expect_point(c, 0, 1e-3, 0);
  std::string out = console.out();
  std::string expected_first =
      plane_heading + choice("c") + ask_real("First  point: x1", "0", "0") +
      ask_real("First  point: x2", "0", "0") + ask_real("First  point: x3", "0", "0") +
      ask_real("Second point: x1", "0", "1e-5") + ask_real("Second point: x2", "0", "0") +
      ask_real("Second point: x3", "0", "0") + ask_real("Third  point: x1", "0", "0") +
      ask_real("Third  point: x2", "0", "1e-5") + ask_real("Third  point: x3", "0", "0") +
      "\nERROR: collinear points - repeat answer ...\n" + plane_heading;
  EXPECT_EQ(out.substr(0, expected_first.size()), expected_first);
  EXPECT_EQ(out.find("collinear", expected_first.size()), std::string::npos);
}
