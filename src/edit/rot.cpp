#include "edit/rot.h"

#include "console/dialogue.h"
#include "console/pointinput.h"
#include "console/report.h"
#include "edit/axbase.h"
#include "edit/refusal.h"

namespace edit {

using mesh::ndime;

void turn_all_points(mesh::MeshBuffer& buffer, const console::OneMatrix<double>& t,
                     const console::OneVector<double>& a) {
  double image[ndime];
  for (int ipoin = 1; ipoin <= buffer.npoin; ++ipoin) {
    turn_about(t, a, buffer.coord.row(ipoin), image);
    require_finite(image, ndime);
  }
  for (int ipoin = 1; ipoin <= buffer.npoin; ++ipoin) {
    double* x = buffer.coord.row(ipoin);
    turn_about(t, a, x, image);
    for (int j = 0; j < ndime; ++j) x[j] = image[j];
  }
}

void vmzrot(mesh::MeshBuffer& buffer) {
  console::outf("\nRotate the object around an axis (previous object is lost)\n");
  console::OneVector<double> a(ndime), b(ndime);
  console::asklin(buffer.npoin, buffer.coord, a, b);
  double angle = console::askrea("Rotation angle (degrees)", 0);
  console::OneMatrix<double> q = axbase(unit_direction(a, b));
  console::OneMatrix<double> t = global_matrix(q, local_rotation(angle * degrees_to_radians));
  turn_all_points(buffer, t, a);
}

}  // namespace edit
