// The command shell: the two buffers, the current buffer, written marks, job names, the command
// loop and the procedures that bring a command's result back into a buffer.
#pragma once

#include <string>

#include "mesh/meshbuffer.h"

namespace shell {

class Shell {
 public:
  // Buffer 1 is buffer a, buffer 2 is buffer b.
  mesh::MeshBuffer& buffer(int which) { return buffers_[which - 1]; }
  mesh::MeshBuffer& current() { return buffers_[current_ - 1]; }
  int current_index() const { return current_; }
  char written(int which) const { return written_[which - 1]; }
  mesh::Titles& titles() { return titles_; }
  // Stem of the file names made by gen and wrp for the current buffer.
  std::string& buffer_jobname() { return jobnames_[current_ - 1]; }

  // Runs the command loop until `end`; returns the exit status.
  int run();

  // Reads tmp.vmz into buffer `which` (the current one by default), deletes the file and marks
  // the buffer changed.
  void handback(int which = 0);
  // Replaces the current buffer's special nodes by tmp.snd, deletes it, marks the buffer changed.
  void special_node_return();
  void mark_changed(int which = 0);
  void mark_written(int which, char mark) { written_[which - 1] = mark; }
  // The job-name dialogue of rea, dxi, dxo, gld and wri: asks until a name is accepted and
  // returns it. With `target`, each answer (as checked) is also stored there. At a terminal, Tab
  // completes the names of the files that end in `suffix`.
  std::string jobname_dialogue(const char* heading, const char* suffix,
                               std::string* target = nullptr);
  // Empties the current buffer and lets `read` fill it. At a terminal the reading goes into a
  // fresh buffer that replaces the current one only when it is complete, so that a fault in the
  // file or Ctrl-C leaves the buffer as it was.
  template <class Read>
  void fill_current(Read read) {
    if (!at_terminal()) {
      current() = mesh::MeshBuffer{};
      read(current());
      return;
    }
    mesh::MeshBuffer fresh;
    read(fresh);
    current() = std::move(fresh);
  }

  // The shell's own commands.
  void switch_buffer() { current_ = 3 - current_; }
  void help();
  void system_command();
  // True when the program is to end.
  bool end();
  void read_mesh();
  void write_mesh();

 private:
  void menu();
  void dispatch(const std::string& word);
  static bool at_terminal();

  mesh::MeshBuffer buffers_[2];
  int current_ = 1;
  char written_[2] = {'y', 'y'};
  std::string jobnames_[2] = {"buffa", "buffb"};
  mesh::Titles titles_;
  std::string job_default_ = "new";
  std::string system_default_;
};

// Start-up, the command loop and `end`; the exit status.
int run_trelmo(int argc);

// What `sys` hands its command line to: the operating system's command interpreter unless a
// harness (the fuzzer) replaces it.
using SystemRunner = int (*)(const char* command);
void set_system_runner(SystemRunner runner);

}  // namespace shell
