#include "hostapp/model/resources.h"

#include <cmath>
#include <limits>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "hostapp/io/bounded_json.h"

namespace host {

const std::vector<PaletteEntry>& defaultPalette() {
  static const std::vector<PaletteEntry> kPalette{
      {"Red", 0.90f, 0.10f, 0.10f},        {"Orange", 1.00f, 0.55f, 0.00f},
      {"Yellow", 1.00f, 0.90f, 0.10f},     {"Lime", 0.60f, 0.85f, 0.10f},
      {"Green", 0.10f, 0.60f, 0.20f},      {"Teal", 0.00f, 0.55f, 0.55f},
      {"Cyan", 0.10f, 0.80f, 0.95f},       {"Sky", 0.45f, 0.70f, 0.95f},
      {"Blue", 0.10f, 0.25f, 0.85f},       {"Navy", 0.05f, 0.10f, 0.40f},
      {"Violet", 0.50f, 0.25f, 0.80f},     {"Purple", 0.45f, 0.05f, 0.50f},
      {"Magenta", 0.90f, 0.10f, 0.60f},    {"Pink", 1.00f, 0.65f, 0.75f},
      {"Brown", 0.50f, 0.30f, 0.10f},      {"Tan", 0.82f, 0.70f, 0.50f},
      {"Olive", 0.50f, 0.50f, 0.10f},      {"Maroon", 0.50f, 0.05f, 0.10f},
      {"Light Gray", 0.80f, 0.80f, 0.80f}, {"Mid Gray", 0.50f, 0.50f, 0.50f},
      {"Dark Gray", 0.25f, 0.25f, 0.25f},  {"Gold", 0.85f, 0.65f, 0.15f},
      {"Mint", 0.60f, 0.95f, 0.75f},       {"Coral", 1.00f, 0.50f, 0.40f},
  };
  return kPalette;
}

namespace {

GraphicStyle look(const char* name, bool fill, Color fillColor, bool stroke, Color strokeColor,
                  float width, float opacity, std::initializer_list<float> dash = {}, int32_t cap = 0) {
  GraphicStyle g;
  g.name = name;
  g.paint.fillPaint = fill;
  g.paint.fill = fillColor;
  g.paint.strokePaint = stroke;
  g.paint.stroke = strokeColor;
  g.paint.strokeWidth = width;
  g.paint.lineCap = cap;
  for (float d : dash) g.paint.dashes[g.paint.dashCount++] = d;
  g.opacity = opacity;
  return g;
}

}  // namespace

std::vector<GraphicStyle> builtInGraphicStyles(ColorModel m) {
  auto rgb = [m](float r, float g, float b) { return fromRgb(r, g, b, m); };
  const Color black = blackIn(m), white = whiteIn(m);
  return {
      look("[Default]", true, white, true, black, 1, 1),
      look("Red Fill", true, rgb(0.9f, 0.1f, 0.1f), false, black, 1, 1),
      look("Thick Blue Stroke", false, white, true, rgb(0.1f, 0.25f, 0.85f), 6, 1),
      look("Dashed Black", false, white, true, black, 2, 1, {6, 3}),
      look("Ghost", true, rgb(0.8f, 0.8f, 0.8f), true, rgb(0.5f, 0.5f, 0.5f), 0.5f, 0.35f),
      look("Gold Outline", true, rgb(1.0f, 0.8f, 0.2f), true, rgb(0.4f, 0.25f, 0.05f), 3, 1),
      look("Green Hairline", false, white, true, rgb(0.1f, 0.6f, 0.2f), 0.25f, 1),
      look("Dotted Purple", false, white, true, rgb(0.45f, 0.05f, 0.5f), 3, 1, {0, 5}, 1),
      look("Sky Block", true, rgb(0.45f, 0.7f, 0.95f), true, rgb(0.05f, 0.1f, 0.4f), 1.5f, 0.7f),
      look("Black Fill", true, black, false, black, 1, 1),
      look("Magenta Dash", true, rgb(1.0f, 0.65f, 0.75f), true, rgb(0.9f, 0.1f, 0.6f), 4, 0.85f, {12, 4, 2, 4}),
  };
}

namespace {

// The text's lines, ended by LF, CRLF or a lone CR.
std::vector<std::string_view> paletteLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\n' && text[i] != '\r') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

std::string_view trimmed(std::string_view line) {
  const std::size_t first = line.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return line.substr(first, line.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::optional<std::string> parseGimpPalette(std::string_view text, std::vector<PaletteEntry>* out) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  int number = 0;
  std::vector<PaletteEntry> entries;
  bool header = false;
  for (const std::string_view raw : paletteLines(text)) {
    ++number;
    const std::string_view line = trimmed(raw);
    if (line.empty() || line[0] == '#') continue;
    if (!header) {
      if (line != "GIMP Palette")
        return "palette: line " + std::to_string(number) + ": expected \"GIMP Palette\"";
      header = true;
      continue;
    }
    if (line.substr(0, 5) == "Name:" || line.substr(0, 8) == "Columns:") continue;
    std::istringstream fields{std::string(line)};
    int r, g, b;
    if (!(fields >> r >> g >> b) || r < 0 || r > 255 || g < 0 || g > 255 || b < 0 || b > 255)
      return "palette: line " + std::to_string(number) + ": expected \"R G B name\" with values 0..255";
    std::string name;
    std::getline(fields >> std::ws, name);
    if (name.empty()) name = "Swatch " + std::to_string(entries.size() + 1);
    entries.push_back({name, r / 255.0f, g / 255.0f, b / 255.0f});
  }
  if (!header) return "palette: empty file, expected \"GIMP Palette\"";
  *out = std::move(entries);
  return std::nullopt;
}

namespace {

using nlohmann::json;

// A JSON number as a float: beyond the float range it would become an
// infinity (or, converted directly, undefined), so it is refused.
float floatOf(const json& j, const std::string& where) {
  const double v = j.get<double>();
  if (!std::isfinite(v) || std::fabs(v) > std::numeric_limits<float>::max())
    throw std::runtime_error(where + " is out of the float range");
  return static_cast<float>(v);
}

// Throws std::runtime_error naming the member on a malformed value.
Color readColor(const json& j, const std::string& where) {
  if (!j.is_object() || !j.contains("kind") || !j["kind"].is_number_integer())
    throw std::runtime_error(where + ": colour needs an integer \"kind\"");
  Color c;
  const int64_t kind = j["kind"].get<int64_t>();
  if (kind < 0 || kind > static_cast<int>(ColorKind::None)) throw std::runtime_error(where + ": unknown colour kind");
  c.kind = static_cast<ColorKind>(kind);
  if (j.contains("c")) {
    const json& comps = j["c"];
    if (!comps.is_array() || comps.size() > 4) throw std::runtime_error(where + ": \"c\" must hold up to 4 numbers");
    for (std::size_t i = 0; i < comps.size(); ++i) {
      if (!comps[i].is_number()) throw std::runtime_error(where + ": colour components must be numbers");
      c.c[i] = floatOf(comps[i], where + ": colour component " + std::to_string(i));
    }
  }
  return c;
}

float readNumber(const json& j, const char* key, float fallback, const std::string& where) {
  if (!j.contains(key)) return fallback;
  if (!j[key].is_number()) throw std::runtime_error(where + ": \"" + key + "\" must be a number");
  const float v = floatOf(j[key], where + ": \"" + key + "\"");
  if (v < 0) throw std::runtime_error(where + ": \"" + key + "\" must be >= 0");
  return v;
}

void readPaint(const json& j, const char* key, bool* on, Color* color, const std::string& where) {
  if (!j.contains(key)) return;
  const json& p = j[key];
  if (!p.is_object()) throw std::runtime_error(where + ": \"" + key + "\" must be an object");
  if (p.contains("on")) {
    if (!p["on"].is_boolean()) throw std::runtime_error(where + ": \"" + key + ".on\" must be true or false");
    *on = p["on"].get<bool>();
  }
  if (p.contains("color")) *color = readColor(p["color"], where + "." + key);
}

}  // namespace

std::optional<std::string> parseGraphicStyles(std::string_view text, ColorModel model,
                                              std::vector<GraphicStyle>* out) {
  if (auto problem = hostio::jsonLimitProblem(text, hostio::kFileJsonLimits)) return "styles: " + *problem;
  json doc = json::parse(text.begin(), text.end(), nullptr, false);
  if (doc.is_discarded()) return "styles: malformed JSON";
  if (doc.is_object() && doc.contains("styles")) doc = json(std::move(doc["styles"]));
  if (!doc.is_array() || doc.empty()) return "styles: expected a non-empty array of styles";
  const GraphicStyle base = builtInGraphicStyles(model).front();
  std::vector<GraphicStyle> styles;
  try {
    for (std::size_t i = 0; i < doc.size(); ++i) {
      const json& j = doc[i];
      const std::string where = "styles[" + std::to_string(i) + "]";
      if (!j.is_object()) throw std::runtime_error(where + ": expected an object");
      GraphicStyle g = base;
      g.name = j.contains("name") && j["name"].is_string() ? j["name"].get<std::string>()
                                                           : "Style " + std::to_string(i);
      readPaint(j, "fill", &g.paint.fillPaint, &g.paint.fill, where);
      readPaint(j, "stroke", &g.paint.strokePaint, &g.paint.stroke, where);
      g.paint.strokeWidth = readNumber(j, "strokeWidth", g.paint.strokeWidth, where);
      g.opacity = readNumber(j, "opacity", g.opacity, where);
      if (g.opacity > 1) throw std::runtime_error(where + ": \"opacity\" must lie in 0..1");
      g.paint.dashOffset = readNumber(j, "dashOffset", g.paint.dashOffset, where);
      if (j.contains("dash")) {
        const json& d = j["dash"];
        if (!d.is_array() || d.size() > g.paint.dashes.size())
          throw std::runtime_error(where + ": \"dash\" must hold up to 6 lengths");
        g.paint.dashCount = 0;
        for (const json& len : d) {
          if (!len.is_number()) throw std::runtime_error(where + ": dash lengths must be numbers");
          const float length = floatOf(len, where + ": dash length");
          if (length < 0) throw std::runtime_error(where + ": dash lengths must be >= 0");
          g.paint.dashes[g.paint.dashCount++] = length;
        }
      }
      styles.push_back(g);
    }
  } catch (const std::exception& e) {
    return std::string(e.what());
  }
  *out = std::move(styles);
  return std::nullopt;
}

const char* warpStyleName(int32_t style) {
  static constexpr const char* kNames[] = {"none",  "arc",     "arc lower", "arc upper", "arch",
                                           "bulge", "shell lower", "shell upper", "flag", "wave",
                                           "fish",  "rise",    "fisheye",   "inflate",   "squeeze",
                                           "twist"};
  return style >= 1 && style <= 15 ? kNames[style] : kNames[0];
}

}  // namespace host
