#include "transform/node_count.h"

#include "console/dialogue.h"
#include "console/report.h"

namespace transform {

bool constant_node_count(const mesh::MeshBuffer& buffer, int& nnode) {
  // Without elements there is no count to share: 0, which no transformation accepts.
  nnode = buffer.nelem >= 1 ? mesh::open_count(buffer, 1) : 0;
  for (int ielem = 2; ielem <= buffer.nelem; ++ielem) {
    const int count = mesh::open_count(buffer, ielem);
    if (count != nnode) {
      console::errf("\nChecking element n. %8d\n", ielem);
      console::errf("\nN. of nodes per element = %8d\n", count);
      console::warning("N. of nodes per element must be constant");
      return false;
    }
  }
  return true;
}

void wrong_node_count(int nnode, std::string_view message) {
  console::errf("\nN. of nodes per element = %8d\n", nnode);
  console::warning(message);
}

char refuse_transformation() {
  console::outf("\n");
  console::pause("No transformation (previous data unchanged) - press the Return key ... ");
  return 'n';
}

}  // namespace transform
