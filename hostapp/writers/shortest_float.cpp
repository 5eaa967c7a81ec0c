#include "hostapp/writers/shortest_float.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

// fmt's Dragonbox gives a float's shortest digits three times faster than
// std::to_chars(float); only the digits are taken from it, the layout is ours.
#include <fmt/format.h>

#include "hostapp/writers/decimal_digits.h"

namespace writers {

char* writeShortestFloat(char* p, float value) {
  if (!std::isfinite(value)) {
    std::memcpy(p, "null", 4);
    return p + 4;
  }
  if (std::signbit(value)) {
    *p++ = '-';
    value = -value;
  }
  if (value == 0) {
    std::memcpy(p, "0.0", 3);
    return p + 3;
  }
  const auto decimal = fmt::detail::dragonbox::to_decimal(value);
  // The significand's digits (at most 9) end at the middle of `spare`, so
  // that they and what follows them can be copied 16 bytes at a time.
  char spare[32] = {};
  char* digits = spare + 16;
  for (std::uint32_t v = decimal.significand;; v /= 100) {
    if (v < 10) {
      *--digits = static_cast<char>('0' + v);
      break;
    }
    digits -= 2;
    std::memcpy(digits, kDigitPairs + 2 * (v % 100), 2);
    if (v < 100) break;
  }
  const int k = static_cast<int>(spare + 16 - digits);
  const int n = decimal.exponent + k;  // the value is 0.d1..dk times 10^n
  if (0 < n && n < k) {
    // The usual number: digits, the point, the rest, each piece copied at
    // a fixed size (n is at most 8 here).
    std::memcpy(p, digits, 16);
    p[n] = '.';
    std::memcpy(p + n + 1, digits + n, 16);
    return p + k + 1;
  }
  if (k <= n && n <= 15) {
    // A whole number. std::to_chars spells it in fixed notation, exactly,
    // when that is no longer than its scientific form (d[.ddd]e+XX).
    const int scientificLength = k + (k > 1 ? 1 : 0) + 4;
    if (n <= scientificLength) {
      p = decimalDigits(p, static_cast<std::uint64_t>(value));
    } else {
      std::memcpy(p, digits, static_cast<std::size_t>(k));
      std::memset(p + k, '0', static_cast<std::size_t>(n - k));
      p += n;
    }
    *p++ = '.';
    *p++ = '0';
  } else if (0 < n && n <= 15) {
    std::memcpy(p, digits, static_cast<std::size_t>(n));
    p += n;
    *p++ = '.';
    std::memcpy(p, digits + n, static_cast<std::size_t>(k - n));
    p += k - n;
  } else if (-4 < n && n <= 0) {
    *p++ = '0';
    *p++ = '.';
    std::memset(p, '0', static_cast<std::size_t>(-n));
    p += -n;
    std::memcpy(p, digits, static_cast<std::size_t>(k));
    p += k;
  } else {
    *p++ = digits[0];
    if (k > 1) {
      *p++ = '.';
      std::memcpy(p, digits + 1, static_cast<std::size_t>(k - 1));
      p += k - 1;
    }
    *p++ = 'e';
    int e = n - 1;
    *p++ = e < 0 ? '-' : '+';
    if (e < 0) e = -e;
    if (e < 10) *p++ = '0';
    p = std::to_chars(p, p + 3, e).ptr;
  }
  return p;
}

}  // namespace writers
