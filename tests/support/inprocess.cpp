#include "support/inprocess.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace inprocess {

Console::Console(const std::string& answers) : saved_(console::streams()), answers_(answers) {
  // An empty answer text still needs a readable stream: one that is at its end at once.
  if (answers_.empty()) {
    in_ = std::fopen("/dev/null", "r");
  } else {
    in_ = ::fmemopen(answers_.data(), answers_.size(), "r");
  }
  out_ = ::open_memstream(&out_text_, &out_size_);
  err_ = ::open_memstream(&err_text_, &err_size_);
  if (in_ == nullptr || out_ == nullptr || err_ == nullptr) {
    throw std::runtime_error("cannot set up the console streams");
  }
  console::streams() = {in_, out_, err_};
}

Console::~Console() {
  console::streams() = saved_;
  std::fclose(in_);
  std::fclose(out_);
  std::fclose(err_);
  std::free(out_text_);
  std::free(err_text_);
}

std::string Console::out() {
  std::fflush(out_);
  return std::string(out_text_, out_size_);
}

std::string Console::err() {
  std::fflush(err_);
  return std::string(err_text_, err_size_);
}

Directory::Directory() {
  char cwd[4096];
  if (::getcwd(cwd, sizeof cwd) == nullptr) throw std::runtime_error("getcwd failed");
  previous_ = cwd;
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base != nullptr ? base : "/tmp") + "/trelmo-unit-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  dir_ = pattern;
  if (::chdir(dir_.c_str()) != 0) throw std::runtime_error("chdir failed");
}

Directory::~Directory() {
  if (::chdir(previous_.c_str()) != 0) return;
  std::error_code ec;
  std::filesystem::remove_all(dir_, ec);
}

std::string Directory::read(const std::string& name) const {
  std::ifstream in(dir_ + "/" + name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool Directory::exists(const std::string& name) const {
  return std::filesystem::exists(dir_ + "/" + name);
}

}  // namespace inprocess
