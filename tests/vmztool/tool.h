// vmztool run inside the test program, in the working directory of an inprocess::Directory.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/inprocess.h"
#include "vmztool/commands.h"

namespace tool {

struct Run {
  int status;
  std::string out, err;
};
inline Run run(const std::vector<std::string>& args) {
  inprocess::Console console("");
  int status = vmztool::run(args);
  return {status, console.out(), console.err()};
}
inline void write(const std::string& name, const std::string& text) {
  std::ofstream(name, std::ios::binary) << text;
}
inline std::string read(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
// The names in the working directory, sorted.
inline std::vector<std::string> files() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(".")) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace tool
