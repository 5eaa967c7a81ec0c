/* Document resources the generator draws on or adds to: swatches, graphic
 * styles, symbols, layers, constructed shapes and envelopes. */
#pragma once

#include "host_types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kSwatchListSuite "AI Swatch List Suite"
#define kSwatchListSuiteVersion 4

typedef struct SwatchListSuiteV4 {
  /* (value) Number of swatches; list null = the current document's list. */
  int32_t (*CountSwatches)(SwatchListHandle list);
  /* (value) Swatch at index (0-based), or null when the index holds none. */
  SwatchHandle (*GetNthSwatch)(SwatchListHandle list, int32_t index);
  /* The swatch's colour record. */
  HostErr (*GetSwatchColor)(SwatchHandle swatch, HostColor* color);
} SwatchListSuiteV4;

#define kArtStyleSuite "AI Art Style Suite"
#define kArtStyleSuiteVersion 3

typedef struct ArtStyleSuiteV3 {
  /* Number of graphic styles of the document (index 0 is the default). */
  HostErr (*CountArtStyles)(int32_t* count);
  /* Style at index; past the end: non-zero status. */
  HostErr (*GetNthArtStyle)(int32_t index, ArtStyleHandle* style);
  /* Sets the style's paint, width, opacity and dash on the art. */
  HostErr (*ApplyArtStyle)(ArtHandle art, ArtStyleHandle style);
} ArtStyleSuiteV3;

#define kSymbolSuite "AI Symbol Suite"
#define kSymbolSuiteVersion 1

typedef struct SymbolSuiteV1 {
  /* Defines a new symbol from a copy of the art; the art stays as it is.
   * options: 0. */
  HostErr (*NewSymbol)(ArtHandle definitionArt, SymbolHandle* symbol, int32_t options);
  /* Number of symbols of the document. */
  HostErr (*CountSymbols)(int32_t* count);
} SymbolSuiteV1;

#define kLayerSuite "AI Layer Suite"
#define kLayerSuiteVersion 9

typedef struct LayerSuiteV9 {
  /* Inserts a layer by paintOrder relative to `ref` (kPlaceAboveAll, ref
   * null: above all). The new layer receives new art from then on. */
  HostErr (*InsertLayer)(LayerHandle ref, int16_t paintOrder, LayerHandle* layer);
  HostErr (*CountLayers)(int32_t* count);
} LayerSuiteV9;

#define kShapeConstructionSuite "AI Shape Construction Suite"
#define kShapeConstructionSuiteVersion 4

typedef struct ShapeConstructionSuiteV4 {
  /* A closed rectangle path of width x height centred on (cx, cy). */
  HostErr (*NewCenteredRect)(HostReal cx, HostReal cy, HostReal width, HostReal height,
                             HostBool reversed, ArtHandle* shape);
  /* A closed ellipse path of width x height centred on (cx, cy). */
  HostErr (*NewCenteredOval)(HostReal cx, HostReal cy, HostReal width, HostReal height,
                             HostBool reversed, ArtHandle* shape);
} ShapeConstructionSuiteV4;

#define kEnvelopeSuite "AI Envelope Suite"
#define kEnvelopeSuiteVersion 1

typedef struct EnvelopeOptions {
  int32_t deformOptions;
  int32_t fidelity;
} EnvelopeOptions;

typedef struct EnvelopeSuiteV1 {
  /* Puts `count` art objects into an envelope whose shape is `shape` (which
   * the envelope consumes). Returns the envelope art. */
  HostErr (*MakeEnvelope)(ArtHandle* artList, int32_t count, ArtHandle shape,
                          const EnvelopeOptions* options, ArtHandle* envelope);
  /* Gives the envelope warp style 1..15 with bend and distortions in [-1, 1]
   * and the rotate flag. */
  HostErr (*SetEnvelopeWarp)(ArtHandle envelope, int32_t warpStyle, HostReal bend,
                             HostReal horizontalDistortion, HostReal verticalDistortion,
                             HostBool rotate);
} EnvelopeSuiteV1;

#ifdef __cplusplus
}
#endif
