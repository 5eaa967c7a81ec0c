// The paths an envelope shows: each path it holds, mapped through the
// envelope's shape and warp and flattened to points. One reading serves the
// SVG writer and the page's binary drawing, so both show the same thing.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "hostapp/model/document.h"
#include "hostapp/writers/envelope_warp.h"

namespace writers {

// True when every coordinate of the path is finite.
bool finitePath(const std::vector<host::Segment>& segs);

// An envelope ready to map its paths: its shape, the bounds of the art it
// holds and its warp.
struct WarpedEnvelope {
  const host::Document* doc;
  const host::EnvelopeData* data;
  envelope::EnvelopeShape shape;
  envelope::Rect bounds;
  envelope::WarpParams warp;
};

// Nothing when the envelope's shape or art has no finite bounds: it shows
// nothing.
std::optional<WarpedEnvelope> warpedEnvelope(const host::Document& doc, const host::Art& env);

// Calls `f(path, points)` for each path of the envelope that has a finite
// point, with its mapped points (those not finite left out), in order.
void forEachWarpedPath(const WarpedEnvelope& env,
                       const std::function<void(const host::Art&, const std::vector<envelope::Point>&)>& f);

}  // namespace writers
