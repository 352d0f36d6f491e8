#include "shell/commands.h"

#include "exchange/gld.h"
#include "edit/csm.h"
#include "edit/cya.h"
#include "edit/mir.h"
#include "edit/mov.h"
#include "edit/paa.h"
#include "edit/rot.h"
#include "edit/shr.h"
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
void run_gld(Shell& s) {
  std::string name = s.jobname_dialogue("Write a _gl.dat file (solvora) with buffer a or b");
  exchange::wgldat(s.current(), name, s.titles());
}
void run_csm(Shell& s) {
  edit::vmzcsm();
  s.handback();
}
void run_cya(Shell& s) {
  edit::vmzcya(s.current(), s.titles());
  s.handback();
}
void run_mir(Shell& s) {
  edit::vmzmir(s.current());
  s.mark_changed();
}
void run_mov(Shell& s) {
  edit::vmzmov(s.current());
  s.mark_changed();
}
void run_paa(Shell& s) {
  edit::vmzpaa(s.current(), s.titles());
  s.handback();
}
void run_rot(Shell& s) {
  edit::vmzrot(s.current());
  s.mark_changed();
}
void run_shr(Shell& s) {
  edit::vmzshr(s.current(), s.titles());
  s.handback();
}
void run_gen(Shell& s) {
  if (generate::vmzgen(s.current(), s.buffer_jobname(), s.titles()) == 'y') s.handback();
}

constexpr Command table[] = {
    {"bts", Check::element, nullptr},
    {"ccf", Check::none, run_ccf},
    {"csm", Check::none, run_csm},
    {"cue", Check::element, nullptr},
    {"cya", Check::point, run_cya},
    {"dxi", Check::none, nullptr},
    {"dxo", Check::point, nullptr},
    {"ele", Check::element, nullptr},
    {"elp", Check::point, nullptr},
    {"gen", Check::element, run_gen},
    {"gld", Check::element, run_gld},
    {"mer", Check::point_in_b, nullptr},
    {"mir", Check::point, run_mir},
    {"mov", Check::point, run_mov},
    {"paa", Check::point, run_paa},
    {"rea", Check::none, run_rea},
    {"ren", Check::point, nullptr},
    {"rot", Check::point, run_rot},
    {"shr", Check::element, run_shr},
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
