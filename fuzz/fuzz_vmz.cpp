// The mesh-file reader on arbitrary files: a filled buffer or a fatal report, nothing else.
#include <cstdint>

#include "console/report.h"
#include "harness.h"
#include "mesh/vmzfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::write_file("f.vmz", data, size);
  fuzz::QuietConsole console("\n");
  mesh::MeshBuffer buffer;
  mesh::Titles titles;
  try {
    mesh::rdvmz("f", buffer, titles);
  } catch (const console::FatalError&) {
    return 0;
  }
  // A buffer that was read must satisfy the invariants every command relies on.
  if (titles.main.size() > 60 || titles.mesh.size() > 6) __builtin_trap();
  for (int e = 1; e <= buffer.nelem; ++e) {
    if (buffer.nnoel[e] < 1 || buffer.nnoel[e] > mesh::mnode) __builtin_trap();
    for (int k = 1; k <= buffer.nnoel[e]; ++k) {
      if (buffer.lnods(e, k) < 1 || buffer.lnods(e, k) > buffer.npoin) __builtin_trap();
    }
  }
  for (int i = 1; i <= buffer.nspno; ++i) {
    if (buffer.lspno[i] < 1 || buffer.lspno[i] > buffer.npoin) __builtin_trap();
  }
  return 0;
}
