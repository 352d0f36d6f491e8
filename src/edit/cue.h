// cue: removes every element with a node outside a slab between two planes normal to an axis.
#pragma once

#include "mesh/meshbuffer.h"

namespace edit {

// Asks the axis and the two plane coordinates and writes the mesh of the elements lying wholly
// in the slab (limits included) to tmp.vmz; points and special nodes stay.
void vmzcue(const mesh::MeshBuffer& buffer, const mesh::Titles& titles);

}  // namespace edit
