#include "hostapp/records/svg_metadata.h"

#include <cmath>
#include <limits>
#include <optional>

#include <nlohmann/json.hpp>

#include "hostapp/io/bounded_json.h"
#include "hostapp/io/file_input.h"
#include "hostapp/io/xml_scan.h"
#include "hostapp/records/record_file.h"
#include "hostapp/writers/svg_writer.h"
#include "params/record/parameter_fields.h"

namespace records {
namespace {

constexpr std::string_view kFormat = "spiral-drawing";
constexpr int kVersion = 1;

float pageSide(const nlohmann::json& value) {
  const double v = value.get<double>();
  if (!host::isPageSide(v)) throw RecordError("a page side out of range");
  return static_cast<float>(v);
}

}  // namespace

std::string metadataText(const DrawingMetadata& m) {
  nlohmann::json object;
  object["format"] = kFormat;
  object["version"] = kVersion;
  object["record"] = recordToJson(m.record);
  object["seed"] = m.seed;
  object["page"] = {m.page.x, m.page.y};
  object["colorModel"] = host::colorModelName(m.colorModel);
  object["plugin"] = {{"name", m.pluginName}, {"version", m.pluginVersion}};
  return object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

bool looksLikeSvg(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  const std::size_t start = text.find_first_not_of(" \t\r\n");
  if (start == std::string_view::npos || text[start] != '<') return false;
  return text.find("<svg", start) != std::string_view::npos;
}

namespace {

// The text of the one <metadata id="spiral-drawing"> element of an SVG
// document, entity references and CDATA undone.
std::string metadataElementText(std::string_view svg, const std::string& name) {
  hostio::XmlScanner xml(svg);
  std::optional<std::string> found;
  bool inside = false, closed = false;
  std::size_t depth = 0;
  try {
    for (hostio::XmlToken token = xml.next(); token.kind != hostio::XmlToken::Kind::End; token = xml.next()) {
      using Kind = hostio::XmlToken::Kind;
      if (token.kind == Kind::StartTag && xml.depth() == 1 && hostio::localName(token.name) != "svg")
        throw RecordError("drawing " + name + " is not an SVG: its root element is <" +
                          hostio::excerpt(token.name) + ">");
      if (inside) {
        if (token.kind == Kind::Text) {
          *found += token.text;
        } else if (token.kind == Kind::StartTag) {
          throw RecordError("drawing " + name + ": its metadata holds an element <" +
                            hostio::excerpt(token.name) + ">");
        } else if (token.kind == Kind::EndTag && xml.depth() < depth) {
          inside = false;
          closed = true;
        }
        continue;
      }
      if (token.kind != Kind::StartTag || hostio::localName(token.name) != "metadata") continue;
      const std::string* id = token.attribute("id");
      if (!id || *id != writers::kSvgMetadataId) continue;
      if (found) throw RecordError("drawing " + name + " holds two spiral-host metadata elements");
      found.emplace();
      inside = !token.empty;
      closed = token.empty;
      depth = xml.depth();
    }
  } catch (const hostio::XmlError& e) {
    throw RecordError("drawing " + name + " is not well-formed XML: " + e.what());
  }
  if (!found)
    throw RecordError("drawing " + name + " holds no spiral-host metadata (it was not written by spiral-host draw)");
  if (!closed) throw RecordError("drawing " + name + ": its metadata is cut short");
  return *found;
}

}  // namespace

DrawingMetadata readSvgMetadata(std::string_view svg, const std::string& path) {
  const std::string name = hostio::quotedPath(path);
  const std::string text = metadataElementText(svg, name);
  DrawingMetadata m;
  try {
    const nlohmann::json object = hostio::parseBoundedJson(text);
    if (!object.is_object() || object.value("format", "") != kFormat)
      throw RecordError("not spiral-host drawing metadata");
    const nlohmann::json& version = object.at("version");
    if (version != kVersion)
      throw RecordError(version.is_number() ? "metadata version " + version.dump() + " is not known"
                                            : std::string("the metadata version is not a number"));
    const nlohmann::json& record = object.at("record");
    if (!record.is_object()) throw RecordError("the record is not an object");
    for (const ParameterField& field : kParameterFields) {
      if (!record.contains(std::string(field.name)))
        throw RecordError("the record has no field '" + std::string(field.name) + "'");
    }
    applyJson(m.record, record);
    if (!object.at("seed").is_number_unsigned()) throw RecordError("the seed is not an unsigned integer");
    m.seed = object.at("seed").get<std::uint64_t>();
    const nlohmann::json& page = object.at("page");
    if (!page.is_array() || page.size() != 2 || !page[0].is_number() || !page[1].is_number())
      throw RecordError("the page is not [W, H]");
    m.page = {pageSide(page[0]), pageSide(page[1])};
    const std::string model = object.at("colorModel").get<std::string>();
    const auto colorModel = host::colorModelFromName(model);
    if (!colorModel) throw RecordError("unknown colour model '" + hostio::excerpt(model) + "'");
    m.colorModel = *colorModel;
    const nlohmann::json& plugin = object.at("plugin");
    m.pluginName = plugin.at("name").get<std::string>();
    m.pluginVersion = plugin.at("version").get<std::string>();
  } catch (const nlohmann::json::exception& e) {
    throw RecordError("drawing " + name + ": its metadata is damaged: " + hostio::excerpt(e.what(), 400));
  } catch (const hostio::JsonLimitError& e) {
    throw RecordError("drawing " + name + ": its metadata is refused: " + e.what());
  } catch (const RecordError& e) {
    throw RecordError("drawing " + name + ": its metadata is damaged: " + e.what());
  }
  return m;
}

}  // namespace records
