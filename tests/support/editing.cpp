#include "support/editing.h"

namespace editing {

using session::format;

std::string read_step(const std::string& job, const std::string& offered,
                      const std::string& main_title, const std::string& mesh_title, int nelem,
                      int npoin, int nspno, char buffer) {
  return session::step("rea", buffer) +
         session::job_dialogue("Read a .vmz file to buffer a or b", offered, job) +
         session::reading(job + ".vmz", main_title, mesh_title, nelem, npoin, nspno);
}

std::string write_step(const std::string& job, const std::string& offered, int nelem, int npoin,
                       int nspno, char buffer) {
  return session::step("wri", buffer) +
         session::job_dialogue("Write a .vmz file with buffer a or b", offered, job) +
         session::counts(nelem, npoin, nspno) + "\nWriting file: " + job + ".vmz\n";
}

std::string handback(const std::string& main_title, const std::string& mesh_title, int nelem,
                     int npoin, int nspno) {
  return session::reading("tmp.vmz", main_title, mesh_title, nelem, npoin, nspno);
}

std::string mesh_file(const std::string& main_title, const std::string& mesh_title,
                      const std::vector<std::vector<int>>& elements,
                      const std::vector<Point>& points, const std::vector<int>& specials) {
  std::string text = main_title + "\n" + mesh_title + "\n";
  text += format("%5d   %5d   %5d\n", static_cast<int>(elements.size()),
                 static_cast<int>(points.size()), static_cast<int>(specials.size()));
  int i = 0;
  for (const auto& nodes : elements) {
    text += format("%5d %5d   ", ++i, static_cast<int>(nodes.size()));
    for (int n : nodes) text += format(" %5d", n);
    text += "\n";
  }
  i = 0;
  for (const Point& p : points) text += format("%5d %15.8lf %15.8lf %15.8lf\n", ++i, p.x, p.y, p.z);
  i = 0;
  for (int s : specials) text += format("%5d %5d\n", ++i, s);
  return text;
}

}  // namespace editing
