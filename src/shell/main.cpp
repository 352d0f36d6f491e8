// trelmo: an interactive console pre-processor for finite-element meshes.
#include <cstdio>
#include <new>

#include "console/report.h"
#include "shell/shell.h"

int main(int argc, char** /*argv*/) {
  int status = 1;
  try {
    status = shell::run_trelmo(argc);
  } catch (const console::FatalError& error) {
    console::print_fatal(error);
  } catch (const std::bad_alloc&) {
    console::print_fatal(console::FatalError("Memory allocation failed"));
  }
  std::fflush(stdout);
  return status;
}
