// The special-node file jobname.snd: a count, then one record a special node.
#pragma once

#include <string>

#include "console/textfile.h"
#include "mesh/meshbuffer.h"

namespace mesh {

// Replaces nspno and lspno of the buffer by the contents of jobname.snd. A missing file, a
// record out of sequence or a point outside 1 .. npoin ends the program.
void rdsnd(const std::string& jobname, MeshBuffer& buffer);

// Writes the count line "%8d" and the records "%8d   %8d" (running number, point) of
// points[1 .. count].
void wrsnd(console::OutputFile& out, const console::OneVector<int>& points, int count);

}  // namespace mesh
