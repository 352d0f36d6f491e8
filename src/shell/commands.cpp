#include "shell/commands.h"

#include "generate/gen.h"
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
void run_gen(Shell& s) {
  if (generate::vmzgen(s.current(), s.buffer_jobname(), s.titles()) == 'y') s.handback();
}

constexpr Command table[] = {
    {"bts", Check::element, nullptr},
    {"ccf", Check::none, run_ccf},
    {"csm", Check::none, nullptr},
    {"cue", Check::element, nullptr},
    {"cya", Check::point, nullptr},
    {"dxi", Check::none, nullptr},
    {"dxo", Check::point, nullptr},
    {"ele", Check::element, nullptr},
    {"elp", Check::point, nullptr},
    {"gen", Check::element, run_gen},
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
    {"wrp", Check::point, nullptr},
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
