// A small buffered writer in front of a std::ostream: the writers append
// text and numbers to a fixed buffer that goes to the stream in large
// blocks, so no whole-document string is ever built and numbers are
// formatted without temporaries.
#pragma once

#include <charconv>
#include <cmath>
#include <limits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <string_view>

#include "hostapp/writers/decimal_digits.h"
#include "hostapp/writers/shortest_float.h"

namespace writers {

class TextSink {
 public:
  explicit TextSink(std::ostream& out) : out_(out) {}
  ~TextSink() { flush(); }
  TextSink(const TextSink&) = delete;
  TextSink& operator=(const TextSink&) = delete;

  void put(char c) {
    if (used_ == kSize) flush();
    buf_[used_++] = c;
  }
  void put(std::string_view text) {
    if (text.size() > kSize - used_) {
      flush();
      if (text.size() > kSize) {
        out_.write(text.data(), static_cast<std::streamsize>(text.size()));
        return;
      }
    }
    std::memcpy(buf_ + used_, text.data(), text.size());
    used_ += text.size();
  }
  template <typename Int>
  void integer(Int value) {
    reserve(24);
    used_ = static_cast<std::size_t>(std::to_chars(buf_ + used_, buf_ + kSize, value).ptr - buf_);
  }
  // Fixed, three decimals, trailing zeros and a bare point dropped, "-0" as
  // "0", and a number that is not finite as 0: "%.3f" trimmed, the same
  // bytes as printf gives.
  void fixed3(double value) {
    reserve(kLongestFixed3);
    used_ = static_cast<std::size_t>(fixed3At(buf_ + used_, value) - buf_);
  }
  // fixed3() written at `start`, which has room for kLongestFixed3
  // characters; returns the end of what it wrote.
  static char* fixed3At(char* const start, double value) {
    if (!std::isfinite(value)) value = 0;
    char* const limit = start + kLongestFixed3;
    // Beyond 1e15 the three decimals say nothing and fixed notation would
    // spell out up to 39 digits: such numbers take the shortest form that
    // reads back, as a float when they are one, with an exponent.
    if (std::fabs(value) >= 1e15) {
      const auto asFloat = static_cast<float>(value);
      const bool isFloat = std::fabs(value) <= std::numeric_limits<float>::max() && double{asFloat} == value;
      return isFloat ? std::to_chars(start, limit, asFloat).ptr : std::to_chars(start, limit, value).ptr;
    }
    // A float times 1000 is exact in a double (24 + 10 bits), so rounding
    // it to an integer rounds the exact value half to even, as printf does:
    // the thousandths are then written as integers. Other doubles go the
    // general way.
    if (static_cast<double>(static_cast<float>(value)) == value) {
      const long long thousandths = roundToEven(value * 1000);
      char* p = start;
      if (thousandths < 0) *p++ = '-';
      const auto magnitude = static_cast<unsigned long long>(thousandths < 0 ? -thousandths : thousandths);
      p = decimalDigits(p, magnitude / 1000);
      // ".ddd" with its trailing zeros dropped, or nothing.
      const unsigned fraction = static_cast<unsigned>(magnitude % 1000);
      std::memcpy(p, kFractions.text[fraction], 4);
      p += kFractions.length[fraction];
      return p;
    }
    char* end = std::to_chars(start, limit, value, std::chars_format::fixed, 3).ptr;
    while (end[-1] == '0') --end;  // there is always a '.' before the decimals
    if (end[-1] == '.') --end;
    if (end - start == 2 && start[0] == '-' && start[1] == '0') {
      start[0] = '0';
      end = start + 1;
    }
    return end;
  }
  // The float32's shortest form that reads back to it (shortest_float.h).
  void shortestFloat(float value) {
    reserve(kLongestShortestFloat);
    used_ = static_cast<std::size_t>(writeShortestFloat(buf_ + used_, value) - buf_);
  }
  // Room for `bytes` characters written straight into the buffer (at most
  // the buffer's size); commit() takes them up to the end given.
  char* claim(std::size_t bytes) {
    reserve(bytes);
    return buf_ + used_;
  }
  void commit(const char* end) { used_ = static_cast<std::size_t>(end - buf_); }
  static constexpr std::size_t kClaimable = 1 << 14;
  // The longest number fixed3 writes: below 1e15 in fixed notation with
  // three decimals, above it the shortest round-trip form of a double.
  static constexpr std::size_t kLongestFixed3 = 32;

  void flush() {
    if (used_) out_.write(buf_, static_cast<std::streamsize>(used_));
    used_ = 0;
  }

 private:
  static constexpr std::size_t kSize = kClaimable;
  // The nearest integer, a tie to the even one, as llrint in the default
  // rounding mode. Below 2^51, adding 1.5 x 2^52 leaves no fraction bits,
  // so the addition itself rounds (double arithmetic, never x87's).
  static long long roundToEven(double v) {
    if (std::fabs(v) < 0x1p51) return static_cast<long long>((v + 0x1.8p52) - 0x1.8p52);
    return std::llrint(v);
  }

  void reserve(std::size_t bytes) {
    if (kSize - used_ < bytes) flush();
  }
  std::ostream& out_;
  std::size_t used_ = 0;
  char buf_[kSize];
};

}  // namespace writers
