// The special-node file reader on arbitrary files.
#include <cstdint>

#include "console/report.h"
#include "harness.h"
#include "mesh/sndfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::write_file("f.snd", data, size);
  fuzz::QuietConsole console("");
  mesh::MeshBuffer buffer;
  buffer.npoin = 50;
  try {
    mesh::rdsnd("f", buffer);
  } catch (const console::FatalError&) {
    return 0;
  }
  for (int i = 1; i <= buffer.nspno; ++i) {
    if (buffer.lspno[i] < 1 || buffer.lspno[i] > buffer.npoin) __builtin_trap();
  }
  return 0;
}
