#include "shell/commands.h"

#include "shell/shell.h"
#include "transform/bts.h"
#include "transform/stf.h"

namespace shell {

namespace {

// Each adapter calls its routine with what the routine needs and applies the result:
// hand-back, in place, special-node return or a file only.

void run_ccf(Shell& s) { s.switch_buffer(); }
void run_help(Shell& s) { s.help(); }
void run_sys(Shell& s) { s.system_command(); }
void run_rea(Shell& s) { s.read_mesh(); }
void run_wri(Shell& s) { s.write_mesh(); }
void run_bts(Shell& s) {
  if (transform::vmzbts(s.current(), s.titles()) == 'y') s.handback();
}
void run_stf(Shell& s) {
  if (transform::vmzstf(s.current(), s.titles()) == 'y') s.handback();
}

constexpr Command table[] = {
    {"bts", Check::element, run_bts},
    {"ccf", Check::none, run_ccf},
    {"csm", Check::none, nullptr},
    {"cue", Check::element, nullptr},
    {"cya", Check::point, nullptr},
    {"dxi", Check::none, nullptr},
    {"dxo", Check::point, nullptr},
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
    {"stf", Check::element, run_stf},
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
