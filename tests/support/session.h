// End-to-end sessions: trelmo run in a fresh directory with scripted answers, and builders of
// the exact text it is expected to print.
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

  // The working directory of the program, and its files.
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

// The screen: the banner (as the program prints it), the menu up to the "Command" prompt, the
// menu and the prompt answered with `word`, what `end` prints, a session of `end` alone.
std::string startup();
std::string menu(char buffer = 'a');
std::string step(const std::string& word, char buffer = 'a');
std::string leave();
std::string empty_session();

// Questions answered (the echo shows the default when the answer is empty); the job name.
std::string ask_int(const std::string& question, int default_answer, const std::string& answer);
std::string ask_real(const std::string& question, const std::string& default_text,
                     const std::string& answer);
std::string ask_char(const std::string& question, char c1, char c2, char default_choice,
                     const std::string& answer);
std::string job_dialogue(const std::string& heading, const std::string& default_name,
                         const std::string& answer);

// A mesh file read, its three count lines, the fatal error and warning reports.
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

// A mesh file in the canonical layout of the writer.
using Point = std::array<double, 3>;
std::string mesh_file(const std::string& main_title, const std::string& mesh_title,
                      const std::vector<std::vector<int>>& elements,
                      const std::vector<Point>& points, const std::vector<int>& specials = {});

}  // namespace session
