#include "edit/bbcent.h"

namespace edit {

void bbcent(const mesh::MeshBuffer& buffer, int ielem, int count, double* centre) {
  const int* nodes = buffer.lnods.row(ielem);
  for (int j = 0; j < mesh::ndime; ++j) {
    double smallest = buffer.coord(nodes[0], j + 1);
    double largest = smallest;
    for (int i = 1; i < count; ++i) {
      double x = buffer.coord(nodes[i], j + 1);
      if (x < smallest) smallest = x;
      if (x > largest) largest = x;
    }
    centre[j] = (smallest + largest) * 0.5;
  }
}

}  // namespace edit
