// The mesh file jobname.vmz: its reader and the writer of the `wri` command.
#pragma once

#include <string>

#include "mesh/meshbuffer.h"

namespace mesh {

// Reads jobname.vmz into `buffer`, replacing what it held, and sets the titles. A missing file
// leaves the buffer empty and the titles reset, after a warning and a wait for the Return key.
// Every fault inside the file ends the program through the fatal error report.
void rdvmz(const std::string& jobname, MeshBuffer& buffer, Titles& titles);

// Writes the buffer to jobname.vmz, replacing that file only when the new one is complete.
// 'y' when written; 'n' after a warning and a wait for the Return key when the file cannot be
// opened or written.
char wrvmz(const MeshBuffer& buffer, const std::string& jobname, const Titles& titles);

// Prints an empty line and the three count lines of a mesh.
void print_counts(int nelem, int npoin, int nspno);

}  // namespace mesh
