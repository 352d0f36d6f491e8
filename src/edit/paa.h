// paa: repeat the mesh on a regular grid of positions (parallelepipedic array).
#pragma once

#include "mesh/meshbuffer.h"
#include "mesh/meshwriter.h"

namespace edit {

// Asks the numbers of repetitions along x, y and z and the steps between them, and streams the
// nx·ny·nz shifted copies to tmp.vmz. Copies are not joined. The buffer is only read.
void vmzpaa(const mesh::MeshBuffer& buffer, const mesh::Titles& titles);

// Writes the element records of `copies` copies of the buffer, copy c (from 0) with its point
// numbers increased by c·npoin.
void write_copied_elements(mesh::MeshWriter& writer, const mesh::MeshBuffer& buffer, int copies);
// Writes the special-node records of `copies` copies of the buffer, likewise offset.
void write_copied_specials(mesh::MeshWriter& writer, const mesh::MeshBuffer& buffer, int copies);

}  // namespace edit
