// The look of the output art: random, jittered, swatch and graphic-style
// colours, widths and opacities of a spiral, and the stroke-only look of its
// sketch copies. Colours of the gray, four-colour and three-colour kinds are
// changed; every other kind is left as it is, except by a swatch pick, which
// replaces the whole colour record.
#pragma once

#include "generator/spiral_run.h"
#include "generator/transforms.h"

// ---- Pure colour rules ----------------------------------------------------

// Gray, four-colour or three-colour: the kinds the colour options change.
bool isProcessColour(const HostColor& colour);
// Components the record holds for its kind: 1 (gray), 4 (four-colour),
// 3 (three-colour), 0 for any other kind.
int colourComponentCount(int32_t kind);
// Black or white in the colour's own kind (gray black is g = 1); other kinds
// stay as they are.
void setBlack(HostColor& colour);
void setWhite(HostColor& colour);
// Every component the kind holds times 0.8.
void reduceColour(HostColor& colour);
// value + 0.1·r·sign, clamped to [0, 1].
HostReal jitterComponent(HostReal value, HostReal r, HostReal sign);
// width + 3·r·sign; below 0 becomes 0.
HostReal jitterWidthValue(HostReal width, HostReal r, HostReal sign);
// Swatch index for a draw r and a list of `count` swatches: never 0 or 1.
int32_t swatchIndexFor(HostReal r, int32_t count);
// Art style index for a draw r and `count` styles.
int32_t artStyleIndexFor(HostReal r, int32_t count);
// Colour kind of a document colour model: 0 gray, 1 RGB, 2 CMYK; any other
// model value is taken as RGB.
int32_t colourKindForModel(int16_t model);
// The plain drop shadow colour: black of the given kind.
HostColor shadowBlack(int32_t kind);
// "Half shadow": the colour switched to `kind`, with the components that kind
// holds halved as they stand.
HostColor halfShadowColour(const HostColor& colour, int32_t kind);

// ---- Host steps -----------------------------------------------------------

// The colour of a random swatch of the document's list of `swatchCount`
// swatches (one draw). When the picked index holds no swatch, `current` is
// returned unchanged.
HostColor pickSwatchColour(int32_t swatchCount, const HostColor& current);

// Steps 6 to 15 of a spiral's output order: "Fill [R]", "Stroke [R]",
// "Width [R]", "Opacity [R]", the three jitters, the two swatch picks and
// "Style [R]". Only the art style fetch and apply are tested; their code is
// returned.
HostErr styleSpiral(const SpiralRun& run, ArtHandle spiral);

// "Style [R]": one draw picks the art style index, which is fetched and
// applied.
HostErr applyRandomArtStyle(const SpiralRun& run, ArtHandle art);

// The look of one sketch copy: stroke only, stroke colour by the sketch
// colour mode (a mode outside the list keeps the colour), width
// sketchWeight/10 (times a draw with randomSketchWidth). None of its host
// calls is tested.
void styleSketchCopy(const SpiralRun& run, ArtHandle copy, const SketchShift& shift);
