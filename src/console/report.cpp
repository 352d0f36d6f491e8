#include "console/report.h"

#include <cstdarg>

#include "console/numfmt.h"
#include "console/terminal.h"

namespace console {

Streams& streams() {
  static Streams s;
  return s;
}

namespace {

std::string last_line;

void note_on_screen(std::string_view text) {
  std::size_t end = text.rfind('\n');
  if (end == std::string_view::npos) {
    last_line.append(text);
  } else {
    last_line.assign(text.substr(end + 1));
  }
}

}  // namespace

const std::string& screen_line() {
  return last_line;
}

void outf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  if (terminal::active()) {
    std::string shown = vformat(format, args);
    std::fwrite(shown.data(), 1, shown.size(), streams().out);
    note_on_screen(shown);
  } else {
    std::vfprintf(streams().out, format, args);
  }
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
  if (terminal::active()) note_on_screen(text);
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
