// How the generator hands a path to the host: one write per path, the same
// path and result as writing it anchor by anchor when the host refuses part
// of it, and host calls left out only where their answer is known.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "generator/coordinate_checks.h"
#include "generator/generate_spirals.h"
#include "generator/host_services.h"
#include "generator/transforms.h"
#include "params/choice_modes.h"
#include "params/record/default_parameters.h"
#include "support/host_fixture.h"

namespace {

class PathWrites : public HostFixture {
 protected:
  SpiralParameters record() const {
    SpiralParameters p = defaultParameters(100, 0);
    p.fromGo = 1;
    return p;
  }

  std::vector<const host::Art*> paths() {
    std::vector<const host::Art*> out;
    for (const host::Layer& layer : document().layers())
      document().forEachInPaintOrder(layer.id, [&](const host::Art& a) { out.push_back(&a); });
    return out;
  }

  int calls(const char* suite, const char* operation) {
    int n = 0;
    for (const host::CallRecord& c : host().gate().log())
      if (std::strcmp(c.suite, suite) == 0 && std::strcmp(c.operation, operation) == 0) ++n;
    return n;
  }
};

bool finite(const host::Segment& s) {
  return std::isfinite(s.anchor.x) && std::isfinite(s.anchor.y) && std::isfinite(s.in.x) && std::isfinite(s.in.y) &&
         std::isfinite(s.out.x) && std::isfinite(s.out.y);
}

TEST_F(PathWrites, EachPathTakesOneWriteForItsAnchorsAndOneEachForItsEnds) {
  SpiralParameters p = record();
  p.spiralCount = 3;
  p.armCount = 50;
  host().gate().setLogging(true);
  ASSERT_EQ(generateSpirals(p), 0);
  ASSERT_EQ(paths().size(), 3u);
  for (const host::Art* a : paths()) EXPECT_EQ(a->state.segments.size(), 200u);
  // Per path: the anchors, then the two retracted end handles.
  EXPECT_EQ(calls(kPathSuite, "SetPathSegments"), 3 * 3);
  EXPECT_EQ(calls(kPathSuite, "GetPathSegments"), 3 * 2);
}

TEST_F(PathWrites, OffsetPassesReadAndAppendOnceEach) {
  SpiralParameters p = record();
  p.spiralOffsetX = 2;
  p.offsetCount = 3;
  host().gate().setLogging(true);
  ASSERT_EQ(generateSpirals(p), 0);
  ASSERT_EQ(paths().size(), 1u);
  const auto& segs = paths()[0]->state.segments;
  ASSERT_EQ(segs.size(), 40u * 4);
  EXPECT_EQ(calls(kPathSuite, "SetPathSegments"), 3 + 1);
  EXPECT_EQ(calls(kPathSuite, "GetPathSegments"), 2 + 1);
  // The first pass runs the path backwards, two points to the right.
  EXPECT_EQ(segs[40].anchor.x, segs[39].anchor.x + 2);
  EXPECT_EQ(segs[40].in.y, segs[39].out.y);
  EXPECT_EQ(segs[79].anchor.y, segs[0].anchor.y);
}

TEST_F(PathWrites, AnAnchorOffTheFloatRangeEndsTheRunWithTheAnchorsBeforeItKept) {
  SpiralParameters p = record();
  p.decay = 1e8f;  // each anchor a million times further out
  const HostErr result = generateSpirals(p);
  EXPECT_NE(result, 0);
  ASSERT_EQ(paths().size(), 1u);
  const auto& segs = paths()[0]->state.segments;
  ASSERT_FALSE(segs.empty()) << "the anchors before the refused one stay";
  for (const host::Segment& s : segs) EXPECT_TRUE(finite(s));
  ASSERT_FALSE(host().gate().refusals().empty());
  EXPECT_EQ(host().gate().refusals().back().segment, static_cast<int32_t>(segs.size()))
      << "the refused write is the anchor after the last one kept";
}

TEST_F(PathWrites, AnArmLoopBeyondTheMemoryBudgetKeepsTheAnchorsThatFit) {
  SpiralParameters p = record();
  p.armCount = 1000;
  const std::size_t limit = document().memory().used() + 4096;
  document().memory().setLimit(limit);
  EXPECT_EQ(generateSpirals(p), kHostOutOfMemoryErr);
  ASSERT_EQ(paths().size(), 1u);
  const std::size_t kept = paths()[0]->state.segments.size();
  EXPECT_GT(kept, 0u);
  EXPECT_LT(kept, 4000u);
  EXPECT_GT(document().memory().used() + sizeof(host::Segment), limit) << "one more anchor would not have fit";
}

TEST_F(PathWrites, OffsetPassesKeepThePointsBeforeTheFirstRefusedOne) {
  SpiralParameters p = record();
  p.spiralOffsetX = 1;
  p.offsetCount = 2;
  p.pointFactor = 1e9f;  // the offset grows a million-fold per point
  // The pass's points stay finite while the growing factor does.
  const float factor = static_cast<float>(static_cast<double>(p.pointFactor) / 1000.0);
  std::size_t finitePoints = 0;
  for (float f = 1; std::isfinite(f) && finitePoints < 40; f = static_cast<float>(static_cast<double>(f) * factor))
    ++finitePoints;
  ASSERT_LT(finitePoints, 40u);
  ASSERT_EQ(generateSpirals(p), 0) << "offset writes are not tested";
  ASSERT_EQ(paths().size(), 1u);
  const auto& segs = paths()[0]->state.segments;
  EXPECT_EQ(segs.size(), 40 + finitePoints);
  for (const host::Segment& s : segs) EXPECT_TRUE(finite(s));
}

// With the arm loop's last anchor dropped by its draw, the path holds it
// past the main path: the first pass's first point lands on it. Refused
// there, the anchor stays and the next point still appends.
TEST_F(PathWrites, ARefusedOffsetPointOnAHeldSegmentLeavesItAndAppendingGoesOn) {
  SpiralParameters p = record();
  p.armCount = 2;
  p.randomAbstract = 1;
  p.spiralOffsetX = std::nanf("");
  p.offsetCount = 1;
  p.offsetMode = static_cast<int32_t>(OffsetMode::XOnEven);  // NaN on even points, 0 on odd ones
  scriptRandom({0.9f, 0.9f, 0.9f, 0.9f, 0.9f, 0.9f, 0.9f, 0.1f});
  ASSERT_EQ(generateSpirals(p), 0);
  ASSERT_EQ(paths().size(), 1u);
  const auto& segs = paths()[0]->state.segments;
  // Main path 0..6, the dropped anchor at 7, the pass's second point (an odd
  // one, moved by 0) at 8; its third (NaN) ends the appending.
  ASSERT_EQ(segs.size(), 9u);
  for (const host::Segment& s : segs) EXPECT_TRUE(finite(s));
  EXPECT_NE(segs[7].anchor, segs[6].anchor);
  EXPECT_EQ(segs[8].anchor, segs[5].anchor) << "the backward pass's second point is segment 5";
  EXPECT_EQ(segs[8].in, segs[5].out);
}

TEST_F(PathWrites, NaNOffsetsAppendNothing) {
  SpiralParameters p = record();
  p.spiralOffsetX = std::nanf("");
  p.offsetCount = 3;
  ASSERT_EQ(generateSpirals(p), 0);
  ASSERT_EQ(paths().size(), 1u);
  EXPECT_EQ(paths()[0]->state.segments.size(), 40u);
}

TEST_F(PathWrites, ARefusedBatchIsNotWrittenAgainAfterAnInjectedFailure) {
  SpiralParameters p = record();
  p.spiralCount = 2;
  host().gate().setLogging(true);
  host().gate().failOperation(kPathSuite, "SetPathSegments", 0x494E4A21);
  EXPECT_EQ(generateSpirals(p), 0x494E4A21);
  EXPECT_EQ(calls(kPathSuite, "SetPathSegments"), 1) << "the first refused write ends the run";
  ASSERT_EQ(paths().size(), 1u);
  EXPECT_TRUE(paths()[0]->state.segments.empty());
}

// ---- Kernel services ----------------------------------------------------------

TEST_F(PathWrites, ASineIsAskedOnceWhileItsAngleStays) {
  HostKernelServices services;
  host().gate().setLogging(true);
  const HostReal a = services.sine(0.5f);
  const HostReal b = services.sine(0.25f);
  EXPECT_EQ(services.sine(0.5f), a);
  EXPECT_EQ(services.sine(0.25f), b);
  EXPECT_EQ(calls(kRealMathSuite, "RealSin"), 2);
  EXPECT_FLOAT_EQ(a, std::sin(0.5f));
  // A third angle pushes out the older of the two kept.
  services.sine(1.0f);
  services.sine(0.5f);
  EXPECT_EQ(calls(kRealMathSuite, "RealSin"), 4);
  // -0 and +0 are told apart by their bits.
  services.sine(0.0f);
  services.sine(-0.0f);
  EXPECT_EQ(calls(kRealMathSuite, "RealSin"), 6);
}

TEST_F(PathWrites, AFailedSineIsAskedAgain) {
  HostKernelServices services;
  host().gate().failOperation(kRealMathSuite, "RealSin", 0x494E4A21);
  EXPECT_EQ(services.sine(0.5f), 0);
  host().gate().clearFailures();
  EXPECT_FLOAT_EQ(services.sine(0.5f), std::sin(0.5f));
}

TEST_F(PathWrites, ASpiralsSinesFollowTheArmsUnlessTheCurveIsRandom) {
  SpiralParameters p = record();
  p.armCount = 20;
  host().gate().setLogging(true);
  ASSERT_EQ(generateSpirals(p), 0);
  EXPECT_LE(calls(kRealMathSuite, "RealSin"), 2 * 20);

  host().beginMessage();
  host().gate().clearLog();
  p.randomCurve = 1;
  ASSERT_EQ(generateSpirals(p), 0);
  EXPECT_EQ(calls(kRealMathSuite, "RealSin"), 2 * 80);
}

TEST_F(PathWrites, AFailedSineShortensOneHandleOnly) {
  SpiralParameters p = record();
  p.curvature2 = 40;
  int sines = 0;
  // The second sine is the first anchor's out handle.
  host().gate().setFailureRule([&](std::uint64_t, const char* suite, const char* operation) -> HostErr {
    if (std::strcmp(suite, kRealMathSuite) == 0 && std::strcmp(operation, "RealSin") == 0 && ++sines == 2)
      return 0x494E4A21;
    return 0;
  });
  ASSERT_EQ(generateSpirals(p), 0);
  const auto& segs = paths()[0]->state.segments;
  EXPECT_EQ(segs[0].out, segs[0].anchor);
  EXPECT_NE(segs[1].out, segs[1].anchor) << "the next anchor asks for the sine again";
}

TEST_F(PathWrites, MovingByZeroNeedsNoCallUnlessAZeroIsNegative) {
  SpiralParameters p = record();
  host().gate().setLogging(true);
  ASSERT_EQ(generateSpirals(p), 0);
  EXPECT_EQ(calls(kRealMathSuite, "PointInterpolate"), 0) << "an amount of 0 moves nothing";
  const std::vector<host::Segment> still = paths().back()->state.segments;

  // Arm 0's bottom anchor lies at x = -0 + -0 (a -0 centre, a shift of 0
  // times a negative step): the host's answer for it is +0.
  host().beginMessage();
  host().gate().clearLog();
  p.centerX = -0.0f;
  p.pointShiftX = -1;
  ASSERT_EQ(generateSpirals(p), 0);
  EXPECT_EQ(calls(kRealMathSuite, "PointInterpolate"), 1);

  host().beginMessage();
  host().gate().clearLog();
  p = record();
  p.interpolationAmount = 50;
  ASSERT_EQ(generateSpirals(p), 0);
  EXPECT_EQ(calls(kRealMathSuite, "PointInterpolate"), 40);
  const auto& halfway = paths().back()->state.segments;
  EXPECT_FLOAT_EQ(halfway[1].anchor.y, still[1].anchor.y / 2) << "half way to the centre (0, 0)";
}

// ---- The base transform ---------------------------------------------------------

class BaseTransform : public PathWrites {
 protected:
  // A path of the given segments, written through the host, and the same
  // segments as the generator's copy.
  ArtHandle makePath(const std::vector<PathSegment>& segments) {
    ArtHandle art = nullptr;
    EXPECT_EQ(gArtSuite->NewArt(kPathArt, kPlaceAboveAll, nullptr, &art), 0);
    EXPECT_EQ(gPathSuite->SetPathSegments(art, 0, static_cast<int16_t>(segments.size()), segments.data()), 0);
    built.segments = segments;
    built.exact = true;
    built.plain = true;
    for (const PathSegment& s : segments) built.plain &= coordinates::plain(s, PathBuffer::kPlainBound);
    return art;
  }
  SpiralRun runOf(const SpiralParameters& p) {
    SpiralRun run;
    convertParameters(p, run);
    return run;
  }
  PathBuffer built;
  SpiralParameters p = record();
};

PathSegment at(float x, float y) { return {{x, y}, {x - 1, y}, {x + 1, y}, 0}; }

// Arm 0's bottom anchor lies at x = centre + shift: -0 + -0 when the centre
// is -0 and the shift 0 times a negative step. Moved by t = -0 towards the
// centre it stays -0, and only the base transform (the identity here) makes
// it +0, so the transform must still run.
TEST_F(PathWrites, ANegativeZeroAnchorStillTakesTheIdentityTransform) {
  SpiralParameters p = record();
  p.pointShiftX = -1;
  p.interpolationAmount = -0.0f;
  host().gate().setLogging(true);
  p.centerX = 0.0f;
  ASSERT_EQ(generateSpirals(p), 0);
  EXPECT_EQ(calls(kTransformArtSuite, "TransformArt"), 0) << "nothing to change: no transform";

  host().beginMessage();
  host().gate().clearLog();
  p.centerX = -0.0f;
  ASSERT_EQ(generateSpirals(p), 0);
  EXPECT_EQ(calls(kTransformArtSuite, "TransformArt"), 1);
  const auto all = paths();
  const host::Segment& bottom = all.back()->state.segments[3];
  EXPECT_EQ(bottom.anchor.x, 0.0f);
  EXPECT_FALSE(std::signbit(bottom.anchor.x));
}

TEST_F(BaseTransform, TheIdentityIsLeftOutWhenItChangesNothing) {
  const ArtHandle art = makePath({at(1, 2), at(30, -40)});
  host().gate().setLogging(true);
  const SpiralRun run = runOf(p);
  ASSERT_EQ(applySpiralTransforms(run, art, &built), 0);
  EXPECT_EQ(calls(kTransformArtSuite, "TransformArt"), 0);
  EXPECT_EQ(calls(kArtSuite, "GetArtBounds"), 0);
}

TEST_F(BaseTransform, ANegativeZeroAHostRefusalOrAScaleStillTransform) {
  const SpiralRun plain = runOf(p);
  {
    const ArtHandle art = makePath({at(1, 2), at(-0.0f, 5)});
    host().gate().setLogging(true);
    ASSERT_EQ(applySpiralTransforms(plain, art, &built), 0);
    EXPECT_EQ(calls(kTransformArtSuite, "TransformArt"), 1);
    EXPECT_FALSE(std::signbit(document().art(artIdOf(art))->state.segments[1].anchor.x)) << "the host made it +0";
  }
  {
    const ArtHandle art = makePath({at(1, 2)});
    built.exact = false;
    host().gate().clearLog();
    ASSERT_EQ(applySpiralTransforms(plain, art, &built), 0);
    EXPECT_EQ(calls(kTransformArtSuite, "TransformArt"), 1);
    host().gate().clearLog();
    ASSERT_EQ(applySpiralTransforms(plain, art, nullptr), 0);
    EXPECT_EQ(calls(kTransformArtSuite, "TransformArt"), 1);
  }
  {
    const ArtHandle art = makePath({at(1, 2), at(3, 4)});
    p.scaleH = 200;
    const SpiralRun scaled = runOf(p);
    host().gate().clearLog();
    ASSERT_EQ(applySpiralTransforms(scaled, art, &built), 0);
    EXPECT_EQ(calls(kTransformArtSuite, "TransformArt"), 1);
    EXPECT_EQ(document().art(artIdOf(art))->state.segments[1].anchor.x, 4) << "doubled about the curve's centre x = 2";
  }
}

}  // namespace
