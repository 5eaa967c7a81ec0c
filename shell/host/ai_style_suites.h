/* Document resources the generator draws on or adds to: swatches, graphic
 * styles, symbols, layers, constructed shapes and envelopes.
 *
 * Every operation may be called during a message (or a dialog proc run
 * inside one) and may answer the codes of host_types.h besides those listed
 * with it. Art handles given to these operations name art of the current
 * document; art held by an envelope is no longer placed. */
#pragma once

#include "host_types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kSwatchListSuite "AI Swatch List Suite"
#define kSwatchListSuiteVersion 4

typedef struct SwatchListSuiteV4 {
  /* (value) Number of swatches; list null = the current document's list. 0
   * for any other list. */
  int32_t (*CountSwatches)(SwatchListHandle list);
  /* (value) Swatch at index (0-based); null when the index holds none or
   * for a list that is not the document's. */
  SwatchHandle (*GetNthSwatch)(SwatchListHandle list, int32_t index);
  /* The swatch's colour record. 'PAR?' for a bad swatch or a null color. */
  HostErr (*GetSwatchColor)(SwatchHandle swatch, HostColor* color);
} SwatchListSuiteV4;

#define kArtStyleSuite "AI Art Style Suite"
#define kArtStyleSuiteVersion 3

typedef struct ArtStyleSuiteV3 {
  /* Number of graphic styles of the document (index 0 is the default).
   * 'PAR?' for a null count. */
  HostErr (*CountArtStyles)(int32_t* count);
  /* Style at index. 'PAR?' for an index outside 0..count - 1 or a null
   * style. */
  HostErr (*GetNthArtStyle)(int32_t index, ArtStyleHandle* style);
  /* Sets the style's paint, width, opacity and dash on the art. 'PAR?' for a
   * bad style, or art that is not a path. */
  HostErr (*ApplyArtStyle)(ArtHandle art, ArtStyleHandle style);
} ArtStyleSuiteV3;

#define kSymbolSuite "AI Symbol Suite"
#define kSymbolSuiteVersion 1

typedef struct SymbolSuiteV1 {
  /* Defines a new symbol from a copy of the art's paths; the art stays as it
   * is. 'PAR?' for bad art or a null symbol; -108 over the memory budget.
   * options: 0. */
  HostErr (*NewSymbol)(ArtHandle definitionArt, SymbolHandle* symbol, int32_t options);
  /* Number of symbols of the document. 'PAR?' for a null count. */
  HostErr (*CountSymbols)(int32_t* count);
} SymbolSuiteV1;

#define kLayerSuite "AI Layer Suite"
#define kLayerSuiteVersion 9

typedef struct LayerSuiteV9 {
  /* Inserts a layer by paintOrder relative to `ref` (kPlaceAboveAll, ref
   * null: above all). The new layer receives new art from then on. 'PAR?'
   * for a paint order other than above, below, above all or below all, a
   * bad `ref` with above or below, or a null layer. */
  HostErr (*InsertLayer)(LayerHandle ref, int16_t paintOrder, LayerHandle* layer);
  /* 'PAR?' for a null count. */
  HostErr (*CountLayers)(int32_t* count);
} LayerSuiteV9;

#define kShapeConstructionSuite "AI Shape Construction Suite"
#define kShapeConstructionSuiteVersion 4

typedef struct ShapeConstructionSuiteV4 {
  /* Both make the path on top of the layer that receives new art, in the
   * document's current style. 'PAR?' for a value that is not finite, a
   * negative width or height, or a null shape; -108 over the memory budget. */
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
   * the envelope consumes). Returns the envelope art, placed above the
   * first object. Options null: deform 0, fidelity 50. 'PAR?' for a count
   * outside 1..4096, a null artList or envelope, an object or shape that is
   * not a placed path, an object given twice or also given as the shape;
   * -108 over the memory budget. */
  HostErr (*MakeEnvelope)(ArtHandle* artList, int32_t count, ArtHandle shape,
                          const EnvelopeOptions* options, ArtHandle* envelope);
  /* Gives the envelope warp style 1..15 with bend and distortions in [-1, 1]
   * and the rotate flag. 'PAR?' for art that is not an envelope, a style
   * outside 1..15, or a bend or distortion that is not finite or outside
   * [-1, 1]; the envelope stays as it was then. */
  HostErr (*SetEnvelopeWarp)(ArtHandle envelope, int32_t warpStyle, HostReal bend,
                             HostReal horizontalDistortion, HostReal verticalDistortion,
                             HostBool rotate);
} EnvelopeSuiteV1;

#ifdef __cplusplus
}
#endif
