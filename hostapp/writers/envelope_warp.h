// How enveloped art is drawn: every point of the art is mapped from the
// art's bounds onto the envelope shape, then through the envelope's warp.
//
// The mapping works in the shape's normalised frame: (s, t) in [-1, 1]^2
// spans the shape's bounds, x to the right and y upwards.
//  1. The art's bounds map onto [-1, 1]^2. A rectangle shape keeps that
//     square; an ellipse shape squeezes it into the unit disc by the
//     elliptical grid mapping s' = s·sqrt(1 - t²/2), t' = t·sqrt(1 - s²/2),
//     which sends the square's edges onto the circle.
//  2. Warp styles 1..15 bend the frame by `bend` (in [-1, 1]); bend 0 leaves
//     it unchanged. With `rotate` the style acts along the other axis.
//  3. The horizontal distortion tapers the height along x and the vertical
//     distortion the width along y (a factor between 1 - |d| and 1), so with
//     bend 0 every point stays inside the shape.
//  4. The frame maps back onto the shape's bounds.
// Style 0 (or any number outside 1..15) is the plain envelope: steps 1 and 4
// only. Every style is continuous and bounded: a point inside the art's
// bounds lands at most 1 + |bend| shape half-sizes from the shape centre
// along either axis.
#pragma once

#include <vector>

namespace envelope {

struct Point {
  double x = 0;
  double y = 0;
};

// y upwards: top >= bottom.
struct Rect {
  double left = 0;
  double top = 0;
  double right = 0;
  double bottom = 0;
};

enum class ShapeKind { kRectangle, kEllipse };

struct EnvelopeShape {
  ShapeKind kind = ShapeKind::kRectangle;
  Rect bounds;
};

// Warp styles by number.
enum WarpStyle : int {
  kWarpNone = 0,
  kWarpArc = 1,
  kWarpArcLower = 2,
  kWarpArcUpper = 3,
  kWarpArch = 4,
  kWarpBulge = 5,
  kWarpShellLower = 6,
  kWarpShellUpper = 7,
  kWarpFlag = 8,
  kWarpWave = 9,
  kWarpFish = 10,
  kWarpRise = 11,
  kWarpFisheye = 12,
  kWarpInflate = 13,
  kWarpSqueeze = 14,
  kWarpTwist = 15,
};

struct WarpParams {
  int style = kWarpNone;
  double bend = 0;
  double hDist = 0;
  double vDist = 0;
  bool rotate = false;
};

// One cubic Bezier segment: start, two control points, end.
struct Cubic {
  Point p0, c1, c2, p3;
};

inline constexpr int kDefaultSamplesPerSegment = 16;

// The point p of art whose bounds are artBounds, drawn through the envelope.
// Degenerate art bounds (zero width or height) map to the shape's middle
// line along that axis.
Point mapThroughEnvelope(Point p, const Rect& artBounds, const EnvelopeShape& shape,
                         const WarpParams& warp);

// A chain of cubic segments (each starting where the previous one ended)
// flattened into a polyline of mapped points: the first segment's start,
// then `samplesPerSegment` evenly spaced samples of each segment, its end
// included. An empty chain gives an empty polyline.
std::vector<Point> flattenThroughEnvelope(const std::vector<Cubic>& chain, const Rect& artBounds,
                                          const EnvelopeShape& shape, const WarpParams& warp,
                                          int samplesPerSegment = kDefaultSamplesPerSegment);

}  // namespace envelope
