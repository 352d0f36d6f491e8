// The dxo command: the current buffer as a wire-frame drawing for AutoCAD Release 10.
#pragma once

#include <string>

#include "mesh/meshbuffer.h"

namespace exchange {

// Asks how to draw the mesh (lines or polylines, an optional change of axes, marks and numbers)
// and writes jobname.dxf. The buffer is only read; an optional change of axes is applied to the
// values written, never to the buffer.
void vmzdxo(const mesh::MeshBuffer& buffer, const std::string& jobname, const mesh::Titles& titles);

}  // namespace exchange
