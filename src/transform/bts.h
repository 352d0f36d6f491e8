// bts: every brick of the current buffer becomes its six faces, written as shell elements
// (8-node bricks give 4-node shells, 20-node bricks 8-node shells), with or without the faces
// that two bricks share. Points and special nodes stay as they are, with their numbers.
#pragma once

#include "mesh/meshbuffer.h"

namespace transform {

// Asks whether common faces go, checks that every element has 8 or every element 20 nodes and
// writes the shells to tmp.vmz. 'y' when tmp.vmz was written; 'n' after a refusal, with the
// buffer as it was.
char vmzbts(const mesh::MeshBuffer& buffer, const mesh::Titles& titles);

// Write tmp.vmz for bricks of `nnode` (8 or 20) nodes: wshvmz all six faces of every brick,
// wsevmz only the faces that no two bricks have in common.
void wshvmz(const mesh::MeshBuffer& buffer, int nnode, const mesh::Titles& titles);
void wsevmz(const mesh::MeshBuffer& buffer, int nnode, const mesh::Titles& titles);

}  // namespace transform
