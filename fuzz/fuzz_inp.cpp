// The Abaqus input reader of vmztool on arbitrary files: a mesh whose numbers all refer to its own
// points, or a fatal report, nothing else.
#include <cstdint>

#include "console/report.h"
#include "harness.h"
#include "vmztool/import.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::write_file("f.inp", data, size);
  fuzz::QuietConsole console("");
  vmztool::ImportedMesh mesh;
  try {
    mesh = vmztool::read_inp("f.inp");
  } catch (const console::FatalError&) {
    return 0;
  }
  if (mesh.titles.main.size() > 60 || mesh.titles.mesh.size() > 6) __builtin_trap();
  if (mesh.coord.size() % 3 != 0) __builtin_trap();
  std::size_t entries = 0;
  for (vmztool::Kind kind : mesh.kind) {
    if (kind == vmztool::Kind::other) __builtin_trap();
    entries += static_cast<std::size_t>(vmztool::info(kind).nodes);
  }
  if (entries != mesh.nodes.size()) __builtin_trap();
  for (int point : mesh.nodes) {
    if (point < 1 || point > mesh.npoin()) __builtin_trap();
  }
  for (int point : mesh.special) {
    if (point < 1 || point > mesh.npoin()) __builtin_trap();
  }
  return 0;
}
