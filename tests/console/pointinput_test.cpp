// The line and plane dialogues: points by node number or by coordinates, and the refusals of
// invalid node numbers, coincident points and collinear points.
#include "console/pointinput.h"

#include <gtest/gtest.h>

#include "console/dialogue.h"
#include "console/report.h"
#include "support/inprocess.h"
#include "support/session.h"

namespace {

// 'l' (line) or 'p' (plane), answers, the points taken, and the first letters of the errors.
const struct {
  char kind;
  const char* answers;
  const char* points;
  const char* errors;
} rows[] = {
    {'l', "\n3\n\n", "7 8 9|1 2 3", ""},
    {'l', "n\n0\n5\n4\n-1\n2\n", "1 0 0|4 5 6", "iii"},
    {'l', "n\n2\n2\nC\n1\n\n\n\n\n-1.5\n", "1 0 0|0 0 -1.5", "c"},
    {'l', "c\n\n\n\n\n\n1e-9\nc\n\n\n\n\n\n2e-8\n", "0 0 0|0 0 2e-08", "c"},
    {'l', "c\n\n\n\n\n-5e-9\n5e-9\nn\n4\n1\n", "1 0 0|1 2 3", "c"},
    {'p', "\n\n4\n2\n", "1 2 3|1 0 0|4 5 6", ""},
    {'p', "n\n1\n4\n5\n0\n2\n", "1 2 3|1 0 0|4 5 6", "ii"},
    {'p', "n\n1\n2\n3\nn\n4\n1\n4\nn\n1\n2\n4\n", "1 2 3|4 5 6|1 0 0", "cc"},
    {'p', "c\n\n\n\n\n1e-4\n\n\n\n1e-4\nc\n\n\n\n\n1e-3\n\n\n\n1e-3\n", "0 0 0|0 0.001 0|0 0 0.001", "c"},
    {'p', "c\n\n\n\n1e-4\n\n\n\n\n1e-4\nc\n\n\n\n1\n\n\n\n\n1\n", "0 0 0|1 0 0|0 0 1", "c"},
    {'p', "c\n\n\n\n1e-4\n\n\n\n1e-4\n\nc\n\n\n\n1\n\n\n\n1\n\n", "0 0 0|1 0 0|0 1 0", "c"},
};

std::string text(const console::OneVector<double>& p) {
  return session::format("%g %g %g", p[1], p[2], p[3]);
}

}  // namespace

TEST(PointInput, LinesAndPlanesFromNodesOrCoordinates) {
  console::OneMatrix<double> coord(4, 3);
  const double values[4][3] = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {1, 0, 0}};
  for (int i = 1; i <= 4; ++i)
    for (int j = 1; j <= 3; ++j) coord(i, j) = values[i - 1][j - 1];
  for (const auto& r : rows) {
    inprocess::Console c(r.answers);
    console::OneVector<double> a(3), b(3), p(3);
    std::string got;
    if (r.kind == 'l') {
      console::asklin(4, coord, a, b);
      got = text(a) + "|" + text(b);
    } else {
      console::askpla(4, coord, a, b, p);
      got = text(a) + "|" + text(b) + "|" + text(p);
    }
    EXPECT_EQ(got, r.points) << r.answers;
    std::string out = c.out(), errors;
    for (auto at = out.find("ERROR: "); at != std::string::npos; at = out.find("ERROR: ", at + 1))
      errors += out[at + 7];
    EXPECT_EQ(errors, r.errors) << r.answers;
    EXPECT_THROW(console::askint("more", 1), console::FatalError);  // every answer was used
  }
  inprocess::Console c("\n3\n\n");
  console::OneVector<double> a(3), b(3);
  console::asklin(4, coord, a, b);
  EXPECT_EQ(c.out(), "\nTwo points will be asked to define a line:\n" +
                         session::ask_char("Nodal n)umbers or c)oordinates", 'n', 'c', 'n', "") +
                         session::ask_int("First  point: node number", 1, "3") +
                         session::ask_int("Second point: node number", 1, ""));
}
