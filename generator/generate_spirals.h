// The drawing run: every spiral of the record, each one path of smooth
// Bezier anchors built in the document through the host suites.
#pragma once

#include "generator/spiral_run.h"
#include "params/view_defaults.h"

// Draws `spiralCount` spirals. Returns 0 or the first tested non-zero host
// code, which ends the run; art made before it stays. Changes only
// `previewDrawn` (a Go after a drawn preview keeps the preview's art).
HostErr generateSpirals(SpiralParameters& parameters);

// Reads the record's values into the run's constants, with the host's real
// division and degree conversion; the one place the record's list numbers
// become modes.
void convertParameters(const SpiralParameters& p, SpiralRun& run);

// Builds one spiral's path (anchors, retracted end handles, offset passes,
// closing) into *path and reports the centre its placement chose. `buffer`
// ends holding the path's segments as the host holds them (unless a write
// was refused).
HostErr buildSpiralPath(const SpiralRun& run, KernelServices& services, ArtHandle* path, HostPoint* centre,
                        PathBuffer& buffer);

// How an offset pass moves one point: alters (sx, sy) by the offset mode.
// j is the index of the previously written segment; r1 and r2 are the
// pass's draws; the per-point modes draw from `services`.
void applyOffsetMode(OffsetMode mode, int32_t written, HostReal r1, HostReal r2, HostReal& sx, HostReal& sy,
                     KernelServices& services);
