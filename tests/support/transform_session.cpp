#include "support/transform_session.h"

#include "support/session.h"

namespace session {

std::string read_step(const std::string& job, const std::string& main_title,
                      const std::string& mesh_title, int nelem, int npoin, int nspno) {
  return rea_step("new", job, main_title, mesh_title, nelem, npoin, nspno);
}

std::string write_step(const std::string& default_name, const std::string& name, int nelem,
                       int npoin, int nspno) {
  return wri_step(default_name, name, nelem, npoin, nspno);
}

std::string handback_step(const std::string& main_title, const std::string& mesh_title, int nelem,
                          int npoin, int nspno) {
  return "\nWriting file: tmp.vmz\n" +
         handback_reading(main_title, mesh_title, nelem, npoin, nspno);
}

std::string transform_refusal() {
  return "\nNo transformation (previous data unchanged) - press the Return key ... \n";
}

}  // namespace session
