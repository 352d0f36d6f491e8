#include "edit/csm.h"

#include <cmath>

#include "console/arrays.h"
#include "console/dialogue.h"
#include "console/report.h"
#include "edit/refusal.h"
#include "mesh/meshwriter.h"

namespace edit {

using console::askrea;
using console::outf;
using mesh::ndime;

namespace {

// Rows of the scratch point table; the largest mesh uses 16.
constexpr int table_rows = 100;

const char* const menu_lines[] = {
    "   1 - line                (1 element  -  2 points)",
    "   2 - rectangle           (1 element  -  4 points)",
    "   3 - parallelepiped      (1 element  -  8 points)",
    "   4 - triangle            (3 elements -  7 points - 4 nodes per element)",
    "   5 - quarter of a circle (3 elements - 16 points - 8 nodes per element)",
};

int ask_choice() {
  for (;;) {
    outf("\nAvailable simple meshes:\n\n");
    for (const char* line : menu_lines) outf("%s\n", line);
    int choice = console::askint("Your choice", 1);
    if (choice >= 1 && choice <= 5) return choice;
    outf("\nERROR: repeat answer ...\n");
  }
}

// Point i of the table becomes the midpoint of points a and b.
void midpoint(console::OneMatrix<double>& x, int i, int a, int b) {
  for (int j = 1; j <= ndime; ++j) x(i, j) = (x(a, j) + x(b, j)) * 0.5;
}

void ask_line(console::OneMatrix<double>& x) {
  outf("\nThe 3d coordinates of 2 points will be asked\n");
  x(1, 1) = askrea("First  point: x1", 0);
  x(1, 2) = askrea("First  point: x2", 0);
  x(1, 3) = askrea("First  point: x3", 0);
  x(2, 1) = askrea("Second point: x1", 0);
  x(2, 2) = askrea("Second point: x2", 0);
  x(2, 3) = askrea("Second point: x3", 0);
}

void ask_rectangle(console::OneMatrix<double>& x) {
  outf("\nThe mesh is in the plane (x+ , y+)\n");
  double sx = askrea("Size in x", 1);
  double sy = askrea("Size in y", 1);
  x(2, 1) = sx;
  x(3, 2) = sy;
  x(4, 1) = sx;
  x(4, 2) = sy;
}

void ask_parallelepiped(console::OneMatrix<double>& x) {
  outf("\nThe mesh is in the plane (x+ , y+ , z+)\n");
  double sx = askrea("Size in x", 1);
  double sy = askrea("Size in y", 1);
  double sz = askrea("Size in z", 1);
  // Points 1 to 4 on the face z = 0, points 5 to 8 above them on the face z = sz.
  for (int base = 0; base <= 4; base += 4) {
    x(base + 2, 1) = sx;
    x(base + 3, 2) = sy;
    x(base + 4, 1) = sx;
    x(base + 4, 2) = sy;
  }
  for (int i = 5; i <= 8; ++i) x(i, 3) = sz;
}

void ask_triangle(console::OneMatrix<double>& x) {
  outf("\nThe mesh is in the plane (x+ , y+)\n");
  double sx = askrea("Size in x", 1);
  double sy = askrea("Size in y", 1);
  x(2, 1) = 0.5 * sx;
  x(3, 1) = sx;
  x(4, 2) = 0.5 * sy;
  x(7, 2) = sy;
  x(1, 1) = 0;
  x(1, 2) = 0;
  midpoint(x, 6, 7, 3);
  x(5, 1) = 0.7 * x(6, 1);
  x(5, 2) = 0.7 * x(6, 2);
}

void ask_quarter_circle(console::OneMatrix<double>& x) {
  outf("\nThe mesh is in the plane (x+ , y+)\n");
  outf("The center of the circle is the point (0,0,0)\n");
  double r = askrea("Radius of the circle", 1);
  // Along the x axis, then along the y axis.
  x(1, 1) = 0;
  x(2, 1) = 0.25 * r;
  x(3, 1) = 0.5 * r;
  x(4, 1) = 0.75 * r;
  x(5, 1) = r;
  x(6, 2) = 0.25 * r;
  x(9, 2) = 0.5 * r;
  x(14, 2) = 0.75 * r;
  x(16, 2) = r;
  // The inner corner shared by the three elements.
  x(11, 1) = 0.4 * r;
  x(11, 2) = 0.4 * r;
  // On the arc, at pi/8, pi/4 and 3 pi/8.
  const double angles[3] = {0.39269908169872414, 0.7853981633974483, 1.1780972450961724};
  const int arc_points[3] = {8, 13, 15};
  for (int i = 0; i < 3; ++i) {
    x(arc_points[i], 1) = std::cos(angles[i]) * r;
    x(arc_points[i], 2) = std::sin(angles[i]) * r;
  }
  midpoint(x, 7, 11, 3);
  midpoint(x, 10, 11, 9);
  midpoint(x, 12, 13, 11);
}

struct SimpleMesh {
  const char* title;
  int nelem;
  int npoin;
  const char* elements[3];
};

const SimpleMesh meshes[5] = {
    {"Linear mesh", 1, 2, {" 1     2     1  2"}},
    {"Rectangular mesh", 1, 4, {" 1     5     1  2  4  3     1"}},
    {"Parallelepipedic mesh", 1, 8, {" 1     8     1  2  4  3  5  6  8  7"}},
    {"Triangular mesh",
     3,
     7,
     {" 1     5     1  2  5  4     1", " 2     5     2  3  6  5     2",
      " 3     5     4  5  6  7     4"}},
    {"Quarter of a circular mesh",
     3,
     16,
     {" 1     9     1  2  3  7 11 10  9  6     1", " 2     9     3  4  5  8 13 12 11  7     3",
      " 3     9     9 10 11 12 13 15 16 14     9"}},
};

}  // namespace

void vmzcsm() {
  int choice = ask_choice();
  console::OneMatrix<double> x(table_rows, ndime);
  x.zero();
  // The file exists (empty) while the size questions are asked.
  auto out = mesh::open_handback("Unable to open output file - tmp.vmz");
  switch (choice) {
    case 1:
      ask_line(x);
      break;
    case 2:
      ask_rectangle(x);
      break;
    case 3:
      ask_parallelepiped(x);
      break;
    case 4:
      ask_triangle(x);
      break;
    case 5:
      ask_quarter_circle(x);
      break;
    default:
      console::fatal("vmzcsm: internal error 6");
  }
  const SimpleMesh& m = meshes[choice - 1];
  // A radius near the largest real overflows in the midpoints of the quarter circle.
  for (int ipoin = 1; ipoin <= m.npoin; ++ipoin) require_finite(x.row(ipoin), ndime);
  mesh::MeshWriter writer(*out, mesh::Titles{m.title, "Mesh"}, m.nelem, m.npoin, 0, "vmzcsm",
                          mesh::MeshWriter::Layout::wide);
  for (int ielem = 0; ielem < m.nelem; ++ielem) writer.element_line(m.elements[ielem]);
  for (int ipoin = 1; ipoin <= m.npoin; ++ipoin) writer.point(x.row(ipoin));
  writer.finish();
  mesh::close_handback(*out);
}

}  // namespace edit
