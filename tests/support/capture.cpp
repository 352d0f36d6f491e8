#include "support/capture.h"

#include <cstdlib>

namespace session {

ConsoleCapture::ConsoleCapture(const std::string& answers)
    : saved_(console::streams()), answers_(answers) {
  // fmemopen refuses a zero-length buffer; an empty input is a stream at its end.
  in_ = answers_.empty() ? std::fopen("/dev/null", "r")
                         : fmemopen(answers_.data(), answers_.size(), "r");
  out_ = open_memstream(&out_buffer_, &out_size_);
  err_ = open_memstream(&err_buffer_, &err_size_);
  console::streams() = console::Streams{in_, out_, err_};
}

ConsoleCapture::~ConsoleCapture() {
  console::streams() = saved_;
  std::fclose(in_);
  std::fclose(out_);
  std::fclose(err_);
  std::free(out_buffer_);
  std::free(err_buffer_);
}

std::string ConsoleCapture::out() {
  std::fflush(out_);
  return std::string(out_buffer_, out_size_);
}

std::string ConsoleCapture::err() {
  std::fflush(err_);
  return std::string(err_buffer_, err_size_);
}

}  // namespace session
