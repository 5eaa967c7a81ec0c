// Anchors per second of the geometry kernel alone, without a host.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>

#include "generator/kernel.h"

namespace {

class BenchServices final : public KernelServices {
 public:
  HostReal rnd() override {
    state_ += 0x9E3779B97F4A7C15ull;
    uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return static_cast<float>(z >> 40) * (1.0f / 16777216.0f);
  }
  HostReal sine(HostReal radians) override { return static_cast<float>(std::sin(static_cast<double>(radians))); }
  HostPoint interpolate(HostPoint origin, HostPoint p, HostReal t) override {
    return {static_cast<float>(p.h + static_cast<double>(t) * (origin.h - p.h)),
            static_cast<float>(p.v + static_cast<double>(t) * (origin.v - p.v))};
  }

 private:
  uint64_t state_ = 1;
};

void BM_KernelAnchors(benchmark::State& st) {
  KernelConstants k;
  k.gap = 200;
  k.decay = 0.95f;
  k.decayStep = 1.0f;
  k.curveFactorIn = k.curveFactorOut = 1.0f;
  k.curvatureIn = k.curvatureOut = 0.5759587f;
  k.armCount = 300;
  k.randomCurve = st.range(0) != 0;
  k.structure = toMode<SpiralStructure>(static_cast<int32_t>(st.range(1)));
  BenchServices services;
  int64_t anchors = 0;
  for (auto _ : st) {
    SpiralState state = startSpiral(k);
    for (int32_t n = 0; n < k.armCount; ++n) {
      for (int32_t a = 1; a <= 4; ++a) {
        const HostPoint shift = anchorShift(k, n, a, services);
        const HandleAngles angles = anchorAngles(k, state, services);
        PathSegment seg = anchorSegment(a, n, k, state, {300, 400}, shift, angles, services);
        interpolateAnchor({300, 400}, seg, anchorInterpolation(k, services), services);
        benchmark::DoNotOptimize(seg);
        stepSpiral(n, a, k.structure, k.gap, state, services);
      }
      stepSpiral(n, 5, k.structure, k.gap, state, services);
    }
    anchors += 4 * k.armCount;
  }
  st.counters["anchors/s"] = benchmark::Counter(static_cast<double>(anchors), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_KernelAnchors)->Args({0, 0})->Args({1, 0})->Args({0, 28});

}  // namespace
