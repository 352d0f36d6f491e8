// Fast equivalents of the printf conversions used on bulk output paths. Each appends exactly
// the characters that snprintf would produce with the same format.
#pragma once

#include <cstdarg>
#include <string>

namespace console {

// "%<width>d"
void append_int(std::string& out, int value, int width);
// "%<width>d" written at `at`, which has room for max(width, 11) characters; the end is returned.
char* format_int(char* at, int value, int width);
// The widest field append_int writes in one piece.
inline constexpr int max_int_field = 20;
// "%<width>.<precision>lf"
void append_fixed(std::string& out, double value, int width, int precision);
// printf into a std::string (any format; the slow general path).
std::string cformat(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string vformat(const char* format, va_list args);

}  // namespace console
