#include "hostapp/writers/envelope_warp.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace envelope {
namespace {

// Largest displacement of the bending styles, in half-sizes at bend 1.
constexpr double kBendAmplitude = 0.5;
constexpr double kFisheyeAmplitude = 0.8;

struct Frame {
  double s;
  double t;
};

double clampUnit(double v) { return std::clamp(v, -1.0, 1.0); }

double toUnit(double v, double low, double high) {
  const double span = high - low;
  if (!(std::fabs(span) > 0)) return 0;
  return 2 * (v - low) / span - 1;
}

// The square onto the unit disc; edges land on the circle.
Frame squareToDisc(Frame f) {
  return {f.s * std::sqrt(std::max(0.0, 1 - f.t * f.t / 2)),
          f.t * std::sqrt(std::max(0.0, 1 - f.s * f.s / 2))};
}

// Polar bend: the frame's middle line becomes an arc of length 2 turning
// through up to ±45° at each end.
Frame arc(Frame f, double bend) {
  const double c = bend * std::numbers::pi / 4;
  if (std::fabs(c) < 1e-12) return f;
  const double r0 = 1 / c;
  const double angle = f.s * c;
  const double r = r0 + f.t;
  return {r * std::sin(angle), r * std::cos(angle) - r0};
}

Frame applyStyle(Frame f, int style, double b) {
  const double a = kBendAmplitude * b;
  const double hump = 1 - f.s * f.s;      // 1 in the middle, 0 at the sides
  const double lower = (1 - f.t) / 2;     // 1 at the bottom edge, 0 at the top
  const double upper = (1 + f.t) / 2;     // 1 at the top edge, 0 at the bottom
  const double pi = std::numbers::pi;
  switch (style) {
    case kWarpArc:
      return arc(f, b);
    case kWarpArcLower:
      return {f.s, f.t - a * hump * lower};
    case kWarpArcUpper:
      return {f.s, f.t + a * hump * upper};
    case kWarpArch:
      return {f.s, f.t + a * hump};
    case kWarpBulge:
      return {f.s, f.t * (1 + a * hump)};
    case kWarpShellLower:
      return {f.s * (1 - a * lower / 2), f.t - a * hump * lower};
    case kWarpShellUpper:
      return {f.s * (1 - a * upper / 2), f.t + a * hump * upper};
    case kWarpFlag:
      return {f.s, f.t + a * std::sin(pi * f.s)};
    case kWarpWave:
      return {f.s + 0.1 * b * std::sin(pi * f.t),
              f.t + a * std::sin(2 * pi * f.s) * (1 + f.s) / 2};
    case kWarpFish: {
      // Widest a third of the way from the left end, closed at both ends.
      const double body = 27.0 / 32.0 * (1 + f.s) * (1 - f.s) * (1 - f.s);
      return {f.s, f.t * (1 + a * body)};
    }
    case kWarpRise:
      return {f.s, f.t + a * ((1 + f.s) * (1 + f.s) / 2 - 1)};
    case kWarpFisheye: {
      const double r2 = f.s * f.s + f.t * f.t;
      if (r2 >= 1) return f;
      const double k = 1 + kFisheyeAmplitude * b * (1 - r2) * (1 - r2);
      return {f.s * k, f.t * k};
    }
    case kWarpInflate:
      return {f.s * (1 + a * (1 - f.t * f.t)), f.t * (1 + a * hump)};
    case kWarpSqueeze:
      return {f.s * (1 - a * (1 - f.t * f.t)), f.t * (1 + a * hump)};
    case kWarpTwist: {
      // Turns most at mid-radius; the corners and the centre stay.
      const double rho2 = (f.s * f.s + f.t * f.t) / 2;
      const double angle = b * pi / 2 * (1 - rho2);
      const double cs = std::cos(angle), sn = std::sin(angle);
      return {f.s * cs - f.t * sn, f.s * sn + f.t * cs};
    }
    default:
      return f;
  }
}

// Tapers the height along x (hDist) and then the width along y (vDist): the
// factor runs from 1 at one side to 1 - |d| at the other.
Frame applyDistortion(Frame f, double hDist, double vDist) {
  const double h = clampUnit(hDist), v = clampUnit(vDist);
  if (h != 0) {
    const double side = h > 0 ? clampUnit(f.s) : -clampUnit(f.s);
    f.t *= 1 - std::fabs(h) * (1 - side) / 2;
  }
  if (v != 0) {
    const double side = v > 0 ? clampUnit(f.t) : -clampUnit(f.t);
    f.s *= 1 - std::fabs(v) * (1 - side) / 2;
  }
  return f;
}

Point cubicAt(const Cubic& c, double u) {
  const double v = 1 - u;
  const double b0 = v * v * v, b1 = 3 * v * v * u, b2 = 3 * v * u * u, b3 = u * u * u;
  return {b0 * c.p0.x + b1 * c.c1.x + b2 * c.c2.x + b3 * c.p3.x,
          b0 * c.p0.y + b1 * c.c1.y + b2 * c.c2.y + b3 * c.p3.y};
}

}  // namespace

Point mapThroughEnvelope(Point p, const Rect& artBounds, const EnvelopeShape& shape,
                         const WarpParams& warp) {
  Frame f{toUnit(p.x, artBounds.left, artBounds.right), toUnit(p.y, artBounds.bottom, artBounds.top)};
  if (shape.kind == ShapeKind::kEllipse) f = squareToDisc(f);

  if (warp.style >= kWarpArc && warp.style <= kWarpTwist) {
    const double bend = clampUnit(warp.bend);
    if (warp.rotate) {
      f = applyStyle({f.t, f.s}, warp.style, bend);
      std::swap(f.s, f.t);
    } else {
      f = applyStyle(f, warp.style, bend);
    }
    f = applyDistortion(f, warp.hDist, warp.vDist);
  }

  const Rect& b = shape.bounds;
  const double cx = (b.left + b.right) / 2, cy = (b.bottom + b.top) / 2;
  const double hw = (b.right - b.left) / 2, hh = (b.top - b.bottom) / 2;
  return {cx + f.s * hw, cy + f.t * hh};
}

std::vector<Point> flattenThroughEnvelope(const std::vector<Cubic>& chain, const Rect& artBounds,
                                          const EnvelopeShape& shape, const WarpParams& warp,
                                          int samplesPerSegment) {
  std::vector<Point> out;
  if (chain.empty()) return out;
  const int n = std::max(1, samplesPerSegment);
  out.reserve(chain.size() * n + 1);
  out.push_back(mapThroughEnvelope(chain.front().p0, artBounds, shape, warp));
  for (const Cubic& c : chain) {
    for (int i = 1; i <= n; ++i) {
      out.push_back(mapThroughEnvelope(cubicAt(c, static_cast<double>(i) / n), artBounds, shape, warp));
    }
  }
  return out;
}

}  // namespace envelope
