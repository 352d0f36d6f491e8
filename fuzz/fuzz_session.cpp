// The whole program driven by an arbitrary stream of answer lines, in a private working
// directory holding a few small files of every kind. Every run must end through `end` or the
// fatal error report (end of input included): never a crash, a sanitizer report or a hang.
//
// Slashes are removed from the answers so that job names cannot reach outside the working
// directory, and `sys` runs nothing. Numbers reach the program as typed, full size included: a
// request whose result cannot be stored must be refused at once, and one whose result can is
// written until the small "disk" of the harness is full. Either way no answer may need much
// memory, since every seeded file is small: "Memory allocation failed" is a fault here.
#include <cstdint>
#include <string>

#include "console/report.h"
#include "harness.h"
#include "shell/shell.h"

namespace {

void seed_files() {
  fuzz::write_file("m.vmz",
                   "Rectangular mesh\nMesh\n2 6 1\n1 5 1 2 5 4 1\n2 5 2 3 6 5 2\n"
                   "1 0 0 0\n2 1 0 0\n3 2 0 0\n4 0 1 0\n5 1 1 0\n6 2 1 0\n1 3\n");
  fuzz::write_file("b.vmz",
                   "Brick\nMesh\n1 8 0\n1 8 1 2 3 4 5 6 7 8\n1 0 0 0\n2 1 0 0\n3 1 1 0\n"
                   "4 0 1 0\n5 0 0 1\n6 1 0 1\n7 1 1 1\n8 0 1 1\n");
  fuzz::write_file("buffa_dw.dat", "Refinement\n2\n4\n1 2 2\n2 1 1\nEND_OF_FILE\n");
  fuzz::write_file("d.dxf",
                   "  0\nSECTION\n  2\nENTITIES\n  0\nPOLYLINE\n  8\nLINES\n 66\n     1\n"
                   "  0\nVERTEX\n  8\nLINES\n 10\n1.0\n 20\n2.0\n 30\n3.0\n  0\nVERTEX\n  8\n"
                   "LINES\n 10\n4.0\n 20\n5.0\n 30\n6.0\n  0\nSEQEND\n  0\nENDSEC\n  0\nEOF\n");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static bool ready = [] {
    shell::set_system_runner([](const char*) { return 0; });
    return true;
  }();
  (void)ready;
  fuzz::clear_workdir();
  seed_files();
  std::string answers;
  answers.reserve(size);
  for (std::size_t i = 0; i < size; ++i) {
    char c = static_cast<char>(data[i]);
    if (c != '/') answers.push_back(c);
  }
  fuzz::QuietConsole console(answers);
  try {
    shell::run_trelmo(1);
  } catch (const console::FatalError& e) {
    if (std::string(e.what()) == "Memory allocation failed") __builtin_trap();
  }
  return 0;
}
