#include "shell/commands.h"

#include <algorithm>

#include "edit/csm.h"
#include "edit/cue.h"
#include "edit/cya.h"
#include "edit/ele.h"
#include "edit/elp.h"
#include "edit/mer.h"
#include "edit/mir.h"
#include "edit/mov.h"
#include "edit/paa.h"
#include "edit/ren.h"
#include "edit/rot.h"
#include "edit/shr.h"
#include "edit/snd.h"
#include "exchange/dxi.h"
#include "exchange/dxo.h"
#include "exchange/gld.h"
#include "exchange/wrp.h"
#include "generate/gen.h"
#include "shell/shell.h"
#include "transform/bts.h"
#include "transform/stf.h"

namespace shell {

namespace {

// Each adapter calls its routine with what the routine needs and applies the result:
// hand-back, in place, special-node return or a file only.

void run_ccf(Shell& s) {
  s.switch_buffer();
}
void run_help(Shell& s) {
  s.help();
}
void run_sys(Shell& s) {
  s.system_command();
}
void run_rea(Shell& s) {
  s.read_mesh();
}
void run_wri(Shell& s) {
  s.write_mesh();
}
void run_gld(Shell& s) {
  std::string name =
      s.jobname_dialogue("Write a _gl.dat file (solvora) with buffer a or b", "_gl.dat");
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
void run_bts(Shell& s) {
  if (transform::vmzbts(s.current(), s.titles()) == 'y') s.handback();
}
void run_stf(Shell& s) {
  if (transform::vmzstf(s.current(), s.titles()) == 'y') s.handback();
}

void run_dxi(Shell& s) {
  std::string name = s.jobname_dialogue("Read a .dxf file (AutoCad 10) to buffer a or b", ".dxf");
  s.fill_current([&](mesh::MeshBuffer& buffer) { exchange::vmzdxi(buffer, name, s.titles()); });
}
void run_dxo(Shell& s) {
  std::string name =
      s.jobname_dialogue("Write a .dxf file (AutoCad 10) with buffer a or b", ".dxf");
  exchange::vmzdxo(s.current(), name, s.titles());
}
void run_wrp(Shell& s) {
  exchange::wrpva(s.current(), s.buffer_jobname());
}

constexpr Command table[] = {
    {"bts", Check::element, run_bts}, {"ccf", Check::none, run_ccf},
    {"csm", Check::none, run_csm},    {"cue", Check::element, run_cue},
    {"cya", Check::point, run_cya},   {"dxi", Check::none, run_dxi},
    {"dxo", Check::point, run_dxo},   {"ele", Check::element, run_ele},
    {"elp", Check::point, run_elp},   {"gen", Check::element, run_gen},
    {"gld", Check::element, run_gld}, {"mer", Check::point_in_b, run_mer},
    {"mir", Check::point, run_mir},   {"mov", Check::point, run_mov},
    {"paa", Check::point, run_paa},   {"rea", Check::none, run_rea},
    {"ren", Check::point, run_ren},   {"rot", Check::point, run_rot},
    {"shr", Check::element, run_shr}, {"snd", Check::point, run_snd},
    {"stf", Check::element, run_stf}, {"sys", Check::none, run_sys},
    {"wri", Check::point, run_wri},   {"wrp", Check::point, run_wrp},
    {"help", Check::none, run_help},
};

}  // namespace

std::vector<std::string> command_words() {
  std::vector<std::string> words = {"end"};
  for (const Command& row : table) words.emplace_back(row.word);
  std::sort(words.begin(), words.end());
  return words;
}

const Command* find_command(std::string_view word) {
  for (const Command& row : table) {
    if (word == row.word) return &row;
  }
  return nullptr;
}

}  // namespace shell
