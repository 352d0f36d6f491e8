// End-to-end sessions: the real trelmo binary run in a fresh temporary directory with scripted
// answers on standard input, and builders of the exact text it is expected to print.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace session {

struct Result {
  std::string out, err;  // standard output and error
  int status;            // exit status; -signal when killed by a signal
};

class Session {
 public:
  Session();
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // The working directory of the program and its files.
  const std::string& dir() const { return dir_; }
  std::string path(const std::string& name) const { return dir_ + "/" + name; }
  void write(const std::string& name, const std::string& content) const;
  std::string read(const std::string& name) const;
  bool exists(const std::string& name) const;
  std::vector<std::string> files() const;  // sorted

  // Runs trelmo with `answers` as standard input; a run longer than `timeout_seconds` is killed.
  Result run(const std::string& answers, const std::vector<std::string>& args = {},
             int timeout_seconds = 120) const;
  // Limits every file that later runs write (as a full disk would), or their address space (as
  // a machine with little memory would), to `bytes`; 0 removes the limit.
  void limit_file_size(long bytes) { file_size_limit_ = bytes; }
  void limit_address_space(long bytes) { address_space_limit_ = bytes; }

 private:
  long file_size_limit_ = 0;
  long address_space_limit_ = 0;
  std::string root_;  // holds dir_ and the answers
  std::string dir_;
};

// printf into a string; lines joined, each followed by a line end.
std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string lines(const std::vector<std::string>& text);

// The screen: the banner before the first menu; the menu with the letter of the current buffer
// up to the "Command" prompt; menu + the prompt answered with `word`; what `end` prints when it
// may leave; a whole session that answers only `end`.
std::string startup();
std::string menu(char buffer = 'a');
std::string step(const std::string& word, char buffer = 'a');
std::string leave();
std::string empty_session();

// Questions answered: the prompt forms of the dialogue and the echo (the default when the
// answer is empty), and the job-name dialogue with its heading.
std::string ask_int(const std::string& question, int default_answer, const std::string& answer);
std::string ask_real(const std::string& question, const std::string& default_text,
                     const std::string& answer);
std::string ask_char(const std::string& question, char c1, char c2, char default_choice,
                     const std::string& answer);
std::string job_dialogue(const std::string& heading, const std::string& default_name,
                         const std::string& answer);

// What the mesh-file reader prints for a file read, the three count lines, and the fatal error
// and warning reports on standard error.
std::string reading(const std::string& file, const std::string& main_title,
                    const std::string& mesh_title, int nelem, int npoin, int nspno);
std::string counts(int nelem, int npoin, int nspno);
std::string fatal(const std::string& message);
std::string warning(const std::string& message);

// The whole output of `rea` of job.vmz (the dialogue offering `offered`), of `wri` of a mesh
// with these counts to job.vmz, and of the hand-back reading tmp.vmz.
std::string rea_step(const std::string& offered, const std::string& job,
                     const std::string& main_title, const std::string& mesh_title, int nelem,
                     int npoin, int nspno, char buffer = 'a');
std::string wri_step(const std::string& offered, const std::string& job, int nelem, int npoin,
                     int nspno, char buffer = 'a');
std::string handback_reading(const std::string& main_title, const std::string& mesh_title,
                             int nelem, int npoin, int nspno);

// A mesh file in the canonical layout: titles, counts "%5d   %5d   %5d", element lines
// "%5d %5d   " and " %5d" a node, point lines "%5d" and " %15.8lf" a coordinate, special-node
// lines "%5d %5d".
using Point = std::array<double, 3>;
std::string mesh_file(const std::string& main_title, const std::string& mesh_title,
                      const std::vector<std::vector<int>>& elements,
                      const std::vector<Point>& points, const std::vector<int>& specials = {});

}  // namespace session
