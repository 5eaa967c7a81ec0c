#include "generator/output_order.h"

#include "generator/extras.h"
#include "generator/styling.h"
#include "generator/transforms.h"

HostErr finishSpiral(const SpiralRun& run, ArtHandle spiral, HostPoint centre, const PathBuffer* built) {
  const SpiralParameters& p = *run.p;
  if (HostErr err = applySpiralTransforms(run, spiral, built)) return err;
  if (HostErr err = styleSpiral(run, spiral)) return err;
  if (p.symbolize) {
    if (HostErr err = symbolizeSpiral(spiral)) return err;
  }
  if (p.randomWarp) {
    if (HostErr err = warpSpiral(spiral, centre)) return err;
  }
  if (p.dropShadow) {
    if (HostErr err = addDropShadow(run, spiral)) return err;
  }
  if (p.basicPattern) {
    if (HostErr err = makeMirrorCopies(spiral, run.halfWidth, run.halfHeight)) return err;
  }
  for (int32_t i = 0; i < p.sketchRepeats; ++i) {
    ArtHandle copy = nullptr;
    SketchShift shift;
    if (HostErr err = makeSketchCopy(run, spiral, &copy, &shift)) return err;
    styleSketchCopy(run, copy, shift);
    if (p.basicPattern) {
      if (HostErr err = makeMirrorCopies(copy, run.halfWidth, run.halfHeight)) return err;
    }
  }
  return kHostNoErr;
}
