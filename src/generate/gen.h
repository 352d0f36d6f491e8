// The `gen` command: every element of the buffer replaced by a structured grid of smaller
// elements, with the divisions and step weights of jobname_dw.dat (or asked, without the file).
#pragma once

#include <string>

#include "mesh/meshbuffer.h"

namespace generate {

// Writes the refined mesh to tmp.vmz and answers 'y'; answers 'n' after a warning and a wait
// for the Return key when the buffer or the asked kind cannot be refined. The buffer itself is
// never changed. `jobname` is the buffer job name: the divisions come from jobname_dw.dat.
char vmzgen(const mesh::MeshBuffer& buffer, const std::string& jobname, const mesh::Titles& titles);

}  // namespace generate
