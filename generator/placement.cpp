#include "generator/placement.h"

namespace {
float f32(double value) { return static_cast<float>(value); }
double draw(KernelServices& services) { return services.rnd(); }
}  // namespace

HostPoint placeSpiral(PlacementMode mode, HostPoint userCentre, HostReal W, HostReal H,
                      KernelServices& services) {
  using enum PlacementMode;
  switch (mode) {
    case DocumentCentre: return {f32(W / 2.0), f32(H / 2.0)};
    case Anywhere: {
      const float x = f32(draw(services) * W);
      return {x, f32(draw(services) * H)};
    }
    case BottomLeft: return {0.0f, 0.0f};
    case RandomX: return {f32(draw(services) * W), userCentre.v};
    case RandomY: return {userCentre.h, f32(draw(services) * H)};
    case AnyCorner: {
      const float u = f32(20.0 * draw(services));
      if (u < 5.0f) return {0.0f, 0.0f};
      if (u < 10.0f) return {W, 0.0f};
      if (u < 15.0f) return {0.0f, H};
      return {W, H};
    }
    case Frame: {
      const float u = f32(20.0 * draw(services));
      const float v = f32(20.0 * draw(services));
      if (u > 10.0f) {
        const float x = v > 10.0f ? 0.0f : W;
        return {x, f32(draw(services) * H)};
      }
      const float y = v > 10.0f ? 0.0f : H;
      return {f32(draw(services) * W), y};
    }
    default: return userCentre;  // UserCentre and modes outside the list
  }
}

HostPoint chooseInterpolationOrigin(InterpolationMode mode, HostPoint centre, HostReal gap, HostReal W,
                                    HostReal H, KernelServices& services) {
  using enum InterpolationMode;
  switch (mode) {
    case DocumentCentre: return {f32(W / 2.0), f32(H / 2.0)};
    case Anywhere: {
      const float x = f32(draw(services) * W);
      return {x, f32(draw(services) * H)};
    }
    case BottomLeft: return {0.0f, 0.0f};
    case RandomRight: return {f32(centre.h + 4.0 * gap * draw(services)), centre.v};
    case AboveByGap: return {centre.h, f32(static_cast<double>(centre.v) + gap)};
    default: return centre;  // SpiralCentre and modes outside the list
  }
}
