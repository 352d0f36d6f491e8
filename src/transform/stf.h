// stf: every shell (quadrilateral) of the current buffer becomes the four bars along its sides
// (4-node shells give 2-node bars, 8- and 9-node shells 3-node bars), with or without the later
// copies of bars that are already there. Points and special nodes stay as they are, with their
// numbers.
#pragma once

#include "mesh/meshbuffer.h"

namespace transform {

// Asks whether common bars go, checks that every element has 4, every element 8 or every
// element 9 nodes and writes the bars to tmp.vmz. 'y' when tmp.vmz was written; 'n' after a
// refusal, with the buffer as it was.
char vmzstf(const mesh::MeshBuffer& buffer, const mesh::Titles& titles);

// Write tmp.vmz for shells of `nnode` (4, 8 or 9) nodes: wfrvmz all four bars of every shell,
// wfevmz each bar that an earlier bar does not already cover.
void wfrvmz(const mesh::MeshBuffer& buffer, int nnode, const mesh::Titles& titles);
void wfevmz(const mesh::MeshBuffer& buffer, int nnode, const mesh::Titles& titles);

}  // namespace transform
