#include "support/transform_session.h"

#include "support/session.h"

namespace session {

std::string point_lines(const std::vector<Point>& points) {
  std::string text;
  int ipoin = 0;
  for (const Point& p : points) {
    text += format("%5d %15.8lf %15.8lf %15.8lf\n", ++ipoin, p[0], p[1], p[2]);
  }
  return text;
}

std::string special_lines(const std::vector<int>& specials) {
  std::string text;
  int ispno = 0;
  for (int p : specials) text += format("%5d %5d\n", ++ispno, p);
  return text;
}

std::string mesh_head(const std::string& main_title, const std::string& mesh_title, int nelem,
                      int npoin, int nspno) {
  return main_title + "\n" + mesh_title + "\n" + format("%5d   %5d   %5d\n", nelem, npoin, nspno);
}

std::string mesh_file(const std::string& main_title, const std::string& mesh_title,
                      const std::vector<std::vector<int>>& elements,
                      const std::vector<Point>& points, const std::vector<int>& specials) {
  std::string text = mesh_head(main_title, mesh_title, static_cast<int>(elements.size()),
                               static_cast<int>(points.size()), static_cast<int>(specials.size()));
  int ielem = 0;
  for (const auto& nodes : elements) {
    text += format("%5d %5d   ", ++ielem, static_cast<int>(nodes.size()));
    for (int node : nodes) text += format(" %5d", node);
    text += "\n";
  }
  return text + point_lines(points) + special_lines(specials);
}

std::string read_step(const std::string& job, const std::string& main_title,
                      const std::string& mesh_title, int nelem, int npoin, int nspno) {
  return step("rea") + job_dialogue("Read a .vmz file to buffer a or b", "new", job) +
         reading(job + ".vmz", main_title, mesh_title, nelem, npoin, nspno);
}

std::string write_step(const std::string& default_name, const std::string& name, int nelem,
                       int npoin, int nspno) {
  return step("wri") + job_dialogue("Write a .vmz file with buffer a or b", default_name, name) +
         counts(nelem, npoin, nspno) + "\nWriting file: " + name + ".vmz\n";
}

std::string handback_step(const std::string& main_title, const std::string& mesh_title, int nelem,
                          int npoin, int nspno) {
  return "\nWriting file: tmp.vmz\n" +
         reading("tmp.vmz", main_title, mesh_title, nelem, npoin, nspno);
}

std::string transform_refusal() {
  return "\nNo transformation (previous data unchanged) - press the Return key ... \n";
}

}  // namespace session
