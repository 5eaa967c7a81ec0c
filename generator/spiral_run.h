// One drawing run: the values read from the document and converted from the
// record once, before the first spiral, and shared by every output step.
#pragma once

#include <cstdint>

#include "generator/kernel.h"
#include "params/spiral_parameters.h"
#include "shell/host/host_interface.h"

struct SpiralRun {
  const SpiralParameters* p = nullptr;
  HostReal pageWidth = 0, pageHeight = 0;  // W, H
  HostReal halfWidth = 0, halfHeight = 0;  // W/2, H/2
  int32_t swatchCount = 0;                 // N
  int32_t artStyleCount = 0;               // M
  KernelConstants kernel;
  HostReal angleRadians = 0;   // spiralAngle in radians
  HostReal scaleH = 0;         // scaleH / 100
  HostReal scaleV = 0;         // scaleV / 100
  HostReal sketchWidth = 0;    // sketchWeight / 10
  HostReal pointFactor = 0;    // pointFactor / 1000
};

// Kernel services backed by the bound host suites (random, sine,
// interpolation).
class HostKernelServices final : public KernelServices {
 public:
  HostReal rnd() override;
  HostReal sine(HostReal radians) override;
  HostPoint interpolate(HostPoint origin, HostPoint p, HostReal t) override;
};

// A fresh value of the host's random service.
HostReal rnd();
// -1 when a fresh rnd() exceeds 0.5, else +1.
HostReal randomSign();

// The output order of one finished (built and, if asked, closed) spiral:
// transforms, styling, symbol, warp, shadow, mirrored and sketch copies.
// `centre` is the spiral centre its placement chose. Returns the first
// tested non-zero host code.
HostErr finishSpiral(const SpiralRun& run, ArtHandle spiral, HostPoint centre);
