#include "edit/mov.h"

#include "console/dialogue.h"
#include "console/report.h"
#include "edit/refusal.h"

namespace edit {

using mesh::ndime;

void vmzmov(mesh::MeshBuffer& buffer) {
  console::outf("\nMove the object (previous object is lost)\n");
  double d[ndime + 1];
  d[1] = console::askrea("x", 0);
  d[2] = console::askrea("y", 0);
  d[3] = console::askrea("z", 0);
  auto moved = [&](const double* x, double* image) {
    for (int j = 1; j <= ndime; ++j) image[j - 1] = x[j - 1] + d[j];
  };
  // One pass to make sure the result can be stored, then the move itself.
  double image[ndime];
  for (int ipoin = 1; ipoin <= buffer.npoin; ++ipoin) {
    moved(buffer.coord.row(ipoin), image);
    require_finite(image, ndime);
  }
  for (int ipoin = 1; ipoin <= buffer.npoin; ++ipoin) {
    double* x = buffer.coord.row(ipoin);
    moved(x, x);
  }
}

}  // namespace edit
