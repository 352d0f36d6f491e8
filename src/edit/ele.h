// ele: removes the elements whose numbers lie in ranges the user types.
#pragma once

#include "mesh/meshbuffer.h"

namespace edit {

// Asks ranges of element numbers until a 0 and writes the mesh without those elements to
// tmp.vmz; the kept elements are renumbered in their old order, points and special nodes stay.
void vmzele(const mesh::MeshBuffer& buffer, const mesh::Titles& titles);

}  // namespace edit
