#include "hostapp/writers/warped_paths.h"

#include <algorithm>
#include <cmath>

namespace writers {
namespace {

envelope::Point toEnv(host::Point p) { return {p.x, p.y}; }

envelope::Rect toEnv(const host::Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

// A shape whose handles all sit on their anchors is drawn as a rectangle;
// anything curved as an ellipse.
envelope::ShapeKind shapeKind(const std::vector<host::Segment>& segs) {
  for (const host::Segment& s : segs)
    if (!(s.in == s.anchor) || !(s.out == s.anchor)) return envelope::ShapeKind::kEllipse;
  return envelope::ShapeKind::kRectangle;
}

bool drawable(const host::Art* a) { return a && !a->state.segments.empty() && finitePath(a->state.segments); }

}  // namespace

bool finitePath(const std::vector<host::Segment>& segs) {
  return std::all_of(segs.begin(), segs.end(), [](const host::Segment& s) { return host::isFinite(s); });
}

std::optional<WarpedEnvelope> warpedEnvelope(const host::Document& doc, const host::Art& env) {
  const host::EnvelopeData& data = env.state.envelope;
  const host::Art* shapeArt = doc.art(data.shape);
  if (!drawable(shapeArt)) return std::nullopt;
  envelope::EnvelopeShape shape;
  shape.kind = shapeKind(shapeArt->state.segments);
  shape.bounds = toEnv(host::segmentBounds(shapeArt->state.segments, true));

  bool haveBounds = false;
  host::Rect artBounds;
  for (host::ArtId id : data.contents) {
    const host::Art* a = doc.art(id);
    if (!drawable(a)) continue;
    const host::Rect b = host::segmentBounds(a->state.segments, a->state.closed);
    artBounds = haveBounds ? host::unite(artBounds, b) : b;
    haveBounds = true;
  }
  if (!haveBounds) return std::nullopt;
  const envelope::WarpParams warp{data.warp.style, data.warp.bend, data.warp.horizontal, data.warp.vertical,
                                  data.warp.rotate};
  return WarpedEnvelope{&doc, &data, shape, toEnv(artBounds), warp};
}

void forEachWarpedPath(const WarpedEnvelope& env,
                       const std::function<void(const host::Art&, const std::vector<envelope::Point>&)>& f) {
  std::vector<envelope::Point> finite;
  for (host::ArtId id : env.data->contents) {
    const host::Art* a = env.doc->art(id);
    if (!drawable(a)) continue;
    const auto& segs = a->state.segments;
    std::vector<envelope::Cubic> chain;
    for (std::size_t i = 1; i < segs.size(); ++i)
      chain.push_back({toEnv(segs[i - 1].anchor), toEnv(segs[i - 1].out), toEnv(segs[i].in), toEnv(segs[i].anchor)});
    if (a->state.closed)
      chain.push_back({toEnv(segs.back().anchor), toEnv(segs.back().out), toEnv(segs[0].in), toEnv(segs[0].anchor)});
    if (chain.empty()) chain.push_back({toEnv(segs[0].anchor), toEnv(segs[0].anchor), toEnv(segs[0].anchor),
                                        toEnv(segs[0].anchor)});
    finite.clear();
    for (const envelope::Point& p : envelope::flattenThroughEnvelope(chain, env.bounds, env.shape, env.warp))
      if (std::isfinite(p.x) && std::isfinite(p.y)) finite.push_back(p);
    if (!finite.empty()) f(*a, finite);
  }
}

}  // namespace writers
