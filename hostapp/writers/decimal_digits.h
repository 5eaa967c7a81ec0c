// Decimal digits for the number writers: a whole number's, written from the
// last two at a time without std::to_chars's length search, and three
// decimals from a table.
#pragma once

#include <charconv>
#include <cstdint>
#include <cstring>

namespace writers {

inline constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// ".000" to ".999" and how much of each is written: ".5" of ".500",
// nothing of ".000".
struct Fractions {
  char text[1000][4];
  unsigned char length[1000];
};
constexpr Fractions makeFractions() {
  Fractions f{};
  for (unsigned i = 0; i < 1000; ++i) {
    f.text[i][0] = '.';
    f.text[i][1] = static_cast<char>('0' + i / 100);
    f.text[i][2] = static_cast<char>('0' + i / 10 % 10);
    f.text[i][3] = static_cast<char>('0' + i % 10);
    f.length[i] = i == 0 ? 0 : i % 100 == 0 ? 2 : i % 10 == 0 ? 3 : 4;
  }
  return f;
}
inline constexpr Fractions kFractions = makeFractions();

// Writes `wide` at `p` (room for 20 characters) and returns the end.
inline char* decimalDigits(char* p, unsigned long long wide) {
  if (wide > 0xffffffffu) return std::to_chars(p, p + 20, wide).ptr;
  auto v = static_cast<std::uint32_t>(wide);  // the usual case: 32-bit arithmetic
  int length = 1;
  for (std::uint32_t rest = v; rest >= 10; rest /= 10) ++length;
  char* q = p + length;
  for (; v >= 100; v /= 100) {
    q -= 2;
    std::memcpy(q, kDigitPairs + 2 * (v % 100), 2);
  }
  if (v >= 10) {
    q -= 2;
    std::memcpy(q, kDigitPairs + 2 * v, 2);
  } else {
    *--q = static_cast<char>('0' + v);
  }
  return p + length;
}

}  // namespace writers
