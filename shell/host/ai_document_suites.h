/* The current document: page, colour model, views, undo, random numbers and
 * real arithmetic. */
#pragma once

#include "host_types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kDocumentSuite "AI Document Suite"
#define kDocumentSuiteVersion 7

#define kDocGrayColorModel 0
#define kDocRGBColorModel 1
#define kDocCMYKColorModel 2

typedef struct DocumentSuiteV7 {
  /* Page width (h) and height (v) in points. */
  HostErr (*GetDocumentPageSize)(HostPoint* size);
  /* 0 gray, 1 RGB, 2 CMYK. */
  HostErr (*GetDocumentColorModel)(int16_t* model);
  /* Asks the host to show the document's current state. */
  HostErr (*RedrawDocument)(void);
} DocumentSuiteV7;

#define kDocumentViewSuite "AI Document View Suite"
#define kDocumentViewSuiteVersion 7

typedef struct DocumentViewSuiteV7 {
  /* View number n of the current document (0 is the front view). 'PAR?' for
   * an n the document has no view for, or a null `view`. */
  HostErr (*GetNthDocumentView)(int32_t n, ViewHandle* view);
  /* The artwork point shown at the middle of the view. */
  HostErr (*GetDocumentViewCenter)(ViewHandle view, HostPoint* center);
  /* Converts a view point into the artwork point under it. */
  HostErr (*ViewPointToArtworkPoint)(ViewHandle view, const ViewPoint* viewPt, HostPoint* artPt);
  /* Converts an artwork point into the view point that shows it. */
  HostErr (*ArtworkPointToViewPoint)(ViewHandle view, const HostPoint* artPt, ViewPoint* viewPt);
  /* Zoom factor: 1.0 shows 100 %. */
  HostErr (*GetDocumentViewZoom)(ViewHandle view, HostReal* zoom);
  HostErr (*SetDocumentViewZoom)(ViewHandle view, HostReal zoom);
} DocumentViewSuiteV7;

#define kUndoSuite "AI Undo Suite"
#define kUndoSuiteVersion 4

typedef struct UndoSuiteV4 {
  /* Takes back every change made to the document during the current message.
   * Answers only the codes every operation may answer. */
  HostErr (*UndoChanges)(void);
} UndoSuiteV4;

#define kRandomSuite "AI Random Suite"
#define kRandomSuiteVersion 3

typedef struct RandomSuiteV3 {
  /* (value) A uniformly distributed real in [0, 1). */
  HostReal (*FloatRnd)(void);
  /* Restarts the sequence from a seed. */
  HostErr (*SetRndSeed)(uint64_t seed);
} RandomSuiteV3;

#define kRealMathSuite "AI Real Math Suite"
#define kRealMathSuiteVersion 1

/* Each operation computes in double and stores the float32 result. */
typedef struct RealMathSuiteV1 {
  /* *result = a / b. Division by zero: non-zero status, *result = 0. */
  HostErr (*RealDiv)(HostReal a, HostReal b, HostReal* result);
  /* *result = degrees * pi / 180. */
  HostErr (*DegreeToRadian)(HostReal degrees, HostReal* result);
  /* *result = sin(radians). */
  HostErr (*RealSin)(HostReal radians, HostReal* result);
  /* *result = p + t * (origin - p). */
  HostErr (*PointInterpolate)(const HostPoint* origin, const HostPoint* p, HostReal t, HostPoint* result);
  /* Makes *m the translation (tx, ty). */
  HostErr (*MatrixSetTranslate)(HostMatrix* m, HostReal tx, HostReal ty);
  /* Each concat makes its operation take effect after what *m already holds. */
  HostErr (*MatrixConcatRotate)(HostMatrix* m, HostReal radians);
  HostErr (*MatrixConcatScale)(HostMatrix* m, HostReal h, HostReal v);
  HostErr (*MatrixConcatTranslate)(HostMatrix* m, HostReal tx, HostReal ty);
} RealMathSuiteV1;

#ifdef __cplusplus
}
#endif
