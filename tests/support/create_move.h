// Helpers for the tests of the commands that create and move meshes: an in-process console on
// memory streams in a scratch working directory, and builders for the text of their dialogues
// and of the mesh files they produce.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "support/session.h"

namespace create_move {

// Points the console streams at memory: standard input holds `answers`; what the program prints
// is collected. The process works in a fresh temporary directory for the lifetime of the object.
// Everything is restored on destruction.
class MemoryConsole {
 public:
  explicit MemoryConsole(const std::string& answers);
  ~MemoryConsole();
  MemoryConsole(const MemoryConsole&) = delete;
  MemoryConsole& operator=(const MemoryConsole&) = delete;

  std::string out();
  std::string err();
  // Content of a file in the working directory ("" when missing), and whether it exists.
  std::string read(const std::string& name) const;
  bool exists(const std::string& name) const;

 private:
  std::FILE* in_;
  std::FILE* out_;
  std::FILE* err_;
  char* out_text_ = nullptr;
  std::size_t out_size_ = 0;
  char* err_text_ = nullptr;
  std::size_t err_size_ = 0;
  std::FILE* saved_[3];
  std::string old_dir_;
  std::string dir_;
};

// A mesh file in the standard layout: titles, counts, element records, point records (three
// coordinates each) and special-node records.
std::string vmz(const std::string& main_title, const std::string& mesh_title,
                const std::vector<std::vector<int>>& elements,
                const std::vector<std::vector<double>>& points, const std::vector<int>& specials);

// The dialogue of `wri` (buffer counts, file name) with the job name typed after `default_name`.
std::string wri_dialogue(const std::string& default_name, const std::string& name, int nelem,
                         int npoin, int nspno);
// The dialogue of `rea` reading name.vmz.
std::string rea_dialogue(const std::string& default_name, const std::string& name,
                         const std::string& main_title, const std::string& mesh_title, int nelem,
                         int npoin, int nspno);
// The hand-back: tmp.vmz read into the current buffer.
std::string handback(const std::string& main_title, const std::string& mesh_title, int nelem,
                     int npoin, int nspno);
// `end` with unwritten changes, answered "y".
std::string leave_anyway();

// The simple-mesh menu (with its leading empty line) up to the "Your choice" prompt.
std::string csm_menu();

// The line dialogue answered with node numbers (each answer as typed; "" takes the default 1)
// or with six coordinates.
std::string asklin_numbers(const std::string& first, const std::string& second);
std::string asklin_coordinates(const std::vector<std::string>& six);
// The plane dialogue, likewise with three node numbers or nine coordinates.
std::string askpla_numbers(const std::string& first, const std::string& second,
                           const std::string& third);
std::string askpla_coordinates(const std::vector<std::string>& nine);

// The table and question of the mirror's node-order correction, answered.
std::string mir_correction(const std::string& answer);

// A refusal through the shell: the warning and "Nothing changed" pause.
std::string refusal_out();

}  // namespace create_move
