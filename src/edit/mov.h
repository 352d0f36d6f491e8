// mov: translate the mesh of the current buffer.
#pragma once

#include "mesh/meshbuffer.h"

namespace edit {

// Asks a vector and adds it to every point of the buffer, in place. Refuses
// (CoordinatesOutOfRange) before changing anything when a coordinate would not stay finite.
void vmzmov(mesh::MeshBuffer& buffer);

}  // namespace edit
