#include <gtest/gtest.h>

#include "generator/placement.h"
#include "support/pure_services.h"

namespace {

constexpr float W = 600, H = 800;

HostPoint place(int32_t mode, std::vector<float> draws, std::size_t expectedDraws) {
  PureServices s(std::move(draws));
  const HostPoint c = placeSpiral(toMode<PlacementMode>(mode), {11, 22}, W, H, s);
  EXPECT_EQ(s.draws(), expectedDraws) << "placement " << mode;
  return c;
}

void expectAt(HostPoint c, float x, float y) {
  EXPECT_FLOAT_EQ(c.h, x);
  EXPECT_FLOAT_EQ(c.v, y);
}

TEST(Placement, FixedCentresDrawNothing) {
  expectAt(place(0, {}, 0), 11, 22);
  expectAt(place(1, {}, 0), 300, 400);
  expectAt(place(3, {}, 0), 0, 0);
  expectAt(place(99, {}, 0), 11, 22);
  expectAt(place(-1, {}, 0), 11, 22);
}

TEST(Placement, RandomCentresDrawXFirst) {
  expectAt(place(2, {0.25f, 0.5f}, 2), 150, 400);
  expectAt(place(4, {0.5f}, 1), 300, 22);
  expectAt(place(5, {0.5f}, 1), 11, 400);
}

TEST(Placement, CornerBandsBelongToTheBandAbove) {
  expectAt(place(6, {0.2499f}, 1), 0, 0);
  expectAt(place(6, {0.25f}, 1), W, 0);
  expectAt(place(6, {0.5f}, 1), 0, H);
  expectAt(place(6, {0.75f}, 1), W, H);
}

TEST(Placement, FrameCentresLieOnThePageBorder) {
  // First draw above 10/20: a vertical edge, x by the second draw, y drawn.
  expectAt(place(7, {0.55f, 0.75f, 0.5f}, 3), 0, 400);
  expectAt(place(7, {0.55f, 0.25f, 0.5f}, 3), W, 400);
  // Otherwise a horizontal edge, y by the second draw, x drawn.
  expectAt(place(7, {0.5f, 0.75f, 0.25f}, 3), 150, 0);
  expectAt(place(7, {0.5f, 0.5f, 0.25f}, 3), 150, H);
}

TEST(InterpolationOrigin, ByMode) {
  const HostPoint c{10, 20};
  auto origin = [&](int32_t mode, std::vector<float> draws) {
    PureServices s(std::move(draws));
    return chooseInterpolationOrigin(toMode<InterpolationMode>(mode), c, 50, W, H, s);
  };
  expectAt(origin(0, {}), 10, 20);
  expectAt(origin(1, {}), 300, 400);
  expectAt(origin(2, {0.5f, 0.25f}), 300, 200);
  expectAt(origin(3, {}), 0, 0);
  expectAt(origin(4, {0.5f}), 110, 20);
  expectAt(origin(5, {}), 10, 70);
  expectAt(origin(6, {}), 10, 20);
}

}  // namespace
