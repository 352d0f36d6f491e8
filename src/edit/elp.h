// elp: removes the points that no element uses and that are not special nodes.
#pragma once

#include "mesh/meshbuffer.h"

namespace edit {

// Writes the mesh without its unused points to tmp.vmz, the kept points renumbered in their old
// order and every node list and special node renumbered with them.
void vmzelp(const mesh::MeshBuffer& buffer, const mesh::Titles& titles);

}  // namespace edit
