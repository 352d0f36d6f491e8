// Command routines run inside the test program: answers from a string, output captured.
#pragma once

#include <cstdio>
#include <string>

#include "console/report.h"

namespace inprocess {

// Points the dialogue's streams at memory for the lifetime of the object.
class Console {
 public:
  explicit Console(const std::string& answers);
  ~Console();
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;
  std::string out();
  std::string err();

 private:
  console::Streams saved_;
  std::string answers_;
  std::FILE* in_ = nullptr;
  std::FILE* out_ = nullptr;
  std::FILE* err_ = nullptr;
  char* out_text_ = nullptr;
  std::size_t out_size_ = 0;
  char* err_text_ = nullptr;
  std::size_t err_size_ = 0;
};

// A fresh temporary directory made the working directory for the lifetime of the object.
class Directory {
 public:
  Directory();
  ~Directory();
  Directory(const Directory&) = delete;
  Directory& operator=(const Directory&) = delete;
  std::string read(const std::string& name) const;
  bool exists(const std::string& name) const;

 private:
  std::string previous_;
  std::string dir_;
};

}  // namespace inprocess
