// Output beyond the spiral's own path: the run's layer, a symbol defined from
// each spiral, an envelope with a random warp, and the drop shadow.
#pragma once

#include "generator/spiral_run.h"

// With newLayer set: inserts a layer above all, which then receives every
// spiral and copy of the run. Does nothing otherwise.
HostErr addRunLayer(const SpiralParameters& parameters);

// Defines a new symbol from a copy of the spiral; the spiral stays as plain
// art.
HostErr symbolizeSpiral(ArtHandle spiral);

// Puts the spiral into an envelope whose shape (a 200 x 200 rectangle or
// ellipse, even odds) is centred on the spiral centre, then gives the
// envelope one of the warp styles 1..15 in 15 of 18 cases.
HostErr warpSpiral(ArtHandle spiral, HostPoint centre);

// Envelope options passed when the envelope is made.
inline constexpr int32_t kEnvelopeDeformOptions = 0;
inline constexpr int32_t kEnvelopeFidelity = 50;
inline constexpr HostReal kEnvelopeShapeSize = 200;

// A copy of the spiral directly under it, black (or the spiral's colours
// halved with halfShadow) in the document's colour model, moved by (20, -20)
// or a random offset, with optional random opacity and random height, and
// mirrored about the page centre with basicPattern.
HostErr addDropShadow(const SpiralRun& run, ArtHandle spiral);

// The shadow's default offset: 20 points right and 20 points down.
inline constexpr HostReal kShadowOffset = 20;
