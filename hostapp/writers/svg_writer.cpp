#include "hostapp/writers/svg_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "hostapp/writers/envelope_warp.h"

namespace writers {
namespace {

double clamp01(float v) { return std::isfinite(v) ? std::clamp(static_cast<double>(v), 0.0, 1.0) : 0.0; }

// Fixed precision, trailing zeros trimmed: stable output across runs.
std::string num(double v) {
  if (!std::isfinite(v)) v = 0;
  char buf[48];
  std::snprintf(buf, sizeof buf, "%.3f", v);
  std::string s(buf);
  s.erase(s.find_last_not_of('0') + 1);
  if (!s.empty() && s.back() == '.') s.pop_back();
  if (s == "-0") s = "0";
  return s;
}

std::string escape(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string paint(bool on, const host::Color& color) {
  if (!on || color.kind == host::ColorKind::None) return "none";
  const auto rgb = colorToSrgb(color);
  char buf[16];
  std::snprintf(buf, sizeof buf, "#%02x%02x%02x", static_cast<int>(std::lround(rgb[0] * 255)),
                static_cast<int>(std::lround(rgb[1] * 255)), static_cast<int>(std::lround(rgb[2] * 255)));
  return buf;
}

bool finitePath(const std::vector<host::Segment>& segs) {
  return std::all_of(segs.begin(), segs.end(), [](const host::Segment& s) { return host::isFinite(s); });
}

std::string pointText(host::Point p) { return num(p.x) + " " + num(p.y); }

std::string bezierData(const std::vector<host::Segment>& segs, bool closed) {
  if (segs.empty()) return {};
  std::string d = "M " + pointText(segs[0].anchor);
  for (std::size_t i = 1; i < segs.size(); ++i)
    d += " C " + pointText(segs[i - 1].out) + " " + pointText(segs[i].in) + " " + pointText(segs[i].anchor);
  if (closed) {
    d += " C " + pointText(segs.back().out) + " " + pointText(segs[0].in) + " " + pointText(segs[0].anchor);
    d += " Z";
  }
  return d;
}

std::string styleAttributes(const host::Style& style, float opacity) {
  std::string a = " fill=\"" + paint(style.fillPaint, style.fill) + "\"";
  a += " stroke=\"" + paint(style.strokePaint, style.stroke) + "\"";
  if (style.strokePaint) a += " stroke-width=\"" + num(style.strokeWidth) + "\"";
  if (style.strokePaint && style.dashCount > 0) {
    a += " stroke-dasharray=\"";
    for (int32_t i = 0; i < style.dashCount; ++i) {
      if (i) a += ' ';
      a += num(style.dashes[i]);
    }
    a += "\"";
    if (style.dashOffset != 0) a += " stroke-dashoffset=\"" + num(style.dashOffset) + "\"";
  }
  if (opacity < 1) a += " opacity=\"" + num(clamp01(opacity)) + "\"";
  return a;
}

void writePath(std::ostream& out, const std::string& indent, const std::string& id,
               const std::vector<host::Segment>& segs, bool closed, const host::Style& style, float opacity) {
  if (segs.empty() || !finitePath(segs)) return;
  out << indent << "<path";
  if (!id.empty()) out << " id=\"" << id << "\"";
  out << " d=\"" << bezierData(segs, closed) << "\"" << styleAttributes(style, opacity) << "/>\n";
}

envelope::Point toEnv(host::Point p) { return {p.x, p.y}; }

envelope::Rect toEnv(const host::Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

// A shape whose handles all sit on their anchors is drawn as a rectangle;
// anything curved as an ellipse.
envelope::ShapeKind shapeKind(const std::vector<host::Segment>& segs) {
  for (const host::Segment& s : segs)
    if (!(s.in == s.anchor) || !(s.out == s.anchor)) return envelope::ShapeKind::kEllipse;
  return envelope::ShapeKind::kRectangle;
}

void writeEnvelope(std::ostream& out, const std::string& indent, const host::Document& doc, const host::Art& env) {
  const host::EnvelopeData& data = env.state.envelope;
  const host::Art* shapeArt = doc.art(data.shape);
  if (!shapeArt || shapeArt->state.segments.empty() || !finitePath(shapeArt->state.segments)) return;
  envelope::EnvelopeShape shape;
  shape.kind = shapeKind(shapeArt->state.segments);
  shape.bounds = toEnv(host::segmentBounds(shapeArt->state.segments, true));

  bool haveBounds = false;
  host::Rect artBounds;
  for (host::ArtId id : data.contents) {
    const host::Art* a = doc.art(id);
    if (!a || a->state.segments.empty() || !finitePath(a->state.segments)) continue;
    const host::Rect b = host::segmentBounds(a->state.segments, a->state.closed);
    artBounds = haveBounds ? host::unite(artBounds, b) : b;
    haveBounds = true;
  }
  if (!haveBounds) return;

  const envelope::WarpParams warp{data.warp.style, data.warp.bend, data.warp.horizontal, data.warp.vertical,
                                  data.warp.rotate};
  out << indent << "<g id=\"envelope-" << env.id << "\" data-warp-style=\"" << data.warp.style << "\">\n";
  for (host::ArtId id : data.contents) {
    const host::Art* a = doc.art(id);
    if (!a || a->state.segments.empty() || !finitePath(a->state.segments)) continue;
    const auto& segs = a->state.segments;
    std::vector<envelope::Cubic> chain;
    for (std::size_t i = 1; i < segs.size(); ++i)
      chain.push_back({toEnv(segs[i - 1].anchor), toEnv(segs[i - 1].out), toEnv(segs[i].in), toEnv(segs[i].anchor)});
    if (a->state.closed)
      chain.push_back({toEnv(segs.back().anchor), toEnv(segs.back().out), toEnv(segs[0].in), toEnv(segs[0].anchor)});
    if (chain.empty()) chain.push_back({toEnv(segs[0].anchor), toEnv(segs[0].anchor), toEnv(segs[0].anchor),
                                        toEnv(segs[0].anchor)});
    const auto points = envelope::flattenThroughEnvelope(chain, toEnv(artBounds), shape, warp);
    std::string d;
    for (std::size_t i = 0; i < points.size(); ++i) {
      if (!std::isfinite(points[i].x) || !std::isfinite(points[i].y)) continue;
      d += (d.empty() ? "M " : " L ") + num(points[i].x) + " " + num(points[i].y);
    }
    if (d.empty()) continue;
    if (a->state.closed) d += " Z";
    out << indent << "  <path id=\"art-" << a->id << "\" d=\"" << d << "\""
        << styleAttributes(a->state.style, a->state.opacity) << "/>\n";
  }
  out << indent << "</g>\n";
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

void writeSvg(const host::Document& doc, std::ostream& out) {
  const host::Point page = doc.pageSize();
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  out << "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" << num(page.x) << "pt\" height=\""
      << num(page.y) << "pt\" viewBox=\"0 0 " << num(page.x) << " " << num(page.y) << "\">\n";
  if (!doc.symbols().empty()) {
    out << "  <defs>\n";
    for (const host::Symbol& sym : doc.symbols()) {
      out << "    <symbol id=\"symbol-" << sym.id << "\" data-name=\"" << escape(sym.name) << "\">\n";
      for (const host::SymbolPath& p : sym.paths) writePath(out, "      ", "", p.segments, p.closed, p.style, p.opacity);
      out << "    </symbol>\n";
    }
    out << "  </defs>\n";
  }
  // Artwork y points up; SVG y points down. This is the one flip.
  out << "  <g transform=\"matrix(1 0 0 -1 0 " << num(page.y) << ")\">\n";
  for (const host::Layer& layer : doc.layers()) {
    out << "    <g id=\"layer-" << layer.id << "\" data-name=\"" << escape(layer.name) << "\">\n";
    doc.forEachInPaintOrder(layer.id, [&](const host::Art& a) {
      if (a.kind == host::ArtKind::Path)
        writePath(out, "      ", "art-" + std::to_string(a.id), a.state.segments, a.state.closed, a.state.style,
                  a.state.opacity);
      else
        writeEnvelope(out, "      ", doc, a);
    });
    out << "    </g>\n";
  }
  out << "  </g>\n</svg>\n";
}

std::string svgString(const host::Document& doc) {
  std::ostringstream out;
  writeSvg(doc, out);
  return out.str();
}

}  // namespace writers
