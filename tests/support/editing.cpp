#include "support/editing.h"

namespace editing {

using session::format;

std::string read_step(const std::string& job, const std::string& offered,
                      const std::string& main_title, const std::string& mesh_title, int nelem,
                      int npoin, int nspno, char buffer) {
  return session::rea_step(offered, job, main_title, mesh_title, nelem, npoin, nspno, buffer);
}

std::string write_step(const std::string& job, const std::string& offered, int nelem, int npoin,
                       int nspno, char buffer) {
  return session::wri_step(offered, job, nelem, npoin, nspno, buffer);
}

std::string handback(const std::string& main_title, const std::string& mesh_title, int nelem,
                     int npoin, int nspno) {
  return session::handback_reading(main_title, mesh_title, nelem, npoin, nspno);
}

}  // namespace editing
