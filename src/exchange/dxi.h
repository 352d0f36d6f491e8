// The dxi command: the 3-D polylines of an ASCII DXF drawing as a mesh.
#pragma once

#include <string>

#include "mesh/meshbuffer.h"

namespace exchange {

// Reads jobname.dxf into `buffer`, replacing what it held: every POLYLINE of the ENTITIES
// section that has vertices becomes one element, every VERTEX one new point. The titles become
// "Main title" and "Mesh". A missing file leaves the buffer empty after a warning and a wait for
// the Return key; a malformed file ends the program through the fatal error report.
void vmzdxi(mesh::MeshBuffer& buffer, const std::string& jobname, mesh::Titles& titles);

}  // namespace exchange
