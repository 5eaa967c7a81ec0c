/*
 * Basic records and handles shared by every host suite.
 *
 * Conventions of the whole host interface:
 *  - Every operation returns a HostErr status (0 = success) and hands its
 *    results back through out-pointers, unless its contract says "value":
 *    then it returns the value itself and cannot report a failure other than
 *    through a null handle or zero.
 *  - Handles are opaque. A host checks every handle it is given and answers a
 *    bad one with a non-zero status, never a crash.
 *  - Artwork coordinates are points, x to the right, y upwards, (0, 0) at the
 *    bottom left page corner. Reals are float32.
 *  - Strings are zero-terminated UTF-8 unless a parameter is marked as a
 *    length-prefixed string (byte 0 holds the length 0..255, no terminator).
 *
 * When operations may be called: only during a PluginMain call (or a dialog
 * proc run inside one), on the thread that made it, through a suite acquired
 * from that message's basic suite. Outside a message there is no document.
 *
 * Codes every status-returning operation may answer, besides its own:
 *  - kHostCantHappenErr ('CANT'): called outside a message (no host active).
 *  - kHostOutOfMemoryErr (-108): the host's memory, or the calls a message
 *    may make, would run out; a plug-in reports it and ends the message.
 *  - kHostBadParameterErr ('PAR?'): a null out-pointer, or a handle that
 *    names nothing (unknown, removed, of another kind or another document),
 *    or a value out of the operation's range (index, non-finite real).
 * Operations that grow a path also answer kHostTooManySegmentsErr ('NESS')
 * beyond kMaxPathSegments (32767) segments. kHostLayerLockedErr ('SEGM')
 * is kept for hosts with locked layers; the stand-in host never answers it.
 * kHostSuiteNotFoundErr ('S!Fd') is AcquireSuite's alone. An operation's
 * comment names the codes particular to it.
 */
#pragma once

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t HostErr;
typedef float HostReal;
typedef int32_t HostBool;

/* Result codes. Four-character codes hold the first character in the most
 * significant byte. */
#define kHostNoErr ((HostErr)0)
#define kHostOutOfMemoryErr ((HostErr)-108)
#define kHostBadParameterErr ((HostErr)0x5041523F)   /* 'PAR?' */
#define kHostCantHappenErr ((HostErr)0x43414E54)     /* 'CANT' */
#define kHostSuiteNotFoundErr ((HostErr)0x53214664)  /* 'S!Fd' */
#define kHostTooManySegmentsErr ((HostErr)0x4E455353) /* 'NESS' */
#define kHostLayerLockedErr ((HostErr)0x5345474D)     /* 'SEGM' */

typedef struct HostPoint {
  HostReal h;
  HostReal v;
} HostPoint;

/* y upwards: top >= bottom for a non-empty rectangle. */
typedef struct HostRect {
  HostReal left;
  HostReal top;
  HostReal right;
  HostReal bottom;
} HostRect;

/* A point of a view window in pixels, y downwards. */
typedef struct ViewPoint {
  int32_t h;
  int32_t v;
} ViewPoint;

/* Maps (x, y) to (a*x + c*y + tx, b*x + d*y + ty). */
typedef struct HostMatrix {
  HostReal a, b, c, d, tx, ty;
} HostMatrix;

/* One anchor of a Bezier path with its two handles. */
typedef struct PathSegment {
  HostPoint p;
  HostPoint in;
  HostPoint out;
  HostBool corner;
} PathSegment;

/* Colour kinds. */
#define kGrayColor 0
#define kFourColor 1
#define kPatternColor 2
#define kCustomColor 3
#define kGradientColor 4
#define kThreeColor 5
#define kNoneColor 6

/* Components 0..1. Gray uses c[0] (1 = black); four-colour c, m, y, k;
 * three-colour r, g, b. `ref` names the host object of pattern, custom and
 * gradient colours. */
typedef struct HostColor {
  int32_t kind;
  HostReal c[4];
  void* ref;
} HostColor;

typedef struct PathStyle {
  HostBool fillPaint;
  HostColor fillColor;
  HostBool strokePaint;
  HostColor strokeColor;
  HostReal strokeWidth;
  /* What the host keeps beside paint and width; passed through unchanged. */
  HostReal dashOffset;
  int32_t dashCount;
  HostReal dashes[6];
  int32_t lineCap;
  int32_t lineJoin;
  HostReal miterLimit;
  int32_t reserved[4];
} PathStyle;

/* Opaque handles. */
typedef struct OpaqueArt* ArtHandle;
typedef struct OpaqueLayer* LayerHandle;
typedef struct OpaqueView* ViewHandle;
typedef struct OpaqueSwatchList* SwatchListHandle;
typedef struct OpaqueSwatch* SwatchHandle;
typedef struct OpaqueArtStyle* ArtStyleHandle;
typedef struct OpaqueSymbol* SymbolHandle;
typedef struct OpaqueFilter* FilterHandle;
typedef struct OpaqueMenuItem* MenuItemHandle;
typedef struct OpaquePlugin* PluginRef;
/* A memory handle: one indirection gives the block. */
typedef void** MemHandle;

#ifdef __cplusplus
}
#endif
