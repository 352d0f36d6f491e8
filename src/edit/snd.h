// snd: adds to the special nodes every point on a line segment or in a plane the user defines.
#pragma once

#include "mesh/meshbuffer.h"

namespace edit {

// Runs detections until the user answers 0 and writes the union of the old special nodes and
// every point found, ascending and without repeats, to tmp.snd. The buffer is only read.
void vmzsnd(const mesh::MeshBuffer& buffer);

}  // namespace edit
