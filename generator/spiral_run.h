// One drawing run: the values read from the document and converted from the
// record once, before the first spiral, and shared by every output step.
#pragma once

#include <cstdint>
#include <vector>

#include "generator/kernel.h"
#include "params/choice_modes.h"
#include "params/view_defaults.h"
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
  PlacementMode placementMode = PlacementMode::UserCentre;
  InterpolationMode interpolationMode = InterpolationMode::SpiralCentre;
  OffsetMode offsetMode = OffsetMode::Basic;
  SketchColourMode sketchColourMode = SketchColourMode::Black;
};

// The plug-in's copy of the path being built, and the offset passes'
// scratch; kept across the spirals of a run so that it grows once.
struct PathBuffer {
  // A bound on coordinates that keeps a path's bounds finite.
  static constexpr float kPlainBound = 1e37f;
  std::vector<PathSegment> segments;  // the path as written
  bool exact = true;                  // false once the host refused a write
  bool plain = true;                  // every coordinate written within kPlainBound, none -0
  std::vector<PathSegment> source, added;
};
