#include "harness.h"

#include <dirent.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "console/report.h"

namespace fuzz {

const std::string& workdir() {
  static const std::string dir = [] {
    char pattern[] = "/tmp/trelmo-fuzz-XXXXXX";
    if (::mkdtemp(pattern) == nullptr || ::chdir(pattern) != 0) std::abort();
    // Large outputs stop at a small "disk" instead of filling the machine's.
    std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit = {8 << 20, 8 << 20};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    return std::string(pattern);
  }();
  return dir;
}

void write_file(const std::string& name, const std::uint8_t* data, std::size_t size) {
  workdir();
  std::ofstream out(name, std::ios::binary);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

void write_file(const std::string& name, const std::string& text) {
  write_file(name, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

void clear_workdir() {
  DIR* d = ::opendir(workdir().c_str());
  if (d == nullptr) return;
  while (dirent* entry = ::readdir(d)) {
    std::string name = entry->d_name;
    if (name != "." && name != "..") ::unlink((workdir() + "/" + name).c_str());
  }
  ::closedir(d);
}

QuietConsole::QuietConsole(const std::string& answers) : answers_(answers) {
  std::FILE* in = answers_.empty() ? std::fopen("/dev/null", "r")
                                   : fmemopen(answers_.data(), answers_.size(), "r");
  static std::FILE* null_out = std::fopen("/dev/null", "w");
  in_ = in;
  console::streams() = console::Streams{in, null_out, null_out};
}

QuietConsole::~QuietConsole() {
  console::streams() = console::Streams{};
  std::fclose(static_cast<std::FILE*>(in_));
}

}  // namespace fuzz
