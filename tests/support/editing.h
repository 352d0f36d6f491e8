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

// A mesh file in the standard layout: "%5d   %5d   %5d" counts, "%5d %5d   " + " %5d" elements,
// "%5d" + " %15.8lf" points, "%5d %5d" special nodes.
struct Point {
  double x, y, z;
};
std::string mesh_file(const std::string& main_title, const std::string& mesh_title,
                      const std::vector<std::vector<int>>& elements,
                      const std::vector<Point>& points, const std::vector<int>& specials);

}  // namespace editing
