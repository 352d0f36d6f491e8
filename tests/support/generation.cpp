#include "support/generation.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "support/session.h"

namespace generation {

namespace {

std::string contents(std::FILE* file) {
  std::fflush(file);
  long end = std::ftell(file);
  std::string text(static_cast<std::size_t>(end), '\0');
  std::rewind(file);
  std::size_t n = std::fread(text.data(), 1, text.size(), file);
  text.resize(n);
  std::fseek(file, 0, SEEK_END);
  return text;
}

}  // namespace

CapturedConsole::CapturedConsole(const std::string& answers)
    : saved_(console::streams()), in_(std::tmpfile()), out_(std::tmpfile()), err_(std::tmpfile()) {
  if (in_ == nullptr || out_ == nullptr || err_ == nullptr) throw std::runtime_error("tmpfile");
  std::fwrite(answers.data(), 1, answers.size(), in_);
  std::rewind(in_);
  console::streams() = {in_, out_, err_};
}

CapturedConsole::~CapturedConsole() {
  console::streams() = saved_;
  std::fclose(in_);
  std::fclose(out_);
  std::fclose(err_);
}

std::string CapturedConsole::out() const {
  return contents(out_);
}
std::string CapturedConsole::err() const {
  return contents(err_);
}

TempFile::TempFile(const std::string& content) {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base != nullptr ? base : "/tmp") + "/trelmo-unit-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  dir_ = pattern;
  path_ = dir_ + "/case_dw.dat";
  std::ofstream(path_, std::ios::binary) << content;
}

TempFile::~TempFile() {
  ::unlink(path_.c_str());
  ::rmdir(dir_.c_str());
}

MeshFile parse_mesh(const std::string& text) {
  MeshFile m;
  std::istringstream in(text);
  std::getline(in, m.main_title);
  std::getline(in, m.mesh_title);
  in >> m.nelem >> m.npoin >> m.nspno;
  for (int i = 1; in && i <= m.nelem; ++i) {
    int number = 0, count = 0;
    in >> number >> count;
    if (number != i) ADD_FAILURE() << "element record " << i << " numbered " << number;
    std::vector<int> nodes(static_cast<std::size_t>(count > 0 ? count : 0));
    for (int& n : nodes) in >> n;
    m.elements.push_back(nodes);
  }
  for (int i = 1; in && i <= m.npoin; ++i) {
    int number = 0;
    std::array<double, 3> x{};
    in >> number >> x[0] >> x[1] >> x[2];
    if (number != i) ADD_FAILURE() << "point record " << i << " numbered " << number;
    m.points.push_back(x);
  }
  for (int i = 1; in && i <= m.nspno; ++i) {
    int number = 0, point = 0;
    in >> number >> point;
  }
  if (!in) ADD_FAILURE() << "mesh file ends early";
  return m;
}

std::vector<Position> node_positions(int ngtyp, int nnode) {
  const std::vector<Position> ring = {{-1, -1, 0}, {0, -1, 0}, {1, -1, 0}, {1, 0, 0},
                                      {1, 1, 0},   {0, 1, 0},  {-1, 1, 0}, {-1, 0, 0}};
  switch (ngtyp * 100 + nnode) {
    case 102:
      return {{-1, 0, 0}, {1, 0, 0}};
    case 103:
      return {{-1, 0, 0}, {0, 0, 0}, {1, 0, 0}};
    case 204:
      return {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}};
    case 208:
      return ring;
    case 209: {
      std::vector<Position> p = ring;
      p.push_back({0, 0, 0});
      return p;
    }
    case 308:
      return {{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1},
              {-1, -1, 1},  {1, -1, 1},  {1, 1, 1},  {-1, 1, 1}};
    case 320: {
      std::vector<Position> p;
      for (Position q : ring) p.push_back({q[0], q[1], -1});
      for (Position q : std::vector<Position>{{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}}) {
        p.push_back(q);
      }
      for (Position q : ring) p.push_back({q[0], q[1], 1});
      return p;
    }
    default:
      throw std::invalid_argument("no such element kind");
  }
}

std::string mesh_text(const std::string& main_title, const std::string& mesh_title,
                      const std::vector<std::vector<int>>& elements,
                      const std::vector<Position>& points, const std::vector<int>& special) {
  return session::mesh_file(main_title, mesh_title, elements, points, special);
}

std::string read_step(const std::string& default_name, const std::string& job,
                      const std::string& main_title, const std::string& mesh_title, int nelem,
                      int npoin, int nspno) {
  return session::rea_step(default_name, job, main_title, mesh_title, nelem, npoin, nspno);
}

std::string write_step(const std::string& default_name, const std::string& job, int nelem,
                       int npoin, int nspno) {
  return session::wri_step(default_name, job, nelem, npoin, nspno);
}

std::string gen_start(int nnode, const std::string& dw_file) {
  return "\nGenerate a refined mesh\n" +
         session::format("\nN. of nodes per element in the original file = %5d\n", nnode) +
         "\nReading file: " + dw_file + "\n";
}

std::string gen_kind(int ngtyp, int nnodg) {
  return session::format(
      "\nN. of local dimensions                (ngtyp) = %5d\n"
      "N. of nodes of the generated elements (nnodg) = %5d\n",
      ngtyp, nnodg);
}

std::string max_divisions(int maximum) {
  return session::format("\nMaximum number of elements per side = %8d\n", maximum);
}

std::string equal_steps() {
  return "\nEqual steps in all elements and in all directions\n";
}

std::string gen_written(const std::string& main_title, const std::string& mesh_title, int nelem,
                        int npoin) {
  return "\nWriting file: tmp.vmz\n" +
         session::reading("tmp.vmz", main_title, mesh_title, nelem, npoin, 0);
}

std::string gen_refusal() {
  return "\nNo mesh generation (previous data unchanged) - press the Return key ... \n";
}

std::string ask_ngtyp(const std::string& answer) {
  return session::ask_int("N. of local dimensions (lines=>1 ; surfaces=>2 ; solids=>3)", 1, answer);
}

std::string ask_nnodg(int ngtyp, const std::string& answer) {
  const char* hint = ngtyp == 1   ? "Generated elements may have 2 or 3 nodes"
                     : ngtyp == 2 ? "Generated elements may have 4, 8 or 9 nodes"
                                  : "Generated elements may have 8 or 20 nodes";
  int default_answer = ngtyp == 1 ? 2 : ngtyp == 2 ? 8 : 20;
  return "\n" + std::string(hint) + "\n" +
         session::ask_int("N. of nodes of the generated elements", default_answer, answer);
}

std::string ask_divisions(int direction, const std::string& answer) {
  return session::ask_int("N. of divisions for all the elements in s" + std::to_string(direction),
                          1, answer);
}

}  // namespace generation
