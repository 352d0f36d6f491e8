#include "edit/cya.h"

#include <algorithm>

#include "console/dialogue.h"
#include "console/pointinput.h"
#include "console/report.h"
#include "edit/axbase.h"
#include "edit/paa.h"
#include "edit/refusal.h"
#include "mesh/meshwriter.h"

namespace edit {

using mesh::ndime;

void vmzcya(const mesh::MeshBuffer& buffer, const mesh::Titles& titles) {
  console::outf("\nRepeat a drawing n times around an axis\n");
  int largest = std::max({buffer.nelem, buffer.npoin, buffer.nspno});
  int copies = ask_repetitions("Number of repetitions (including the existing object)", 1, largest);
  console::OneVector<double> a(ndime), b(ndime);
  console::asklin(buffer.npoin, buffer.coord, a, b);
  double step = console::askrea("Step of repetitions (degrees)", 0) * degrees_to_radians;
  console::OneMatrix<double> q = axbase(unit_direction(a, b));

  auto out = mesh::open_handback("Unable to open output file - tmp.vmz");
  mesh::MeshWriter writer(*out, titles, copies * buffer.nelem, copies * buffer.npoin,
                          copies * buffer.nspno, "vmzcya");
  write_copied_elements(writer, buffer, copies);
  // Every copy, the first one included, is the point relative to A turned by T and moved back
  // by A; the buffer itself is never changed.
  double image[ndime];
  for (int c = 0; c < copies; ++c) {
    console::OneMatrix<double> t = global_matrix(q, local_rotation(c * step));
    for (int ipoin = 1; ipoin <= buffer.npoin; ++ipoin) {
      turn_about(t, a, buffer.coord.row(ipoin), image);
      require_finite(image, ndime);
      writer.point(image);
    }
  }
  write_copied_specials(writer, buffer, copies);
  writer.finish();
  mesh::close_handback(*out);
}

}  // namespace edit
