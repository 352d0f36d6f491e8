#include "console/numfmt.h"

#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>

namespace console {

namespace {
void pad_and_append(std::string& out, const char* text, std::size_t length, int width) {
  if (width > 0 && length < static_cast<std::size_t>(width)) {
    out.append(static_cast<std::size_t>(width) - length, ' ');
  }
  out.append(text, length);
}
}  // namespace

void append_int(std::string& out, int value, int width) {
  char text[16];
  auto result = std::to_chars(text, text + sizeof text, value);
  pad_and_append(out, text, static_cast<std::size_t>(result.ptr - text), width);
}

void append_fixed(std::string& out, double value, int width, int precision) {
  if (!std::isfinite(value)) {
    char text[64];
    int n = std::snprintf(text, sizeof text, "%*.*f", width, precision, value);
    out.append(text, static_cast<std::size_t>(n));
    return;
  }
  // The largest finite double has 309 integer digits.
  char text[400];
  auto result =
      std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, precision);
  if (result.ec != std::errc()) {
    out += cformat("%*.*f", width, precision, value);
    return;
  }
  pad_and_append(out, text, static_cast<std::size_t>(result.ptr - text), width);
}

std::string cformat(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string text(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  std::vsnprintf(text.data(), text.size() + 1, format, args);
  va_end(args);
  return text;
}

}  // namespace console
