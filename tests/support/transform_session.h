// Pieces of the sessions of the element-type transformations: mesh files made from node lists
// and points, and the text of the steps such a session goes through.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace session {

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
