// Plain geometry of the stand-in host's document: points, Bezier segments,
// rectangles and affine matrices in artwork coordinates (points, x to the
// right, y upwards, (0, 0) at the bottom left page corner). Values are
// float32; every formula is evaluated in double and stored as float32.
#pragma once

#include <cmath>
#include <cstddef>
#include <span>

namespace host {

struct Point {
  float x = 0;
  float y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// One anchor of a Bezier path with its in and out handles.
struct Segment {
  Point anchor;
  Point in;
  Point out;
  bool corner = false;
  friend bool operator==(const Segment&, const Segment&) = default;
};

// y upwards: top >= bottom for a non-empty rectangle.
struct Rect {
  float left = 0;
  float top = 0;
  float right = 0;
  float bottom = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

// Maps (x, y) to (a*x + c*y + tx, b*x + d*y + ty).
struct Matrix {
  float a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

  // Inline: transforms apply it to every anchor and handle.
  Point apply(Point p) const {
    const double x = p.x, y = p.y;
    return {static_cast<float>(double(a) * x + double(c) * y + double(tx)),
            static_cast<float>(double(b) * x + double(d) * y + double(ty))};
  }
  bool isFinite() const;
  friend bool operator==(const Matrix&, const Matrix&) = default;
};

// Inline: every segment written is checked.
inline bool isFinite(const Segment& s) {
  return std::isfinite(s.anchor.x) && std::isfinite(s.anchor.y) && std::isfinite(s.in.x) &&
         std::isfinite(s.in.y) && std::isfinite(s.out.x) && std::isfinite(s.out.y);
}

// Point at parameter t of the cubic p0, p1, p2, p3.
Point bezierPoint(Point p0, Point p1, Point p2, Point p3, double t);

// Tight bounds of a run of Bezier segments: the curve from each anchor's out
// handle to the next anchor's in handle, plus the closing curve when
// `closed`. Curve extrema come from the roots of the derivative, so handles
// that stick out beyond the curve do not widen the bounds. An empty span
// gives a zero rectangle; callers check for it.
Rect segmentBounds(std::span<const Segment> segments, bool closed);

// Smallest rectangle holding both.
Rect unite(const Rect& a, const Rect& b);

}  // namespace host
