// Where each spiral goes: its centre by the placement mode, and the origin
// its anchors are interpolated against.
#pragma once

#include "generator/kernel.h"
#include "params/choice_modes.h"

// The spiral centre (one or more draws for the random placements, x first).
// A placement outside the list falls back to the user's centre.
HostPoint placeSpiral(PlacementMode mode, HostPoint userCentre, HostReal W, HostReal H,
                      KernelServices& services);

// The interpolation origin for a spiral centred on `centre`; `gap` is
// armGap. A mode outside the list uses the spiral centre.
HostPoint chooseInterpolationOrigin(InterpolationMode mode, HostPoint centre, HostReal gap, HostReal W,
                                    HostReal H, KernelServices& services);
