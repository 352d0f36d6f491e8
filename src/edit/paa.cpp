#include "edit/paa.h"

#include <algorithm>

#include "console/dialogue.h"
#include "console/report.h"
#include "edit/refusal.h"
#include "mesh/meshwriter.h"

namespace edit {

using mesh::ndime;

void write_copied_elements(mesh::MeshWriter& writer, const mesh::MeshBuffer& buffer, int copies) {
  int nodes[mesh::mnode];
  for (int c = 0; c < copies; ++c) {
    int offset = c * buffer.npoin;
    for (int ielem = 1; ielem <= buffer.nelem; ++ielem) {
      const int* row = buffer.lnods.row(ielem);
      int count = buffer.nnoel[ielem];
      for (int k = 0; k < count; ++k) nodes[k] = row[k] + offset;
      writer.element(count, nodes);
    }
  }
}

void write_copied_specials(mesh::MeshWriter& writer, const mesh::MeshBuffer& buffer, int copies) {
  for (int c = 0; c < copies; ++c) {
    int offset = c * buffer.npoin;
    for (int i = 1; i <= buffer.nspno; ++i) writer.special(buffer.lspno[i] + offset);
  }
}

void vmzpaa(const mesh::MeshBuffer& buffer, const mesh::Titles& titles) {
  console::outf("\nRepeat a drawing nx by ny by nz times\n");
  // Every count of the result must stay within an int, so the repetitions are bounded by the
  // largest count of one copy.
  int largest = std::max({buffer.nelem, buffer.npoin, buffer.nspno});
  int nx = ask_repetitions("Number of repetitions in x", 1, largest);
  int ny = ask_repetitions("Number of repetitions in y", nx, largest);
  int nz = ask_repetitions("Number of repetitions in z", static_cast<long long>(nx) * ny, largest);
  double sx = console::askrea("Step   of repetitions in x", 0);
  double sy = console::askrea("Step   of repetitions in y", 0);
  double sz = console::askrea("Step   of repetitions in z", 0);

  auto out = mesh::open_handback("Unable to open output file - tmp.vmz");
  int copies = nx * ny * nz;
  mesh::MeshWriter writer(*out, titles, copies * buffer.nelem, copies * buffer.npoin,
                          copies * buffer.nspno, "vmzpaa");
  // Copies run with x outermost and z innermost: copy c = nz·(ny·(ix − 1) + (iy − 1)) + (iz − 1).
  write_copied_elements(writer, buffer, copies);
  double x[ndime];
  for (int ix = 1; ix <= nx; ++ix) {
    for (int iy = 1; iy <= ny; ++iy) {
      for (int iz = 1; iz <= nz; ++iz) {
        const double shift[ndime] = {(ix - 1) * sx, (iy - 1) * sy, (iz - 1) * sz};
        for (int ipoin = 1; ipoin <= buffer.npoin; ++ipoin) {
          const double* point = buffer.coord.row(ipoin);
          for (int j = 0; j < ndime; ++j) x[j] = point[j] + shift[j];
          require_finite(x, ndime);
          writer.point(x);
        }
      }
    }
  }
  write_copied_specials(writer, buffer, copies);
  writer.finish();
  mesh::close_handback(*out);
}

}  // namespace edit
