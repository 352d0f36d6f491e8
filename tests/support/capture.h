// Runs dialogue code against scripted answers: standard input, output and error of the console
// are pointed at memory for the lifetime of the object.
#pragma once

#include <cstdio>
#include <string>

#include "console/report.h"

namespace session {

class ConsoleCapture {
 public:
  explicit ConsoleCapture(const std::string& answers);
  ~ConsoleCapture();
  ConsoleCapture(const ConsoleCapture&) = delete;
  ConsoleCapture& operator=(const ConsoleCapture&) = delete;

  // What was written so far.
  std::string out();
  std::string err();

 private:
  console::Streams saved_;
  std::string answers_;
  std::FILE* in_;
  char* out_buffer_ = nullptr;
  std::size_t out_size_ = 0;
  char* err_buffer_ = nullptr;
  std::size_t err_size_ = 0;
  std::FILE* out_;
  std::FILE* err_;
};

}  // namespace session
