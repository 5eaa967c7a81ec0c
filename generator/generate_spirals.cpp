#include "generator/generate_spirals.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "generator/extras.h"
#include "generator/coordinate_checks.h"
#include "generator/host_services.h"
#include "generator/output_order.h"
#include "generator/placement.h"
#include "shell/suite_table.h"

namespace {

float f32(double value) { return static_cast<float>(value); }

constexpr float kFloatMax = std::numeric_limits<float>::max();

// Segment numbers are signed 16-bit: the last index a path can hold.
constexpr int32_t kLastSegmentIndex = kMaxPathSegments - 1;

HostReal divide(HostReal a, HostReal b) {
  HostReal result = 0;
  gRealMathSuite->RealDiv(a, b, &result);
  return result;
}

HostReal radians(HostReal degrees) {
  HostReal result = 0;
  gRealMathSuite->DegreeToRadian(degrees, &result);
  return result;
}

HostErr writeSegment(ArtHandle path, int32_t index, const PathSegment& segment) {
  return gPathSuite->SetPathSegments(path, static_cast<int16_t>(index), 1, &segment);
}

HostErr readSegment(ArtHandle path, int32_t index, PathSegment& segment) {
  return gPathSuite->GetPathSegments(path, static_cast<int16_t>(index), 1, &segment);
}

HostErr writeSegments(ArtHandle path, int32_t index, const std::vector<PathSegment>& segments) {
  return gPathSuite->SetPathSegments(path, static_cast<int16_t>(index), static_cast<int16_t>(segments.size()),
                                     segments.data());
}

// Writes `added` from segment `first` on with one call. A refused batch
// (the memory budget) is written again one segment at a time up to the
// first refusal, so the path ends as writing segment by segment would leave
// it: every append after a refused one lies beyond the path's end and is
// refused too. Returns how many segments the path took.
std::size_t appendSegments(ArtHandle path, int32_t first, const std::vector<PathSegment>& added) {
  if (added.empty()) return 0;
  if (!writeSegments(path, first, added)) return added.size();
  std::size_t taken = 0;
  while (taken < added.size() && !writeSegment(path, first + static_cast<int32_t>(taken), added[taken])) ++taken;
  return taken;
}

// Writes the arm loop's anchors with one call. When the host cannot hold
// them all, they are written again one at a time, so the path keeps the
// anchors that fit as writing them one by one would, and the first refusal
// ends the run.
HostErr writeArmLoop(ArtHandle path, const std::vector<PathSegment>& segs) {
  if (segs.empty()) return kHostNoErr;
  const HostErr err = writeSegments(path, 0, segs);
  if (err != kHostOutOfMemoryErr) return err;
  for (std::size_t i = 0; i < segs.size(); ++i)
    if (HostErr e = writeSegment(path, static_cast<int32_t>(i), segs[i])) return e;
  return err;
}

// The offset passes run the main path (segments 0..last) back and forth
// beside itself. The main path is read with one call and the passes are
// appended with one call; neither is tested: a failing read leaves zeros and
// the passes going. Appending stops at the path's segment limit.
void runOffsetPasses(const SpiralRun& run, KernelServices& services, ArtHandle path, int32_t last, int32_t& m,
                     PathBuffer& buffer) {
  const SpiralParameters& p = *run.p;
  std::vector<PathSegment>& main = buffer.source;
  main.assign(static_cast<std::size_t>(last) + 1, PathSegment{});
  if (gPathSuite->GetPathSegments(path, 0, static_cast<int16_t>(main.size()), main.data()))
    std::fill(main.begin(), main.end(), PathSegment{});
  std::vector<PathSegment>& added = buffer.added;
  added.clear();
  const int32_t first = m + 1;
  std::vector<PathSegment>& segs = buffer.segments;
  std::size_t held = segs.size();  // the path's segments as the passes append
  bool stopped = false;
  for (int32_t pass = 1; pass <= p.offsetCount; ++pass) {
    float f = 1.0f;
    const HostReal r1 = services.rnd();
    const HostReal r2 = services.rnd();
    const bool backward = pass % 2 == 1;
    bool full = false;
    for (int32_t step = 0; step <= last; ++step) {
      if (m >= kLastSegmentIndex) {
        full = true;
        break;
      }
      const int32_t d = backward ? last - step : step;
      HostReal sx = f32(static_cast<double>(pass) * p.spiralOffsetX);
      HostReal sy = f32(static_cast<double>(pass) * p.spiralOffsetY);
      applyOffsetMode(run.offsetMode, m, r1, r2, sx, sy, services);
      ++m;
      if (stopped) continue;

      const PathSegment& old = main[static_cast<std::size_t>(d)];
      PathSegment seg = old;
      const float dx = f32(static_cast<double>(sx) * f);
      const float dy = f32(static_cast<double>(sy) * f);
      seg.p = {f32(static_cast<double>(old.p.h) + dx), f32(static_cast<double>(old.p.v) + dy)};
      const HostPoint& in = backward ? old.out : old.in;
      const HostPoint& out = backward ? old.in : old.out;
      seg.in = {f32(static_cast<double>(in.h) + dx), f32(static_cast<double>(in.v) + dy)};
      seg.out = {f32(static_cast<double>(out.h) + dx), f32(static_cast<double>(out.v) + dy)};
      // The host refuses a point off the float range. Refused in place of a
      // segment the path holds (one the arm loop's last draw dropped), that
      // segment stays; refused at the end, every later append would lie
      // beyond the path's end: the passes append no more but run on for
      // their draws.
      const std::size_t at = static_cast<std::size_t>(m);
      if (coordinates::finite(seg)) {
        buffer.plain &= coordinates::plain(seg, PathBuffer::kPlainBound);
        added.push_back(seg);
        if (at == held) ++held;
      } else if (at < held) {
        added.push_back(segs[at]);
      } else {
        stopped = true;
      }
      f = f32(static_cast<double>(f) * run.pointFactor);
    }
    if (full) break;
  }
  const std::size_t taken = appendSegments(path, first, added);
  if (taken < added.size()) buffer.exact = false;
  for (std::size_t i = 0; i < taken; ++i) {
    const std::size_t at = static_cast<std::size_t>(first) + i;
    if (at < segs.size()) segs[at] = added[i];
    else segs.push_back(added[i]);
  }
}

}  // namespace

void applyOffsetMode(OffsetMode mode, int32_t written, HostReal r1, HostReal r2, HostReal& sx, HostReal& sy,
                     KernelServices& services) {
  const auto scaled = [](HostReal factor, HostReal value) { return f32(static_cast<double>(factor) * value); };
  const int32_t j2 = written % 2;
  const int32_t j4 = written % 4;
  using enum OffsetMode;
  switch (mode) {
    case RandomPointX: sx = scaled(services.rnd(), sx); break;
    case RandomPointY: sy = scaled(services.rnd(), sy); break;
    case RandomPoint:
      sx = scaled(services.rnd(), sx);
      sy = scaled(services.rnd(), sy);
      break;
    case RandomPassX: sx = scaled(r1, sx); break;
    case RandomPassY: sy = scaled(r1, sy); break;
    case RandomPass:
      sx = scaled(r1, sx);
      sy = scaled(r2, sy);
      break;
    case XOnEven: if (j2 != 0) sx = 0; break;
    case YOnEven: if (j2 != 0) sy = 0; break;
    case OnEven: if (j2 != 0) sx = sy = 0; break;
    case XOnOdd: if (j2 == 0) sx = 0; break;
    case YOnOdd: if (j2 == 0) sy = 0; break;
    case OnOdd: if (j2 == 0) sx = sy = 0; break;
    case Cycle1:
      switch (j4) {
        case 0: sx = 0; sy = -sy; break;
        case 1: sx = -sx; sy = 0; break;
        case 2: sx = 0; break;
        default: sy = 0; break;
      }
      break;
    case Cycle2:
      switch (j4) {
        case 0: sy = 0; break;
        case 1: sx = 0; sy = -sy; break;
        case 2: sx = -sx; sy = 0; break;
        default: sx = 0; break;
      }
      break;
    case Cycle3:
      switch (j4) {
        case 0: sx = 0; break;
        case 1: sy = 0; break;
        case 2: sx = 0; sy = -sy; break;
        default: sx = -sx; sy = 0; break;
      }
      break;
    case Cycle4:
      switch (j4) {
        case 0: sx = -sx; sy = 0; break;
        case 1: sx = 0; break;
        case 2: sy = 0; break;
        default: sx = 0; sy = -sy; break;
      }
      break;
    case Cycle5:
      switch (j4) {
        case 0: sy = 0; break;
        case 1: sx = 0; sy = -sy; break;
        case 2: sx = -sx; sy = 0; break;
        default: sx = sy; break;
      }
      break;
    case Cycle6:
      switch (j4) {
        case 0: sy = 0; break;
        case 1: sx = 0; sy = -sy; break;
        case 2: sx = -sx; sy = sx; break;
        default: sx = 0; break;
      }
      break;
    case Cycle7:
      switch (j4) {
        case 0: sy = sx; break;
        case 1: sx = 0; sy = -sy; break;
        case 2: sx = -sx; sy = 0; break;
        default: sx = 0; break;
      }
      break;
    default: break;  // Basic and modes outside the list
  }
}

void convertParameters(const SpiralParameters& p, SpiralRun& run) {
  run.p = &p;
  KernelConstants& k = run.kernel;
  k.gap = p.armGap;
  k.decay = divide(p.decay, 100.0f);
  k.decayStep = divide(p.decayAccumulate, 100.0f);
  k.curveFactorIn = divide(p.armCurveFactor1, 100.0f);
  k.curveFactorOut = divide(p.armCurveFactor2, 100.0f);
  k.curvatureIn = radians(p.curvature1);
  k.curvatureOut = radians(p.curvature2);
  k.interpolation = divide(p.interpolationAmount, 100.0f);
  k.starX = p.starAdditionX;
  k.starY = p.starAdditionY;
  k.sideShift = p.pointSideShift;
  k.pointShiftX = p.pointShiftX;
  k.pointShiftY = p.pointShiftY;
  k.pointShiftMode = toMode<PointShiftMode>(p.pointShiftMode);
  k.structure = toMode<SpiralStructure>(p.spiralStructure);
  k.armCount = p.armCount;
  k.randomCurve = p.randomCurve != 0;
  k.randomInterpolate = p.randomInterpolate != 0;
  k.threePoints = p.threePoints != 0;

  run.angleRadians = radians(p.spiralAngle);
  run.scaleH = divide(p.scaleH, 100.0f);
  run.scaleV = divide(p.scaleV, 100.0f);
  run.sketchWidth = divide(p.sketchWeight, 10.0f);
  run.pointFactor = divide(p.pointFactor, 1000.0f);
  run.halfWidth = divide(run.pageWidth, 2.0f);
  run.halfHeight = divide(run.pageHeight, 2.0f);
  run.placementMode = toMode<PlacementMode>(p.placementMode);
  run.interpolationMode = toMode<InterpolationMode>(p.interpolationMode);
  run.offsetMode = toMode<OffsetMode>(p.offsetMode);
  run.sketchColourMode = toMode<SketchColourMode>(p.sketchColorMode);
}

HostErr buildSpiralPath(const SpiralRun& run, KernelServices& services, ArtHandle* pathOut, HostPoint* centreOut,
                        PathBuffer& buffer) {
  const SpiralParameters& p = *run.p;
  const KernelConstants& k = run.kernel;
  SpiralState state = startSpiral(k);
  int32_t m = 0;
  std::vector<PathSegment>& segs = buffer.segments;
  segs.clear();
  buffer.exact = true;
  buffer.plain = true;

  ArtHandle path = nullptr;
  HostErr err = gArtSuite->NewArt(kPathArt, kPlaceAboveAll, nullptr, &path);
  if (err) return err;
  *pathOut = path;
  gPathSuite->SetPathSegmentCount(path, 0);

  const HostPoint centre = placeSpiral(run.placementMode, {p.centerX, p.centerY}, run.pageWidth, run.pageHeight,
                                       services);
  const HostPoint origin =
      chooseInterpolationOrigin(run.interpolationMode, centre, p.armGap, run.pageWidth, run.pageHeight, services);
  *centreOut = centre;
  const bool finiteOrigin = coordinates::finite(origin);

  int32_t arms = p.armCount;
  if (p.randomArms) {
    arms = static_cast<int32_t>(std::trunc(static_cast<double>(services.rnd()) * p.armCount)) + 1;
    if (arms > p.armCount) arms = p.armCount;
  }
  // The main path never outgrows the segment limit, whatever "Max points" holds.
  const int32_t cap = std::min(p.maxPoints, kMaxPathSegments);
  segs.reserve(static_cast<std::size_t>(std::clamp(static_cast<int64_t>(arms) * 4, int64_t{0}, int64_t{cap})));

  // The anchors gather in the buffer (an anchor whose draw drops it is
  // overwritten by the next) and reach the host with one call.
  bool capped = false;
  for (int32_t n = 0; n < arms && !capped; ++n) {
    bool drawn = true;
    if (p.randomCreateArms) drawn = static_cast<double>(services.rnd()) * 10.0 > 5.0;
    if (drawn) {
      for (int32_t anchor = 1; anchor <= 4; ++anchor) {
        const HostPoint shift = anchorShift(k, n, anchor, services);
        if (anchor == 4 && k.threePoints) break;
        if (m >= cap) {
          capped = true;
          break;
        }
        const HostReal t = anchorInterpolation(k, services);
        const HandleAngles angles = anchorAngles(k, state, services);
        PathSegment seg = anchorSegment(anchor, n, k, state, centre, shift, angles, services);
        // p + 0 (origin - p) is p for finite points, except that -0 may come
        // back +0: moving by t = 0 needs no host call otherwise. The usual
        // anchor, plain and not moved, needs no other test.
        const bool plainAnchor = coordinates::plain(seg, PathBuffer::kPlainBound);
        if (!(t == 0 && plainAnchor && finiteOrigin)) {
          if (!(t == 0 && coordinates::plain(seg.p, kFloatMax) && finiteOrigin)) interpolateAnchor(origin, seg, t, services);
          if (!coordinates::finite(seg)) {
            // The host refuses a point off the float range: the path holds
            // the anchors before it and the run ends with the host's code.
            if ((err = writeArmLoop(path, segs))) return err;
            if ((err = writeSegment(path, m, seg))) return err;
          }
          buffer.plain &= coordinates::plain(seg, PathBuffer::kPlainBound);
        }
        if (static_cast<std::size_t>(m) < segs.size()) segs[static_cast<std::size_t>(m)] = seg;
        else segs.push_back(seg);
        stepSpiral(n, anchor, k.structure, k.gap, state, services);
        if (!p.randomAbstract || static_cast<double>(services.rnd()) * 10.0 > 5.0) ++m;
      }
    } else {
      for (int32_t anchor = 1; anchor <= 4; ++anchor) stepSpiral(n, anchor, k.structure, k.gap, state, services);
    }
    if (!capped) stepSpiral(n, 5, k.structure, k.gap, state, services);
  }
  if ((err = writeArmLoop(path, segs))) return err;

  // Retract the end handles: the path starts and ends on its anchors.
  PathSegment seg{};
  if ((err = readSegment(path, 0, seg))) return err;
  seg.in = seg.p;
  if ((err = writeSegment(path, 0, seg))) return err;
  segs[0] = seg;
  --m;
  if ((err = readSegment(path, m, seg))) return err;
  seg.out = seg.p;
  if ((err = writeSegment(path, m, seg))) return err;
  segs[static_cast<std::size_t>(m)] = seg;
  const int32_t last = m;

  if (p.spiralOffsetX != 0.0f || p.spiralOffsetY != 0.0f) runOffsetPasses(run, services, path, last, m, buffer);

  if (p.closeSpiral) {
    if ((err = gPathSuite->SetPathClosed(path, 1))) return err;
  }
  return kHostNoErr;
}

HostErr generateSpirals(SpiralParameters& p) {
  if (p.fromGo && p.previewDrawn) {
    // The preview already shows these values: its art is the result.
    p.previewDrawn = 0;
    return kHostNoErr;
  }
  HostErr err = gUndoSuite->UndoChanges();
  if (err) return err;

  SpiralRun run;
  if ((err = gArtStyleSuite->CountArtStyles(&run.artStyleCount))) return err;
  HostPoint page{0, 0};
  if ((err = gDocumentSuite->GetDocumentPageSize(&page))) return err;
  run.pageWidth = page.h;
  run.pageHeight = page.v;
  run.swatchCount = gSwatchListSuite->CountSwatches(nullptr);
  convertParameters(p, run);

  if (p.newLayer) {
    if ((err = addRunLayer(p))) return err;
  }

  HostKernelServices services;
  PathBuffer buffer;
  for (int32_t i = 0; i < p.spiralCount; ++i) {
    ArtHandle path = nullptr;
    HostPoint centre{0, 0};
    if ((err = buildSpiralPath(run, services, &path, &centre, buffer))) return err;
    if ((err = finishSpiral(run, path, centre, &buffer))) return err;
  }

  if (!p.fromGo) {
    if ((err = gDocumentSuite->RedrawDocument())) return err;
  }
  return kHostNoErr;
}
