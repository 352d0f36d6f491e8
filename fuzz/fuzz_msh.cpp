// The Gmsh mesh reader of vmztool on arbitrary files.
#include <cstdint>

#include "import_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return fuzz::import_one(data, size, "f.msh", vmztool::read_msh);
}
