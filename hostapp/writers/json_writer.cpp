#include "hostapp/writers/json_writer.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace writers {
namespace {

using nlohmann::json;

json colorJson(const host::Color& c) {
  json components = json::array();
  switch (c.kind) {
    case host::ColorKind::Gray: components.push_back(exactNumber(c.c[0])); break;
    case host::ColorKind::ThreeColor:
      for (int i = 0; i < 3; ++i) components.push_back(exactNumber(c.c[i]));
      break;
    case host::ColorKind::FourColor:
      for (int i = 0; i < 4; ++i) components.push_back(exactNumber(c.c[i]));
      break;
    default: break;
  }
  return {{"kind", static_cast<int32_t>(c.kind)}, {"c", components}};
}

json segmentsJson(const std::vector<host::Segment>& segments) {
  json out = json::array();
  for (const host::Segment& s : segments)
    out.push_back({exactNumber(s.anchor.x), exactNumber(s.anchor.y), exactNumber(s.in.x), exactNumber(s.in.y),
                   exactNumber(s.out.x), exactNumber(s.out.y)});
  return out;
}

json paintJson(const host::Style& style, float opacity) {
  json out;
  out["fill"] = {{"on", style.fillPaint}, {"color", colorJson(style.fill)}};
  out["stroke"] = {{"on", style.strokePaint}, {"color", colorJson(style.stroke)}};
  out["strokeWidth"] = exactNumber(style.strokeWidth);
  out["opacity"] = exactNumber(opacity);
  if (style.dashCount > 0) {
    json dashes = json::array();
    for (int32_t i = 0; i < style.dashCount; ++i) dashes.push_back(exactNumber(style.dashes[i]));
    out["dash"] = dashes;
  }
  return out;
}

json pathJson(const host::Art& art, int layerIndex) {
  json out = {{"type", "path"}, {"id", art.id}, {"layer", layerIndex}, {"closed", art.state.closed},
              {"segments", segmentsJson(art.state.segments)}};
  out.update(paintJson(art.state.style, art.state.opacity));
  return out;
}

}  // namespace

json exactNumber(float value) {
  if (!std::isfinite(value)) return nullptr;
  char buf[32];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
  if (ec != std::errc()) return static_cast<double>(value);
  *end = '\0';
  // The shortest decimal that reads back to this float32; as a double it
  // prints back as the same short decimal.
  return std::strtod(buf, nullptr);
}

json documentToJson(const host::Document& doc) {
  json out;
  out["page"] = {exactNumber(doc.pageSize().x), exactNumber(doc.pageSize().y)};
  out["colorModel"] = host::colorModelName(doc.colorModel());

  json art = json::array();
  json layers = json::array();
  json envelopes = json::array();
  const auto& allLayers = doc.layers();
  for (std::size_t li = 0; li < allLayers.size(); ++li) {
    const host::Layer& layer = allLayers[li];
    layers.push_back({{"index", li}, {"id", layer.id}, {"name", layer.name},
                      {"current", layer.id == doc.currentLayer()}});
    doc.forEachInPaintOrder(layer.id, [&](const host::Art& a) {
      if (a.kind == host::ArtKind::Path) {
        art.push_back(pathJson(a, static_cast<int>(li)));
        return;
      }
      const host::EnvelopeData& env = a.state.envelope;
      json held = json::array();
      for (host::ArtId id : env.contents) {
        const host::Art* inner = doc.art(id);
        if (!inner || inner->kind != host::ArtKind::Path) continue;
        json entry = pathJson(*inner, static_cast<int>(li));
        entry["envelope"] = a.id;
        art.push_back(entry);
        held.push_back(id);
      }
      json shape = nullptr;
      if (const host::Art* s = doc.art(env.shape)) {
        shape = {{"id", s->id}, {"closed", s->state.closed}, {"segments", segmentsJson(s->state.segments)}};
        shape.update(paintJson(s->state.style, s->state.opacity));
      }
      envelopes.push_back({{"id", a.id},
                           {"layer", li},
                           {"art", held},
                           {"shape", shape},
                           {"deformOptions", env.deformOptions},
                           {"fidelity", env.fidelity},
                           {"warp",
                            {{"style", env.warp.style},
                             {"bend", exactNumber(env.warp.bend)},
                             {"horizontal", exactNumber(env.warp.horizontal)},
                             {"vertical", exactNumber(env.warp.vertical)},
                             {"rotate", env.warp.rotate}}}});
    });
  }
  out["art"] = art;
  out["layers"] = layers;
  out["envelopes"] = envelopes;

  json symbols = json::array();
  for (const host::Symbol& sym : doc.symbols()) {
    json paths = json::array();
    for (const host::SymbolPath& p : sym.paths) {
      json entry = {{"type", "path"}, {"closed", p.closed}, {"segments", segmentsJson(p.segments)}};
      entry.update(paintJson(p.style, p.opacity));
      paths.push_back(entry);
    }
    symbols.push_back({{"id", sym.id}, {"name", sym.name}, {"source", sym.source}, {"art", paths}});
  }
  out["symbols"] = symbols;
  return out;
}

}  // namespace writers
