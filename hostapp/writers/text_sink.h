// A small buffered writer in front of a std::ostream: the writers append
// text and numbers to a fixed buffer that goes to the stream in large
// blocks, so no whole-document string is ever built and numbers are
// formatted without temporaries.
#pragma once

#include <charconv>
#include <cmath>
#include <limits>
#include <cstddef>
#include <cstring>
#include <ostream>
#include <string_view>

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
    if (!std::isfinite(value)) value = 0;
    reserve(kLongestFixed3);
    char* const start = buf_ + used_;
    // Beyond 1e15 the three decimals say nothing and fixed notation would
    // spell out up to 39 digits: such numbers take the shortest form that
    // reads back, as a float when they are one, with an exponent.
    if (std::fabs(value) >= 1e15) {
      const auto asFloat = static_cast<float>(value);
      const bool isFloat = std::fabs(value) <= std::numeric_limits<float>::max() && double{asFloat} == value;
      char* const last = isFloat ? std::to_chars(start, buf_ + kSize, asFloat).ptr
                                 : std::to_chars(start, buf_ + kSize, value).ptr;
      used_ = static_cast<std::size_t>(last - buf_);
      return;
    }
    // A float times 1000 is exact in a double (24 + 10 bits), so rounding
    // it to an integer rounds the exact value half to even, as printf does:
    // the thousandths are then written as integers. Other doubles go the
    // general way.
    if (static_cast<double>(static_cast<float>(value)) == value) {
      const long long thousandths = std::llrint(value * 1000);
      char* p = start;
      if (thousandths < 0) *p++ = '-';
      const auto magnitude = static_cast<unsigned long long>(thousandths < 0 ? -thousandths : thousandths);
      p = std::to_chars(p, buf_ + kSize, magnitude / 1000).ptr;
      if (unsigned fraction = static_cast<unsigned>(magnitude % 1000); fraction != 0) {
        *p++ = '.';
        *p++ = static_cast<char>('0' + fraction / 100);
        fraction %= 100;
        if (fraction != 0) {
          *p++ = static_cast<char>('0' + fraction / 10);
          fraction %= 10;
          if (fraction != 0) *p++ = static_cast<char>('0' + fraction);
        }
      }
      used_ = static_cast<std::size_t>(p - buf_);
      return;
    }
    char* end = std::to_chars(start, buf_ + kSize, value, std::chars_format::fixed, 3).ptr;
    while (end[-1] == '0') --end;  // there is always a '.' before the decimals
    if (end[-1] == '.') --end;
    if (end - start == 2 && start[0] == '-' && start[1] == '0') {
      start[0] = '0';
      end = start + 1;
    }
    used_ = static_cast<std::size_t>(end - buf_);
  }
  // The float32 in std::to_chars's shortest form that reads back to it (a
  // whole number in fixed notation is written exactly), laid out as
  // nlohmann::json prints a double: fixed notation with at least one
  // decimal ("2.0", "-0.0", "0.0001") while the point falls within 15
  // digits before or 4 zeros after it, otherwise d.ddde+XX with at least
  // two exponent digits. Not finite: "null".
  void shortestFloat(float value) {
    if (!std::isfinite(value)) {
      put("null");
      return;
    }
    reserve(kLongestFloat);
    char* p = buf_ + used_;
    // The shortest form in fixed notation is the layout wanted, with ".0"
    // added to a whole number; only when an exponent is shorter is the
    // number laid out again from its digits.
    {
      char* const end = std::to_chars(p, buf_ + kSize, value).ptr;
      bool point = false, exponent = false;
      for (const char* q = p; q != end; ++q) {
        point |= *q == '.';
        exponent |= *q == 'e';
      }
      if (!exponent) {
        used_ = static_cast<std::size_t>(end - buf_);
        if (!point) put(".0");
        return;
      }
    }
    if (std::signbit(value)) {
      *p++ = '-';
      value = -value;
    }
    if (value == 0) {
      *p++ = '0';
      *p++ = '.';
      *p++ = '0';
      used_ = static_cast<std::size_t>(p - buf_);
      return;
    }
    // Scientific form gives the digits and the exponent: "d[.ddd]e[+-]XX".
    char sci[32];
    const char* const sciEnd = std::to_chars(sci, sci + sizeof sci, value, std::chars_format::scientific).ptr;
    char digits[16];
    int k = 0;
    const char* q = sci;
    for (; *q != 'e'; ++q)
      if (*q != '.') digits[k++] = *q;
    ++q;
    const bool negativeExponent = *q == '-';
    int exponent = 0;
    std::from_chars(q + 1, sciEnd, exponent);
    if (negativeExponent) exponent = -exponent;
    const int n = exponent + 1;  // where the point falls after the first n digits
    if (k <= n && n <= 15) {
      std::memcpy(p, digits, static_cast<std::size_t>(k));
      std::memset(p + k, '0', static_cast<std::size_t>(n - k));
      p += n;
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
    used_ = static_cast<std::size_t>(p - buf_);
  }
  void flush() {
    if (used_) out_.write(buf_, static_cast<std::streamsize>(used_));
    used_ = 0;
  }

 private:
  static constexpr std::size_t kSize = 1 << 14;
  // The longest number written: below 1e15 in fixed notation with three
  // decimals, above it the shortest round-trip form of a double.
  static constexpr std::size_t kLongestFixed3 = 32;
  // Sign, 9 digits and up to 15 zeros or 4 leading zeros, a point and ".0".
  static constexpr std::size_t kLongestFloat = 32;
  void reserve(std::size_t bytes) {
    if (kSize - used_ < bytes) flush();
  }
  std::ostream& out_;
  std::size_t used_ = 0;
  char buf_[kSize];
};

}  // namespace writers
