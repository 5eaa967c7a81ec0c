// Kernel services without a host: scripted or seeded random numbers, the
// sine and the interpolation computed in double and stored as float32.
#pragma once

#include <cmath>
#include <cstddef>
#include <stdexcept>
#include <vector>

#include "generator/kernel.h"

class PureServices final : public KernelServices {
 public:
  PureServices() = default;
  explicit PureServices(std::vector<float> script) : script_(std::move(script)) {}

  HostReal rnd() override {
    ++draws_;
    if (script_.empty()) return 0.5f;
    if (next_ >= script_.size()) throw std::runtime_error("random script exhausted");
    return script_[next_++];
  }
  HostReal sine(HostReal radians) override { return static_cast<float>(std::sin(static_cast<double>(radians))); }
  HostPoint interpolate(HostPoint origin, HostPoint p, HostReal t) override {
    return {static_cast<float>(p.h + static_cast<double>(t) * (origin.h - p.h)),
            static_cast<float>(p.v + static_cast<double>(t) * (origin.v - p.v))};
  }

  std::size_t draws() const { return draws_; }
  std::size_t remaining() const { return script_.size() - next_; }

 private:
  std::vector<float> script_;
  std::size_t next_ = 0;
  std::size_t draws_ = 0;
};

// The record's defaults converted as a run would (division and degree
// conversion in double, stored as float32).
inline KernelConstants defaultKernelConstants() {
  KernelConstants k;
  k.gap = 200.0f;
  k.decay = 0.95f;
  k.decayStep = 1.0f;
  k.curveFactorIn = 1.0f;
  k.curveFactorOut = 1.0f;
  k.curvatureIn = static_cast<float>(33.0 * 3.14159265358979323846 / 180.0);
  k.curvatureOut = k.curvatureIn;
  k.armCount = 10;
  return k;
}
