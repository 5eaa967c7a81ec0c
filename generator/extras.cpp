#include "generator/extras.h"

#include "generator/styling.h"
#include "generator/transforms.h"
#include "generator/host_services.h"
#include "shell/suite_table.h"

HostErr addRunLayer(const SpiralParameters& parameters) {
  if (!parameters.newLayer) return kHostNoErr;
  LayerHandle layer = nullptr;
  return gLayerSuite->InsertLayer(nullptr, kPlaceAboveAll, &layer);
}

HostErr symbolizeSpiral(ArtHandle spiral) {
  SymbolHandle symbol = nullptr;
  return gSymbolSuite->NewSymbol(spiral, &symbol, 0);
}

HostErr warpSpiral(ArtHandle spiral, HostPoint centre) {
  // The shape construction is not tested: a failed one leaves a null shape,
  // which the envelope creation then refuses.
  ArtHandle shape = nullptr;
  if (rnd() > 0.5f) {
    gShapeConstructionSuite->NewCenteredRect(centre.h, centre.v, kEnvelopeShapeSize,
                                             kEnvelopeShapeSize, false, &shape);
  } else {
    gShapeConstructionSuite->NewCenteredOval(centre.h, centre.v, kEnvelopeShapeSize,
                                             kEnvelopeShapeSize, false, &shape);
  }
  ArtHandle artList[1] = {spiral};
  const EnvelopeOptions options{kEnvelopeDeformOptions, kEnvelopeFidelity};
  ArtHandle envelope = nullptr;
  if (HostErr err = gEnvelopeSuite->MakeEnvelope(artList, 1, shape, &options, &envelope)) return err;

  const int32_t style = static_cast<int32_t>(static_cast<double>(rnd()) * 18);
  if (style < 1 || style > 15) return kHostNoErr;
  HostReal amounts[3];
  for (HostReal& amount : amounts) {
    const HostReal sign = randomSign();
    amount = static_cast<HostReal>(static_cast<double>(rnd()) * sign);
  }
  const HostBool rotate = rnd() > 0.5f ? 1 : 0;
  return gEnvelopeSuite->SetEnvelopeWarp(envelope, style, amounts[0], amounts[1], amounts[2], rotate);
}

HostErr addDropShadow(const SpiralRun& run, ArtHandle spiral) {
  const SpiralParameters& p = *run.p;
  ArtHandle shadow = nullptr;
  if (HostErr err = gArtSuite->DuplicateArt(spiral, kPlaceBelow, spiral, &shadow)) return err;

  // Style and colour model are read untested; a style that could not be read
  // is not written.
  PathStyle style{};
  const bool styleRead = gPathStyleSuite->GetPathStyle(spiral, &style) == kHostNoErr;
  int16_t model = kDocRGBColorModel;
  gDocumentSuite->GetDocumentColorModel(&model);
  const int32_t kind = colourKindForModel(model);
  if (p.halfShadow) {
    style.strokeColor = halfShadowColour(style.strokeColor, kind);
    style.fillColor = halfShadowColour(style.fillColor, kind);
  } else {
    // Black in the model's kind; for gray that is g = 1 (g = 0 would make a
    // white shadow).
    style.strokeColor = shadowBlack(kind);
    style.fillColor = shadowBlack(kind);
  }
  if (styleRead) gPathStyleSuite->SetPathStyle(shadow, &style);

  HostReal dx = kShadowOffset, dy = -kShadowOffset;
  if (p.randomShadowAngle) {
    const HostReal signX = randomSign();
    dx = static_cast<HostReal>(20.0 * rnd() * signX);
    const HostReal signY = randomSign();
    dy = static_cast<HostReal>(-20.0 * rnd() * signY);
  }
  if (p.randomShadowOpacity) gBlendStyleSuite->SetOpacity(shadow, rnd());

  HostMatrix move{};
  gRealMathSuite->MatrixSetTranslate(&move, dx, dy);
  if (HostErr err = transformArt(shadow, move)) return err;

  if (p.randomShadowScale) {
    HostRect bounds{};
    if (HostErr err = gArtSuite->GetArtBounds(shadow, &bounds)) return err;
    const HostReal bx = boundsCentre(bounds).h;
    const HostReal squash = rnd();
    HostMatrix m{};
    gRealMathSuite->MatrixSetTranslate(&m, -bx, -bounds.bottom);
    gRealMathSuite->MatrixConcatScale(&m, 1, squash);
    gRealMathSuite->MatrixConcatTranslate(&m, bx, bounds.bottom);
    if (HostErr err = transformArt(shadow, m)) return err;
  }

  if (p.basicPattern) return makeMirrorCopies(shadow, run.halfWidth, run.halfHeight);
  return kHostNoErr;
}
