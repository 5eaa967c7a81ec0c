// Tests of path coordinates without a branch per coordinate, for checks
// that run on every anchor: float comparisons only, so the values stay in
// their registers.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "shell/host/host_types.h"

namespace coordinates {

// Neither infinite nor NaN.
inline bool finite(float v) { return std::fabs(v) <= std::numeric_limits<float>::max(); }

// At most `bound` in magnitude (so finite) and not -0.
// On the bits: a magnitude's bits order as the magnitudes do, and a NaN's
// lie above the infinity's.
inline bool plain(float v, float bound) {
  const auto bits = std::bit_cast<std::uint32_t>(v);
  return ((bits & 0x7fffffffu) <= std::bit_cast<std::uint32_t>(bound)) & (bits != 0x80000000u);
}

inline bool finite(const HostPoint& p) { return finite(p.h) & finite(p.v); }
inline bool finite(const PathSegment& s) { return finite(s.p) & finite(s.in) & finite(s.out); }

inline bool plain(const HostPoint& p, float bound) { return plain(p.h, bound) & plain(p.v, bound); }
inline bool plain(const PathSegment& s, float bound) {
  return plain(s.p, bound) & plain(s.in, bound) & plain(s.out, bound);
}

}  // namespace coordinates
