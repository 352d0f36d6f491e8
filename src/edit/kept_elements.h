// The hand-back of the commands that remove elements: the kept elements renumbered in their
// old order, every point and every special node unchanged.
#pragma once

#include "console/arrays.h"
#include "mesh/meshbuffer.h"

namespace edit {

// element_map[e] is 0 for a removed element; `kept` elements remain. `routine` names the
// command in the writer's internal errors.
void write_kept_elements(const mesh::MeshBuffer& buffer, const mesh::Titles& titles,
                         const console::OneVector<int>& element_map, int kept, const char* routine);

}  // namespace edit
