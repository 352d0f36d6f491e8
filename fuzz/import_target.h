// The body shared by the fuzz targets of vmztool's importers: the bytes as a file of the
// importer's suffix, then a mesh whose numbers all refer to its own points, or a fatal report,
// nothing else.
#pragma once

#include <cstdint>
#include <string>

#include "console/report.h"
#include "harness.h"
#include "vmztool/import.h"

namespace fuzz {

inline int import_one(const std::uint8_t* data, std::size_t size, const std::string& name,
                      vmztool::ImportedMesh (*read)(const std::string&)) {
  write_file(name, data, size);
  QuietConsole console("");
  vmztool::ImportedMesh mesh;
  try {
    mesh = read(name);
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

}  // namespace fuzz
