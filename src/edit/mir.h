// mir: mirror the mesh of the current buffer in a plane.
#pragma once

#include "mesh/meshbuffer.h"

namespace edit {

// Asks the kind of node-order correction and a plane (three points), reflects every point of
// the buffer in the plane and, as asked, renumbers the nodes of each element so that it keeps
// its orientation. In place. Refuses (CoordinatesOutOfRange) before changing anything when a
// coordinate would not stay finite.
void vmzmir(mesh::MeshBuffer& buffer);

}  // namespace edit
