// vmztool: looks at a trelmo mesh and exchanges it with Gmsh and ParaView.
#include <cstdio>
#include <string>
#include <vector>

#include "vmztool/commands.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  int status = vmztool::run(args);
  if (std::fflush(stdout) != 0 && status == 0) status = 1;
  return status;
}
