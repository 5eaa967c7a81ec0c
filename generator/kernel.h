// The geometry of one spiral: anchors with their Bezier handles, four (or
// three) per arm, and the growth rules that advance the radius, the decay
// product and the curvature angles. Pure computation on float32: the random
// numbers, the sine and the point interpolation come in through
// KernelServices, so the kernel runs without a host.
#pragma once

#include <cstdint>

#include "params/choice_modes.h"
#include "shell/host/host_types.h"

// The outside services the kernel uses.
class KernelServices {
 public:
  virtual ~KernelServices() = default;
  // A uniform real in [0, 1).
  virtual HostReal rnd() = 0;
  virtual HostReal sine(HostReal radians) = 0;
  // Moves p by t towards origin.
  virtual HostPoint interpolate(HostPoint origin, HostPoint p, HostReal t) = 0;
};

// The record's values as the kernel uses them, converted once per run.
struct KernelConstants {
  HostReal gap = 0;            // armGap: start radius and gap g
  HostReal decay = 0;          // d = decay / 100
  HostReal decayStep = 0;      // a = decayAccumulate / 100
  HostReal curveFactorIn = 0;  // fin = armCurveFactor1 / 100
  HostReal curveFactorOut = 0; // fout = armCurveFactor2 / 100
  HostReal curvatureIn = 0;    // θin0, radians
  HostReal curvatureOut = 0;   // θout0, radians
  HostReal interpolation = 0;  // t0 = interpolationAmount / 100
  HostReal starX = 0, starY = 0;
  HostReal sideShift = 0;
  HostReal pointShiftX = 0, pointShiftY = 0;
  PointShiftMode pointShiftMode = PointShiftMode::PerArm;
  SpiralStructure structure = SpiralStructure::Plain;
  int32_t armCount = 0;
  bool randomCurve = false;
  bool randomInterpolate = false;
  bool threePoints = false;
};

struct SpiralState {
  HostReal radius = 0;        // r
  HostReal decayProduct = 0;  // A
  HostReal angleIn = 0;       // θin
  HostReal angleOut = 0;      // θout
  HostReal decay = 0;         // d
  HostReal decayStep = 0;     // a
  HostReal curveFactorIn = 0;
  HostReal curveFactorOut = 0;
  HostReal gap = 0;           // g
};

// The state at the start of every spiral.
SpiralState startSpiral(const KernelConstants& k);

// Growth step after anchor `mode` (1..4) of arm n, or after the whole arm
// (mode 5). A structure outside the list changes nothing. Always returns 0.
int32_t stepSpiral(int32_t n, int32_t mode, SpiralStructure s, HostReal g, SpiralState& state,
                   KernelServices& services);

// Shift of anchor k (1..4) of arm n by the point shift mode (two draws in
// the randomized mode, x first); none for a mode outside the list.
HostPoint anchorShift(const KernelConstants& k, int32_t n, int32_t anchor, KernelServices& services);

// The interpolation amount of one anchor (one draw with randomInterpolate).
HostReal anchorInterpolation(const KernelConstants& k, KernelServices& services);

// The handle angles of one anchor (in, then out; two draws with randomCurve).
struct HandleAngles {
  HostReal in;
  HostReal out;
};
HandleAngles anchorAngles(const KernelConstants& k, const SpiralState& state, KernelServices& services);

// Segment of anchor k (1 right, 2 top, 3 left, 4 bottom) of arm n about the
// centre, before interpolation. The star addition moves the anchor away from
// its handles.
PathSegment anchorSegment(int32_t k, int32_t n, const KernelConstants& constants,
                          const SpiralState& state, HostPoint centre, HostPoint shift,
                          HandleAngles angles, KernelServices& services);

// Moves the anchor point (not its handles) by t relative to the origin.
void interpolateAnchor(HostPoint origin, PathSegment& segment, HostReal t, KernelServices& services);
