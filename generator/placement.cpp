#include "generator/placement.h"

namespace {
float f32(double value) { return static_cast<float>(value); }
double draw(KernelServices& services) { return services.rnd(); }
}  // namespace

HostPoint placeSpiral(const SpiralParameters& p, HostReal W, HostReal H, KernelServices& services) {
  switch (p.placementMode) {
    case 1: return {f32(W / 2.0), f32(H / 2.0)};
    case 2: {
      const float x = f32(draw(services) * W);
      return {x, f32(draw(services) * H)};
    }
    case 3: return {0.0f, 0.0f};
    case 4: return {f32(draw(services) * W), p.centerY};
    case 5: return {p.centerX, f32(draw(services) * H)};
    case 6: {
      const float u = f32(20.0 * draw(services));
      if (u < 5.0f) return {0.0f, 0.0f};
      if (u < 10.0f) return {W, 0.0f};
      if (u < 15.0f) return {0.0f, H};
      return {W, H};
    }
    case 7: {
      const float u = f32(20.0 * draw(services));
      const float v = f32(20.0 * draw(services));
      if (u > 10.0f) {
        const float x = v > 10.0f ? 0.0f : W;
        return {x, f32(draw(services) * H)};
      }
      const float y = v > 10.0f ? 0.0f : H;
      return {f32(draw(services) * W), y};
    }
    default: return {p.centerX, p.centerY};
  }
}

HostPoint chooseInterpolationOrigin(const SpiralParameters& p, HostPoint centre, HostReal W, HostReal H,
                                    KernelServices& services) {
  switch (p.interpolationMode) {
    case 1: return {f32(W / 2.0), f32(H / 2.0)};
    case 2: {
      const float x = f32(draw(services) * W);
      return {x, f32(draw(services) * H)};
    }
    case 3: return {0.0f, 0.0f};
    case 4: return {f32(centre.h + 4.0 * p.armGap * draw(services)), centre.v};
    case 5: return {centre.h, f32(static_cast<double>(centre.v) + p.armGap)};
    default: return centre;
  }
}
