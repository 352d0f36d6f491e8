// The gld command: the input file jobname_gl.dat of the solvora finite-element package.
#pragma once

#include <string>

#include "mesh/meshbuffer.h"

namespace exchange {

// Asks the problem type (and, for the two-dimensional types, which pair of coordinates to
// write), checks that every element has the same node count and that the problem type accepts
// it, and writes jobname_gl.dat: the main title, the main parameters, the mesh, the special nodes
// as fully fixed points, sample property sections and two sample load cases.
//
// Closed node lists count without their closing repeat. Once the file is written completely,
// their `nnoel` entries are lowered in the buffer to that open count; nothing else in the buffer
// changes. When the command is refused, or the file cannot be written completely (WriteFailure),
// the buffer is exactly as it was. A file that cannot be created ends the program.
void wgldat(mesh::MeshBuffer& buffer, const std::string& jobname, const mesh::Titles& titles);

}  // namespace exchange
