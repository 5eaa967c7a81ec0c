// Branch-free tests of a float's bits, for loops over every coordinate of a
// path (a branch per coordinate costs more than the test).
#pragma once

#include <bit>
#include <cstdint>

#include "shell/host/host_types.h"

namespace float_bits {

constexpr uint32_t kMagnitude = 0x7fffffffu;
constexpr uint32_t kExponent = 0x7f800000u;
constexpr uint32_t kNegativeZero = 0x80000000u;

inline uint32_t bitsOf(float v) { return std::bit_cast<uint32_t>(v); }

// Neither infinite nor NaN.
inline bool finite(float v) { return (bitsOf(v) & kExponent) != kExponent; }

// Finite, not -0, and at most `bound` (finite, positive) in magnitude.
inline bool plain(float v, float bound) {
  const uint32_t u = bitsOf(v);
  return ((u & kMagnitude) <= bitsOf(bound)) & (u != kNegativeZero);
}

inline bool finite(const HostPoint& p) { return finite(p.h) & finite(p.v); }
inline bool finite(const PathSegment& s) { return finite(s.p) & finite(s.in) & finite(s.out); }

}  // namespace float_bits
