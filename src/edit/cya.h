// cya: repeat the mesh around an axis (cylindric array).
#pragma once

#include "mesh/meshbuffer.h"

namespace edit {

// Asks the number of copies (the mesh itself included), the axis (two points A, B) and the angle
// between copies, and streams the copies to tmp.vmz, copy c turned by c times the angle,
// right-handed about the direction from A to B. Copies are not joined. The buffer is only read.
void vmzcya(const mesh::MeshBuffer& buffer, const mesh::Titles& titles);

}  // namespace edit
