// Helpers for the tests of the refinement: the console pointed at memory for unit tests, the
// lines that a gen session prints, and a reader of the mesh files it produces.
#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "console/report.h"

namespace generation {

// Points the dialogue streams at temporary files for the life of the object: `answers` is
// standard input; out() and err() give what was written so far.
class CapturedConsole {
 public:
  explicit CapturedConsole(const std::string& answers = "");
  ~CapturedConsole();
  CapturedConsole(const CapturedConsole&) = delete;
  CapturedConsole& operator=(const CapturedConsole&) = delete;
  std::string out() const;
  std::string err() const;

 private:
  console::Streams saved_;
  std::FILE* in_;
  std::FILE* out_;
  std::FILE* err_;
};

// A file with the given content in a fresh temporary directory, removed with the object.
class TempFile {
 public:
  explicit TempFile(const std::string& content);
  ~TempFile();
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string dir_;
  std::string path_;
};

// A mesh file as numbers.
struct MeshFile {
  std::string main_title, mesh_title;
  int nelem = 0, npoin = 0, nspno = 0;
  std::vector<std::vector<int>> elements;  // node lists as written (closed lists included)
  std::vector<std::array<double, 3>> points;
};
// Parses the text of a mesh file; a malformed file fails the calling test (ADD_FAILURE).
MeshFile parse_mesh(const std::string& text);

// Parametric positions (s, t, u) of the nodes of an element kind, in element node order: lines
// of 2 and 3 nodes, quadrilaterals of 4, 8 and 9, bricks of 8 and 20.
using Position = std::array<double, 3>;
std::vector<Position> node_positions(int ngtyp, int nnode);

// The text of a mesh file with the given element node lists, points and special nodes.
std::string mesh_text(const std::string& main_title, const std::string& mesh_title,
                      const std::vector<std::vector<int>>& elements,
                      const std::vector<Position>& points, const std::vector<int>& special = {});

// Standard output of the session steps around gen.
// rea of job.vmz with the job-name default offered.
std::string read_step(const std::string& default_name, const std::string& job,
                      const std::string& main_title, const std::string& mesh_title, int nelem,
                      int npoin, int nspno);
// wri to job.vmz of a buffer with the given counts.
std::string write_step(const std::string& default_name, const std::string& job, int nelem,
                       int npoin, int nspno);
// From "Generate a refined mesh" to the "Reading file" line of the divisions file.
std::string gen_start(int nnode, const std::string& dw_file);
// The two lines of ngtyp and nnodg.
std::string gen_kind(int ngtyp, int nnodg);
std::string max_divisions(int maximum);
std::string equal_steps();
// "Writing file: tmp.vmz" and the hand-back reading it.
std::string gen_written(const std::string& main_title, const std::string& mesh_title, int nelem,
                        int npoin);
std::string gen_refusal();
// The questions of the interactive mode, answered.
std::string ask_ngtyp(const std::string& answer);
std::string ask_nnodg(int ngtyp, const std::string& answer);
std::string ask_divisions(int direction, const std::string& answer);

}  // namespace generation
