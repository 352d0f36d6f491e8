#include "console/checks.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <system_error>

namespace console {

void trimbl(std::string& text) {
  std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) {
    text.clear();
    return;
  }
  std::size_t last = text.find_last_not_of(' ');
  text = text.substr(first, last - first + 1);
}

int lentrm(std::string_view text) {
  std::size_t last = text.find_last_not_of(' ');
  return last == std::string_view::npos ? 0 : static_cast<int>(last + 1);
}

int lblank(std::string_view text) {
  if (lentrm(text) == 0) return 0;
  return static_cast<int>(text.find_first_not_of(' '));
}

namespace {
bool is_digit(char c) {
  return c >= '0' && c <= '9';
}
bool is_sign(char c) {
  return c == '+' || c == '-';
}
}  // namespace

SyntaxCheck chkint(std::string_view word) {
  // States: 0 leading blanks, 1 sign, 2 digits.
  int length = lentrm(word);
  int state = 0;
  bool digit = false;
  for (int p = 0; p < length; ++p) {
    char c = word[static_cast<std::size_t>(p)];
    if (c == ' ' && state == 0) continue;
    if (is_sign(c) && state == 0) {
      state = 1;
    } else if (is_digit(c)) {
      state = 2;
      digit = true;
    } else {
      return {false, p + 1};
    }
  }
  if (length > 0 && !digit) return {false, length};
  return {true, 0};
}

SyntaxCheck chkrea(std::string_view word) {
  int length = lentrm(word);
  bool exponent = false;
  for (int p = 0; p < length; ++p) {
    char c = word[static_cast<std::size_t>(p)];
    if (c == 'e' || c == 'E') exponent = true;
  }
  // States: 0 leading blanks, 1 sign, 2 integer digits, 3 decimal point, 4 fraction digits,
  // 5 exponent letter, 6 exponent sign, 7 exponent digits.
  int state = 0;
  int mantissa_digits = 0;
  int exponent_digits = 0;
  for (int p = 0; p < length; ++p) {
    char c = word[static_cast<std::size_t>(p)];
    bool ok = true;
    if (c == ' ') {
      ok = state == 0;
    } else if (is_sign(c)) {
      if (state == 0) {
        state = 1;
      } else if (exponent && state == 5) {
        state = 6;
      } else {
        ok = false;
      }
    } else if (is_digit(c)) {
      if (state <= 2) {
        state = 2;
        ++mantissa_digits;
      } else if (state <= 4) {
        state = 4;
        ++mantissa_digits;
      } else {
        state = 7;
        ok = ++exponent_digits <= 3;
      }
    } else if (c == '.') {
      if (state <= 2) {
        state = 3;
      } else {
        ok = false;
      }
    } else if (exponent && (c == 'e' || c == 'E')) {
      if (state <= 4 && mantissa_digits > 0) {
        state = 5;
      } else {
        ok = false;
      }
    } else {
      ok = false;
    }
    if (!ok) return {false, p + 1};
  }
  if (length > 0 && mantissa_digits == 0) return {false, length};
  if (exponent && exponent_digits == 0) return {false, length};
  return {true, 0};
}

char chkjob(std::string& name) {
  trimbl(name);
  std::size_t cut = name.find_first_of(" \t\r\n");
  if (cut != std::string::npos) name.resize(cut);
  int length = lentrm(name);
  for (int p = 0; p < length; ++p) {
    char c = name[static_cast<std::size_t>(p)];
    bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || is_digit(c) || c == '$' ||
              c == '.' || c == '/' || c == ':' || c == '\\' || c == '_';
    if (!ok) return 'n';
  }
  return 'y';
}

bool parse_int(std::string_view token, int& value) {
  if (token.size() > 1 && token[0] == '+' && token[1] != '-') token.remove_prefix(1);
  if (token.empty()) return false;
  const char* end = token.data() + token.size();
  auto [ptr, ec] = std::from_chars(token.data(), end, value);
  return ec == std::errc() && ptr == end;
}

namespace {
// A plain decimal of at most 15 digits ("-12.50000000"): its digits are an exact integer and
// its power of ten an exact double, so one division rounds it correctly, as from_chars does.
// False for every other form, which from_chars then reads.
bool plain_decimal(std::string_view token, double& value) {
  static constexpr double powers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                      1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  constexpr int most_digits = 15;
  const char* p = token.data();
  const char* end = p + token.size();
  bool negative = p < end && *p == '-';
  p += negative;
  std::uint64_t mantissa = 0;
  int digits = 0;
  int decimals = 0;
  bool point = false;
  for (; p < end; ++p) {
    if (*p == '.' && !point) {
      point = true;
      continue;
    }
    auto digit = static_cast<unsigned char>(*p - '0');
    if (digit > 9 || ++digits > most_digits) return false;
    mantissa = mantissa * 10 + digit;
    decimals += point;
  }
  if (digits == 0) return false;
  double v = static_cast<double>(mantissa) / powers[decimals];
  value = negative ? -v : v;
  return true;
}
}  // namespace

bool parse_real(std::string_view token, double& value) {
  if (token.size() > 1 && token[0] == '+' && token[1] != '-') token.remove_prefix(1);
  if (token.empty()) return false;
  if (plain_decimal(token, value)) return true;
  const char* end = token.data() + token.size();
  auto [ptr, ec] = std::from_chars(token.data(), end, value, std::chars_format::general);
  if (ptr != end) return false;
  if (ec == std::errc::result_out_of_range) {
    // Too small in magnitude becomes zero or a subnormal value; too large is refused below.
    std::string copy(token);
    value = std::strtod(copy.c_str(), nullptr);
  } else if (ec != std::errc()) {
    return false;
  }
  return std::isfinite(value);
}

}  // namespace console
