#include "hostapp/model/geometry.h"

#include <algorithm>
#include <cmath>

namespace host {

bool Matrix::isFinite() const {
  return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d) &&
         std::isfinite(tx) && std::isfinite(ty);
}

namespace {

double cubic(double p0, double p1, double p2, double p3, double t) {
  const double u = 1 - t;
  return u * u * u * p0 + 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t * p3;
}

// Parameters in (0, 1) where one coordinate of the cubic has a zero
// derivative: the roots of a t^2 + b t + c, where the derivative divided by
// 3 is (p1 - p0)(1 - t)^2 + 2 (p2 - p1) t (1 - t) + (p3 - p2) t^2.
int extremaParameters(double p0, double p1, double p2, double p3, double roots[2]) {
  const double a = -p0 + 3 * p1 - 3 * p2 + p3;
  const double b = 2 * (p0 - 2 * p1 + p2);
  const double c = p1 - p0;
  int n = 0;
  auto keep = [&](double t) {
    if (t > 0 && t < 1) roots[n++] = t;
  };
  const double scale = std::max({std::fabs(a), std::fabs(b), std::fabs(c)});
  if (scale == 0) return 0;
  if (std::fabs(a) <= 1e-12 * scale) {
    if (b != 0) keep(-c / b);
    return n;
  }
  const double disc = b * b - 4 * a * c;
  if (disc < 0) return 0;
  const double root = std::sqrt(disc);
  // The numerically stable pair of roots.
  const double q = -0.5 * (b + (b >= 0 ? root : -root));
  keep(q / a);
  if (q != 0) keep(c / q);
  return n;
}

struct Extent {
  double minX, minY, maxX, maxY;
  void addX(double x) {
    minX = std::min(minX, x);
    maxX = std::max(maxX, x);
  }
  void addY(double y) {
    minY = std::min(minY, y);
    maxY = std::max(maxY, y);
  }
};

// True when both handles lie within the extent already held along this
// axis: the curve is a convex combination of its four points, so no extremum
// can widen it (a rounding of the double evaluation beyond it is far below
// half a float32 step, so the float32 bounds are the same).
bool handlesInside(double lo, double hi, double p1, double p2) {
  return p1 >= lo && p1 <= hi && p2 >= lo && p2 <= hi;
}

// p0 is already in the extent (the previous anchor, or the first).
void addCurve(Extent& e, Point p0, Point p1, Point p2, Point p3) {
  e.addX(p3.x);
  e.addY(p3.y);
  double roots[2];
  if (!handlesInside(e.minX, e.maxX, p1.x, p2.x)) {
    const int n = extremaParameters(p0.x, p1.x, p2.x, p3.x, roots);
    for (int i = 0; i < n; ++i) e.addX(cubic(p0.x, p1.x, p2.x, p3.x, roots[i]));
  }
  if (!handlesInside(e.minY, e.maxY, p1.y, p2.y)) {
    const int n = extremaParameters(p0.y, p1.y, p2.y, p3.y, roots);
    for (int i = 0; i < n; ++i) e.addY(cubic(p0.y, p1.y, p2.y, p3.y, roots[i]));
  }
}

}  // namespace

Point bezierPoint(Point p0, Point p1, Point p2, Point p3, double t) {
  return {static_cast<float>(cubic(p0.x, p1.x, p2.x, p3.x, t)),
          static_cast<float>(cubic(p0.y, p1.y, p2.y, p3.y, t))};
}

Rect segmentBounds(std::span<const Segment> s, bool closed) {
  if (s.empty()) return {};
  Extent e{s[0].anchor.x, s[0].anchor.y, s[0].anchor.x, s[0].anchor.y};
  for (std::size_t i = 1; i < s.size(); ++i)
    addCurve(e, s[i - 1].anchor, s[i - 1].out, s[i].in, s[i].anchor);
  if (closed && s.size() > 1) addCurve(e, s.back().anchor, s.back().out, s[0].in, s[0].anchor);
  return {static_cast<float>(e.minX), static_cast<float>(e.maxY), static_cast<float>(e.maxX),
          static_cast<float>(e.minY)};
}

Rect unite(const Rect& a, const Rect& b) {
  return {std::min(a.left, b.left), std::max(a.top, b.top), std::max(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

}  // namespace host
