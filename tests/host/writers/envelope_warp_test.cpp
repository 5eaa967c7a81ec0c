#include "hostapp/writers/envelope_warp.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using envelope::Cubic;
using envelope::EnvelopeShape;
using envelope::Point;
using envelope::Rect;
using envelope::ShapeKind;
using envelope::WarpParams;

namespace {

const Rect kArt{10, 90, 50, 30};  // 40 wide, 60 high
const EnvelopeShape kSquare{ShapeKind::kRectangle, {100, 300, 300, 100}};
const EnvelopeShape kDisc{ShapeKind::kEllipse, {100, 300, 300, 100}};

// Points of the art's bounds on an n x n grid, edges included.
std::vector<Point> artGrid(int n = 21) {
  std::vector<Point> points;
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) {
      points.push_back({kArt.left + (kArt.right - kArt.left) * i / (n - 1),
                        kArt.bottom + (kArt.top - kArt.bottom) * j / (n - 1)});
    }
  }
  return points;
}

// Position in the shape's frame: (0, 0) the centre, ±1 the bounds.
Point inFrame(Point p, const EnvelopeShape& shape) {
  const Rect& b = shape.bounds;
  return {(p.x - (b.left + b.right) / 2) / ((b.right - b.left) / 2),
          (p.y - (b.bottom + b.top) / 2) / ((b.top - b.bottom) / 2)};
}

std::vector<WarpParams> everyStyle(double bend, double hDist, double vDist) {
  std::vector<WarpParams> all;
  for (int style = 1; style <= 15; ++style) {
    for (bool rotate : {false, true}) all.push_back({style, bend, hDist, vDist, rotate});
  }
  return all;
}

std::string describe(const WarpParams& w) {
  return "style " + std::to_string(w.style) + " bend " + std::to_string(w.bend) + " h " +
         std::to_string(w.hDist) + " v " + std::to_string(w.vDist) + (w.rotate ? " rotated" : "");
}

}  // namespace

TEST(EnvelopeWarp, PlainRectangleIsTheAffineMapOfTheBounds) {
  const Rect same = kArt;
  const EnvelopeShape onItself{ShapeKind::kRectangle, same};
  for (Point p : artGrid()) {
    const Point q = envelope::mapThroughEnvelope(p, kArt, onItself, {});
    EXPECT_NEAR(q.x, p.x, 1e-9);
    EXPECT_NEAR(q.y, p.y, 1e-9);
  }
  // Corners onto corners, centre onto centre.
  const Point bl = envelope::mapThroughEnvelope({10, 30}, kArt, kSquare, {});
  const Point tr = envelope::mapThroughEnvelope({50, 90}, kArt, kSquare, {});
  const Point mid = envelope::mapThroughEnvelope({30, 60}, kArt, kSquare, {});
  EXPECT_NEAR(bl.x, 100, 1e-9);
  EXPECT_NEAR(bl.y, 100, 1e-9);
  EXPECT_NEAR(tr.x, 300, 1e-9);
  EXPECT_NEAR(tr.y, 300, 1e-9);
  EXPECT_NEAR(mid.x, 200, 1e-9);
  EXPECT_NEAR(mid.y, 200, 1e-9);
}

TEST(EnvelopeWarp, EveryStyleWithoutBendOrDistortionIsThePlainEnvelope) {
  for (const WarpParams& w : everyStyle(0, 0, 0)) {
    for (const EnvelopeShape& shape : {kSquare, kDisc}) {
      for (Point p : artGrid(9)) {
        const Point plain = envelope::mapThroughEnvelope(p, kArt, shape, {});
        const Point q = envelope::mapThroughEnvelope(p, kArt, shape, w);
        ASSERT_NEAR(q.x, plain.x, 1e-9) << describe(w);
        ASSERT_NEAR(q.y, plain.y, 1e-9) << describe(w);
      }
    }
  }
}

TEST(EnvelopeWarp, EllipseSendsTheBoundsEdgesOntoTheEllipse) {
  for (Point p : artGrid()) {
    const Point f = inFrame(envelope::mapThroughEnvelope(p, kArt, kDisc, {}), kDisc);
    const double r = std::hypot(f.x, f.y);
    EXPECT_LE(r, 1 + 1e-12);
    const bool onEdge = p.x == kArt.left || p.x == kArt.right || p.y == kArt.bottom || p.y == kArt.top;
    if (onEdge) {
      EXPECT_NEAR(r, 1, 1e-12) << p.x << ", " << p.y;
    }
  }
  const Point right = inFrame(envelope::mapThroughEnvelope({50, 60}, kArt, kDisc, {}), kDisc);
  EXPECT_NEAR(right.x, 1, 1e-12);
  EXPECT_NEAR(right.y, 0, 1e-12);
}

TEST(EnvelopeWarp, WithoutBendEveryDistortionStaysInsideTheShape) {
  for (double h : {-1.0, -0.4, 0.0, 0.7, 1.0}) {
    for (double v : {-1.0, 0.3, 1.0}) {
      for (const WarpParams& w : everyStyle(0, h, v)) {
        for (Point p : artGrid(11)) {
          const Point sq = inFrame(envelope::mapThroughEnvelope(p, kArt, kSquare, w), kSquare);
          ASSERT_LE(std::fabs(sq.x), 1 + 1e-12) << describe(w);
          ASSERT_LE(std::fabs(sq.y), 1 + 1e-12) << describe(w);
          const Point di = inFrame(envelope::mapThroughEnvelope(p, kArt, kDisc, w), kDisc);
          ASSERT_LE(std::hypot(di.x, di.y), 1 + 1e-12) << describe(w);
        }
      }
    }
  }
}

TEST(EnvelopeWarp, BentStylesStayWithinOnePlusBendHalfSizes) {
  for (double bend : {-1.0, -0.5, 0.25, 1.0}) {
    for (const WarpParams& w : everyStyle(bend, 0.6, -0.8)) {
      for (const EnvelopeShape& shape : {kSquare, kDisc}) {
        for (Point p : artGrid()) {
          const Point f = inFrame(envelope::mapThroughEnvelope(p, kArt, shape, w), shape);
          ASSERT_TRUE(std::isfinite(f.x) && std::isfinite(f.y)) << describe(w);
          ASSERT_LE(std::fabs(f.x), 1 + std::fabs(bend) + 1e-9) << describe(w);
          ASSERT_LE(std::fabs(f.y), 1 + std::fabs(bend) + 1e-9) << describe(w);
        }
      }
    }
  }
}

TEST(EnvelopeWarp, EveryStyleBendsAndNoTwoLookAlike) {
  const std::vector<Point> grid = artGrid(9);
  std::vector<std::vector<Point>> looks;
  for (int style = 1; style <= 15; ++style) {
    std::vector<Point> mapped;
    double largestMove = 0;
    for (Point p : grid) {
      const Point plain = inFrame(envelope::mapThroughEnvelope(p, kArt, kSquare, {}), kSquare);
      const Point q = inFrame(envelope::mapThroughEnvelope(p, kArt, kSquare, {style, 0.6, 0, 0, false}), kSquare);
      largestMove = std::max(largestMove, std::hypot(q.x - plain.x, q.y - plain.y));
      mapped.push_back(q);
    }
    EXPECT_GT(largestMove, 0.1) << "style " << style;
    looks.push_back(mapped);
  }
  for (size_t a = 0; a < looks.size(); ++a) {
    for (size_t b = a + 1; b < looks.size(); ++b) {
      double largest = 0;
      for (size_t i = 0; i < grid.size(); ++i) {
        largest = std::max(largest, std::hypot(looks[a][i].x - looks[b][i].x, looks[a][i].y - looks[b][i].y));
      }
      EXPECT_GT(largest, 0.02) << "styles " << a + 1 << " and " << b + 1;
    }
  }
}

TEST(EnvelopeWarp, RotateTurnsTheBendOntoTheOtherAxis) {
  for (Point p : artGrid(9)) {
    const Point plain = envelope::mapThroughEnvelope(p, kArt, kSquare, {});
    const Point upright = envelope::mapThroughEnvelope(p, kArt, kSquare, {envelope::kWarpArch, 0.8, 0, 0, false});
    const Point turned = envelope::mapThroughEnvelope(p, kArt, kSquare, {envelope::kWarpArch, 0.8, 0, 0, true});
    EXPECT_NEAR(upright.x, plain.x, 1e-9);
    EXPECT_NEAR(turned.y, plain.y, 1e-9);
  }
  // The middle of the arch moves: up unrotated, sideways rotated.
  const Point upright = envelope::mapThroughEnvelope({30, 60}, kArt, kSquare, {envelope::kWarpArch, 0.8, 0, 0, false});
  const Point turned = envelope::mapThroughEnvelope({30, 60}, kArt, kSquare, {envelope::kWarpArch, 0.8, 0, 0, true});
  EXPECT_GT(upright.y, 200 + 1);
  EXPECT_GT(turned.x, 200 + 1);
}

TEST(EnvelopeWarp, FullHorizontalDistortionClosesOneSide) {
  const WarpParams w{envelope::kWarpFlag, 0, 1, 0, false};
  for (double y : {30.0, 45.0, 90.0}) {
    const Point left = envelope::mapThroughEnvelope({10, y}, kArt, kSquare, w);
    const Point right = envelope::mapThroughEnvelope({50, y}, kArt, kSquare, w);
    EXPECT_NEAR(left.y, 200, 1e-9);
    EXPECT_NEAR(right.y, envelope::mapThroughEnvelope({50, y}, kArt, kSquare, {}).y, 1e-9);
  }
  const WarpParams flipped{envelope::kWarpFlag, 0, -1, 0, false};
  EXPECT_NEAR(envelope::mapThroughEnvelope({50, 90}, kArt, kSquare, flipped).y, 200, 1e-9);
}

TEST(EnvelopeWarp, MappingIsContinuous) {
  // Consecutive points a thousandth of the art apart never jump by more than
  // a hundredth of the shape.
  const int steps = 1000;
  for (double bend : {-1.0, 1.0}) {
    for (const WarpParams& w : everyStyle(bend, -0.7, 0.9)) {
      for (const EnvelopeShape& shape : {kSquare, kDisc}) {
        for (double y : {30.0, 47.0, 60.0, 90.0}) {
          Point previous = inFrame(envelope::mapThroughEnvelope({kArt.left, y}, kArt, shape, w), shape);
          for (int i = 1; i <= steps; ++i) {
            const double x = kArt.left + (kArt.right - kArt.left) * i / steps;
            const Point q = inFrame(envelope::mapThroughEnvelope({x, y}, kArt, shape, w), shape);
            ASSERT_LT(std::hypot(q.x - previous.x, q.y - previous.y), 0.02) << describe(w) << " at " << x;
            previous = q;
          }
        }
      }
    }
  }
}

TEST(EnvelopeWarp, FlattenSamplesEverySegment) {
  EXPECT_TRUE(envelope::flattenThroughEnvelope({}, kArt, kSquare, {}).empty());

  const EnvelopeShape onItself{ShapeKind::kRectangle, kArt};
  const std::vector<Cubic> chain{{{10, 30}, {10, 90}, {50, 90}, {50, 60}},
                                 {{50, 60}, {50, 30}, {30, 30}, {20, 40}}};
  const std::vector<Point> line = envelope::flattenThroughEnvelope(chain, kArt, onItself, {});
  ASSERT_EQ(line.size(), 2u * envelope::kDefaultSamplesPerSegment + 1);
  EXPECT_NEAR(line.front().x, 10, 1e-9);
  EXPECT_NEAR(line.front().y, 30, 1e-9);
  EXPECT_NEAR(line[16].x, 50, 1e-9);
  EXPECT_NEAR(line[16].y, 60, 1e-9);
  // The middle of the first cubic: (p0 + 3 c1 + 3 c2 + p3) / 8.
  EXPECT_NEAR(line[8].x, (10 + 30 + 150 + 50) / 8.0, 1e-9);
  EXPECT_NEAR(line[8].y, (30 + 270 + 270 + 60) / 8.0, 1e-9);
  EXPECT_NEAR(line.back().x, 20, 1e-9);
  EXPECT_NEAR(line.back().y, 40, 1e-9);

  const std::vector<Point> coarse = envelope::flattenThroughEnvelope(chain, kArt, kDisc, {envelope::kWarpTwist, 0.5, 0, 0, false}, 4);
  ASSERT_EQ(coarse.size(), 9u);
  const Point end = envelope::mapThroughEnvelope({20, 40}, kArt, kDisc, {envelope::kWarpTwist, 0.5, 0, 0, false});
  EXPECT_NEAR(coarse.back().x, end.x, 1e-9);
  EXPECT_NEAR(coarse.back().y, end.y, 1e-9);
}

TEST(EnvelopeWarp, FlatArtMapsOntoTheMiddleLine) {
  const Rect flat{10, 50, 50, 50};
  const Point p = envelope::mapThroughEnvelope({30, 50}, flat, kSquare, {envelope::kWarpBulge, 1, 0, 0, false});
  EXPECT_NEAR(p.x, 200, 1e-9);
  EXPECT_NEAR(p.y, 200, 1e-9);
}
