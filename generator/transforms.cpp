#include "generator/transforms.h"

#include "generator/host_services.h"
#include "shell/suite_table.h"

namespace {

void concatStep(HostMatrix& m, const TransformStep& step) {
  switch (step.kind) {
    case TransformStep::Kind::kRotate:
      gRealMathSuite->MatrixConcatRotate(&m, step.a);
      break;
    case TransformStep::Kind::kScale:
      gRealMathSuite->MatrixConcatScale(&m, step.a, step.b);
      break;
    case TransformStep::Kind::kTranslate:
      gRealMathSuite->MatrixConcatTranslate(&m, step.a, step.b);
      break;
  }
}

// translate(-c), steps, translate(c), applied to the art.
HostErr transformAbout(ArtHandle art, HostPoint c, const TransformStep* steps, std::size_t count) {
  HostMatrix m{};
  gRealMathSuite->MatrixSetTranslate(&m, -c.h, -c.v);
  for (std::size_t i = 0; i < count; ++i) concatStep(m, steps[i]);
  gRealMathSuite->MatrixConcatTranslate(&m, c.h, c.v);
  return transformArt(art, m);
}

// A plain move, built like the other transforms about the centre c.
HostErr moveAbout(ArtHandle art, HostPoint c, HostReal dx, HostReal dy) {
  HostMatrix m{};
  gRealMathSuite->MatrixSetTranslate(&m, -c.h, -c.v);
  gRealMathSuite->MatrixConcatTranslate(&m, c.h, c.v);
  gRealMathSuite->MatrixConcatTranslate(&m, dx, dy);
  return transformArt(art, m);
}

HostReal product(double a, double b, double c) { return static_cast<HostReal>(a * b * c); }

// Adds d to one coordinate of a sketch copy and returns d.
HostReal shiftCoordinate(HostReal& coordinate, HostReal amount, bool randomEach) {
  HostReal d = amount;
  if (randomEach) {
    const HostReal sign = randomSign();
    const HostReal rho = rnd();
    d = product(sign, amount, rho);
  }
  coordinate = static_cast<HostReal>(static_cast<double>(coordinate) + d);
  return d;
}

// True when transforming the path by the identity about its bounds centre
// would leave every coordinate as it is: a centre c gives the matrix
// translate(-c) scale(1, 1) translate(c), exactly the identity for a finite
// c (the plain bound keeps the bounds finite); the host then adds +0 to
// each coordinate, which changes only -0.
bool identityKeepsPath(const PathBuffer& built) { return built.exact && built.plain && !built.segments.empty(); }

}  // namespace

HostPoint boundsCentre(const HostRect& b) {
  const double left = b.left, right = b.right, top = b.top, bottom = b.bottom;
  return {static_cast<HostReal>(left + (right - left) / 2),
          static_cast<HostReal>(bottom + (top - bottom) / 2)};
}

HostErr transformArt(ArtHandle art, const HostMatrix& matrix) {
  return gTransformArtSuite->TransformArt(art, &matrix, 1.0f, kTransformObjects);
}

HostErr transformAboutCentre(ArtHandle art, const TransformStep* steps, std::size_t count) {
  HostRect bounds{};
  if (HostErr err = gArtSuite->GetArtBounds(art, &bounds)) return err;
  return transformAbout(art, boundsCentre(bounds), steps, count);
}

HostErr applySpiralTransforms(const SpiralRun& run, ArtHandle art, const PathBuffer* built) {
  const SpiralParameters& p = *run.p;

  TransformStep base[2];
  std::size_t n = 0;
  if (run.angleRadians != 0) base[n++] = rotateStep(run.angleRadians);
  base[n++] = scaleStep(run.scaleH, run.scaleV);
  const bool identity = n == 1 && run.scaleH == 1 && run.scaleV == 1;
  if (!(identity && built && identityKeepsPath(*built))) {
    if (HostErr err = transformAboutCentre(art, base, n)) return err;
  }

  if (p.randomAngle) {
    const TransformStep turn = rotateStep(product(10, rnd(), 1));
    if (HostErr err = transformAboutCentre(art, &turn, 1)) return err;
  }
  if (p.jitterCenter) {
    const HostReal signX = randomSign();
    const HostReal dx = product(signX, 50, rnd());
    const HostReal signY = randomSign();
    const HostReal dy = product(signY, 50, rnd());
    const TransformStep move = translateStep(dx, dy);
    if (HostErr err = transformAboutCentre(art, &move, 1)) return err;
  }
  if (p.randomScaling) {
    const HostReal s = static_cast<HostReal>(static_cast<double>(rnd()) + 0.01);
    const TransformStep scale = scaleStep(s, s);
    if (HostErr err = transformAboutCentre(art, &scale, 1)) return err;
  }
  if (p.jitterScaling) {
    HostReal j = product(0.1, rnd(), 1);
    if (rnd() > 0.5f) j = -j;
    const HostReal s = static_cast<HostReal>(1.0 + j);
    const TransformStep scale = scaleStep(s, s);
    if (HostErr err = transformAboutCentre(art, &scale, 1)) return err;
  }
  return kHostNoErr;
}

HostErr makeMirrorCopies(ArtHandle art, HostReal halfWidth, HostReal halfHeight) {
  ArtHandle c1 = nullptr, c2 = nullptr, c3 = nullptr;
  if (HostErr err = gArtSuite->DuplicateArt(art, kPlaceAboveAll, art, &c1)) return err;
  HostRect bounds{};
  if (HostErr err = gArtSuite->GetArtBounds(c1, &bounds)) return err;
  const HostPoint c = boundsCentre(bounds);
  const HostReal moveX = static_cast<HostReal>(2.0 * (static_cast<double>(halfWidth) - c.h));
  const HostReal moveY = static_cast<HostReal>(2.0 * (static_cast<double>(halfHeight) - c.v));

  if (HostErr err = moveAbout(c1, c, moveX, 0)) return err;
  if (HostErr err = gArtSuite->DuplicateArt(art, kPlaceAboveAll, art, &c2)) return err;
  if (HostErr err = moveAbout(c2, c, moveX, moveY)) return err;
  if (HostErr err = gArtSuite->DuplicateArt(art, kPlaceAboveAll, art, &c3)) return err;
  if (HostErr err = moveAbout(c3, c, 0, moveY)) return err;

  const TransformStep flipH = scaleStep(-1, 1);
  const TransformStep flipBoth = scaleStep(-1, -1);
  const TransformStep flipV = scaleStep(1, -1);
  if (HostErr err = transformAboutCentre(c1, &flipH, 1)) return err;
  if (HostErr err = transformAboutCentre(c2, &flipBoth, 1)) return err;
  return transformAboutCentre(c3, &flipV, 1);
}

HostErr makeSketchCopy(const SpiralRun& run, ArtHandle spiral, ArtHandle* copy, SketchShift* shift) {
  const SpiralParameters& p = *run.p;
  ArtHandle s = nullptr;
  if (HostErr err = gArtSuite->DuplicateArt(spiral, kPlaceAboveAll, spiral, &s)) return err;
  *copy = s;

  const HostReal signX = randomSign();
  const HostReal sx = product(signX, rnd(), p.sketchShift);
  const HostReal signY = randomSign();
  const HostReal sy = product(signY, rnd(), p.sketchShift);

  SketchShift last;
  if (sx != 0 || sy != 0) {
    const bool randomEach = p.randomSketchShift != 0;
    int16_t count = 0;
    if (HostErr err = gPathSuite->GetPathSegmentCount(s, &count)) return err;
    for (int16_t k = 0; k < count; ++k) {
      PathSegment seg{};
      if (HostErr err = gPathSuite->GetPathSegments(s, k, 1, &seg)) return err;
      shiftCoordinate(seg.p.h, sx, randomEach);
      last.anchorY = shiftCoordinate(seg.p.v, sy, randomEach);
      last.inX = shiftCoordinate(seg.in.h, sx, randomEach);
      shiftCoordinate(seg.in.v, sy, randomEach);
      shiftCoordinate(seg.out.h, sx, randomEach);
      last.outY = shiftCoordinate(seg.out.v, sy, randomEach);
      if (HostErr err = gPathSuite->SetPathSegments(s, k, 1, &seg)) return err;
    }
  }
  *shift = last;
  return kHostNoErr;
}
