// ren: renumbers the points (sorted along three directions, coincident ones joined), the
// elements (sorted by their centres) and the special nodes of a mesh.
#pragma once

#include "mesh/meshbuffer.h"

namespace edit {

// Asks the directions and the options, reports the largest node-number difference of an
// element, and writes the renumbered mesh to tmp.vmz. The buffer is only read.
void vmzren(const mesh::MeshBuffer& buffer, const mesh::Titles& titles);

}  // namespace edit
