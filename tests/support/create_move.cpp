#include "support/create_move.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "console/report.h"

namespace create_move {

using session::ask_char;
using session::ask_int;
using session::ask_real;
using session::format;

MemoryConsole::MemoryConsole(const std::string& answers) {
  in_ = std::tmpfile();
  if (in_ == nullptr) throw std::runtime_error("tmpfile failed");
  std::fwrite(answers.data(), 1, answers.size(), in_);
  std::rewind(in_);
  out_ = ::open_memstream(&out_text_, &out_size_);
  err_ = ::open_memstream(&err_text_, &err_size_);
  console::Streams& s = console::streams();
  saved_[0] = s.in;
  saved_[1] = s.out;
  saved_[2] = s.err;
  s.in = in_;
  s.out = out_;
  s.err = err_;

  char cwd[4096];
  if (::getcwd(cwd, sizeof cwd) == nullptr) throw std::runtime_error("getcwd failed");
  old_dir_ = cwd;
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base != nullptr ? base : "/tmp") + "/trelmo-unit-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  dir_ = pattern;
  if (::chdir(dir_.c_str()) != 0) throw std::runtime_error("chdir failed");
}

MemoryConsole::~MemoryConsole() {
  console::Streams& s = console::streams();
  s.in = saved_[0];
  s.out = saved_[1];
  s.err = saved_[2];
  std::fclose(in_);
  std::fclose(out_);
  std::fclose(err_);
  std::free(out_text_);
  std::free(err_text_);
  if (::chdir(old_dir_.c_str()) != 0) return;
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

std::string MemoryConsole::out() {
  std::fflush(out_);
  return std::string(out_text_, out_size_);
}

std::string MemoryConsole::err() {
  std::fflush(err_);
  return std::string(err_text_, err_size_);
}

std::string MemoryConsole::read(const std::string& name) const {
  std::ifstream in(dir_ + "/" + name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool MemoryConsole::exists(const std::string& name) const {
  struct stat st;
  return ::stat((dir_ + "/" + name).c_str(), &st) == 0;
}

std::string vmz(const std::string& main_title, const std::string& mesh_title,
                const std::vector<std::vector<int>>& elements,
                const std::vector<std::vector<double>>& points, const std::vector<int>& specials) {
  std::vector<session::Point> xyz;
  for (const std::vector<double>& x : points) xyz.push_back({x.at(0), x.at(1), x.at(2)});
  return session::mesh_file(main_title, mesh_title, elements, xyz, specials);
}

std::string wri_dialogue(const std::string& default_name, const std::string& name, int nelem,
                         int npoin, int nspno) {
  return session::job_dialogue("Write a .vmz file with buffer a or b", default_name, name) +
         session::counts(nelem, npoin, nspno) +
         "\nWriting file: " + (name.empty() ? default_name : name) + ".vmz\n";
}

std::string rea_dialogue(const std::string& default_name, const std::string& name,
                         const std::string& main_title, const std::string& mesh_title, int nelem,
                         int npoin, int nspno) {
  return session::job_dialogue("Read a .vmz file to buffer a or b", default_name, name) +
         session::reading(name + ".vmz", main_title, mesh_title, nelem, npoin, nspno);
}

std::string handback(const std::string& main_title, const std::string& mesh_title, int nelem,
                     int npoin, int nspno) {
  return session::handback_reading(main_title, mesh_title, nelem, npoin, nspno);
}

std::string leave_anyway() {
  return ask_char("Leave anyway", 'y', 'n', 'n', "y") + "\n";
}

std::string csm_menu() {
  return "\nAvailable simple meshes:\n\n" +
         session::lines({
             "   1 - line                (1 element  -  2 points)",
             "   2 - rectangle           (1 element  -  4 points)",
             "   3 - parallelepiped      (1 element  -  8 points)",
             "   4 - triangle            (3 elements -  7 points - 4 nodes per element)",
             "   5 - quarter of a circle (3 elements - 16 points - 8 nodes per element)",
         });
}

std::string asklin_numbers(const std::string& first, const std::string& second) {
  return "\nTwo points will be asked to define a line:\n" +
         ask_char("Nodal n)umbers or c)oordinates", 'n', 'c', 'n', "n") +
         ask_int("First  point: node number", 1, first) +
         ask_int("Second point: node number", 1, second);
}

namespace {
const char* const point_labels[] = {"First  point", "Second point", "Third  point"};

std::string coordinate_questions(const std::vector<std::string>& values) {
  std::string text;
  for (std::size_t i = 0; i < values.size(); ++i) {
    text += ask_real(std::string(point_labels[i / 3]) + ": x" + std::to_string(i % 3 + 1), "0",
                     values[i]);
  }
  return text;
}
}  // namespace

std::string asklin_coordinates(const std::vector<std::string>& six) {
  return "\nTwo points will be asked to define a line:\n" +
         ask_char("Nodal n)umbers or c)oordinates", 'n', 'c', 'n', "c") + coordinate_questions(six);
}

std::string askpla_numbers(const std::string& first, const std::string& second,
                           const std::string& third) {
  return "\nThree points will be asked to define a plane:\n" +
         ask_char("Nodal n)umbers or c)oordinates", 'n', 'c', 'n', "n") +
         ask_int("First  point: node number", 1, first) +
         ask_int("Second point: node number", 1, second) +
         ask_int("Third  point: node number", 1, third);
}

std::string askpla_coordinates(const std::vector<std::string>& nine) {
  return "\nThree points will be asked to define a plane:\n" +
         ask_char("Nodal n)umbers or c)oordinates", 'n', 'c', 'n', "c") +
         coordinate_questions(nine);
}

std::string mir_correction(const std::string& answer) {
  return session::lines({
             "",
             "After mirroring, some elements need to be numbered in the",
             "opposite direction. Please specify:",
             "",
             "+------------------------------------------+",
             "| Type of element  | N. of local variables |",
             "|------------------+-----------------------|",
             "| Frame/Truss      |           1           |",
             "| Plane/Slab/Shell |           2           |",
             "| Brick            |           3           |",
             "|------------------+-----------------------|",
             "| No correction    |           0           |",
             "+------------------------------------------+",
         }) +
         ask_int("Number of local variables (1, 2, 3 or 0)", 0, answer);
}

std::string refusal_out() {
  return "\nNothing changed - press the Return key ... \n";
}

}  // namespace create_move
