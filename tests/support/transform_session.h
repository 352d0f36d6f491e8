// Pieces of the sessions of the element-type transformations: mesh files made from node lists
// and points, and the text of the steps such a session goes through.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace session {

using Point = std::array<double, 3>;

// The lines of a mesh file after its titles and counts: points "%5d" and " %15.8lf" for each
// coordinate; special nodes "%5d %5d".
std::string point_lines(const std::vector<Point>& points);
std::string special_lines(const std::vector<int>& specials);
// A whole mesh file: titles, counts "%5d   %5d   %5d", element lines "%5d %5d   " with " %5d"
// for each node, then the points and special nodes.
std::string mesh_file(const std::string& main_title, const std::string& mesh_title,
                      const std::vector<std::vector<int>>& elements,
                      const std::vector<Point>& points, const std::vector<int>& specials);
// The head of a mesh file: the titles and the counts line.
std::string mesh_head(const std::string& main_title, const std::string& mesh_title, int nelem,
                      int npoin, int nspno);

// `rea` of job.vmz as the first job-name dialogue of the run (default "new").
std::string read_step(const std::string& job, const std::string& main_title,
                      const std::string& mesh_title, int nelem, int npoin, int nspno);
// `wri` to name.vmz, the job-name default being `default_name`.
std::string write_step(const std::string& default_name, const std::string& name, int nelem,
                       int npoin, int nspno);
// A command writing tmp.vmz and the hand-back reading it.
std::string handback_step(const std::string& main_title, const std::string& mesh_title, int nelem,
                          int npoin, int nspno);
// The refusal of bts and stf, with its wait for the Return key.
std::string transform_refusal();

}  // namespace session
