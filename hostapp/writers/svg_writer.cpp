#include "hostapp/writers/svg_writer.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <cstdint>
#include <cstring>
#include <sstream>

#include "hostapp/writers/art_numbers.h"
#include "hostapp/writers/envelope_warp.h"
#include "hostapp/writers/text_sink.h"
#include "hostapp/writers/warped_paths.h"

namespace writers {
namespace {

double clamp01(float v) { return std::isfinite(v) ? std::clamp(static_cast<double>(v), 0.0, 1.0) : 0.0; }

// Escaped for an attribute value, or (`quotes` false) for element text.
void escaped(TextSink& out, std::string_view text, bool quotes = true) {
  for (char c : text) {
    switch (c) {
      case '&': out.put("&amp;"); break;
      case '<': out.put("&lt;"); break;
      case '>': out.put("&gt;"); break;
      case '"':
        if (quotes) {
          out.put("&quot;");
          break;
        }
        [[fallthrough]];
      default: out.put(c);
    }
  }
}

int byteOf(double channel) { return static_cast<int>(std::lround(channel * 255)); }

void paint(TextSink& out, bool on, const host::Color& color) {
  if (!on || color.kind == host::ColorKind::None) {
    out.put("none");
    return;
  }
  static constexpr char kHex[] = "0123456789abcdef";
  const auto rgb = colorToSrgb(color);
  out.put('#');
  for (double channel : rgb) {
    const int b = byteOf(channel);
    out.put(kHex[(b >> 4) & 15]);
    out.put(kHex[b & 15]);
  }
}

void point(TextSink& out, host::Point p) {
  out.fixed3(p.x);
  out.put(' ');
  out.fixed3(p.y);
}

// " C x1 y1 x2 y2 x y", straight into the sink. A handle lies on its
// anchor's line, so a number often repeats one before it in the curve: it
// is copied rather than formatted again.
void curveTo(TextSink& out, host::Point c1, host::Point c2, host::Point end) {
  const float numbers[6] = {c1.x, c1.y, c2.x, c2.y, end.x, end.y};
  char* p = out.claim(3 + 7 * (TextSink::kLongestFixed3 + 1));  // the last copy moves a longest number
  std::memcpy(p, " C ", 3);
  p += 3;
  const char* starts[6];
  std::size_t lengths[6];
  std::uint32_t bits[6];
  for (std::size_t i = 0; i < 6; ++i) {
    if (i != 0) *p++ = ' ';
    std::memcpy(&bits[i], &numbers[i], sizeof bits[i]);
    starts[i] = p;
    std::size_t same = 0;
    while (same < i && bits[same] != bits[i]) ++same;
    if (same < i) {
      std::memmove(p, starts[same], TextSink::kLongestFixed3);
      p += lengths[same];
    } else {
      p = TextSink::fixed3At(p, numbers[i]);
    }
    lengths[i] = static_cast<std::size_t>(p - starts[i]);
  }
  out.commit(p);
}

void bezierData(TextSink& out, const std::vector<host::Segment>& segs, bool closed) {
  out.put("M ");
  point(out, segs[0].anchor);
  for (std::size_t i = 1; i < segs.size(); ++i) curveTo(out, segs[i - 1].out, segs[i].in, segs[i].anchor);
  if (closed) {
    curveTo(out, segs.back().out, segs[0].in, segs[0].anchor);
    out.put(" Z");
  }
}

// How far a path's paint reaches beyond its outline: half the stroke width,
// a miter join at most the miter limit (4) times that; one point more
// absorbs rounding. Infinite for a stroke width that is not finite.
double paintReach(const host::Style& style) {
  const double width = style.strokePaint ? std::fabs(static_cast<double>(style.strokeWidth)) : 0.0;
  return std::isfinite(width) ? 2 * width + 1 : HUGE_VAL;
}

// The page [0, W] x [0, H] widened by a path's reach; what lies wholly
// outside it adds no pixel to a picture of the page.
struct VisibleArea {
  host::Point page;
  double reach = 0;

  bool misses(double minX, double minY, double maxX, double maxY) const {
    return maxX + reach < 0 || minX - reach > page.x || maxY + reach < 0 || minY - reach > page.y;
  }
};

// Path data for a picture. A curve far larger than the page is split
// (exactly, at its middle) until its pieces are small or out of sight, and
// the pieces out of sight are written as their chords, so the renderer
// never flattens miles of curve to draw an inch. A piece whose control
// points all lie outside the visible area may become its chord: the region
// between a curve and its chord lies in their hull, so no point of the page
// changes its winding number and no stroke or join that differs reaches the
// page. Drawings whose curves stay within 64 pages of the page come out
// exactly as in the SVG file.
class PictureCurves {
 public:
  PictureCurves(TextSink& out, VisibleArea area)
      : out_(out), area_(area), largest_(64.0 * std::max<double>({area.page.x, area.page.y, 1.0})) {}

  void curve(host::Point p0, host::Point p1, host::Point p2, host::Point p3) {
    split({p0.x, p0.y}, {p1.x, p1.y}, {p2.x, p2.y}, {p3.x, p3.y}, 0);
  }

 private:
  // Pieces are split in double; their points are written as floats, like
  // every point of the drawing.
  struct Exact {
    double x, y;
  };
  static Exact mid(Exact a, Exact b) { return {(a.x + b.x) / 2, (a.y + b.y) / 2}; }
  static host::Point stored(Exact p) { return {static_cast<float>(p.x), static_cast<float>(p.y)}; }

  void split(Exact p0, Exact p1, Exact p2, Exact p3, int depth) {
    const double minX = std::min({p0.x, p1.x, p2.x, p3.x}), maxX = std::max({p0.x, p1.x, p2.x, p3.x});
    const double minY = std::min({p0.y, p1.y, p2.y, p3.y}), maxY = std::max({p0.y, p1.y, p2.y, p3.y});
    const bool large = std::max(maxX - minX, maxY - minY) > largest_;
    // Curves of ordinary size are left as they are, so that their pixels
    // stay exactly those of the SVG file (the renderer's rounding notices
    // even an unseen chord).
    if ((large || depth > 0) && area_.misses(minX, minY, maxX, maxY)) {
      out_.put(" L ");
      point(out_, stored(p3));
      return;
    }
    if (large && depth < kMostSplits) {
      const Exact a = mid(p0, p1), b = mid(p1, p2), c = mid(p2, p3);
      const Exact ab = mid(a, b), bc = mid(b, c);
      const Exact m = mid(ab, bc);
      split(p0, a, ab, m, depth + 1);
      split(m, bc, c, p3, depth + 1);
      return;
    }
    curveTo(out_, stored(p1), stored(p2), stored(p3));
  }

  // Each split halves a piece's extent, and at each depth only the few
  // pieces near the page split again: 128 halvings take the largest float
  // extent down to a point.
  static constexpr int kMostSplits = 128;
  TextSink& out_;
  VisibleArea area_;
  double largest_;
};

void pictureData(TextSink& out, const std::vector<host::Segment>& segs, bool closed, VisibleArea area) {
  PictureCurves curves(out, area);
  out.put("M ");
  point(out, segs[0].anchor);
  for (std::size_t i = 1; i < segs.size(); ++i)
    curves.curve(segs[i - 1].anchor, segs[i - 1].out, segs[i].in, segs[i].anchor);
  if (closed) {
    curves.curve(segs.back().anchor, segs.back().out, segs[0].in, segs[0].anchor);
    out.put(" Z");
  }
}

void styleAttributes(TextSink& out, const host::Style& style, float opacity) {
  out.put(" fill=\"");
  paint(out, style.fillPaint, style.fill);
  out.put("\" stroke=\"");
  paint(out, style.strokePaint, style.stroke);
  out.put('"');
  if (style.strokePaint) {
    out.put(" stroke-width=\"");
    out.fixed3(style.strokeWidth);
    out.put('"');
  }
  if (style.strokePaint && style.dashCount > 0) {
    out.put(" stroke-dasharray=\"");
    for (int32_t i = 0; i < style.dashCount; ++i) {
      if (i) out.put(' ');
      out.fixed3(style.dashes[i]);
    }
    out.put('"');
    if (style.dashOffset != 0) {
      out.put(" stroke-dashoffset=\"");
      out.fixed3(style.dashOffset);
      out.put('"');
    }
  }
  if (opacity < 1) {
    out.put(" opacity=\"");
    out.fixed3(clamp01(opacity));
    out.put('"');
  }
}

// An art path has the id "art-N", N its number; a symbol's paths have none
// (number 0). With a `picture` area the path data are written for a picture
// of the page (see PictureCurves).
void writePath(TextSink& out, std::string_view indent, std::uint32_t number, const std::vector<host::Segment>& segs,
               bool closed, const host::Style& style, float opacity, const host::Point* picture = nullptr) {
  if (segs.empty() || !finitePath(segs)) return;
  out.put(indent);
  out.put("<path");
  if (number != 0) {
    out.put(" id=\"art-");
    out.integer(number);
    out.put('"');
  }
  out.put(" d=\"");
  if (picture)
    pictureData(out, segs, closed, VisibleArea{*picture, paintReach(style)});
  else
    bezierData(out, segs, closed);
  out.put('"');
  styleAttributes(out, style, opacity);
  out.put("/>\n");
}

// True when the path, its stroke included, cannot reach the page.
bool offPage(const std::vector<host::Segment>& segs, bool closed, const host::Style& style, host::Point page) {
  const host::Rect b = host::segmentBounds(segs, closed);
  // Artwork y points up: a rectangle's top is its largest y.
  return VisibleArea{page, paintReach(style)}.misses(b.left, b.bottom, b.right, b.top);
}

void writeEnvelope(TextSink& out, std::string_view indent, const host::Document& doc, const ArtNumbers& numbers,
                   const host::Art& env) {
  const std::optional<WarpedEnvelope> warped = warpedEnvelope(doc, env);
  if (!warped) return;
  out.put(indent);
  out.put("<g id=\"envelope-");
  out.integer(numbers.of(env.id));
  out.put("\" data-warp-style=\"");
  out.integer(env.state.envelope.warp.style);
  out.put("\">\n");
  forEachWarpedPath(*warped, [&](const host::Art& a, const std::vector<envelope::Point>& points) {
    out.put(indent);
    out.put("  <path id=\"art-");
    out.integer(numbers.of(a.id));
    out.put("\" d=\"");
    bool first = true;
    for (const envelope::Point& p : points) {
      out.put(first ? "M " : " L ");
      first = false;
      out.fixed3(p.x);
      out.put(' ');
      out.fixed3(p.y);
    }
    if (a.state.closed) out.put(" Z");
    out.put('"');
    styleAttributes(out, a.state.style, a.state.opacity);
    out.put("/>\n");
  });
  out.put(indent);
  out.put("</g>\n");
}

}  // namespace

std::array<double, 3> colorToSrgb(const host::Color& c) {
  switch (c.kind) {
    case host::ColorKind::Gray: {
      const double v = 1.0 - clamp01(c.c[0]);
      return {v, v, v};
    }
    case host::ColorKind::ThreeColor: return {clamp01(c.c[0]), clamp01(c.c[1]), clamp01(c.c[2])};
    case host::ColorKind::FourColor: {
      const double k = 1.0 - clamp01(c.c[3]);
      return {(1.0 - clamp01(c.c[0])) * k, (1.0 - clamp01(c.c[1])) * k, (1.0 - clamp01(c.c[2])) * k};
    }
    default: return {0.5, 0.5, 0.5};
  }
}

void writeSvg(const host::Document& doc, std::ostream& stream, std::string_view metadata, const SvgOptions& options) {
  TextSink out(stream);
  const host::Point page = doc.pageSize();
  out.put("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
  out.put("<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"");
  out.fixed3(page.x);
  out.put("pt\" height=\"");
  out.fixed3(page.y);
  out.put("pt\" viewBox=\"0 0 ");
  point(out, page);
  out.put("\">\n");
  if (!metadata.empty()) {
    out.put("  <metadata id=\"");
    out.put(kSvgMetadataId);
    out.put("\">");
    escaped(out, metadata, false);
    out.put("</metadata>\n");
  }
  if (!doc.symbols().empty()) {
    out.put("  <defs>\n");
    // Symbols and layers are numbered by position, like art, so that the
    // ids do not depend on what was made and undone before.
    std::uint32_t symbolNumber = 0;
    for (const host::Symbol& sym : doc.symbols()) {
      out.put("    <symbol id=\"symbol-");
      out.integer(++symbolNumber);
      out.put("\" data-name=\"");
      escaped(out, sym.name);
      out.put("\">\n");
      for (const host::SymbolPath& p : sym.paths) writePath(out, "      ", 0, p.segments, p.closed, p.style, p.opacity);
      out.put("    </symbol>\n");
    }
    out.put("  </defs>\n");
  }
  if (!options.background.empty()) {
    out.put("  <rect id=\"background\" width=\"");
    out.fixed3(page.x);
    out.put("\" height=\"");
    out.fixed3(page.y);
    out.put("\" fill=\"");
    escaped(out, options.background);
    out.put("\"/>\n");
  }
  // Artwork y points up; SVG y points down. This is the one flip.
  out.put("  <g transform=\"matrix(1 0 0 -1 0 ");
  out.fixed3(page.y);
  out.put(")\">\n");
  const ArtNumbers numbers(doc);
  std::uint32_t layerNumber = 0;
  for (const host::Layer& layer : doc.layers()) {
    out.put("    <g id=\"layer-");
    out.integer(++layerNumber);
    out.put("\" data-name=\"");
    escaped(out, layer.name);
    out.put("\">\n");
    doc.forEachInPaintOrder(layer.id, [&](const host::Art& a) {
      if (a.kind == host::ArtKind::Path) {
        if (options.leaveOutOffPage && !a.state.segments.empty() && finitePath(a.state.segments) &&
            offPage(a.state.segments, a.state.closed, a.state.style, page))
          return;
        writePath(out, "      ", numbers.of(a.id), a.state.segments, a.state.closed, a.state.style, a.state.opacity,
                  options.leaveOutOffPage ? &page : nullptr);
      } else {
        writeEnvelope(out, "      ", doc, numbers, a);
      }
    });
    out.put("    </g>\n");
  }
  out.put("  </g>\n</svg>\n");
}

std::string svgString(const host::Document& doc, std::string_view metadata, const SvgOptions& options) {
  std::ostringstream out;
  writeSvg(doc, out, metadata, options);
  return out.str();
}

}  // namespace writers
