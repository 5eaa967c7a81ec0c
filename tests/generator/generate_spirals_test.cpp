#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "generator/generate_spirals.h"
#include "hostapp/records/record_file.h"
#include "params/record/default_parameters.h"
#include "support/host_fixture.h"

namespace {

class GenerateSpirals : public HostFixture {
 protected:
  SpiralParameters record() const {
    SpiralParameters p = defaultParameters(100, 0);  // centre (0, 0)
    p.fromGo = 1;
    return p;
  }

  // The paths on the page, bottom first.
  std::vector<const host::Art*> paths() {
    std::vector<const host::Art*> out;
    for (const host::Layer& layer : document().layers())
      document().forEachInPaintOrder(layer.id, [&](const host::Art& a) { out.push_back(&a); });
    return out;
  }

  const std::vector<host::Segment>& onlyPath() {
    const auto all = paths();
    EXPECT_EQ(all.size(), 1u);
    return all.front()->state.segments;
  }
};

float radiusOf(const host::Segment& s) { return std::hypot(s.anchor.x, s.anchor.y); }

TEST_F(GenerateSpirals, DefaultsDrawOneOpenPathOf40SmoothAnchors) {
  SpiralParameters p = record();
  ASSERT_EQ(generateSpirals(p), 0);
  const auto all = paths();
  ASSERT_EQ(all.size(), 1u);
  EXPECT_FALSE(all[0]->state.closed);
  const auto& segs = all[0]->state.segments;
  ASSERT_EQ(segs.size(), 40u);
  EXPECT_EQ(segs.front().in, segs.front().anchor) << "first in handle retracted";
  EXPECT_EQ(segs.back().out, segs.back().anchor) << "last out handle retracted";
  EXPECT_NE(segs.front().out, segs.front().anchor);
  for (const auto& s : segs) EXPECT_FALSE(s.corner);
  // Each anchor is 0.95 of the previous one's distance.
  for (std::size_t i = 1; i < segs.size(); ++i)
    EXPECT_NEAR(radiusOf(segs[i]) / radiusOf(segs[i - 1]), 0.95, 1e-4) << i;
  EXPECT_NEAR(segs[4].anchor.x, 162.90f, 0.01);
  EXPECT_EQ(document().redrawCount(), 0u) << "Go asks for no redraw";
  EXPECT_EQ(p.previewDrawn, 0);
}

TEST_F(GenerateSpirals, ThreePointsSkipsTheBottomAnchorAndItsGrowthStep) {
  SpiralParameters p = record();
  p.threePoints = 1;
  ASSERT_EQ(generateSpirals(p), 0);
  const auto& segs = onlyPath();
  ASSERT_EQ(segs.size(), 30u);
  // Arm 1's right anchor lies where the bottom anchor's radius would have been.
  EXPECT_NEAR(segs[3].anchor.x, 171.475f, 0.01);
  EXPECT_NEAR(segs[3].anchor.y, 0, 1e-4);
}

TEST_F(GenerateSpirals, MaxPointsEndsTheSpiral) {
  SpiralParameters p = record();
  p.maxPoints = 5;
  ASSERT_EQ(generateSpirals(p), 0);
  const auto& segs = onlyPath();
  ASSERT_EQ(segs.size(), 5u);
  EXPECT_NEAR(segs[4].anchor.x, 162.90f, 0.01) << "arm 1's first anchor";
  EXPECT_EQ(segs[4].out, segs[4].anchor);
}

TEST_F(GenerateSpirals, OffsetPassesRunBackAndForth) {
  SpiralParameters p = record();
  p.spiralOffsetX = 10;
  p.offsetCount = 2;
  ASSERT_EQ(generateSpirals(p), 0);
  const auto& segs = onlyPath();
  ASSERT_EQ(segs.size(), 120u);
  for (int d = 0; d < 40; ++d) {
    const host::Segment& main = segs[d];
    const host::Segment& back = segs[40 + (39 - d)];
    const host::Segment& fwd = segs[80 + d];
    EXPECT_FLOAT_EQ(back.anchor.x, main.anchor.x + 10) << d;
    EXPECT_FLOAT_EQ(back.anchor.y, main.anchor.y) << d;
    EXPECT_FLOAT_EQ(back.in.x, main.out.x + 10) << "backward passes swap the handles";
    EXPECT_FLOAT_EQ(back.out.y, main.in.y);
    EXPECT_FLOAT_EQ(fwd.anchor.x, main.anchor.x + 20) << d;
    EXPECT_FLOAT_EQ(fwd.in.y, main.in.y);
  }
}

TEST_F(GenerateSpirals, PointFactorScalesTheOffsetAlongAPass) {
  SpiralParameters p = record();
  p.spiralOffsetY = 8;
  p.pointFactor = 500;
  ASSERT_EQ(generateSpirals(p), 0);
  const auto& segs = onlyPath();
  ASSERT_EQ(segs.size(), 80u);
  // The pass walks backwards: segment 39 first with the whole offset.
  EXPECT_FLOAT_EQ(segs[40].anchor.y - segs[39].anchor.y, 8);
  EXPECT_FLOAT_EQ(segs[41].anchor.y - segs[38].anchor.y, 4);
  EXPECT_FLOAT_EQ(segs[42].anchor.y - segs[37].anchor.y, 2);
}

TEST_F(GenerateSpirals, OffsetModesAlterTheShift) {
  SpiralParameters p = record();
  p.spiralOffsetX = 10;
  p.spiralOffsetY = 10;
  p.offsetMode = 13;  // " Offset 1"
  ASSERT_EQ(generateSpirals(p), 0);
  const auto& segs = onlyPath();
  // j is the index of the segment written before: 39 (j = 3), 40 (j = 0), ...
  auto shift = [&](int written) {
    const host::Segment& s = segs[written + 1];
    const host::Segment& src = segs[39 - (written - 39)];
    return std::pair{s.anchor.x - src.anchor.x, s.anchor.y - src.anchor.y};
  };
  EXPECT_EQ(shift(39), (std::pair{10.0f, 0.0f}));   // j 3: sy 0
  EXPECT_EQ(shift(40), (std::pair{0.0f, -10.0f}));  // j 0: sx 0, sy -sy
  EXPECT_EQ(shift(41), (std::pair{-10.0f, 0.0f}));  // j 1: sx -sx, sy 0
  EXPECT_EQ(shift(42), (std::pair{0.0f, 10.0f}));   // j 2: sx 0
}

TEST_F(GenerateSpirals, CloseSpiralAndSeveralSpirals) {
  SpiralParameters p = record();
  p.closeSpiral = 1;
  p.spiralCount = 3;
  ASSERT_EQ(generateSpirals(p), 0);
  const auto all = paths();
  ASSERT_EQ(all.size(), 3u);
  for (const host::Art* a : all) {
    EXPECT_TRUE(a->state.closed);
    EXPECT_EQ(a->state.segments, all[0]->state.segments) << "a fixed placement gives every spiral one centre";
  }
}

TEST_F(GenerateSpirals, RandomArmsAndCreateArmsDrawInOrder) {
  SpiralParameters p = record();
  p.armCount = 4;
  p.randomArms = 1;
  p.randomCreateArms = 1;
  // arms: trunc(0.5 * 4) + 1 = 3; arm 0 drawn, arm 1 skipped, arm 2 drawn.
  scriptRandom({0.5f, 0.9f, 0.2f, 0.6f});
  ASSERT_EQ(generateSpirals(p), 0);
  EXPECT_EQ(host().random().drawCount(), 4u);
  const auto& segs = onlyPath();
  ASSERT_EQ(segs.size(), 8u);
  // The skipped arm still grew the radius: arm 2 starts 8 steps after arm 0.
  EXPECT_NEAR(segs[4].anchor.x, static_cast<float>(200 * std::pow(0.95, 8)), 0.01);
}

TEST_F(GenerateSpirals, AbstractOverwritesAnchorsAtRandom) {
  SpiralParameters p = record();
  p.armCount = 1;
  p.randomAbstract = 1;
  // Advance after anchors 1 and 3 only: anchor 2 is overwritten by anchor 3,
  // anchor 4 stays as the final segment.
  scriptRandom({0.9f, 0.1f, 0.9f, 0.1f});
  ASSERT_EQ(generateSpirals(p), 0);
  const auto& segs = onlyPath();
  ASSERT_EQ(segs.size(), 3u);
  EXPECT_NEAR(segs[1].anchor.x, -180.5f, 0.01);
  EXPECT_NEAR(segs[2].anchor.y, -171.475f, 0.01);
  EXPECT_EQ(segs[1].out, segs[1].anchor) << "the retraction works on the segment before the last";
  EXPECT_NE(segs[2].out, segs[2].anchor);
}

TEST_F(GenerateSpirals, PreviewRunsUndoTheLastPreviewAndAskForARedraw) {
  SpiralParameters p = record();
  p.fromGo = 0;
  ASSERT_EQ(generateSpirals(p), 0);
  p.armCount = 3;
  ASSERT_EQ(generateSpirals(p), 0);
  EXPECT_EQ(onlyPath().size(), 12u) << "only the latest preview remains";
  EXPECT_EQ(document().redrawCount(), 2u);
}

TEST_F(GenerateSpirals, GoAfterADrawnPreviewKeepsIt) {
  SpiralParameters p = record();
  p.previewDrawn = 1;
  ASSERT_EQ(generateSpirals(p), 0);
  EXPECT_EQ(document().liveArtCount(), 0u);
  EXPECT_EQ(p.previewDrawn, 0);
  ASSERT_EQ(generateSpirals(p), 0);
  EXPECT_EQ(onlyPath().size(), 40u);
}

TEST_F(GenerateSpirals, PathsStopAtTheSegmentLimit) {
  SpiralParameters p = record();
  p.armCount = 10000;
  p.maxPoints = 40000;
  p.armGap = 1;
  p.decay = 100;
  ASSERT_EQ(generateSpirals(p), 0);
  EXPECT_EQ(onlyPath().size(), 32767u);

  host().beginMessage();
  p.armCount = 3000;
  p.maxPoints = 9999;
  p.spiralOffsetX = 1;
  p.offsetCount = 5;
  ASSERT_EQ(generateSpirals(p), 0) << "the offset passes stop appending at the limit";
  ASSERT_EQ(paths().size(), 2u) << "undo takes back only the current message";
  EXPECT_EQ(paths().back()->state.segments.size(), 32767u);
}

TEST_F(GenerateSpirals, AFailingSegmentWriteEndsTheRunAndKeepsEarlierArt) {
  SpiralParameters p = record();
  p.spiralCount = 2;
  host().gate().failOperation(kPathSuite, "SetPathSegments", 0x42414421);
  ASSERT_EQ(generateSpirals(p), 0x42414421);
  EXPECT_EQ(document().liveArtCount(), 1u) << "the first path stays; no second spiral is begun";
}

TEST_F(GenerateSpirals, ASpiralWithNoAnchorEndsWithTheHostsCode) {
  SpiralParameters p = record();
  p.randomCreateArms = 1;
  p.armCount = 2;
  scriptRandom({0.1f, 0.1f});
  EXPECT_NE(generateSpirals(p), 0);
}

}  // namespace
