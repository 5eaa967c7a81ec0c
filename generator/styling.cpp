#include "generator/styling.h"

#include <cmath>

#include "generator/host_services.h"
#include "shell/suite_table.h"

namespace {

HostReal scaled(double value, double factor) { return static_cast<HostReal>(value * factor); }

// First three components of four- and three-colour records, g of gray.
int leadingComponentCount(int32_t kind) {
  if (kind == kGrayColor) return 1;
  return (kind == kFourColor || kind == kThreeColor) ? 3 : 0;
}

// Random components: first three each a draw (gray: g); with zeroBlack a
// four-colour k becomes 0, otherwise it is kept.
void randomizeColour(HostColor& colour, bool zeroBlack) {
  const int n = leadingComponentCount(colour.kind);
  for (int i = 0; i < n; ++i) colour.c[i] = rnd();
  if (zeroBlack && colour.kind == kFourColor) colour.c[3] = 0;
}

// Each of the first three components (gray: g) moves by up to 0.1 either
// way, draw then sign per component.
void jitterColour(HostColor& colour) {
  const int n = leadingComponentCount(colour.kind);
  for (int i = 0; i < n; ++i) {
    const HostReal r = rnd();
    const HostReal sign = randomSign();
    colour.c[i] = jitterComponent(colour.c[i], r, sign);
  }
}

// Reads the path style, lets `change` edit it and writes it back. A failed
// read leaves the art as it is (the edit still runs, so the draws stay in
// step); neither call ends the run.
template <typename Change>
void editStyle(ArtHandle art, Change change) {
  PathStyle style{};
  const bool read = gPathStyleSuite->GetPathStyle(art, &style) == kHostNoErr;
  change(style);
  if (read) gPathStyleSuite->SetPathStyle(art, &style);
}

void colourSketchStroke(const SpiralRun& run, ArtHandle copy, HostColor& colour,
                        const SketchShift& shift) {
  const SpiralParameters& p = *run.p;
  using enum SketchColourMode;
  switch (run.sketchColourMode) {
    case Black:
      setBlack(colour);
      break;
    case SameColour:
      break;
    case RandomColour:
      randomizeColour(colour, false);
      break;
    case RandomSwatch:
      colour = pickSwatchColour(run.swatchCount, colour);
      break;
    case Reduced:
      reduceColour(colour);
      break;
    case RandomReduced:
      if (rnd() > 0.5f) reduceColour(colour);
      break;
    case RandomBlackOrColour:
      if (rnd() > 0.5f) {
        setBlack(colour);
      } else {
        randomizeColour(colour, false);
      }
      break;
    case UseShift:
      if (p.sketchShift == 0) {
        setBlack(colour);
      } else if (isProcessColour(colour)) {
        const double d = p.sketchShift;
        colour.c[0] = static_cast<HostReal>(shift.outY / d);
        if (colour.kind != kGrayColor) {
          colour.c[1] = static_cast<HostReal>(shift.anchorY / d);
          colour.c[2] = static_cast<HostReal>(shift.inX / d);
        }
      }
      break;
    case BlackRandomOpacity:
      gBlendStyleSuite->SetOpacity(copy, rnd());
      setBlack(colour);
      break;
    case RandomColourRandomOpacity:
      gBlendStyleSuite->SetOpacity(copy, rnd());
      randomizeColour(colour, false);
      break;
    case ReducingOpacity:
      gBlendStyleSuite->SetOpacity(copy, scaled(gBlendStyleSuite->GetOpacity(copy), 0.8));
      break;
    case WhiteRandomOpacity:
      gBlendStyleSuite->SetOpacity(copy, rnd());
      setWhite(colour);
      break;
    default:
      break;
  }
}

}  // namespace

bool isProcessColour(const HostColor& colour) {
  return colour.kind == kGrayColor || colour.kind == kFourColor || colour.kind == kThreeColor;
}

int colourComponentCount(int32_t kind) {
  switch (kind) {
    case kGrayColor: return 1;
    case kFourColor: return 4;
    case kThreeColor: return 3;
    default: return 0;
  }
}

void setBlack(HostColor& colour) {
  switch (colour.kind) {
    case kGrayColor: colour.c[0] = 1; break;
    case kFourColor: colour.c[0] = colour.c[1] = colour.c[2] = colour.c[3] = 1; break;
    case kThreeColor: colour.c[0] = colour.c[1] = colour.c[2] = 0; break;
    default: break;
  }
}

void setWhite(HostColor& colour) {
  switch (colour.kind) {
    case kGrayColor: colour.c[0] = 0; break;
    case kFourColor: colour.c[0] = colour.c[1] = colour.c[2] = colour.c[3] = 0; break;
    case kThreeColor: colour.c[0] = colour.c[1] = colour.c[2] = 1; break;
    default: break;
  }
}

void reduceColour(HostColor& colour) {
  const int n = colourComponentCount(colour.kind);
  for (int i = 0; i < n; ++i) colour.c[i] = scaled(colour.c[i], 0.8);
}

HostReal jitterComponent(HostReal value, HostReal r, HostReal sign) {
  const HostReal v = static_cast<HostReal>(value + 0.1 * r * sign);
  return v < 0 ? 0 : (v > 1 ? 1 : v);
}

HostReal jitterWidthValue(HostReal width, HostReal r, HostReal sign) {
  const HostReal w = static_cast<HostReal>(width + 3.0 * r * sign);
  return w < 0 ? 0 : w;
}

int32_t swatchIndexFor(HostReal r, int32_t count) {
  int64_t k = static_cast<int64_t>(std::floor(static_cast<double>(r) * count)) + 1;
  if (k > count) k = count;
  if (k < 0) k = 0;
  if (k == 0 || k == 1) k = 2;
  return static_cast<int32_t>(k);
}

int32_t artStyleIndexFor(HostReal r, int32_t count) {
  int64_t k = static_cast<int64_t>(std::floor(static_cast<double>(r) * count));
  if (k == 0) k = 1;
  if (k > count) k = 0;
  return static_cast<int32_t>(k);
}

int32_t colourKindForModel(int16_t model) {
  switch (model) {
    case kDocGrayColorModel: return kGrayColor;
    case kDocCMYKColorModel: return kFourColor;
    default: return kThreeColor;
  }
}

HostColor shadowBlack(int32_t kind) {
  HostColor colour{kind, {0, 0, 0, 0}, nullptr};
  setBlack(colour);
  return colour;
}

HostColor halfShadowColour(const HostColor& colour, int32_t kind) {
  HostColor half = colour;
  half.kind = kind;
  half.ref = nullptr;
  const int n = colourComponentCount(kind);
  for (int i = 0; i < n; ++i) half.c[i] = scaled(half.c[i], 0.5);
  return half;
}

HostColor pickSwatchColour(int32_t swatchCount, const HostColor& current) {
  const int32_t index = swatchIndexFor(rnd(), swatchCount);
  SwatchHandle swatch = gSwatchListSuite->GetNthSwatch(nullptr, index);
  if (!swatch) return current;
  HostColor colour{};
  if (gSwatchListSuite->GetSwatchColor(swatch, &colour) != kHostNoErr) return current;
  return colour;
}

HostErr applyRandomArtStyle(const SpiralRun& run, ArtHandle art) {
  const int32_t index = artStyleIndexFor(rnd(), run.artStyleCount);
  ArtStyleHandle style = nullptr;
  if (HostErr err = gArtStyleSuite->GetNthArtStyle(index, &style)) return err;
  return gArtStyleSuite->ApplyArtStyle(art, style);
}

HostErr styleSpiral(const SpiralRun& run, ArtHandle spiral) {
  const SpiralParameters& p = *run.p;
  if (p.randomFill) editStyle(spiral, [](PathStyle& s) { randomizeColour(s.fillColor, false); });
  if (p.randomStroke) editStyle(spiral, [](PathStyle& s) { randomizeColour(s.strokeColor, true); });
  if (p.randomWidth) editStyle(spiral, [](PathStyle& s) { s.strokeWidth = scaled(s.strokeWidth, rnd()); });
  if (p.randomOpacity) {
    editStyle(spiral, [spiral](PathStyle&) { gBlendStyleSuite->SetOpacity(spiral, rnd()); });
  }
  if (p.jitterFill) editStyle(spiral, [](PathStyle& s) { jitterColour(s.fillColor); });
  if (p.jitterStroke) editStyle(spiral, [](PathStyle& s) { jitterColour(s.strokeColor); });
  if (p.jitterWidth) {
    editStyle(spiral, [](PathStyle& s) {
      const HostReal r = rnd();
      const HostReal sign = randomSign();
      s.strokeWidth = jitterWidthValue(s.strokeWidth, r, sign);
    });
  }
  if (p.randomFillSwatch) {
    editStyle(spiral, [&run](PathStyle& s) {
      s.fillColor = pickSwatchColour(run.swatchCount, s.fillColor);
      s.fillPaint = 1;
    });
  }
  if (p.randomStrokeSwatch) {
    editStyle(spiral, [&run](PathStyle& s) {
      s.strokeColor = pickSwatchColour(run.swatchCount, s.strokeColor);
      s.strokePaint = 1;
    });
  }
  if (p.randomStyle) return applyRandomArtStyle(run, spiral);
  return kHostNoErr;
}

void styleSketchCopy(const SpiralRun& run, ArtHandle copy, const SketchShift& shift) {
  editStyle(copy, [&](PathStyle& s) {
    s.strokePaint = 1;
    colourSketchStroke(run, copy, s.strokeColor, shift);
    s.fillPaint = 0;
    s.strokeWidth = run.p->randomSketchWidth ? scaled(rnd(), run.sketchWidth) : run.sketchWidth;
  });
}
