// mer: puts the mesh of buffer b behind the mesh of buffer a.
#pragma once

#include "mesh/meshbuffer.h"

namespace edit {

// Writes to tmp.vmz the elements, points and special nodes of buffer a unchanged, followed by
// those of buffer b, renumbered behind them. Coincident points are not joined.
void vmzmer(const mesh::MeshBuffer& a, const mesh::MeshBuffer& b, const mesh::Titles& titles);

}  // namespace edit
