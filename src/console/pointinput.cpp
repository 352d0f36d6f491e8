#include "console/pointinput.h"

#include <cmath>

#include "console/dialogue.h"
#include "console/report.h"

namespace console {

namespace {

constexpr double tolerance = 1e-8;

void ask_node(const char* question, int npoin, const OneMatrix<double>& coord,
              OneVector<double>& point) {
  int node = askint(question, 1);
  while (node < 1 || node > npoin) {
    outf("\nERROR: invalid node number - repeat answer ...\n");
    node = askint(question, 1);
  }
  for (int j = 1; j <= point.size(); ++j) point[j] = coord(node, j);
}

void ask_coordinates(const char* label, OneVector<double>& point) {
  static const char* const axes[] = {"x1", "x2", "x3"};
  for (int j = 1; j <= point.size(); ++j) {
    std::string question = std::string(label) + ": " + axes[j - 1];
    point[j] = askrea(question, 0);
  }
}

}  // namespace

void asklin(int npoin, const OneMatrix<double>& coord, OneVector<double>& first,
            OneVector<double>& second) {
  for (;;) {
    outf("\nTwo points will be asked to define a line:\n");
    char choice = askcha("Nodal n)umbers or c)oordinates", 'n', 'c', 'n');
    if (choice == 'n') {
      ask_node("First  point: node number", npoin, coord, first);
      ask_node("Second point: node number", npoin, coord, second);
    } else if (choice == 'c') {
      ask_coordinates("First  point", first);
      ask_coordinates("Second point", second);
    } else {
      fatal("asklin: internal error 1");
    }
    double sum = 0;
    for (int j = 1; j <= first.size(); ++j) sum += std::fabs(second[j] - first[j]);
    if (sum > tolerance) return;
    outf("\nERROR: coincident points - repeat answer ...\n");
  }
}

void askpla(int npoin, const OneMatrix<double>& coord, OneVector<double>& first,
            OneVector<double>& second, OneVector<double>& third) {
  OneVector<double> a(3), b(3), normal(3);
  for (;;) {
    outf("\nThree points will be asked to define a plane:\n");
    char choice = askcha("Nodal n)umbers or c)oordinates", 'n', 'c', 'n');
    if (choice == 'n') {
      ask_node("First  point: node number", npoin, coord, first);
      ask_node("Second point: node number", npoin, coord, second);
      ask_node("Third  point: node number", npoin, coord, third);
    } else if (choice == 'c') {
      ask_coordinates("First  point", first);
      ask_coordinates("Second point", second);
      ask_coordinates("Third  point", third);
    } else {
      fatal("askpla: internal error 1");
    }
    for (int j = 1; j <= 3; ++j) {
      a[j] = second[j] - first[j];
      b[j] = third[j] - first[j];
    }
    normal[1] = a[2] * b[3] - a[3] * b[2];
    normal[2] = a[3] * b[1] - a[1] * b[3];
    normal[3] = a[1] * b[2] - a[2] * b[1];
    double sum = std::fabs(normal[1]) + std::fabs(normal[2]) + std::fabs(normal[3]);
    if (sum > tolerance) return;
    outf("\nERROR: collinear points - repeat answer ...\n");
  }
}

}  // namespace console
