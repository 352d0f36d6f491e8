// The DXF import on arbitrary drawings: a filled buffer or a fatal report.
#include <cstdint>

#include "console/report.h"
#include "exchange/dxi.h"
#include "harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::write_file("f.dxf", data, size);
  fuzz::QuietConsole console("\n");
  mesh::MeshBuffer buffer;
  mesh::Titles titles;
  try {
    exchange::vmzdxi(buffer, "f", titles);
  } catch (const console::FatalError&) {
    return 0;
  }
  if (buffer.nspno != 0) __builtin_trap();
  int expected = 0;
  for (int e = 1; e <= buffer.nelem; ++e) {
    if (buffer.nnoel[e] < 1 || buffer.nnoel[e] > mesh::mnode) __builtin_trap();
    for (int k = 1; k <= buffer.nnoel[e]; ++k) {
      // Points are numbered through the file in vertex order and never shared.
      if (buffer.lnods(e, k) != ++expected) __builtin_trap();
    }
  }
  if (expected != buffer.npoin) __builtin_trap();
  return 0;
}
