// shr: separate the elements and shrink each towards its own centre.
#pragma once

#include "mesh/meshbuffer.h"

namespace edit {

// Asks the shrink factor and writes to tmp.vmz the mesh in which every element has its own
// copy of its nodes, moved towards the centre of the element's bounding box. The buffer is
// only read.
void vmzshr(const mesh::MeshBuffer& buffer, const mesh::Titles& titles);

}  // namespace edit
