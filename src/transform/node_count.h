// The checks that bts and stf make before they transform a mesh, and their refusal.
#pragma once

#include <string_view>

#include "mesh/meshbuffer.h"

namespace transform {

// The open node count shared by every element of the buffer (a closed list counts without its
// closing repeat; the buffer is not altered). When element i is the first whose count differs
// from element 1's, the error stream gets its number and count, the warning "N. of nodes per
// element must be constant" follows, and the answer is false.
bool constant_node_count(const mesh::MeshBuffer& buffer, int& nnode);

// Reports a common node count that the command cannot transform: the count on the error
// stream, then the warning `message`.
void wrong_node_count(int nnode, std::string_view message);

// The refusal: "No transformation (previous data unchanged) - press the Return key ... ", a wait
// for the Return key; answers 'n'.
char refuse_transformation();

}  // namespace transform
