#include "hostapp/inkscape/svg_document.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

#include "hostapp/io/xml_scan.h"

namespace inkscape {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == ','; }

// A number at `at` in `text` (after blanks and commas); `at` moves past it.
std::optional<double> number(std::string_view text, std::size_t& at) {
  while (at < text.size() && isBlank(text[at])) ++at;
  if (at < text.size() && text[at] == '+') ++at;
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data() + at, text.data() + text.size(), value);
  if (ec != std::errc() || !std::isfinite(value)) return std::nullopt;
  at = static_cast<std::size_t>(end - text.data());
  return value;
}

std::string format(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.9g", value);
  return text;
}

// The root start tag; throws DocumentError for a document that is not SVG.
hostio::XmlToken rootTag(std::string_view svg) {
  try {
    hostio::XmlScanner xml(svg);
    for (hostio::XmlToken token = xml.next(); token.kind != hostio::XmlToken::Kind::End; token = xml.next()) {
      if (token.kind != hostio::XmlToken::Kind::StartTag) continue;
      if (hostio::localName(token.name) != "svg") throw DocumentError("the document's root element is not <svg>");
      return token;
    }
  } catch (const hostio::XmlError& e) {
    throw DocumentError(std::string("the document is not well-formed XML: ") + e.what());
  }
  throw DocumentError("the document has no root element");
}

void grow(Bounds& b, bool& any, double x, double y) {
  if (!any) b = {x, y, x, y};
  b.left = std::min(b.left, x), b.right = std::max(b.right, x);
  b.top = std::min(b.top, y), b.bottom = std::max(b.bottom, y);
  any = true;
}

// Every point and control point of path data, absolute; nothing for data
// it cannot read (arcs count their end points only).
std::optional<Bounds> pathBounds(std::string_view d) {
  Bounds b{};
  bool any = false;
  double x = 0, y = 0, startX = 0, startY = 0;
  char command = 0;
  std::size_t at = 0;
  while (true) {
    while (at < d.size() && isBlank(d[at])) ++at;
    if (at >= d.size()) break;
    if (std::isalpha(static_cast<unsigned char>(d[at]))) command = d[at++];
    const bool rel = std::islower(static_cast<unsigned char>(command));
    const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(command)));
    if (c == 'Z') {
      x = startX, y = startY;
      continue;
    }
    const int pairs = c == 'C' ? 3 : c == 'S' || c == 'Q' ? 2 : c == 'M' || c == 'L' || c == 'T' ? 1 : 0;
    if (pairs > 0) {
      double px = 0, py = 0;
      for (int k = 0; k < pairs; ++k) {
        const auto a = number(d, at), b2 = number(d, at);
        if (!a || !b2) return std::nullopt;
        px = *a + (rel ? x : 0), py = *b2 + (rel ? y : 0);
        grow(b, any, px, py);
      }
      x = px, y = py;
      if (c == 'M') {
        startX = x, startY = y;
        command = rel ? 'l' : 'L';  // more pairs after a move are lines
      }
    } else if (c == 'H' || c == 'V') {
      const auto a = number(d, at);
      if (!a) return std::nullopt;
      (c == 'H' ? x : y) = *a + (rel ? (c == 'H' ? x : y) : 0);
      grow(b, any, x, y);
    } else if (c == 'A') {
      double v[7];
      for (double& value : v) {
        const auto a = number(d, at);
        if (!a) return std::nullopt;
        value = *a;
      }
      x = v[5] + (rel ? x : 0), y = v[6] + (rel ? y : 0);
      grow(b, any, x, y);
    } else {
      return std::nullopt;
    }
  }
  if (!any) return std::nullopt;
  return b;
}

double attribute(const hostio::XmlToken& token, std::string_view name, double fallback = 0) {
  const std::string* text = token.attribute(name);
  if (!text) return fallback;
  std::size_t at = 0;
  const auto value = number(*text, at);
  return value ? *value : fallback;
}

}  // namespace

double lengthInPoints(std::string_view text) {
  std::size_t at = 0;
  const auto value = number(text, at);
  if (!value) throw DocumentError("a length is not a number: '" + std::string(text) + "'");
  std::string unit(text.substr(at));
  unit.erase(std::remove_if(unit.begin(), unit.end(), [](char c) { return isBlank(c); }), unit.end());
  static constexpr std::pair<std::string_view, double> kUnits[] = {
      {"", 0.75}, {"px", 0.75}, {"pt", 1}, {"pc", 12}, {"in", 72}, {"mm", 72 / 25.4}, {"cm", 72 / 2.54}, {"q", 18 / 25.4}};
  for (const auto& [name, points] : kUnits) {
    if (unit == name || (name == "q" && unit == "Q")) return *value * points;
  }
  throw DocumentError("the length '" + std::string(text) + "' has a unit the extension does not know");
}

PageGeometry readPage(std::string_view svg) {
  const hostio::XmlToken root = rootTag(svg);
  PageGeometry page;
  const std::string* viewBox = root.attribute("viewBox");
  bool haveBox = false;
  if (viewBox) {
    std::size_t at = 0;
    const auto x = number(*viewBox, at), y = number(*viewBox, at), w = number(*viewBox, at), h = number(*viewBox, at);
    if (!x || !y || !w || !h || *w <= 0 || *h <= 0) throw DocumentError("the document's viewBox cannot be read: '" + *viewBox + "'");
    page.viewX = *x, page.viewY = *y, page.viewWidth = *w, page.viewHeight = *h;
    haveBox = true;
  }
  const std::string* width = root.attribute("width");
  const std::string* height = root.attribute("height");
  if ((width && width->find('%') != std::string::npos) || (height && height->find('%') != std::string::npos))
    width = height = nullptr;  // a share of a window: the viewBox decides
  if (!haveBox && (!width || !height)) throw DocumentError("the document has neither a width and height nor a viewBox");
  const double w = width ? lengthInPoints(*width) : page.viewWidth * 0.75;
  const double h = height ? lengthInPoints(*height) : page.viewHeight * 0.75;
  if (!(w > 0) || !(h > 0)) throw DocumentError("the document's page has no area");
  if (!haveBox) page.viewWidth = w / 0.75, page.viewHeight = h / 0.75;
  page.sizePoints = {static_cast<float>(w), static_cast<float>(h)};
  return page;
}

namespace {

// "#rrggbb" or "#rgb" as channels from 0 to 1.
std::optional<host::PaletteEntry> hexColor(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  if (text.size() != 4 && text.size() != 7) return std::nullopt;
  if (text[0] != '#' || !std::all_of(text.begin() + 1, text.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); }))
    return std::nullopt;
  const auto channel = [&](int k) {
    const bool shortForm = text.size() == 4;
    const std::string digits = shortForm ? std::string(2, text[1 + k]) : std::string(text.substr(1 + 2 * k, 2));
    return static_cast<float>(std::stoi(digits, nullptr, 16) / 255.0);
  };
  host::PaletteEntry entry;
  entry.r = channel(0);
  entry.g = channel(1);
  entry.b = channel(2);
  return entry;
}

// A stop's colour: its style's stop-color wins over the attribute, as in CSS.
std::optional<host::PaletteEntry> stopColor(const hostio::XmlToken& stop) {
  if (const std::string* style = stop.attribute("style")) {
    std::string_view rest = *style;
    while (!rest.empty()) {
      const std::size_t end = rest.find(';');
      const std::string_view declaration = rest.substr(0, end);
      if (const std::size_t colon = declaration.find(':'); colon != std::string_view::npos) {
        std::string_view property = declaration.substr(0, colon);
        while (!property.empty() && std::isspace(static_cast<unsigned char>(property.front()))) property.remove_prefix(1);
        while (!property.empty() && std::isspace(static_cast<unsigned char>(property.back()))) property.remove_suffix(1);
        if (property == "stop-color") return hexColor(declaration.substr(colon + 1));
      }
      if (end == std::string_view::npos) break;
      rest.remove_prefix(end + 1);
    }
  }
  if (const std::string* color = stop.attribute("stop-color")) return hexColor(*color);
  return std::nullopt;
}

bool isSwatch(const hostio::XmlToken& gradient) {
  for (const char* marker : {"inkscape:swatch", "osb:paint"})
    if (const std::string* value = gradient.attribute(marker); value && *value == "solid") return true;
  return false;
}

}  // namespace

std::vector<host::PaletteEntry> readSwatches(std::string_view svg) {
  std::vector<host::PaletteEntry> swatches;
  try {
    hostio::XmlScanner xml(svg);
    std::optional<std::string> open;  // the name of the swatch whose first stop is next
    for (hostio::XmlToken token = xml.next(); token.kind != hostio::XmlToken::Kind::End; token = xml.next()) {
      if (token.kind != hostio::XmlToken::Kind::StartTag) {
        if (token.kind == hostio::XmlToken::Kind::EndTag && hostio::localName(token.name) == "linearGradient")
          open.reset();
        continue;
      }
      const std::string_view name = hostio::localName(token.name);
      if (name == "linearGradient" && isSwatch(token)) {
        const std::string* label = token.attribute("inkscape:label");
        const std::string* id = token.attribute("id");
        open = label && !label->empty() ? *label : id ? *id : "swatch";
        if (token.empty) open.reset();
      } else if (name == "stop" && open) {
        if (std::optional<host::PaletteEntry> entry = stopColor(token)) {
          entry->name = *open;
          swatches.push_back(*entry);
        }
        open.reset();
      }
    }
  } catch (const hostio::XmlError&) {
    return {};
  }
  return swatches;
}

std::optional<Bounds> elementBounds(std::string_view svg, std::string_view id) {
  try {
    hostio::XmlScanner xml(svg);
    for (hostio::XmlToken token = xml.next(); token.kind != hostio::XmlToken::Kind::End; token = xml.next()) {
      if (token.kind != hostio::XmlToken::Kind::StartTag) continue;
      const std::string* tokenId = token.attribute("id");
      if (!tokenId || *tokenId != id) continue;
      if (token.attribute("transform")) return std::nullopt;
      const std::string_view name = hostio::localName(token.name);
      if (name == "rect") {
        const double x = attribute(token, "x"), y = attribute(token, "y");
        return Bounds{x, y, x + attribute(token, "width"), y + attribute(token, "height")};
      }
      if (name == "circle" || name == "ellipse") {
        const double cx = attribute(token, "cx"), cy = attribute(token, "cy");
        const double rx = attribute(token, name == "circle" ? "r" : "rx"), ry = attribute(token, name == "circle" ? "r" : "ry");
        return Bounds{cx - rx, cy - ry, cx + rx, cy + ry};
      }
      if (name == "line") {
        const double x1 = attribute(token, "x1"), y1 = attribute(token, "y1"), x2 = attribute(token, "x2"),
                     y2 = attribute(token, "y2");
        return Bounds{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
      }
      if (name == "path") {
        const std::string* d = token.attribute("d");
        return d ? pathBounds(*d) : std::nullopt;
      }
      return std::nullopt;
    }
  } catch (const hostio::XmlError&) {
  }
  return std::nullopt;
}

host::Point toHostPoint(const PageGeometry& page, double x, double y) {
  const double px = (x - page.viewX) * page.sizePoints.x / page.viewWidth;
  const double py = (y - page.viewY) * page.sizePoints.y / page.viewHeight;
  return {static_cast<float>(px), static_cast<float>(page.sizePoints.y - py)};
}

std::string hostToUserTransform(const PageGeometry& page) {
  return "matrix(" + format(page.viewWidth / page.sizePoints.x) + " 0 0 " + format(page.viewHeight / page.sizePoints.y) +
         " " + format(page.viewX) + " " + format(page.viewY) + ")";
}

std::string spliceBeforeRootEnd(std::string_view svg, std::string_view element) {
  const hostio::XmlToken root = rootTag(svg);
  // The root's end tag is the last markup: only blanks, comments and
  // processing instructions may follow it.
  std::size_t end = svg.size();
  while (true) {
    while (end > 0 && std::isspace(static_cast<unsigned char>(svg[end - 1]))) --end;
    if (end >= 3 && svg.substr(end - 3, 3) == "-->") {
      const std::size_t open = svg.rfind("<!--", end - 3);
      if (open == std::string_view::npos) break;
      end = open;
    } else if (end >= 2 && svg.substr(end - 2, 2) == "?>") {
      const std::size_t open = svg.rfind("<?", end - 2);
      if (open == std::string_view::npos) break;
      end = open;
    } else {
      break;
    }
  }
  const std::size_t tag = svg.rfind("</", end);
  if (tag == std::string_view::npos || end == 0 || svg[end - 1] != '>')
    throw DocumentError("the document's root element has no end tag");
  std::string_view name = svg.substr(tag + 2, end - 1 - (tag + 2));
  while (!name.empty() && std::isspace(static_cast<unsigned char>(name.back()))) name.remove_suffix(1);
  if (name != root.name) throw DocumentError("the document does not end with its root's end tag");
  std::string out;
  out.reserve(svg.size() + element.size());
  out.append(svg.substr(0, tag)).append(element).append(svg.substr(tag));
  return out;
}

std::string freeIdPrefix(std::string_view svg) {
  for (int n = 1;; ++n) {
    const std::string prefix = "spiral" + std::to_string(n) + "-";
    if (svg.find("\"" + prefix) == std::string_view::npos && svg.find("'" + prefix) == std::string_view::npos)
      return prefix;
  }
}

}  // namespace inkscape
