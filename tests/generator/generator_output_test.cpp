// The output order of a finished spiral: transforms, mirrored and sketch
// copies, styling, symbols, layers, warps and drop shadows, run against the
// stand-in host with scripted random draws.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <vector>

#include "generator/extras.h"
#include "generator/generate_spirals.h"
#include "generator/output_order.h"
#include "generator/spiral_run.h"
#include "generator/styling.h"
#include "generator/transforms.h"
#include "hostapp/records/record_file.h"
#include "params/record/default_parameters.h"
#include "support/call_rules.h"
#include "support/compare.h"
#include "support/host_fixture.h"

namespace {

constexpr float kW = 612, kH = 792;
constexpr float kTol = 1e-3f;

// A small open path with handles sticking out on every side, so mirror
// images and moves show in every coordinate.
std::vector<PathSegment> samplePath(float dx = 0, float dy = 0) {
  auto seg = [&](float x, float y, float ix, float iy, float ox, float oy) {
    return PathSegment{{x + dx, y + dy}, {ix + dx, iy + dy}, {ox + dx, oy + dy}, 0};
  };
  return {seg(100, 100, 100, 100, 120, 140), seg(160, 180, 140, 185, 190, 170),
          seg(230, 120, 220, 150, 230, 120)};
}

// Every anchor and handle of `got` is f(the same point of `want`).
template <typename F>
void expectMapped(const std::vector<PathSegment>& got, const std::vector<PathSegment>& want, F f) {
  ASSERT_EQ(got.size(), want.size());
  for (size_t k = 0; k < got.size(); ++k) {
    EXPECT_POINT_NEAR(got[k].p, f(want[k].p), kTol) << "anchor of segment " << k;
    EXPECT_POINT_NEAR(got[k].in, f(want[k].in), kTol) << "in handle of segment " << k;
    EXPECT_POINT_NEAR(got[k].out, f(want[k].out), kTol) << "out handle of segment " << k;
  }
}

HostPoint same(HostPoint p) { return p; }

class OutputTest : public HostFixture {
 protected:
  void SetUp() override {
    HostFixture::SetUp();
    p = defaultParameters(300, 500);
    // The defaults switch these on; the tests that need them switch them on.
    p.randomSketchShift = 0;
    p.randomSketchWidth = 0;
  }

  SpiralRun makeRun() {
    SpiralRun run;
    run.pageWidth = kW;
    run.pageHeight = kH;
    run.swatchCount = gSwatchListSuite->CountSwatches(nullptr);
    EXPECT_EQ(gArtStyleSuite->CountArtStyles(&run.artStyleCount), kHostNoErr);
    convertParameters(p, run);
    return run;
  }

  ArtHandle makePath(const std::vector<PathSegment>& segments) {
    ArtHandle art = nullptr;
    EXPECT_EQ(gArtSuite->NewArt(kPathArt, kPlaceAboveAll, nullptr, &art), kHostNoErr);
    for (size_t k = 0; k < segments.size(); ++k) {
      EXPECT_EQ(gPathSuite->SetPathSegments(art, static_cast<int16_t>(k), 1, &segments[k]), kHostNoErr);
    }
    return art;
  }

  std::vector<PathSegment> segmentsOf(ArtHandle art) {
    int16_t n = 0;
    EXPECT_EQ(gPathSuite->GetPathSegmentCount(art, &n), kHostNoErr);
    std::vector<PathSegment> out(n);
    for (int16_t k = 0; k < n; ++k) EXPECT_EQ(gPathSuite->GetPathSegments(art, k, 1, &out[k]), kHostNoErr);
    return out;
  }

  PathStyle styleOf(ArtHandle art) {
    PathStyle s{};
    EXPECT_EQ(gPathStyleSuite->GetPathStyle(art, &s), kHostNoErr);
    return s;
  }

  void setStyle(ArtHandle art, const PathStyle& s) {
    ASSERT_EQ(gPathStyleSuite->SetPathStyle(art, &s), kHostNoErr);
  }

  HostRect boundsOf(ArtHandle art) {
    HostRect r{};
    EXPECT_EQ(gArtSuite->GetArtBounds(art, &r), kHostNoErr);
    return r;
  }

  // Art of the layer receiving new art, bottom first, as plug-in handles.
  std::vector<ArtHandle> paintOrder() {
    std::vector<ArtHandle> out;
    for (host::ArtId id : document().paintOrder(document().currentLayer())) out.push_back(handleOf(id));
    return out;
  }

  HostErr finish(ArtHandle spiral, HostPoint centre = {0, 0}) {
    const SpiralRun run = makeRun();
    return finishSpiral(run, spiral, centre);
  }

  std::uint64_t draws() { return host().random().drawCount(); }

  SpiralParameters p{};
};

HostPoint mirrorX(HostPoint q) { return {kW - q.h, q.v}; }
HostPoint mirrorY(HostPoint q) { return {q.h, kH - q.v}; }
HostPoint mirrorXY(HostPoint q) { return {kW - q.h, kH - q.v}; }

}  // namespace

// ---- Transforms --------------------------------------------------------------

TEST_F(OutputTest, IdentityBaseTransformLeavesTheSpiralInPlace) {
  ArtHandle spiral = makePath(samplePath());
  scriptRandom({});
  ASSERT_EQ(finish(spiral), kHostNoErr);
  const std::vector<PathSegment> got = segmentsOf(spiral);
  const std::vector<PathSegment> want = samplePath();
  for (size_t k = 0; k < got.size(); ++k) {
    EXPECT_FLOAT_EQ(got[k].p.h, want[k].p.h);
    EXPECT_FLOAT_EQ(got[k].p.v, want[k].p.v);
    EXPECT_FLOAT_EQ(got[k].out.h, want[k].out.h);
    EXPECT_FLOAT_EQ(got[k].in.v, want[k].in.v);
  }
  EXPECT_EQ(draws(), 0u);
  EXPECT_EQ(paintOrder().size(), 1u);
}

TEST_F(OutputTest, BaseTransformMirrorsAndTurnsAboutTheBoundsCentre) {
  ArtHandle spiral = makePath(samplePath());
  const HostRect before = boundsOf(spiral);
  const HostPoint c = boundsCentre(before);
  p.scaleH = -100;
  ASSERT_EQ(finish(spiral), kHostNoErr);
  expectMapped(segmentsOf(spiral), samplePath(), [&](HostPoint q) { return HostPoint{2 * c.h - q.h, q.v}; });

  // A quarter turn about the same centre: (x, y) -> (c.x - (y - c.y), c.y + (x - c.x)).
  ArtHandle turned = makePath(samplePath());
  p.scaleH = 100;
  p.spiralAngle = 90;
  ASSERT_EQ(finish(turned), kHostNoErr);
  expectMapped(segmentsOf(turned), samplePath(),
               [&](HostPoint q) { return HostPoint{c.h - (q.v - c.v), c.v + (q.h - c.h)}; });
}

TEST_F(OutputTest, RandomTransformsDrawInOrderAndActAboutTheNewCentre) {
  ArtHandle spiral = makePath(samplePath());
  p.randomAngle = p.jitterCenter = p.randomScaling = p.jitterScaling = 1;
  // Angle 0; jitter: sign draw 0.7 (-1), 0.5 -> dx -25, sign draw 0.2 (+1),
  // 0.4 -> dy 20; scaling 0.99 -> 1.0; jitter scaling 0 -> 1, sign draw.
  scriptRandom({0.0f, 0.7f, 0.5f, 0.2f, 0.4f, 0.99f, 0.0f, 0.9f});
  ASSERT_EQ(finish(spiral), kHostNoErr);
  EXPECT_EQ(draws(), 8u);
  expectMapped(segmentsOf(spiral), samplePath(), [](HostPoint q) { return HostPoint{q.h - 25, q.v + 20}; });

  // Scaling 0.49 -> 0.5 and jitter 0.1·0.5 negated -> 0.95, both about the
  // bounds centre.
  ArtHandle scaled = makePath(samplePath());
  p.randomAngle = p.jitterCenter = 0;
  const HostPoint c = boundsCentre(boundsOf(scaled));
  scriptRandom({0.49f, 0.5f, 0.8f});
  ASSERT_EQ(finish(scaled), kHostNoErr);
  EXPECT_EQ(draws(), 3u);
  expectMapped(segmentsOf(scaled), samplePath(), [&](HostPoint q) {
    return HostPoint{c.h + 0.475f * (q.h - c.h), c.v + 0.475f * (q.v - c.v)};
  });
}

// ---- Mirrored copies -----------------------------------------------------------

TEST_F(OutputTest, MirroredCopiesReflectAboutThePageCentre) {
  ArtHandle spiral = makePath(samplePath());
  p.basicPattern = 1;
  ASSERT_EQ(finish(spiral), kHostNoErr);
  const std::vector<ArtHandle> order = paintOrder();
  ASSERT_EQ(order.size(), 4u);
  EXPECT_EQ(order[0], spiral);
  expectMapped(segmentsOf(order[1]), samplePath(), mirrorX);
  expectMapped(segmentsOf(order[2]), samplePath(), mirrorXY);
  expectMapped(segmentsOf(order[3]), samplePath(), mirrorY);
  EXPECT_EQ(draws(), 0u);
}

TEST_F(OutputTest, MirroredCopiesOfACentredSpiralLieOnItsPlace) {
  // Bounds centred on (W/2, H/2).
  std::vector<PathSegment> centred = samplePath();
  const HostPoint c0 = boundsCentre([&] {
    ArtHandle probe = makePath(centred);
    return boundsOf(probe);
  }());
  document().undoMessage();
  centred = samplePath(kW / 2 - c0.h, kH / 2 - c0.v);
  ArtHandle spiral = makePath(centred);
  const HostRect place = boundsOf(spiral);
  ASSERT_EQ(makeMirrorCopies(spiral, kW / 2, kH / 2), kHostNoErr);
  const std::vector<ArtHandle> order = paintOrder();
  ASSERT_EQ(order.size(), 4u);
  for (int i = 1; i <= 3; ++i) {
    const HostRect r = boundsOf(order[i]);
    EXPECT_NEAR(r.left, place.left, kTol) << "copy " << i;
    EXPECT_NEAR(r.right, place.right, kTol) << "copy " << i;
    EXPECT_NEAR(r.top, place.top, kTol) << "copy " << i;
    EXPECT_NEAR(r.bottom, place.bottom, kTol) << "copy " << i;
  }
  // Flipped: the first copy runs right to left, the third upside down.
  expectMapped(segmentsOf(order[1]), centred, mirrorX);
  expectMapped(segmentsOf(order[3]), centred, mirrorY);
}

// ---- Drop shadow ---------------------------------------------------------------

TEST_F(OutputTest, ShadowLiesBelowAndItsCopiesComeBeforeTheSpiralsOwn) {
  ArtHandle spiral = makePath(samplePath());
  p.dropShadow = 1;
  p.basicPattern = 1;
  ASSERT_EQ(finish(spiral), kHostNoErr);
  const std::vector<ArtHandle> order = paintOrder();
  ASSERT_EQ(order.size(), 8u);
  EXPECT_EQ(order[1], spiral);
  const HostPoint offset{20, -20};
  auto shifted = [&](HostPoint q) { return HostPoint{q.h + offset.h, q.v + offset.v}; };
  expectMapped(segmentsOf(order[0]), samplePath(), shifted);
  // Shadow copies: mirror images of the shadow, black like it.
  expectMapped(segmentsOf(order[2]), samplePath(), [&](HostPoint q) { return mirrorX(shifted(q)); });
  expectMapped(segmentsOf(order[5]), samplePath(), mirrorX);
  const HostColor black{kThreeColor, {0, 0, 0, 0}, nullptr};
  for (int i : {0, 2, 3, 4}) {
    const PathStyle s = styleOf(order[i]);
    EXPECT_EQ(s.fillColor.kind, kThreeColor) << i;
    EXPECT_EQ(s.strokeColor.kind, kThreeColor) << i;
    for (int c = 0; c < 3; ++c) {
      EXPECT_EQ(s.fillColor.c[c], black.c[c]) << i;
      EXPECT_EQ(s.strokeColor.c[c], black.c[c]) << i;
    }
  }
  // The spiral and its own copies keep the white fill of new art.
  for (int i : {1, 5, 6, 7}) EXPECT_EQ(styleOf(order[i]).fillColor.c[0], 1.0f) << i;
}

TEST_F(OutputTest, ShadowRandomOffsetOpacityAndHeight) {
  ArtHandle spiral = makePath(samplePath());
  const HostRect r = boundsOf(spiral);
  p.dropShadow = p.randomShadowAngle = p.randomShadowOpacity = p.randomShadowScale = 1;
  // dx: sign draw 0.7 (-1), 0.5 -> -10; dy: sign draw 0.2 (+1), 0.25 -> -5;
  // opacity 0.3; height times 0.5.
  scriptRandom({0.7f, 0.5f, 0.2f, 0.25f, 0.3f, 0.5f});
  ASSERT_EQ(finish(spiral), kHostNoErr);
  EXPECT_EQ(draws(), 6u);
  ArtHandle shadow = paintOrder()[0];
  ASSERT_NE(shadow, spiral);
  EXPECT_FLOAT_EQ(gBlendStyleSuite->GetOpacity(shadow), 0.3f);
  const HostRect s = boundsOf(shadow);
  EXPECT_NEAR(s.left, r.left - 10, kTol);
  EXPECT_NEAR(s.right, r.right - 10, kTol);
  EXPECT_NEAR(s.bottom, r.bottom - 5, kTol);  // the bottom edge stays where the move put it
  EXPECT_NEAR(s.top - s.bottom, 0.5f * (r.top - r.bottom), kTol);
}

namespace {
class GrayDocumentTest : public OutputTest {
  host::HostOptions hostOptions() const override {
    host::HostOptions o = OutputTest::hostOptions();
    o.colorModel = host::ColorModel::Gray;
    return o;
  }
};
class CmykDocumentTest : public OutputTest {
  host::HostOptions hostOptions() const override {
    host::HostOptions o = OutputTest::hostOptions();
    o.colorModel = host::ColorModel::Cmyk;
    return o;
  }
};
}  // namespace

TEST_F(GrayDocumentTest, PlainShadowIsBlack) {
  ArtHandle spiral = makePath(samplePath());
  p.dropShadow = 1;
  ASSERT_EQ(finish(spiral), kHostNoErr);
  const PathStyle s = styleOf(paintOrder()[0]);
  EXPECT_EQ(s.fillColor.kind, kGrayColor);
  EXPECT_EQ(s.fillColor.c[0], 1.0f);  // gray 1 is black
  EXPECT_EQ(s.strokeColor.kind, kGrayColor);
  EXPECT_EQ(s.strokeColor.c[0], 1.0f);
  EXPECT_TRUE(s.fillPaint && s.strokePaint);
}

TEST_F(CmykDocumentTest, HalfShadowHalvesTheSpiralsColours) {
  ArtHandle spiral = makePath(samplePath());
  PathStyle look = styleOf(spiral);
  look.fillColor = {kFourColor, {0.2f, 0.4f, 0.6f, 0.8f}, nullptr};
  look.strokeColor = {kThreeColor, {1.0f, 0.5f, 0.25f, 0}, nullptr};  // another kind: switched
  look.strokePaint = 0;
  setStyle(spiral, look);
  p.dropShadow = p.halfShadow = 1;
  ASSERT_EQ(finish(spiral), kHostNoErr);
  const PathStyle s = styleOf(paintOrder()[0]);
  EXPECT_EQ(s.fillColor.kind, kFourColor);
  EXPECT_FLOAT_EQ(s.fillColor.c[0], 0.1f);
  EXPECT_FLOAT_EQ(s.fillColor.c[1], 0.2f);
  EXPECT_FLOAT_EQ(s.fillColor.c[2], 0.3f);
  EXPECT_FLOAT_EQ(s.fillColor.c[3], 0.4f);
  EXPECT_EQ(s.strokeColor.kind, kFourColor);
  EXPECT_FLOAT_EQ(s.strokeColor.c[0], 0.5f);
  EXPECT_FLOAT_EQ(s.strokeColor.c[1], 0.25f);
  EXPECT_FLOAT_EQ(s.strokeColor.c[2], 0.125f);
  EXPECT_FALSE(s.strokePaint);  // paint flags as the spiral has them
}

// ---- Sketch copies -------------------------------------------------------------

TEST_F(OutputTest, SketchCopiesWithoutShiftLieOnTheSpiralAsStrokes) {
  ArtHandle spiral = makePath(samplePath());
  p.sketchRepeats = 3;
  p.sketchShift = 0;
  p.sketchWeight = 25;
  p.sketchColorMode = static_cast<int32_t>(SketchColourMode::SameColour);
  const PathStyle original = styleOf(spiral);
  ASSERT_EQ(finish(spiral), kHostNoErr);
  EXPECT_EQ(draws(), 12u);  // two signs and two amounts per copy
  const std::vector<ArtHandle> order = paintOrder();
  ASSERT_EQ(order.size(), 4u);
  for (int i = 1; i <= 3; ++i) {
    expectMapped(segmentsOf(order[i]), samplePath(), same);
    const PathStyle s = styleOf(order[i]);
    EXPECT_FALSE(s.fillPaint);
    EXPECT_TRUE(s.strokePaint);
    EXPECT_FLOAT_EQ(s.strokeWidth, 2.5f);
    EXPECT_EQ(s.strokeColor.kind, original.strokeColor.kind);
    EXPECT_EQ(s.strokeColor.c[0], original.strokeColor.c[0]);
  }
}

TEST_F(OutputTest, SketchCopyMovesAsAWholeAndColoursByItsShift) {
  ArtHandle spiral = makePath(samplePath());
  p.sketchRepeats = 1;
  p.sketchShift = 10;
  p.sketchWeight = 10;
  p.sketchColorMode = static_cast<int32_t>(SketchColourMode::UseShift);
  // sx: sign draw 0.7 (-1) · 0.5 · 10 = -5; sy: sign draw 0.1 (+1) · 0.3 · 10 = 3.
  scriptRandom({0.7f, 0.5f, 0.1f, 0.3f});
  ASSERT_EQ(finish(spiral), kHostNoErr);
  EXPECT_EQ(draws(), 4u);
  ArtHandle copy = paintOrder().back();
  expectMapped(segmentsOf(copy), samplePath(), [](HostPoint q) { return HostPoint{q.h - 5, q.v + 3}; });
  // Out-handle y, anchor y and in-handle x amounts over sketchShift, unclamped.
  const PathStyle s = styleOf(copy);
  EXPECT_EQ(s.strokeColor.kind, kThreeColor);
  EXPECT_FLOAT_EQ(s.strokeColor.c[0], 0.3f);
  EXPECT_FLOAT_EQ(s.strokeColor.c[1], 0.3f);
  EXPECT_FLOAT_EQ(s.strokeColor.c[2], -0.5f);
  EXPECT_FLOAT_EQ(s.strokeWidth, 1.0f);
}

TEST_F(OutputTest, RandomSketchShiftMovesEveryCoordinateOnItsOwn) {
  ArtHandle spiral = makePath(samplePath());
  p.sketchRepeats = 1;
  p.sketchShift = 8;
  p.randomSketchShift = 1;
  p.randomSketchWidth = 1;
  p.sketchWeight = 40;
  p.sketchColorMode = static_cast<int32_t>(SketchColourMode::BlackRandomOpacity);
  // sx = -1 · 0.5 · 8 = -4, sy = +1 · 0.75 · 8 = 6; then a sign and an amount
  // for each of the 18 coordinates; then the opacity and the width.
  std::vector<float> script{0.9f, 0.5f, 0.3f, 0.75f};
  for (int i = 0; i < 18; ++i) {
    script.push_back(i % 3 == 0 ? 0.8f : 0.2f);   // sign
    script.push_back(static_cast<float>(i) / 18);  // amount
  }
  script.push_back(0.4f);   // opacity
  script.push_back(0.25f);  // width 4 · 0.25
  scriptRandom(script);
  ASSERT_EQ(finish(spiral), kHostNoErr);
  EXPECT_EQ(draws(), script.size());
  ArtHandle copy = paintOrder().back();
  const std::vector<PathSegment> got = segmentsOf(copy), want = samplePath();
  // Coordinate order per segment: anchor x, anchor y, in x, in y, out x, out y.
  auto amount = [&](int i, float s) {
    const float sign = (i % 3 == 0) ? -1.0f : 1.0f;
    return sign * s * static_cast<float>(i) / 18;
  };
  for (int k = 0; k < 3; ++k) {
    const int b = 6 * k;
    EXPECT_NEAR(got[k].p.h - want[k].p.h, amount(b, -4), kTol);
    EXPECT_NEAR(got[k].p.v - want[k].p.v, amount(b + 1, 6), kTol);
    EXPECT_NEAR(got[k].in.h - want[k].in.h, amount(b + 2, -4), kTol);
    EXPECT_NEAR(got[k].in.v - want[k].in.v, amount(b + 3, 6), kTol);
    EXPECT_NEAR(got[k].out.h - want[k].out.h, amount(b + 4, -4), kTol);
    EXPECT_NEAR(got[k].out.v - want[k].out.v, amount(b + 5, 6), kTol);
  }
  const PathStyle s = styleOf(copy);
  EXPECT_EQ(s.strokeColor.c[0], 0.0f);  // RGB black
  EXPECT_FLOAT_EQ(gBlendStyleSuite->GetOpacity(copy), 0.4f);
  EXPECT_FLOAT_EQ(s.strokeWidth, 1.0f);
}

TEST_F(OutputTest, SketchCopiesAreMirroredAfterTheSpiralsOwnCopies) {
  ArtHandle spiral = makePath(samplePath());
  p.basicPattern = 1;
  p.sketchRepeats = 2;
  p.sketchShift = 0;
  ASSERT_EQ(finish(spiral), kHostNoErr);
  const std::vector<ArtHandle> order = paintOrder();
  ASSERT_EQ(order.size(), 12u);  // spiral + 3, then (copy + 3) twice
  for (int i : {1, 2, 3}) EXPECT_TRUE(styleOf(order[i]).fillPaint) << i;
  for (int i = 4; i < 12; ++i) EXPECT_FALSE(styleOf(order[i]).fillPaint) << i;
  expectMapped(segmentsOf(order[5]), samplePath(), mirrorX);
  expectMapped(segmentsOf(order[10]), samplePath(), mirrorXY);
}

// Every sketch colour mode, and numbers outside the list, which keep the
// colour as " Use same color as original path" does.
TEST_F(OutputTest, SketchColourChoices) {
  struct Case {
    int32_t mode;
    std::vector<float> script;  // after the four shift draws
    HostColor want;
    float opacity;
  };
  using enum SketchColourMode;
  const auto n = [](SketchColourMode mode) { return static_cast<int32_t>(mode); };
  const HostColor red{kThreeColor, {1, 0.5f, 0.25f, 0}, nullptr};
  HostColor swatch{};  // a draw of 0 picks swatch 2
  ASSERT_EQ(gSwatchListSuite->GetSwatchColor(gSwatchListSuite->GetNthSwatch(nullptr, 2), &swatch), kHostNoErr);
  const std::vector<Case> cases{
      {n(Black), {}, {kThreeColor, {0, 0, 0, 0}, nullptr}, 0.5f},
      {n(SameColour), {}, red, 0.5f},
      {n(RandomColour), {0.1f, 0.2f, 0.3f}, {kThreeColor, {0.1f, 0.2f, 0.3f, 0}, nullptr}, 0.5f},
      {n(RandomSwatch), {0.0f}, swatch, 0.5f},
      {n(Reduced), {}, {kThreeColor, {0.8f, 0.4f, 0.2f, 0}, nullptr}, 0.5f},
      {n(RandomReduced), {0.4f}, red, 0.5f},
      {n(RandomBlackOrColour), {0.6f}, {kThreeColor, {0, 0, 0, 0}, nullptr}, 0.5f},
      {n(RandomBlackOrColour), {0.4f, 0.7f, 0.8f, 0.9f}, {kThreeColor, {0.7f, 0.8f, 0.9f, 0}, nullptr}, 0.5f},
      {n(UseShift), {}, {kThreeColor, {0, 0, 0, 0}, nullptr}, 0.5f},  // sketchShift 0: black
      {n(BlackRandomOpacity), {0.3f}, {kThreeColor, {0, 0, 0, 0}, nullptr}, 0.3f},
      {n(RandomColourRandomOpacity), {0.3f, 0.1f, 0.2f, 0.3f}, {kThreeColor, {0.1f, 0.2f, 0.3f, 0}, nullptr}, 0.3f},
      {n(ReducingOpacity), {}, red, 0.4f},
      {n(WhiteRandomOpacity), {0.6f}, {kThreeColor, {1, 1, 1, 0}, nullptr}, 0.6f},
      {-1, {}, red, 0.5f},
      {ChoiceTable<SketchColourMode>::count, {}, red, 0.5f},
  };
  std::set<int32_t> covered;
  for (const Case& c : cases) covered.insert(c.mode);
  for (int32_t mode = 0; mode < ChoiceTable<SketchColourMode>::count; ++mode)
    EXPECT_TRUE(covered.count(mode)) << "no case for " << ChoiceTable<SketchColourMode>::names[mode];
  for (const Case& c : cases) {
    document().undoMessage();
    ArtHandle spiral = makePath(samplePath());
    PathStyle look = styleOf(spiral);
    look.strokeColor = red;
    setStyle(spiral, look);
    ASSERT_EQ(gBlendStyleSuite->SetOpacity(spiral, 0.5f), kHostNoErr);
    p.sketchRepeats = 1;
    p.sketchShift = 0;
    p.sketchColorMode = c.mode;
    std::vector<float> script{0.1f, 0.1f, 0.1f, 0.1f};
    script.insert(script.end(), c.script.begin(), c.script.end());
    scriptRandom(script);
    ASSERT_EQ(finish(spiral), kHostNoErr);
    EXPECT_EQ(draws(), script.size()) << "mode " << c.mode;
    ArtHandle copy = paintOrder().back();
    const PathStyle s = styleOf(copy);
    for (int i = 0; i < 3; ++i) EXPECT_FLOAT_EQ(s.strokeColor.c[i], c.want.c[i]) << "mode " << c.mode << " component " << i;
    EXPECT_FLOAT_EQ(gBlendStyleSuite->GetOpacity(copy), c.opacity) << "mode " << c.mode;
  }
}

// ---- Styling of the spiral -------------------------------------------------------

TEST_F(CmykDocumentTest, RandomStrokeClearsBlackAndRandomFillKeepsIt) {
  ArtHandle spiral = makePath(samplePath());
  PathStyle look = styleOf(spiral);
  look.fillColor = {kFourColor, {0, 0, 0, 0.7f}, nullptr};
  look.strokeColor = {kFourColor, {0, 0, 0, 0.7f}, nullptr};
  setStyle(spiral, look);
  p.randomFill = p.randomStroke = 1;
  scriptRandom({0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f});
  ASSERT_EQ(finish(spiral), kHostNoErr);
  EXPECT_EQ(draws(), 6u);
  const PathStyle s = styleOf(spiral);
  EXPECT_FLOAT_EQ(s.fillColor.c[0], 0.1f);
  EXPECT_FLOAT_EQ(s.fillColor.c[2], 0.3f);
  EXPECT_FLOAT_EQ(s.fillColor.c[3], 0.7f);
  EXPECT_FLOAT_EQ(s.strokeColor.c[0], 0.4f);
  EXPECT_FLOAT_EQ(s.strokeColor.c[2], 0.6f);
  EXPECT_FLOAT_EQ(s.strokeColor.c[3], 0.0f);
}

TEST_F(OutputTest, WidthOpacityAndJittersDrawInOrder) {
  ArtHandle spiral = makePath(samplePath());
  PathStyle look = styleOf(spiral);
  look.fillColor = {kThreeColor, {0.95f, 0.5f, 0.02f, 0}, nullptr};
  look.strokeColor = {kThreeColor, {0.5f, 0.5f, 0.5f, 0}, nullptr};
  look.strokeWidth = 4;
  setStyle(spiral, look);
  p.randomWidth = p.randomOpacity = p.jitterFill = p.jitterStroke = p.jitterWidth = 1;
  scriptRandom({0.5f,                                      // width 4 · 0.5 = 2
                0.25f,                                     // opacity
                0.9f, 0.2f, 0.5f, 0.9f, 0.9f, 0.9f,        // fill: +0.09 (clamped), -0.05, -0.09 (clamped)
                0.1f, 0.1f, 0.2f, 0.1f, 0.3f, 0.1f,        // stroke: +0.01, +0.02, +0.03
                0.5f, 0.9f});                              // width 2 - 1.5
  ASSERT_EQ(finish(spiral), kHostNoErr);
  EXPECT_EQ(draws(), 16u);
  const PathStyle s = styleOf(spiral);
  EXPECT_FLOAT_EQ(gBlendStyleSuite->GetOpacity(spiral), 0.25f);
  EXPECT_FLOAT_EQ(s.fillColor.c[0], 1.0f);
  EXPECT_FLOAT_EQ(s.fillColor.c[1], 0.45f);
  EXPECT_FLOAT_EQ(s.fillColor.c[2], 0.0f);
  EXPECT_FLOAT_EQ(s.strokeColor.c[0], 0.51f);
  EXPECT_FLOAT_EQ(s.strokeColor.c[1], 0.52f);
  EXPECT_FLOAT_EQ(s.strokeColor.c[2], 0.53f);
  EXPECT_FLOAT_EQ(s.strokeWidth, 0.5f);
}

TEST_F(OutputTest, SwatchAndStylePicks) {
  ArtHandle spiral = makePath(samplePath());
  PathStyle look = styleOf(spiral);
  look.fillPaint = look.strokePaint = 0;
  setStyle(spiral, look);
  p.randomFillSwatch = p.randomStrokeSwatch = 1;
  const int32_t n = gSwatchListSuite->CountSwatches(nullptr);
  ASSERT_GE(n, 4);
  // r = 0 would pick index 1, which is never used: index 2. Then ⌊0.5·n⌋ + 1.
  scriptRandom({0.0f, 0.5f});
  ASSERT_EQ(finish(spiral), kHostNoErr);
  const PathStyle s = styleOf(spiral);
  HostColor two{}, mid{};
  ASSERT_EQ(gSwatchListSuite->GetSwatchColor(gSwatchListSuite->GetNthSwatch(nullptr, 2), &two), kHostNoErr);
  ASSERT_EQ(gSwatchListSuite->GetSwatchColor(gSwatchListSuite->GetNthSwatch(nullptr, n / 2 + 1), &mid), kHostNoErr);
  EXPECT_TRUE(s.fillPaint && s.strokePaint);
  EXPECT_EQ(s.fillColor.kind, two.kind);
  EXPECT_EQ(s.fillColor.c[0], two.c[0]);
  EXPECT_EQ(s.strokeColor.kind, mid.kind);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(s.strokeColor.c[i], mid.c[i]);

  // "Style [R]": r = 0 asks for index 1.
  ArtHandle styled = makePath(samplePath());
  p.randomFillSwatch = p.randomStrokeSwatch = 0;
  p.randomStyle = 1;
  scriptRandom({0.0f});
  ASSERT_EQ(finish(styled), kHostNoErr);
  const host::GraphicStyle& one = document().graphicStyles().at(1);
  const PathStyle t = styleOf(styled);
  EXPECT_EQ(t.strokeWidth, one.paint.strokeWidth);
  EXPECT_EQ(t.fillPaint != 0, one.paint.fillPaint);
  EXPECT_EQ(t.strokePaint != 0, one.paint.strokePaint);
}

TEST_F(OutputTest, PickedSwatchPastTheListKeepsTheColour) {
  ArtHandle spiral = makePath(samplePath());
  const PathStyle before = styleOf(spiral);
  p.randomFillSwatch = 1;
  scriptRandom({0.9999f});  // k = N: one past the last index
  ASSERT_EQ(finish(spiral), kHostNoErr);
  const PathStyle s = styleOf(spiral);
  EXPECT_EQ(s.fillColor.kind, before.fillColor.kind);
  EXPECT_EQ(s.fillColor.c[0], before.fillColor.c[0]);
}

// ---- Symbols, warps and layers -----------------------------------------------------

TEST_F(OutputTest, WarpPutsTheSpiralInAnEnvelopeCentredOnItsCentre) {
  ArtHandle spiral = makePath(samplePath());
  p.randomWarp = 1;
  // Rectangle; k = ⌊18 · 0.5⌋ = 9; bend -0.5, horizontal 0.25, vertical
  // -0.75; rotate.
  scriptRandom({0.7f, 0.5f, 0.7f, 0.5f, 0.2f, 0.25f, 0.9f, 0.75f, 0.6f});
  const HostPoint centre{400, 300};  // not the bounds centre
  ASSERT_EQ(finish(spiral, centre), kHostNoErr);
  EXPECT_EQ(draws(), 9u);
  const host::Art* held = document().art(artIdOf(spiral));
  ASSERT_NE(held, nullptr);
  ASSERT_NE(held->links.container, host::kNoArt);
  const host::Art* env = document().art(held->links.container);
  ASSERT_EQ(env->kind, host::ArtKind::Envelope);
  const host::EnvelopeData& e = env->state.envelope;
  EXPECT_EQ(e.deformOptions, 0);
  EXPECT_EQ(e.fidelity, 50);
  EXPECT_EQ(e.warp.style, 9);
  EXPECT_FLOAT_EQ(e.warp.bend, -0.5f);
  EXPECT_FLOAT_EQ(e.warp.horizontal, 0.25f);
  EXPECT_FLOAT_EQ(e.warp.vertical, -0.75f);
  EXPECT_TRUE(e.warp.rotate);
  const HostRect shape = boundsOf(handleOf(e.shape));
  EXPECT_NEAR(shape.left, 300, kTol);
  EXPECT_NEAR(shape.right, 500, kTol);
  EXPECT_NEAR(shape.bottom, 200, kTol);
  EXPECT_NEAR(shape.top, 400, kTol);
  // A rectangle: its handles lie on its anchors.
  for (const PathSegment& s : segmentsOf(handleOf(e.shape))) {
    EXPECT_EQ(s.in.h, s.p.h);
    EXPECT_EQ(s.out.v, s.p.v);
  }
}

TEST_F(OutputTest, WarpDrawsItsStyleFromZeroToSeventeen) {
  p.randomWarp = 1;
  struct Case {
    float r;        // k = ⌊18·r⌋
    int32_t style;  // the warp given, 0 for none
  };
  for (const Case c : {Case{0.0f, 0}, Case{0.056f, 1}, Case{0.87f, 15}, Case{0.9f, 0}, Case{0.999f, 0}}) {
    ArtHandle spiral = makePath(samplePath());
    std::vector<float> script{0.3f, c.r};  // ellipse, then k
    if (c.style) script.insert(script.end(), {0.1f, 0.2f, 0.1f, 0.4f, 0.1f, 0.6f, 0.3f});
    scriptRandom(script);
    ASSERT_EQ(finish(spiral, {100, 100}), kHostNoErr);
    EXPECT_EQ(draws(), script.size()) << "r " << c.r;
    const host::Art* env = document().art(document().art(artIdOf(spiral))->links.container);
    ASSERT_NE(env, nullptr);
    EXPECT_EQ(env->state.envelope.warp.style, c.style) << "r " << c.r;
    if (c.style) {
      EXPECT_FLOAT_EQ(env->state.envelope.warp.bend, 0.2f);
      EXPECT_FALSE(env->state.envelope.warp.rotate);
    }
    // An ellipse: handles off the anchors.
    const std::vector<PathSegment> shape = segmentsOf(handleOf(env->state.envelope.shape));
    ASSERT_FALSE(shape.empty());
    EXPECT_NE(shape[0].out.v, shape[0].p.v);
  }
}

TEST_F(OutputTest, ShadowAndCopiesOfAWarpedSpiralAreOfTheSpiral) {
  ArtHandle spiral = makePath(samplePath());
  p.randomWarp = p.dropShadow = p.basicPattern = 1;
  scriptRandom({0.7f, 0.0f});  // rectangle, no warp style
  ASSERT_EQ(finish(spiral, {150, 140}), kHostNoErr);
  const std::vector<ArtHandle> order = paintOrder();
  // Shadow, the envelope, three shadow copies, three spiral copies.
  ASSERT_EQ(order.size(), 8u);
  expectMapped(segmentsOf(order[0]), samplePath(), [](HostPoint q) { return HostPoint{q.h + 20, q.v - 20}; });
  expectMapped(segmentsOf(order[5]), samplePath(), mirrorX);
}

TEST_F(OutputTest, SymbolizeAndNewLayerThroughAWholeRun) {
  p.symbolize = 1;
  p.newLayer = 1;
  p.spiralCount = 5;
  p.fromGo = 1;
  const size_t layersBefore = document().layers().size();
  ASSERT_EQ(generateSpirals(p), kHostNoErr);
  EXPECT_EQ(document().symbols().size(), 5u);
  EXPECT_EQ(document().layers().size(), layersBefore + 1);
  EXPECT_EQ(document().currentLayer(), document().layers().back().id);
  const std::vector<ArtHandle> order = paintOrder();
  ASSERT_EQ(order.size(), 5u);  // the spirals stay as plain art in the new layer
  for (ArtHandle a : order) {
    int16_t type = 0;
    ASSERT_EQ(gArtSuite->GetArtType(a, &type), kHostNoErr);
    EXPECT_EQ(type, kPathArt);
  }
  EXPECT_EQ(document().symbols()[2].paths.size(), 1u);
}

TEST_F(OutputTest, RunLayerOnlyWhenAsked) {
  const size_t before = document().layers().size();
  p.newLayer = 0;
  ASSERT_EQ(addRunLayer(p), kHostNoErr);
  EXPECT_EQ(document().layers().size(), before);
  p.newLayer = 1;
  ASSERT_EQ(addRunLayer(p), kHostNoErr);
  EXPECT_EQ(document().layers().size(), before + 1);
}

// ---- Failures ----------------------------------------------------------------------

TEST_F(OutputTest, FailingDuplicateEndsTheRunAndKeepsTheArt) {
  ArtHandle spiral = makePath(samplePath());
  p.dropShadow = 1;
  p.basicPattern = 1;
  p.sketchRepeats = 2;
  host().gate().failOperation(kArtSuite, "DuplicateArt", 0x64757021);
  EXPECT_EQ(finish(spiral), 0x64757021);
  ASSERT_EQ(paintOrder().size(), 1u);
  expectMapped(segmentsOf(spiral), samplePath(), same);
  EXPECT_EQ(draws(), 0u);  // nothing after the shadow's duplicate ran
}

TEST_F(OutputTest, FailingBoundsReadOfAMirrorCopyEndsTheRun) {
  // Find the call number of the bounds read that follows the first
  // duplicate, then fail exactly that call.
  ArtHandle spiral = makePath(samplePath());
  p.basicPattern = 1;
  host().gate().setLogging(true);
  host().gate().clearLog();
  ASSERT_EQ(finish(spiral), kHostNoErr);
  const auto& log = host().gate().log();
  size_t duplicate = 0;
  while (duplicate < log.size() && std::string(log[duplicate].operation) != "DuplicateArt") ++duplicate;
  ASSERT_LT(duplicate + 1, log.size());
  ASSERT_STREQ(log[duplicate + 1].operation, "GetArtBounds");

  // The bounds read right after the copy is made fails.
  document().undoMessage();
  ArtHandle again = makePath(samplePath());
  host().gate().setFailureRule(failNextCallAfter("DuplicateArt", "GetArtBounds", 0x626E6421));
  EXPECT_EQ(finish(again), 0x626E6421);
  const std::vector<ArtHandle> order = paintOrder();
  ASSERT_EQ(order.size(), 2u);  // the spiral and the first copy, unmoved
  expectMapped(segmentsOf(order[1]), samplePath(), same);
}

TEST_F(OutputTest, UntestedCallsLetTheRunGoOn) {
  ArtHandle spiral = makePath(samplePath());
  p.randomFill = 1;
  p.dropShadow = 1;
  host().gate().failOperation(kPathStyleSuite, "GetPathStyle", 0x73747921);
  host().gate().failOperation(kDocumentSuite, "GetDocumentColorModel", 0x73747921);
  ASSERT_EQ(finish(spiral), kHostNoErr);
  host().gate().clearFailures();
  ASSERT_EQ(paintOrder().size(), 2u);
  // A style that could not be read is not written back.
  EXPECT_EQ(styleOf(spiral).fillColor.c[0], 1.0f);
  EXPECT_EQ(styleOf(paintOrder()[0]).fillColor.c[0], 1.0f);
}

TEST_F(OutputTest, FailedShapeConstructionEndsTheRunAtTheEnvelope) {
  ArtHandle spiral = makePath(samplePath());
  p.randomWarp = 1;
  host().gate().failOperation(kShapeConstructionSuite, "NewCenteredRect", 0x73687021);
  host().gate().failOperation(kShapeConstructionSuite, "NewCenteredOval", 0x73687021);
  const HostErr err = finish(spiral, {100, 100});
  EXPECT_NE(err, kHostNoErr);
  EXPECT_NE(err, 0x73687021);  // the envelope creation's own code
  EXPECT_EQ(document().art(artIdOf(spiral))->links.container, host::kNoArt);
}

TEST_F(OutputTest, FailingArtStyleFetchEndsTheRun) {
  ArtHandle spiral = makePath(samplePath());
  p.randomStyle = 1;
  p.basicPattern = 1;
  host().gate().failOperation(kArtStyleSuite, "GetNthArtStyle", 0x73747921);
  EXPECT_EQ(finish(spiral), 0x73747921);
  EXPECT_EQ(paintOrder().size(), 1u);
}
