#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "generator/kernel.h"
#include "support/compare.h"
#include "support/pure_services.h"

namespace {

constexpr float kTol = 0.01f;

// Builds the drawn anchors of one arm as the path builder does, with no
// options: shift, angles, segment, growth step.
std::vector<PathSegment> buildArm(int32_t n, const KernelConstants& k, SpiralState& state, KernelServices& s) {
  std::vector<PathSegment> out;
  for (int32_t anchor = 1; anchor <= (k.threePoints ? 3 : 4); ++anchor) {
    const HostPoint shift = anchorShift(k, n, anchor, s);
    const HandleAngles angles = anchorAngles(k, state, s);
    PathSegment seg = anchorSegment(anchor, n, k, state, {0, 0}, shift, angles, s);
    interpolateAnchor({0, 0}, seg, anchorInterpolation(k, s), s);
    out.push_back(seg);
    stepSpiral(n, anchor, k.structure, k.gap, state, s);
  }
  stepSpiral(n, 5, k.structure, k.gap, state, s);
  return out;
}

TEST(Kernel, DefaultFirstArmAboutTheOrigin) {
  PureServices s;
  const KernelConstants k = defaultKernelConstants();
  SpiralState state = startSpiral(k);
  const auto arm = buildArm(0, k, state, s);
  ASSERT_EQ(arm.size(), 4u);
  EXPECT_POINT_NEAR(arm[0].p, (HostPoint{200, 0}), kTol) << "right";
  EXPECT_POINT_NEAR(arm[0].in, (HostPoint{200, -108.93f}), kTol) << "right in";
  EXPECT_POINT_NEAR(arm[0].out, (HostPoint{200, 108.93f}), kTol) << "right out";
  EXPECT_POINT_NEAR(arm[1].p, (HostPoint{0, 190}), kTol) << "top";
  EXPECT_POINT_NEAR(arm[1].in, (HostPoint{103.48f, 190}), kTol) << "top in";
  EXPECT_POINT_NEAR(arm[1].out, (HostPoint{-103.48f, 190}), kTol) << "top out";
  EXPECT_POINT_NEAR(arm[2].p, (HostPoint{-180.5f, 0}), kTol) << "left";
  EXPECT_POINT_NEAR(arm[2].in, (HostPoint{-180.5f, 98.31f}), kTol) << "left in";
  EXPECT_POINT_NEAR(arm[2].out, (HostPoint{-180.5f, -98.31f}), kTol) << "left out";
  EXPECT_POINT_NEAR(arm[3].p, (HostPoint{0, -171.475f}), kTol) << "bottom";
  EXPECT_POINT_NEAR(arm[3].in, (HostPoint{-93.39f, -171.475f}), kTol) << "bottom in";
  EXPECT_POINT_NEAR(arm[3].out, (HostPoint{93.39f, -171.475f}), kTol) << "bottom out";
  for (const PathSegment& seg : arm) EXPECT_EQ(seg.corner, 0);

  const auto second = buildArm(1, k, state, s);
  EXPECT_POINT_NEAR(second[0].p, (HostPoint{162.90f, 0}), kTol) << "second right";
  EXPECT_POINT_NEAR(second[0].in, (HostPoint{162.90f, -88.72f}), kTol) << "second right in";
  EXPECT_POINT_NEAR(second[0].out, (HostPoint{162.90f, 88.72f}), kTol) << "second right out";
  EXPECT_EQ(s.draws(), 0u) << "no option draws random numbers";
}

TEST(Kernel, StarAdditionMovesAnchorsAwayFromTheirHandles) {
  PureServices s;
  KernelConstants k = defaultKernelConstants();
  k.starX = 10;
  k.starY = 20;
  SpiralState state = startSpiral(k);
  const auto arm = buildArm(0, k, state, s);
  EXPECT_FLOAT_EQ(arm[0].p.h, 210);
  EXPECT_FLOAT_EQ(arm[0].in.h, 200);
  EXPECT_FLOAT_EQ(arm[1].p.v, 210);
  EXPECT_FLOAT_EQ(arm[1].in.v, 190);
  EXPECT_FLOAT_EQ(arm[2].p.h, -190.5f);
  EXPECT_FLOAT_EQ(arm[3].p.v, -191.475f);
}

TEST(Kernel, SideShiftUsesTheConfiguredArmCount) {
  PureServices s;
  KernelConstants k = defaultKernelConstants();
  k.sideShift = 3;
  k.armCount = 10;
  SpiralState state = startSpiral(k);
  EXPECT_FLOAT_EQ(buildArm(0, k, state, s)[1].p.h, 30);
  EXPECT_FLOAT_EQ(buildArm(1, k, state, s)[1].p.h, 27);
}

TEST(Kernel, CurvatureExtremes) {
  PureServices s;
  KernelConstants k = defaultKernelConstants();
  k.curvatureIn = k.curvatureOut = 0;
  SpiralState state = startSpiral(k);
  for (const PathSegment& seg : buildArm(0, k, state, s)) {
    EXPECT_FLOAT_EQ(seg.in.h, seg.p.h);
    EXPECT_FLOAT_EQ(seg.in.v, seg.p.v);
    EXPECT_FLOAT_EQ(seg.out.h, seg.p.h);
    EXPECT_FLOAT_EQ(seg.out.v, seg.p.v);
  }
  k.curvatureIn = k.curvatureOut = static_cast<float>(std::numbers::pi / 2);
  state = startSpiral(k);
  const auto arm = buildArm(0, k, state, s);
  EXPECT_NEAR(arm[0].out.v - arm[0].p.v, 200, 1e-3);
}

TEST(Kernel, ShiftModes) {
  KernelConstants k = defaultKernelConstants();
  k.pointShiftX = 4;
  k.pointShiftY = -8;
  PureServices none;
  k.pointShiftMode = PointShiftMode::PerArm;
  EXPECT_POINT_NEAR(anchorShift(k, 3, 2, none), (HostPoint{12, -24}), kTol) << "equal";
  k.pointShiftMode = PointShiftMode::PerAnchor;
  EXPECT_POINT_NEAR(anchorShift(k, 3, 1, none), (HostPoint{8, -16}), kTol) << "mode 1 anchor 1";
  EXPECT_POINT_NEAR(anchorShift(k, 3, 4, none), (HostPoint{11, -22}), kTol) << "mode 1 anchor 4";
  k.pointShiftMode = PointShiftMode::Random;
  PureServices drawn({0.25f, 0.5f});
  EXPECT_POINT_NEAR(anchorShift(k, 3, 1, drawn), (HostPoint{3, -12}), kTol) << "randomized, x drawn first";
  EXPECT_EQ(drawn.remaining(), 0u);
}

TEST(Kernel, RandomOptionsDrawInOrder) {
  KernelConstants k = defaultKernelConstants();
  k.randomInterpolate = true;
  k.randomCurve = true;
  k.interpolation = 0.5f;
  PureServices s({0.5f, 0.25f, 0.75f});
  SpiralState state = startSpiral(k);
  EXPECT_FLOAT_EQ(anchorInterpolation(k, s), 0.25f);
  const HandleAngles a = anchorAngles(k, state, s);
  EXPECT_FLOAT_EQ(a.in, static_cast<float>(0.25 * state.angleIn));
  EXPECT_FLOAT_EQ(a.out, static_cast<float>(0.75 * state.angleOut));
}

TEST(Kernel, InterpolationMovesOnlyTheAnchor) {
  PureServices s;
  PathSegment seg{{10, 20}, {1, 2}, {3, 4}, 0};
  interpolateAnchor({0, 0}, seg, 0.0f, s);
  EXPECT_POINT_NEAR(seg.p, (HostPoint{10, 20}), kTol) << "t = 0";
  interpolateAnchor({0, 0}, seg, 0.5f, s);
  EXPECT_POINT_NEAR(seg.p, (HostPoint{5, 10}), kTol) << "t = 0.5";
  EXPECT_POINT_NEAR(seg.in, (HostPoint{1, 2}), kTol) << "in handle";
  EXPECT_POINT_NEAR(seg.out, (HostPoint{3, 4}), kTol) << "out handle";
}

// Radius after one growth step from r 100, d 0.9, A 1.1, g 10 (B = 99).
struct GrowthCase {
  int32_t structure;
  int32_t n;
  int32_t mode;
  float radius;
};

class GrowthRule : public ::testing::TestWithParam<GrowthCase> {};

TEST_P(GrowthRule, NewRadius) {
  const GrowthCase c = GetParam();
  SpiralState st;
  st.radius = 100;
  st.decay = 0.9f;
  st.decayProduct = 1.1f;
  st.gap = 10;
  PureServices s({0.5f});
  stepSpiral(c.n, c.mode, toMode<SpiralStructure>(c.structure), 10.0f, st, s);
  EXPECT_NEAR(st.radius, c.radius, 1e-3) << "structure " << c.structure << " n " << c.n << " mode " << c.mode;
}

INSTANTIATE_TEST_SUITE_P(
    AllStructures, GrowthRule,
    ::testing::Values(GrowthCase{0, 3, 1, 99}, GrowthCase{1, 3, 1, 99}, GrowthCase{2, 3, 1, 79.2f},
                      GrowthCase{3, 3, 1, 102}, GrowthCase{4, 3, 1, 89.1f}, GrowthCase{5, 3, 1, 128.7f},
                      GrowthCase{6, 3, 1, 24.75f}, GrowthCase{7, 3, 1, 99}, GrowthCase{8, 3, 1, 99},
                      GrowthCase{9, 3, 1, 109}, GrowthCase{10, 3, 1, 94.05f}, GrowthCase{11, 3, 1, 99},
                      GrowthCase{12, 3, 1, 99}, GrowthCase{13, 3, 1, 99}, GrowthCase{14, 3, 1, 99},
                      GrowthCase{15, 3, 1, 99}, GrowthCase{16, 3, 1, 99}, GrowthCase{16, 3, 2, 103.95f},
                      GrowthCase{17, 3, 2, 113.85f}, GrowthCase{17, 3, 3, 99}, GrowthCase{18, 3, 1, 110},
                      GrowthCase{18, 0, 1, 110}, GrowthCase{19, 0, 2, 10}, GrowthCase{19, 3, 1, 110},
                      GrowthCase{20, 0, 2, 100}, GrowthCase{20, 1, 1, 110}, GrowthCase{21, 0, 3, 0},
                      GrowthCase{21, 2, 1, 110}, GrowthCase{22, 2, 1, 105}, GrowthCase{22, 3, 1, 110},
                      GrowthCase{23, 0, 1, 103.3333f}, GrowthCase{23, 1, 1, 110}, GrowthCase{24, 2, 1, 120},
                      GrowthCase{24, 3, 1, 110}, GrowthCase{25, 4, 1, 105}, GrowthCase{25, 2, 1, 110},
                      GrowthCase{26, 5, 1, 103.3333f}, GrowthCase{26, 4, 1, 110}, GrowthCase{27, 2, 1, 102.5f},
                      GrowthCase{27, 3, 1, 105}, GrowthCase{28, 3, 1, 105}, GrowthCase{29, 3, 1, 100},
                      GrowthCase{-1, 3, 1, 100}),
    [](const auto& info) {
      const GrowthCase& c = info.param;
      return "s" + (c.structure < 0 ? "m" + std::to_string(-c.structure) : std::to_string(c.structure)) + "_n" +
             std::to_string(c.n) + "_mode" + std::to_string(c.mode);
    });

// A 1.1, a 0.9, θin 0.5, θout 0.4, fin 2, fout 3 after arm n.
struct ArmEndCase {
  int32_t structure;
  int32_t n;
  float decayProduct;
  float angleIn;
  float angleOut;
};

class ArmEndRule : public ::testing::TestWithParam<ArmEndCase> {};

TEST_P(ArmEndRule, DecayAndAngles) {
  const ArmEndCase c = GetParam();
  SpiralState st;
  st.radius = 50;
  st.decayProduct = 1.1f;
  st.decayStep = 0.9f;
  st.angleIn = 0.5f;
  st.angleOut = 0.4f;
  st.curveFactorIn = 2;
  st.curveFactorOut = 3;
  PureServices s;
  EXPECT_EQ(stepSpiral(c.n, 5, toMode<SpiralStructure>(c.structure), 10.0f, st, s), 0);
  EXPECT_NEAR(st.decayProduct, c.decayProduct, 1e-5) << "structure " << c.structure << " n " << c.n;
  EXPECT_NEAR(st.angleIn, c.angleIn, 1e-5) << "structure " << c.structure << " n " << c.n;
  EXPECT_NEAR(st.angleOut, c.angleOut, 1e-5) << "structure " << c.structure << " n " << c.n;
  EXPECT_EQ(st.radius, 50) << "mode 5 leaves the radius";
}

INSTANTIATE_TEST_SUITE_P(
    Variants, ArmEndRule,
    ::testing::Values(ArmEndCase{0, 3, 0.99f, 1.0f, 1.2f}, ArmEndCase{1, 4, 0.891f, 1.0f, 1.2f},
                      ArmEndCase{1, 3, 0.99f, 1.0f, 1.2f}, ArmEndCase{7, 3, 0.2475f, 1.0f, 1.2f},
                      ArmEndCase{8, 7, -0.01f, 1.0f, 1.2f}, ArmEndCase{8, 3, 0.99f, 1.0f, 1.2f},
                      ArmEndCase{11, 3, 0.99f, 0.5f, 1.2f}, ArmEndCase{12, 3, 0.99f, 0.25f, 1.2f},
                      ArmEndCase{13, 4, 0.99f, 1.2f, 1.44f}, ArmEndCase{13, 3, 0.99f, 1.0f, 1.2f},
                      ArmEndCase{14, 3, -0.99f, -1.0f, -1.2f}, ArmEndCase{15, 4, -0.99f, -1.0f, -1.2f},
                      ArmEndCase{15, 3, 0.99f, 1.0f, 1.2f}, ArmEndCase{28, 3, 0.99f, 1.0f, 1.2f},
                      ArmEndCase{29, 3, 1.1f, 0.5f, 0.4f}),
    [](const auto& info) { return "s" + std::to_string(info.param.structure) + "_n" + std::to_string(info.param.n); });

TEST(Kernel, DecayAccumulateZeroCollapsesGeometricStructures) {
  PureServices s;
  KernelConstants k = defaultKernelConstants();
  k.decayStep = 0;
  k.structure = SpiralStructure::PlusArmIndex;
  SpiralState st = startSpiral(k);
  stepSpiral(2, 1, k.structure, k.gap, st, s);
  EXPECT_FLOAT_EQ(st.radius, 2);
  k.structure = SpiralStructure::PlusTen;
  st = startSpiral(k);
  stepSpiral(2, 1, k.structure, k.gap, st, s);
  EXPECT_FLOAT_EQ(st.radius, 10);
}

TEST(Kernel, Structure14FlipsTheRadiusInNegativeArms) {
  PureServices s;
  KernelConstants k = defaultKernelConstants();
  k.structure = SpiralStructure::FlipEveryArm;
  SpiralState st = startSpiral(k);
  buildArm(0, k, st, s);
  ASSERT_LT(st.decayProduct, 0);
  const auto arm = buildArm(1, k, st, s);
  // Each step flips the radius' sign: the top and bottom anchors swap sides.
  EXPECT_GT(arm[0].p.h, 0);
  EXPECT_LT(arm[1].p.v, 0) << "the top anchor falls below the centre";
  EXPECT_LT(arm[2].p.h, 0);
  EXPECT_GT(arm[3].p.v, 0) << "the bottom anchor falls above the centre";
}

}  // namespace
