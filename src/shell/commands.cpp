#include "shell/commands.h"

#include "exchange/dxi.h"
#include "exchange/dxo.h"
#include "exchange/wrp.h"
#include "shell/shell.h"

namespace shell {

namespace {

// Each adapter calls its routine with what the routine needs and applies the result:
// hand-back, in place, special-node return or a file only.

void run_ccf(Shell& s) { s.switch_buffer(); }
void run_help(Shell& s) { s.help(); }
void run_sys(Shell& s) { s.system_command(); }
void run_rea(Shell& s) { s.read_mesh(); }
void run_wri(Shell& s) { s.write_mesh(); }

void run_dxi(Shell& s) {
  s.current() = mesh::MeshBuffer{};
  std::string name = s.jobname_dialogue("Read a .dxf file (AutoCad 10) to buffer a or b");
  exchange::vmzdxi(s.current(), name, s.titles());
}
void run_dxo(Shell& s) {
  std::string name = s.jobname_dialogue("Write a .dxf file (AutoCad 10) with buffer a or b");
  exchange::vmzdxo(s.current(), name, s.titles());
}
void run_wrp(Shell& s) { exchange::wrpva(s.current(), s.buffer_jobname()); }

constexpr Command table[] = {
    {"bts", Check::element, nullptr},
    {"ccf", Check::none, run_ccf},
    {"csm", Check::none, nullptr},
    {"cue", Check::element, nullptr},
    {"cya", Check::point, nullptr},
    {"dxi", Check::none, run_dxi},
    {"dxo", Check::point, run_dxo},
    {"ele", Check::element, nullptr},
    {"elp", Check::point, nullptr},
    {"gen", Check::element, nullptr},
    {"gld", Check::element, nullptr},
    {"mer", Check::point_in_b, nullptr},
    {"mir", Check::point, nullptr},
    {"mov", Check::point, nullptr},
    {"paa", Check::point, nullptr},
    {"rea", Check::none, run_rea},
    {"ren", Check::point, nullptr},
    {"rot", Check::point, nullptr},
    {"shr", Check::element, nullptr},
    {"snd", Check::point, nullptr},
    {"stf", Check::element, nullptr},
    {"sys", Check::none, run_sys},
    {"wri", Check::point, run_wri},
    {"wrp", Check::point, run_wrp},
    {"help", Check::none, run_help},
};

}  // namespace

const Command* find_command(std::string_view word) {
  for (const Command& row : table) {
    if (word == row.word) return &row;
  }
  return nullptr;
}

}  // namespace shell
