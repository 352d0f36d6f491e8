#include "console/numfmt.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>

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
  if (width > max_int_field) {
    char text[16];
    auto result = std::to_chars(text, text + sizeof text, value);
    pad_and_append(out, text, static_cast<std::size_t>(result.ptr - text), width);
    return;
  }
  char field[max_int_field + 12];
  out.append(field, static_cast<std::size_t>(format_int(field, value, width) - field));
}

namespace {

constexpr unsigned long long pow10[] = {1ULL,
                                        10ULL,
                                        100ULL,
                                        1000ULL,
                                        10000ULL,
                                        100000ULL,
                                        1000000ULL,
                                        10000000ULL,
                                        100000000ULL,
                                        1000000000ULL,
                                        10000000000ULL,
                                        100000000000ULL,
                                        1000000000000ULL,
                                        10000000000000ULL,
                                        100000000000000ULL,
                                        1000000000000000ULL,
                                        10000000000000000ULL,
                                        100000000000000000ULL,
                                        1000000000000000000ULL};
constexpr int max_fast_precision = 17;

// "00" "01" ... "99"
constexpr char digit_pairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

}  // namespace

char* format_int(char* at, int value, int width) {
  unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
  int digits = 1;
  for (unsigned rest = magnitude; rest >= 10; rest /= 10) ++digits;
  for (int length = digits + (value < 0); width > length; --width) *at++ = ' ';
  if (value < 0) *at++ = '-';
  char* end = at + digits;
  char* p = end;
  for (; magnitude >= 10; magnitude /= 100) {
    p -= 2;
    std::memcpy(p, digit_pairs + 2 * (magnitude % 100), 2);
  }
  if (p > at) *--p = static_cast<char>('0' + magnitude);
  return end;
}

namespace {

// A 128-bit unsigned number as two 64-bit halves.
struct Wide {
  std::uint64_t hi, lo;
};

Wide multiply(std::uint64_t a, std::uint64_t b) {
  std::uint64_t a0 = a & 0xffffffffU, a1 = a >> 32, b0 = b & 0xffffffffU, b1 = b >> 32;
  std::uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
  std::uint64_t middle = (p00 >> 32) + (p01 & 0xffffffffU) + (p10 & 0xffffffffU);
  return {p11 + (p01 >> 32) + (p10 >> 32) + (middle >> 32), (middle << 32) | (p00 & 0xffffffffU)};
}

// Bit i (0 .. 127) of x.
bool bit(const Wide& x, int i) {
  return ((i >= 64 ? x.hi >> (i - 64) : x.lo >> i) & 1) != 0;
}

// True when any of the bits 0 .. n - 1 (n = 0 .. 127) of x is set.
bool any_below(const Wide& x, int n) {
  if (n == 0) return false;
  if (n < 64) return (x.lo & ((std::uint64_t{1} << n) - 1)) != 0;
  if (x.lo != 0) return true;
  return n > 64 && (x.hi & ((std::uint64_t{1} << (n - 64)) - 1)) != 0;
}

// x >> s for s = 1 .. 127, when the result fits 64 bits.
std::uint64_t shift_right(const Wide& x, int s) {
  if (s >= 64) return x.hi >> (s - 64);
  return (x.lo >> s) | (x.hi << (64 - s));
}

// value * 10^precision rounded to an integer exactly as printf rounds: to nearest, ties to
// even, on the exact binary value. False when the result would not stay below 10^18.
bool scaled_integer(double value, int precision, unsigned long long& q) {
  if (!(std::fabs(value) < 1.0e18 / static_cast<double>(pow10[precision]))) return false;
  std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
  int biased = static_cast<int>((bits >> 52) & 0x7ff);
  std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
  int exponent = -1074;
  if (biased != 0) {
    mantissa |= std::uint64_t{1} << 52;
    exponent = biased - 1075;
  }
  // |value| = mantissa * 2^exponent
  if (exponent >= 0) {
    q = (mantissa << exponent) * pow10[precision];  // below 10^18 by the test above
    return true;
  }
  int shift = -exponent;
  if (shift >= 128) {
    q = 0;  // far below half a unit of the last decimal
    return true;
  }
  // scaled = |value| * 10^precision * 2^shift, below 2^113; its low `shift` bits are the
  // fraction to round away.
  Wide scaled = multiply(mantissa, pow10[precision]);
  std::uint64_t whole = shift_right(scaled, shift);
  if (bit(scaled, shift - 1) && (any_below(scaled, shift - 1) || (whole & 1) != 0)) ++whole;
  q = whole;
  return true;
}

}  // namespace

void append_fixed(std::string& out, double value, int width, int precision) {
  if (!std::isfinite(value)) {
    char text[64];
    int n = std::snprintf(text, sizeof text, "%*.*f", width, precision, value);
    out.append(text, static_cast<std::size_t>(n));
    return;
  }
  unsigned long long q = 0;
  if (precision >= 0 && precision <= max_fast_precision && scaled_integer(value, precision, q)) {
    // Digits written backwards: the decimals, the point, the integer part and the sign.
    char text[48];
    char* end = text + sizeof text;
    char* p = end;
    unsigned long long whole = q / pow10[precision];
    unsigned long long decimals = q % pow10[precision];
    int i = precision;
    for (; i >= 2; i -= 2) {
      p -= 2;
      std::memcpy(p, digit_pairs + 2 * (decimals % 100), 2);
      decimals /= 100;
    }
    if (i == 1) *--p = static_cast<char>('0' + decimals);
    if (precision > 0) *--p = '.';
    while (whole >= 100) {
      p -= 2;
      std::memcpy(p, digit_pairs + 2 * (whole % 100), 2);
      whole /= 100;
    }
    if (whole >= 10) {
      p -= 2;
      std::memcpy(p, digit_pairs + 2 * whole, 2);
    } else {
      *--p = static_cast<char>('0' + whole);
    }
    if (std::signbit(value)) *--p = '-';
    while (end - p < width && p > text) *--p = ' ';  // the padding too, for one append
    pad_and_append(out, p, static_cast<std::size_t>(end - p), width);
    return;
  }
  // The largest finite double has 309 integer digits.
  char text[400];
  auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, precision);
  if (result.ec != std::errc()) {
    out += cformat("%*.*f", width, precision, value);
    return;
  }
  pad_and_append(out, text, static_cast<std::size_t>(result.ptr - text), width);
}

std::string vformat(const char* format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string text(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  std::vsnprintf(text.data(), text.size() + 1, format, args);
  return text;
}

std::string cformat(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = vformat(format, args);
  va_end(args);
  return text;
}

}  // namespace console
