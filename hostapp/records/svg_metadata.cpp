#include "hostapp/records/svg_metadata.h"

#include <cmath>
#include <limits>

#include <nlohmann/json.hpp>

#include "hostapp/records/record_file.h"
#include "hostapp/writers/svg_writer.h"
#include "params/record/parameter_fields.h"

namespace records {
namespace {

constexpr std::string_view kFormat = "spiral-drawing";
constexpr int kVersion = 1;

// The XML escapes the SVG writer uses, undone; any other entity is damage.
std::string unescapeXml(std::string_view text, const std::string& path) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '&') {
      out += text[i];
      continue;
    }
    static constexpr std::pair<std::string_view, char> kEntities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    bool known = false;
    for (const auto& [entity, c] : kEntities) {
      if (text.substr(i, entity.size()) == entity) {
        out += c;
        i += entity.size() - 1;
        known = true;
        break;
      }
    }
    if (!known) throw RecordError("drawing '" + path + "': its metadata holds an unknown XML entity");
  }
  return out;
}

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
  const std::size_t start = text.find_first_not_of(" \t\r\n");
  if (start == std::string_view::npos || text[start] != '<') return false;
  return text.find("<svg", start) != std::string_view::npos;
}

DrawingMetadata readSvgMetadata(std::string_view svg, const std::string& path) {
  const std::string open = "<metadata id=\"" + std::string(writers::kSvgMetadataId) + "\">";
  const std::size_t start = svg.find(open);
  if (start == std::string_view::npos)
    throw RecordError("drawing '" + path + "' holds no spiral-host metadata (it was not written by spiral-host draw)");
  const std::size_t begin = start + open.size();
  const std::size_t end = svg.find("</metadata>", begin);
  if (end == std::string_view::npos) throw RecordError("drawing '" + path + "': its metadata is cut short");

  DrawingMetadata m;
  try {
    const nlohmann::json object = nlohmann::json::parse(unescapeXml(svg.substr(begin, end - begin), path));
    if (!object.is_object() || object.value("format", "") != kFormat)
      throw RecordError("not spiral-host drawing metadata");
    if (object.at("version") != kVersion)
      throw RecordError("metadata version " + object.at("version").dump() + " is not known");
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
    if (!colorModel) throw RecordError("unknown colour model '" + model + "'");
    m.colorModel = *colorModel;
    const nlohmann::json& plugin = object.at("plugin");
    m.pluginName = plugin.at("name").get<std::string>();
    m.pluginVersion = plugin.at("version").get<std::string>();
  } catch (const nlohmann::json::exception& e) {
    throw RecordError("drawing '" + path + "': its metadata is damaged: " + e.what());
  } catch (const RecordError& e) {
    throw RecordError("drawing '" + path + "': its metadata is damaged: " + e.what());
  }
  return m;
}

}  // namespace records
