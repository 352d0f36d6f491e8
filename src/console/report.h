// The program's two ways of complaining, and the streams every dialogue goes through.
//
// The fatal error report is an exception: `main` catches it, prints the report and ends the
// program with exit status 1. Files held by the unwound frames are closed on the way out, and
// unit tests can catch the report like any other exception.
#pragma once

#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>

namespace console {

// A fatal error: message and optional line number (0 or less: none).
class FatalError : public std::runtime_error {
 public:
  explicit FatalError(std::string message, int line = 0)
      : std::runtime_error(message), line_(line) {}
  int line() const { return line_; }

 private:
  int line_;
};

// A file that was opened could not be written completely (a full disk, an I/O error).
// The command shell turns it into a warning and a refusal: the buffer stays as it was.
class WriteFailure : public std::runtime_error {
 public:
  explicit WriteFailure(std::string message) : std::runtime_error(message) {}
};

// Ctrl-C at a terminal: the command under way is cancelled and the buffer stays as it was.
class Interrupted : public std::exception {
 public:
  const char* what() const noexcept override { return "Interrupted"; }
};

// Where the dialogue reads and writes; tests point these at memory streams.
struct Streams {
  std::FILE* in = stdin;
  std::FILE* out = stdout;
  std::FILE* err = stderr;
};
Streams& streams();

// At a terminal: the text written to standard output since its last line end, which is the
// prompt that the line editor draws again.
const std::string& screen_line();

// printf to standard output.
void outf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// printf to the error stream; standard output is flushed first so that both keep their order.
void errf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Writes text as it is to standard output.
void outs(std::string_view text);

// Ends the program through the fatal error report (throws FatalError).
[[noreturn]] void fatal(std::string message, int line = 0);
// Prints the fatal error report of `error` on the error stream (used by main).
void print_fatal(const FatalError& error);
// The warning report: returns.
void warning(std::string_view message, int line = 0);

}  // namespace console
