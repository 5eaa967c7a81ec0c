/* Art objects: creation, paths, paint, opacity and transforms, plus the suites
 * that are bound without being called (tags, matching art, real Bezier). */
#pragma once

#include "host_types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kArtSuite "AI Art Suite"
#define kArtSuiteVersion 9

/* Art kinds. */
#define kPathArt 2
#define kGroupArt 1
#define kEnvelopeArt 20

/* Paint orders. */
#define kPlaceAbove 1
#define kPlaceBelow 2
#define kPlaceInsideOnTop 3
#define kPlaceInsideOnBottom 4
#define kPlaceAboveAll 5
#define kPlaceBelowAll 6

typedef struct ArtSuiteV9 {
  /* Makes new art of `type`. kPlaceAboveAll puts it on top of the layer that
   * receives new art (prep null); kPlaceAbove/kPlaceBelow stack it next to
   * `prep`. New paths take the document's current style. Only kPathArt is
   * made; any other type, a bad paint order or `prep`, or a null `newArt`:
   * 'PAR?'. -108 over the memory budget. */
  HostErr (*NewArt)(int16_t type, int16_t paintOrder, ArtHandle prep, ArtHandle* newArt);
  /* Copies art (geometry, style, opacity, closed flag) and places the copy
   * by paintOrder relative to `prep`, as NewArt does. 'PAR?' for a bad
   * handle, paint order or `prep`; -108 over the memory budget. */
  HostErr (*DuplicateArt)(ArtHandle art, int16_t paintOrder, ArtHandle prep, ArtHandle* newArt);
  /* Tight geometric bounds of the art's curves, stroke width not included. */
  HostErr (*GetArtBounds)(ArtHandle art, HostRect* bounds);
  /* Kind of the art. */
  HostErr (*GetArtType)(ArtHandle art, int16_t* type);
} ArtSuiteV9;

#define kPathSuite "AI Path Suite"
#define kPathSuiteVersion 4

/* Segment indices are signed 16-bit: a path holds at most 32767 segments. */
#define kMaxPathSegments 32767

typedef struct PathSuiteV4 {
  HostErr (*GetPathSegmentCount)(ArtHandle path, int16_t* count);
  /* Truncates or extends (with copies of the last segment) to `count`.
   * -108 when the segments cannot be held, 'PAR?' for a negative count or
   * a handle that is not a path. */
  HostErr (*SetPathSegmentCount)(ArtHandle path, int16_t count);
  /* Reads `count` segments from `index` on. 'PAR?' for a range outside the
   * path (nothing is written then), a null array or a handle that is not a
   * path. */
  HostErr (*GetPathSegments)(ArtHandle path, int16_t index, int16_t count, PathSegment* segments);
  /* Writes `count` segments from `index` on; writing at the index one past
   * the last segment appends. 'NESS' when appending beyond
   * kMaxPathSegments, -108 when the segments cannot be held, 'PAR?' for an
   * index beyond the append position, a count below 1, a non-finite
   * coordinate or a handle that is not a path. */
  HostErr (*SetPathSegments)(ArtHandle path, int16_t index, int16_t count, const PathSegment* segments);
  HostErr (*GetPathClosed)(ArtHandle path, HostBool* closed);
  HostErr (*SetPathClosed)(ArtHandle path, HostBool closed);
} PathSuiteV4;

#define kPathStyleSuite "AI Path Style Suite"
#define kPathStyleSuiteVersion 5

typedef struct PathStyleSuiteV5 {
  HostErr (*GetPathStyle)(ArtHandle path, PathStyle* style);
  HostErr (*SetPathStyle)(ArtHandle path, const PathStyle* style);
} PathStyleSuiteV5;

#define kBlendStyleSuite "AI Blend Style Suite"
#define kBlendStyleSuiteVersion 2

typedef struct BlendStyleSuiteV2 {
  /* (value) Opacity 0..1 of the art; 1 for a bad handle. */
  HostReal (*GetOpacity)(ArtHandle art);
  /* Opacity is clamped to 0..1. */
  HostErr (*SetOpacity)(ArtHandle art, HostReal opacity);
} BlendStyleSuiteV2;

#define kTransformArtSuite "AI Transform Art Suite"
#define kTransformArtSuiteVersion 1

/* Transform flags. */
#define kTransformObjects 1
#define kScaleLines 16

typedef struct TransformArtSuiteV1 {
  /* Applies the matrix to every anchor and handle of the art. The stroke
   * width is multiplied by lineScale only when flags has kScaleLines. */
  HostErr (*TransformArt)(ArtHandle art, const HostMatrix* matrix, HostReal lineScale, int32_t flags);
} TransformArtSuiteV1;

#define kTagSuite "AI Tag Suite"
#define kTagSuiteVersion 2

typedef struct TagSuiteV2 {
  /* Attaches a named text value to art. */
  HostErr (*SetTag)(ArtHandle art, const char* name, const char* value);
  /* Reads a named text value into buf (size bytes); missing: non-zero. */
  HostErr (*GetTag)(ArtHandle art, const char* name, char* buf, int32_t size);
} TagSuiteV2;

#define kMatchingArtSuite "AI Matching Art Suite"
#define kMatchingArtSuiteVersion 4

typedef struct MatchingArtSuiteV4 {
  /* Number of selected art objects. */
  HostErr (*CountSelectedArt)(int32_t* count);
} MatchingArtSuiteV4;

#define kRealBezierSuite "AI Real Bezier Suite"
#define kRealBezierSuiteVersion 1

typedef struct RealBezierSuiteV1 {
  /* Point at parameter t (0..1) of the cubic p0, p1, p2, p3. */
  HostErr (*EvaluatePoint)(const HostPoint* p0, const HostPoint* p1, const HostPoint* p2,
                           const HostPoint* p3, HostReal t, HostPoint* result);
} RealBezierSuiteV1;

#ifdef __cplusplus
}
#endif
