// The number and job-name checks, and the whole-token conversions, on arbitrary words.
#include <cstdint>
#include <string>

#include "console/checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string word(reinterpret_cast<const char*>(data), size);
  console::SyntaxCheck i = console::chkint(word);
  console::SyntaxCheck r = console::chkrea(word);
  // Every valid integer is a valid real; a refusal points inside the word.
  if (i.valid && !r.valid) __builtin_trap();
  if (!i.valid && (i.position < 1 || static_cast<std::size_t>(i.position) > size)) __builtin_trap();
  if (!r.valid && (r.position < 1 || static_cast<std::size_t>(r.position) > size)) __builtin_trap();
  std::string trimmed = word;
  console::trimbl(trimmed);
  int n = 0;
  double x = 0;
  if (i.valid && !trimmed.empty() && trimmed.size() < 10 && !console::parse_int(trimmed, n)) {
    __builtin_trap();  // a short valid integer always converts
  }
  if (r.valid && !trimmed.empty() && trimmed.find_first_of("eE") == std::string::npos &&
      trimmed.size() < 300 && !console::parse_real(trimmed, x)) {
    __builtin_trap();  // a valid real without exponent always converts
  }
  std::string job = word;
  if (console::chkjob(job) == 'y') {
    for (char c : job) {
      if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '-') __builtin_trap();
    }
  }
  return 0;
}
