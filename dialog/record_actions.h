// The record edits behind the preset list, the randomiser buttons and the
// pick buttons, apart from the dialog: they take the record, the random
// source and the document point, and touch no host.
#pragma once

#include <cstdint>
#include <functional>

#include "dialog/preset_table.h"
#include "params/view_defaults.h"
#include "shell/host/host_types.h"

// A uniform real in [0, 1); each call is a fresh draw.
using RandomSource = std::function<HostReal()>;

// Puts the record back to `defaults` (a record fresh from the defaults, its
// centre taken from the current view), keeping the preview switch, the page,
// the zoom, the remembered bounds and fromGo; clears basicPattern and
// previewDrawn and stores the preset index.
void writePresetBase(SpiralParameters& record, int32_t index, const SpiralParameters& defaults);
// Sets the fields of preset `index` on top of the base. An index outside the
// table sets nothing.
void applyPresetRow(SpiralParameters& record, int32_t index);

// The Tumble button's edit: resets the shape fields and draws new ones.
void tumbleRecord(SpiralParameters& record, const RandomSource& rnd);

enum class Nudge { Tweak, Jitter, Boost };
// One press of "Tweak", "Jitter" or "Boost", followed by the nudge limits.
void nudgeRecord(SpiralParameters& record, Nudge nudge, const RandomSource& rnd);
// Clamps armCount, armGap, the two curvatures and decay: every lower limit
// first, then every upper limit.
void applyNudgeLimits(SpiralParameters& record);

// A pick button: the field it sets from a document point and the spin edit
// that shows that field.
struct PickSpec {
  int32_t buttonId;
  int32_t itemId;
  int32_t SpiralParameters::*intField;  // set to int(coordinate / divisor)
  float SpiralParameters::*floatField;  // set to coordinate / divisor
  bool vertical;                        // y rather than x
  double divisor;
};

inline constexpr int kPickCount = 11;
extern const PickSpec kPicks[kPickCount];

// The pick of a button id, or null.
const PickSpec* findPick(int32_t buttonId);
// Writes the picked value into the record (no limits).
void applyPick(SpiralParameters& record, const PickSpec& pick, HostPoint point);
