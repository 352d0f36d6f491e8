#include "console/report.h"

#include <cstdarg>

namespace console {

Streams& streams() {
  static Streams s;
  return s;
}

void outf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vfprintf(streams().out, format, args);
  va_end(args);
}

void errf(const char* format, ...) {
  std::fflush(streams().out);
  va_list args;
  va_start(args, format);
  std::vfprintf(streams().err, format, args);
  va_end(args);
}

void outs(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), streams().out);
}

void fatal(std::string message, int line) {
  throw FatalError(std::move(message), line);
}

void print_fatal(const FatalError& error) {
  errf("\nERROR:\n%s\n", error.what());
  if (error.line() > 0) errf("Line n. %8d\n", error.line());
  errf("\n");
  std::fflush(streams().err);
}

void warning(std::string_view message, int line) {
  errf("\nWARNING:\n%.*s\n", static_cast<int>(message.size()), message.data());
  if (line > 0) errf("Line n. %8d\n", line);
  std::fflush(streams().err);
}

}  // namespace console
