#include "shell/commands.h"

#include "edit/cue.h"
#include "edit/ele.h"
#include "edit/elp.h"
#include "edit/mer.h"
#include "edit/ren.h"
#include "edit/snd.h"
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

void run_cue(Shell& s) {
  edit::vmzcue(s.current(), s.titles());
  s.handback();
}
void run_ele(Shell& s) {
  edit::vmzele(s.current(), s.titles());
  s.handback();
}
void run_elp(Shell& s) {
  edit::vmzelp(s.current(), s.titles());
  s.handback();
}
// The merged mesh always goes to buffer a, whichever buffer is current; buffer b's elements now
// live there, so buffer b counts as written.
void run_mer(Shell& s) {
  edit::vmzmer(s.buffer(1), s.buffer(2), s.titles());
  s.handback(1);
  s.mark_written(2, 'y');
}
void run_ren(Shell& s) {
  edit::vmzren(s.current(), s.titles());
  s.handback();
}
void run_snd(Shell& s) {
  edit::vmzsnd(s.current());
  s.special_node_return();
}

constexpr Command table[] = {
    {"bts", Check::element, nullptr},
    {"ccf", Check::none, run_ccf},
    {"csm", Check::none, nullptr},
    {"cue", Check::element, run_cue},
    {"cya", Check::point, nullptr},
    {"dxi", Check::none, nullptr},
    {"dxo", Check::point, nullptr},
    {"ele", Check::element, run_ele},
    {"elp", Check::point, run_elp},
    {"gen", Check::element, nullptr},
    {"gld", Check::element, nullptr},
    {"mer", Check::point_in_b, run_mer},
    {"mir", Check::point, nullptr},
    {"mov", Check::point, nullptr},
    {"paa", Check::point, nullptr},
    {"rea", Check::none, run_rea},
    {"ren", Check::point, run_ren},
    {"rot", Check::point, nullptr},
    {"shr", Check::element, nullptr},
    {"snd", Check::point, run_snd},
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
