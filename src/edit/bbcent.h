// The centre of an element's axis-parallel bounding box, used by shr (to shrink towards it)
// and ren (to sort elements by it).
#pragma once

#include "mesh/meshbuffer.h"

namespace edit {

// centre[0 .. 2] = (smallest + largest) * 0.5 of each coordinate over the element's first
// `count` nodes (count >= 1). The box starts from the first node, so coordinates of any size
// are bounded correctly.
void bbcent(const mesh::MeshBuffer& buffer, int ielem, int count, double* centre);

}  // namespace edit
