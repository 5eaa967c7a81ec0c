// Output that reaches beyond a spiral's own path: the run's layer, symbols,
// envelope warps and drop shadows.
#pragma once

#include "generator/spiral_run.h"

// Inserts a layer above all that receives the run's art (when `newLayer`).
HostErr addRunLayer(const SpiralParameters& parameters);
