// The wrp command: one coordinate of every point, written to a file of point values.
#pragma once

#include <string>

#include "mesh/meshbuffer.h"

namespace exchange {

// Asks for the axis (1, 2 or 3) and writes jobname_1.pva, where jobname is the buffer job name:
// one line per point, "%5d" with the point number and " %15.8lf" with its coordinate.
void wrpva(const mesh::MeshBuffer& buffer, const std::string& jobname);

}  // namespace exchange
