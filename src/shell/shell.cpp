#include "shell/shell.h"

#include <cstdio>
#include <cstdlib>
#include <new>

#include "console/checks.h"
#include "console/dialogue.h"
#include "console/report.h"
#include "console/terminal.h"
#include "console/textfile.h"
#include "mesh/meshwriter.h"
#include "mesh/sndfile.h"
#include "mesh/vmzfile.h"
#include "shell/commands.h"

namespace shell {

using console::outf;

namespace {

const char* const banner[] = {
    " ************************************************************",
    " *                                                          *",
    " *                     t  r  e  l  m  o                     *",
    " *                                                          *",
    " *     An interactive pre-processor for finite-element      *",
    " *     meshes: bars, surface elements and bricks.           *",
    " *                                                          *",
    " *     Create, move, rotate, mirror, shrink, repeat,        *",
    " *     merge, cut and renumber meshes; turn bricks into     *",
    " *     shells and shells into bars; refine every element.   *",
    " *                                                          *",
    " *     Files: .vmz meshes, .dxf drawings, .pva values       *",
    " *     and _gl.dat input files of the solvora package.      *",
    " *                                                          *",
    " ************************************************************",
};

const char* const help_page1[] = {
    "bts - brick to shell transformation in buffer a or b",
    "ccf - change current buffer to a or b",
    "csm - create a simple mesh in buffer a or b",
    "cue - cut elements outside a slice in buffer a or b",
    "cya - cylindric array of buffer a or b",
    "dxi - read a .dxf file to buffer a or b (AutoCad 10) (polylines only)",
    "dxo - write a .dxf file with buffer a or b (AutoCad 10)",
    "ele - eliminate ranges of elements in buffer a or b",
    "elp - eliminate points not belonging to any element in buffer a or b",
    "end - end trelmo",
    "gen - generate a refined mesh with buffer a or b",
    "gld - write a _gl.dat file (solvora) with buffer a or b",
    "mer - merge buffer b in buffer a (all elements go to buffer a)",
    "mir - mirror buffer a or b (previous object is lost)",
    "mov - move buffer a or b (previous object is lost)",
    "paa - parallelepipedic array of buffer a or b",
    "rea - read a .vmz file to buffer a or b",
    "ren - renumber elements, nodes and special nodes in buffer a or b",
    "rot - rotate buffer a or b (previous object is lost)",
    "shr - shrink elements in buffer a or b",
};

const char* const help_page2[] = {
    "snd - special node detector in buffer a or b",
    "stf - shell to frame transformation in buffer a or b",
    "sys - send a command to the operating system",
    "wri - write a .vmz file with buffer a or b",
    "wrp - write a .pva file with x, y or z of buffer a or b",
};

SystemRunner system_runner = [](const char* command) { return std::system(command); };

}  // namespace

void set_system_runner(SystemRunner runner) {
  system_runner = runner;
}

void Shell::menu() {
  outf("\n*** AVAILABLE COMMANDS  (type help for additional information)\n");
  outf("    bts ccf csm cue cya dxi dxo ele elp end gen gld mer\n");
  outf("    mir mov paa rea ren rot shr snd stf sys wri wrp\n");
  outf("\nCurrent buffer is = %c =\n\n", static_cast<char>(current_ + 96));
}

bool Shell::at_terminal() {
  return console::terminal::active();
}

int Shell::run() {
  for (;;) {
    menu();
    try {
      console::terminal::expect(console::terminal::Completion::command);
      std::string word = console::askstr("Command", "");
      console::trimbl(word);
      if (word == "end") {
        if (end()) return 0;
        continue;
      }
      dispatch(word);
    } catch (const console::Interrupted&) {
      // Ctrl-C at the Command prompt, or Ctrl-C or Ctrl-D at "Leave anyway": a fresh prompt.
    }
  }
}

void Shell::dispatch(const std::string& word) {
  const Command* row = find_command(word);
  if (row == nullptr || row->run == nullptr) {
    outf("\a\n");
    console::warning("Invalid command");
    return;
  }
  switch (row->check) {
    case Check::none:
      break;
    case Check::element:
      if (current().nelem < 1) {
        outf("\nERROR: need at least one element\n");
        return;
      }
      break;
    case Check::point:
      if (current().npoin < 1) {
        outf("\nERROR: need at least one point\n");
        return;
      }
      break;
    case Check::point_in_b:
      if (buffer(2).npoin < 1) {
        outf("\nERROR: need at least one point\n");
        return;
      }
      break;
  }
  // At a terminal, a fault that ends the program in batch (a faulty file, an output that cannot
  // be created, exhausted memory) and Ctrl-C cancel the command instead: the buffers, titles and
  // buffer job names stay as they were, so that a person never loses the work in the buffers.
  const mesh::Titles titles = titles_;
  const std::string jobnames[2] = {jobnames_[0], jobnames_[1]};
  auto discard = [&] {
    console::remove_file(mesh::handback_file);
    console::remove_file("tmp.snd");
    titles_ = titles;
    jobnames_[0] = jobnames[0];
    jobnames_[1] = jobnames[1];
  };
  auto refuse = [&] {
    outf("\n");
    console::pause("Nothing changed - press the Return key ... ");
  };
  console::terminal::clear_interrupt();
  try {
    row->run(*this);
  } catch (const console::WriteFailure& failure) {
    // A command's output could not be written completely: nothing is handed back, so the
    // buffer keeps what it held.
    console::remove_file(mesh::handback_file);
    console::remove_file("tmp.snd");
    console::warning(failure.what());
    refuse();
  } catch (const console::Interrupted&) {
    discard();
    outf("\nInterrupted - nothing changed\n");
  } catch (const console::FatalError& error) {
    if (!at_terminal()) throw;
    discard();
    console::print_fatal(error);
    refuse();
  } catch (const std::bad_alloc&) {
    if (!at_terminal()) throw;
    discard();
    console::print_fatal(console::FatalError("Memory allocation failed"));
    refuse();
  }
}

void Shell::mark_changed(int which) {
  written_[(which == 0 ? current_ : which) - 1] = 'n';
}

void Shell::handback(int which) {
  if (which == 0) which = current_;
  if (at_terminal()) {
    mesh::MeshBuffer fresh;
    mesh::rdvmz("tmp", fresh, titles_);
    buffer(which) = std::move(fresh);
  } else {
    mesh::rdvmz("tmp", buffer(which), titles_);
  }
  console::remove_file(mesh::handback_file);
  mark_changed(which);
}

void Shell::special_node_return() {
  mesh::rdsnd("tmp", current());
  console::remove_file("tmp.snd");
  mark_changed();
}

std::string Shell::jobname_dialogue(const char* heading, const char* suffix,
                                   std::string* target) {
  outf("\n");
  for (;;) {
    outf("%s\n\n", heading);
    console::terminal::expect(console::terminal::Completion::job, suffix);
    std::string answer = console::askstr("Job name", job_default_);
    job_default_ = answer;
    char accepted = console::chkjob(answer);
    if (target != nullptr) *target = answer;
    if (accepted == 'y') return answer;
    outf("\nERROR: invalid job name - repeat answer ...\n\n");
  }
}

void Shell::help() {
  outf("\n***   HELP SCREEN   ***\n\n");
  for (const char* line : help_page1) outf("%s\n", line);
  outf("\n");
  console::pause("More commands available - press the Return key ... ");
  for (const char* line : help_page2) outf("%s\n", line);
  outf("\n");
  console::pause("No more help - press the Return key ... ");
}

void Shell::system_command() {
  outf("\n");
  std::string command = console::askstr("System command", system_default_);
  system_default_ = command;
  if (!command.empty()) {
    std::fflush(stdout);
    std::fflush(stderr);
    int status = system_runner(command.c_str());
    (void)status;  // the command's result is not examined
  }
  outf("\n");
  console::pause("Returning to trelmo - press the Return key ... ");
}

bool Shell::end() {
  if (written_[0] == 'n' || written_[1] == 'n') {
    console::warning("No write of a .vmz file since last change");
    if (console::askcha("Leave anyway", 'y', 'n', 'n') == 'n') return false;
  }
  buffers_[1] = mesh::MeshBuffer{};
  buffers_[0] = mesh::MeshBuffer{};
  outf("\n");
  return true;
}

void Shell::read_mesh() {
  std::string name =
      jobname_dialogue("Read a .vmz file to buffer a or b", ".vmz", &buffer_jobname());
  fill_current([&](mesh::MeshBuffer& buffer) { mesh::rdvmz(name, buffer, titles_); });
}

void Shell::write_mesh() {
  std::string name = jobname_dialogue("Write a .vmz file with buffer a or b", ".vmz");
  if (mesh::wrvmz(current(), name, titles_) == 'y') written_[current_ - 1] = 'y';
}

int run_trelmo(int argc) {
  console::remove_file(mesh::handback_file);
  console::remove_file("tmp.snd");
  outf("\n");
  for (const char* line : banner) outf("%s\n", line);
  if (argc > 1) console::fatal("Usage: trelmo");
  console::terminal::start(command_words());
  // The history is saved however the session ends.
  struct SaveHistory {
    ~SaveHistory() { console::terminal::finish(); }
  } save_history;
  Shell shell;
  return shell.run();
}

}  // namespace shell
