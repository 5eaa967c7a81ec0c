// The steps that follow a spiral's path, in the order they run.
#pragma once

#include "generator/spiral_run.h"

// The output order of one finished (built and, if asked, closed) spiral:
// transforms, styling, symbol, warp, shadow, mirrored and sketch copies
// (each copy styled as a sketch stroke). `centre` is the spiral centre its
// placement chose; `built`, when given, holds the path as written. Returns
// the first tested non-zero host code.
HostErr finishSpiral(const SpiralRun& run, ArtHandle spiral, HostPoint centre, const PathBuffer* built = nullptr);
