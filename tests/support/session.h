// End-to-end sessions: the real trelmo binary run in a fresh temporary directory with scripted
// answers on standard input, and builders for the exact text it is expected to print.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace session {

struct Result {
  std::string out;  // standard output
  std::string err;  // standard error
  int status;       // exit status; -signal when killed by a signal
};

class Session {
 public:
  Session();
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // The working directory of the program.
  const std::string& dir() const { return dir_; }
  std::string path(const std::string& name) const { return dir_ + "/" + name; }
  void write(const std::string& name, const std::string& content) const;
  std::string read(const std::string& name) const;
  bool exists(const std::string& name) const;
  // Names of the files in the working directory, sorted.
  std::vector<std::string> files() const;

  // Runs trelmo with `answers` as standard input (and the given arguments); a run that takes
  // longer than `timeout_seconds` is killed.
  Result run(const std::string& answers, const std::vector<std::string>& args = {},
             int timeout_seconds = 120) const;
  // Limits the size of every file the program writes in later runs (as a full disk would);
  // 0 removes the limit.
  void limit_file_size(long bytes) { file_size_limit_ = bytes; }
  // Limits the address space of later runs (as a machine with little memory would); 0 removes
  // the limit.
  void limit_address_space(long bytes) { address_space_limit_ = bytes; }

 private:
  long file_size_limit_ = 0;
  long address_space_limit_ = 0;
  std::string root_;  // holds dir_ and the captured streams
  std::string dir_;
};

// Joins lines, each followed by a line end.
std::string lines(const std::vector<std::string>& text);

// What trelmo prints before its first menu: an empty line and the banner.
std::string startup();
// The menu with the letter of the current buffer, up to the "Command" prompt.
std::string menu(char buffer = 'a');
// A "Command" prompt answered with `word` (the echo includes the answer as typed).
std::string command(const std::string& word);
// menu(buffer) + command(word)
std::string step(const std::string& word, char buffer = 'a');
// What `end` prints when it may leave at once.
std::string leave();
// The standard output of a whole session that answers only `end`: startup, menu, end.
std::string empty_session();

// A question answered: prompt forms of the dialogue and the echo.
std::string ask_int(const std::string& question, int default_answer, const std::string& answer);
std::string ask_real(const std::string& question, const std::string& default_text,
                     const std::string& answer);
std::string ask_char(const std::string& question, char c1, char c2, char default_choice,
                     const std::string& answer);
// A "Job name" question: the heading and prompt of the job-name dialogue, with the default
// offered and the answer typed (the echo shows the default when the answer is empty).
std::string job_dialogue(const std::string& heading, const std::string& default_name,
                         const std::string& answer);

// What the mesh-file reader prints for a file read successfully.
std::string reading(const std::string& file, const std::string& main_title,
                    const std::string& mesh_title, int nelem, int npoin, int nspno);
// The three count lines (after an empty line).
std::string counts(int nelem, int npoin, int nspno);
// The fatal error report on standard error.
std::string fatal(const std::string& message);
// The warning report on standard error.
std::string warning(const std::string& message);

// A mesh file in the canonical layout: titles, counts "%5d   %5d   %5d", element lines
// "%5d %5d   " with " %5d" for each node, point lines "%5d" with " %15.8lf" for each coordinate,
// special-node lines "%5d %5d".
using Point = std::array<double, 3>;
std::string mesh_head(const std::string& main_title, const std::string& mesh_title, int nelem,
                      int npoin, int nspno);
std::string point_lines(const std::vector<Point>& points);
std::string special_lines(const std::vector<int>& specials);
std::string mesh_file(const std::string& main_title, const std::string& mesh_title,
                      const std::vector<std::vector<int>>& elements,
                      const std::vector<Point>& points, const std::vector<int>& specials = {});

// The element lines of a mesh file's text (after the titles and the counts).
std::vector<std::string> element_lines(const std::string& file, int nelem);

// The whole standard output of `rea` of job.vmz (menu, command, job-name dialogue offering
// `offered`, the reader's lines), of `wri` of a mesh with these counts to job.vmz, and of the
// hand-back reading tmp.vmz.
std::string rea_step(const std::string& offered, const std::string& job,
                     const std::string& main_title, const std::string& mesh_title, int nelem,
                     int npoin, int nspno, char buffer = 'a');
std::string wri_step(const std::string& offered, const std::string& job, int nelem, int npoin,
                     int nspno, char buffer = 'a');
std::string handback_reading(const std::string& main_title, const std::string& mesh_title,
                             int nelem, int npoin, int nspno);

// printf into a string.
std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

}  // namespace session
