// Geometry steps of a finished spiral: transforms about the bounds centre,
// the base and random transforms, the four-fold mirrored copies about the
// page centre and the displaced sketch copies.
#pragma once

#include <cstddef>

#include "generator/spiral_run.h"

// One operation of a transform matrix. Each step takes effect after the ones
// before it.
struct TransformStep {
  enum class Kind { kRotate, kScale, kTranslate };
  Kind kind;
  HostReal a;  // radians, horizontal factor or dx
  HostReal b;  // vertical factor or dy; unused for a rotation
};

inline TransformStep rotateStep(HostReal radians) {
  return {TransformStep::Kind::kRotate, radians, 0};
}
inline TransformStep scaleStep(HostReal h, HostReal v) {
  return {TransformStep::Kind::kScale, h, v};
}
inline TransformStep translateStep(HostReal dx, HostReal dy) {
  return {TransformStep::Kind::kTranslate, dx, dy};
}

// Centre of a bounds rectangle: left + (right - left)/2, bottom + (top - bottom)/2.
HostPoint boundsCentre(const HostRect& bounds);

// Applies the matrix to the art's anchors and handles; the stroke width stays.
HostErr transformArt(ArtHandle art, const HostMatrix& matrix);

// Reads the art's bounds and transforms it by translate(-bx, -by), the given
// steps, translate(bx, by). Returns the first failing code of the bounds read
// or the transform.
HostErr transformAboutCentre(ArtHandle art, const TransformStep* steps, std::size_t count);

// The base transform (turn and scale about the bounds centre), then
// "Angle [R]", "Jitter center[R]", "Scaling [R]" and "Jitter scaling[R]" as
// the record asks. The base transform is left out when it is the identity
// and `built` (the path as written, when known) shows it would change no
// coordinate.
HostErr applySpiralTransforms(const SpiralRun& run, ArtHandle art, const PathBuffer* built = nullptr);

// Three copies of `art` stacked above all art: its mirror image in the
// vertical line x = halfWidth, its point reflection through (halfWidth,
// halfHeight) and its mirror image in the horizontal line y = halfHeight.
HostErr makeMirrorCopies(ArtHandle art, HostReal halfWidth, HostReal halfHeight);

// Amounts added to the last segment of a sketch copy (out-handle y, anchor
// y, in-handle x); the " Use shift" sketch colour reads them. 0 when the copy
// was not shifted.
struct SketchShift {
  HostReal outY = 0;
  HostReal anchorY = 0;
  HostReal inX = 0;
};

// One sketch copy: a duplicate of the spiral stacked above all art, moved by
// a random amount up to sketchShift either way (as a whole, or every
// coordinate on its own with randomSketchShift). `shift` receives what was
// added to the last segment, for the copy's styling; styling the copy and its
// mirrored copies are the caller's business.
HostErr makeSketchCopy(const SpiralRun& run, ArtHandle spiral, ArtHandle* copy, SketchShift* shift);
