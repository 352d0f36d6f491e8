// Builders for the sessions of the editing commands: reading a mesh into a buffer, writing it
// out again, and the hand-back that follows a command.
#pragma once

#include <string>
#include <vector>

#include "support/session.h"

namespace editing {

// The whole standard output of `rea` in the given buffer: menu, command, job-name dialogue and
// the reader's lines.
std::string read_step(const std::string& job, const std::string& offered,
                      const std::string& main_title, const std::string& mesh_title, int nelem,
                      int npoin, int nspno, char buffer = 'a');
// The whole standard output of `wri` of a mesh with these counts to job.vmz.
std::string write_step(const std::string& job, const std::string& offered, int nelem, int npoin,
                       int nspno, char buffer = 'a');
// What the hand-back prints after a command wrote tmp.vmz.
std::string handback(const std::string& main_title, const std::string& mesh_title, int nelem,
                     int npoin, int nspno);

using session::Point;

}  // namespace editing
