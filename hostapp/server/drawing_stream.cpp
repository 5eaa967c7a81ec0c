#include "hostapp/server/drawing_stream.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

#include "hostapp/writers/svg_writer.h"
#include "hostapp/writers/warped_paths.h"

namespace server {
namespace {

using writers::finitePath;

// Appends little-endian words; the hosts this runs on are little-endian, so
// a word is copied as it is.
class Words {
 public:
  explicit Words(std::string& out) : out_(out) {}
  void u32(std::uint32_t v) { out_.append(reinterpret_cast<const char*>(&v), 4); }
  void f32(float v) { out_.append(reinterpret_cast<const char*>(&v), 4); }
  void point(host::Point p) {
    f32(p.x);
    f32(p.y);
  }

 private:
  std::string& out_;
};

static_assert(sizeof(float) == 4);

std::uint32_t rgba(bool on, const host::Color& color) {
  if (!on || color.kind == host::ColorKind::None) return 0;
  const auto rgb = writers::colorToSrgb(color);
  std::uint32_t v = 0;
  for (int k = 0; k < 3; ++k) v |= static_cast<std::uint32_t>(std::lround(rgb[k] * 255) & 0xFF) << (8 * k);
  return v | 0xFF000000u;
}

int dashCount(const host::Style& style) {
  if (!style.strokePaint) return 0;
  return std::clamp<int32_t>(style.dashCount, 0, static_cast<int32_t>(style.dashes.size()));
}

std::uint64_t recordBytes(int dashes, std::uint64_t segments) { return 4u * (7u + dashes) + 24u * segments; }

void writeRecord(std::string& out, const host::Style& style, float opacity, bool closed,
                 const std::vector<host::Segment>& segs) {
  Words w(out);
  const int dashes = dashCount(style);
  const std::uint32_t fill = rgba(style.fillPaint, style.fill), stroke = rgba(style.strokePaint, style.stroke);
  w.u32((closed ? 1u : 0u) | (fill ? 2u : 0u) | (stroke ? 4u : 0u) | (static_cast<std::uint32_t>(dashes) << 8));
  w.u32(fill);
  w.u32(stroke);
  w.f32(style.strokeWidth);
  w.f32(std::isfinite(opacity) ? std::clamp(opacity, 0.0f, 1.0f) : 0.0f);
  w.f32(style.dashOffset);
  for (int k = 0; k < dashes; ++k) w.f32(style.dashes[k]);
  w.u32(static_cast<std::uint32_t>(segs.size()));
  for (const host::Segment& s : segs) {
    w.point(s.in);
    w.point(s.anchor);
    w.point(s.out);
  }
}

template <typename F>
void forEachEnvelopePath(const host::Document& doc, const host::Art& env, F&& f) {
  const std::optional<writers::WarpedEnvelope> warped = writers::warpedEnvelope(doc, env);
  if (!warped) return;
  std::vector<host::Segment> flat;
  writers::forEachWarpedPath(*warped, [&](const host::Art& a, const std::vector<envelope::Point>& points) {
    flat.clear();
    for (const envelope::Point& p : points) {
      const host::Point q{static_cast<float>(p.x), static_cast<float>(p.y)};
      flat.push_back({q, q, q, false});
    }
    f(a.state.style, a.state.opacity, a.state.closed, flat);
  });
}

// Every path one art shows: f(style, opacity, closed, segments).
template <typename F>
void forEachPathOf(const host::Document& doc, const host::Art& a, F&& f) {
  if (a.kind == host::ArtKind::Path) {
    if (!a.state.segments.empty() && finitePath(a.state.segments))
      f(a.state.style, a.state.opacity, a.state.closed, a.state.segments);
  } else {
    forEachEnvelopePath(doc, a, f);
  }
}

}  // namespace

DrawingSummary summarizeDrawing(const host::Document& doc) {
  DrawingSummary summary;
  summary.bytes = kDrawingHeaderBytes;
  for (const host::Layer& layer : doc.layers()) {
    std::uint64_t& layerPaths = summary.layerPaths.emplace_back(0);
    doc.forEachInPaintOrder(layer.id, [&](const host::Art& a) {
      forEachPathOf(doc, a, [&](const host::Style& style, float, bool, const std::vector<host::Segment>& segs) {
        ++layerPaths;
        ++summary.paths;
        summary.segments += segs.size();
        summary.bytes += recordBytes(dashCount(style), segs.size());
      });
    });
  }
  return summary;
}

std::string drawingPiece(const host::Document& doc, std::uint32_t serial, const DrawingSummary& summary,
                         DrawingCursor& cursor, std::size_t budget, bool& done) {
  std::string out;
  if (cursor.atStart()) {
    out.append(kDrawingMagic, 4);
    Words w(out);
    w.u32(serial);
    w.point(doc.pageSize());
    w.u32(static_cast<std::uint32_t>(std::min<std::uint64_t>(summary.paths, UINT32_MAX)));
    w.u32(static_cast<std::uint32_t>(std::min<std::uint64_t>(summary.segments, UINT32_MAX)));
    w.u32(static_cast<std::uint32_t>(std::min<std::uint64_t>(summary.bytes, UINT32_MAX)));
    w.u32(0);
  }
  const auto& layers = doc.layers();
  while (cursor.layer < layers.size()) {
    const host::Layer& layer = layers[cursor.layer];
    host::ArtId id = cursor.art == host::kNoArt ? layer.bottom : cursor.art;
    for (; id != host::kNoArt; id = doc.art(id)->links.above) {
      if (out.size() >= budget) {
        cursor.art = id;
        done = false;
        return out;
      }
      forEachPathOf(doc, *doc.art(id), [&](const host::Style& style, float opacity, bool closed,
                                           const std::vector<host::Segment>& segs) {
        writeRecord(out, style, opacity, closed, segs);
      });
    }
    ++cursor.layer;
    cursor.art = host::kNoArt;
  }
  done = true;
  return out;
}

}  // namespace server
