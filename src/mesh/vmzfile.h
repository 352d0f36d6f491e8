// The mesh file jobname.vmz: its reader and the writer of the `wri` command.
#pragma once

#include <string>

#include "console/textfile.h"
#include "mesh/meshbuffer.h"

namespace mesh {

// How `read_mesh` speaks while it reads.
//   console: the titles and the counts are echoed on standard output as they are read, and a
//            faulty record's context line ("Reading element n. ...") goes to the error stream
//            just before the fatal report, as the console shows them.
//   quiet:   nothing is printed; the context of a fault is the start of the fatal message
//            ("element 5: Wrong element number"), so that it reads as one line.
enum class Echo { console, quiet };

// Reads a whole mesh file from `file` into `buffer`, replacing what it held, and sets the
// titles. Every fault inside the file ends the program through the fatal error report; the
// buffer and the titles are then left as they were.
void read_mesh(console::InputFile& file, MeshBuffer& buffer, Titles& titles, Echo echo);

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
