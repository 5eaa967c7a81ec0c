#include "hostapp/inkscape/effect.h"

#include <charconv>
#include <cstring>
#include <cmath>
#include <optional>
#include <sstream>

#include "hostapp/dialogs/script_driver.h"
#include "hostapp/inkscape/svg_document.h"
#include "hostapp/io/file_input.h"
#include "hostapp/loader/plugin_loader.h"
#include "hostapp/model/color.h"
#include "hostapp/model/page.h"
#include "hostapp/records/record_file.h"
#include "hostapp/session/drawing_session.h"
#include "params/record/plugin_facts.h"

namespace inkscape {
namespace {

// A drawing the editor gave: at most this many bytes.
constexpr hostio::InputKind kDocumentInput{"document", std::size_t{256} << 20};

class EffectError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

bool isCentreField(std::string_view name) {
  return name == kParameterFields[static_cast<int>(FieldIndex::centerX)].name ||
         name == kParameterFields[static_cast<int>(FieldIndex::centerY)].name;
}

// The value of a field in `record`, as a double.
double fieldValue(const SpiralParameters& record, const ParameterField& field) {
  const unsigned char* at = reinterpret_cast<const unsigned char*>(&record) + field.offset;
  if (field.kind == FieldKind::Float) {
    float f;
    std::memcpy(&f, at, 4);
    return f;
  }
  int32_t i;
  std::memcpy(&i, at, 4);
  return i;
}

// The editor's value text as the record's: booleans and numbers pass as
// they are; a float's "12.50" is read as a float.
double parseNumber(const std::string& name, const std::string& text) {
  if (text == "true") return 1;
  if (text == "false") return 0;
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
    throw EffectError("the value of " + name + " is not a number: '" + text + "'");
  return value;
}

std::string numberText(double value) {
  std::ostringstream out;
  out.precision(9);
  out << value;
  return out.str();
}

struct Request {
  std::uint64_t seed = 1;
  host::ColorModel colorModel = host::ColorModel::Rgb;
  std::optional<int> preset;  // a position in the preset list
  std::string recordButton;   // empty: none
  std::vector<std::pair<const ParameterField*, double>> fields;
  std::vector<host::PaletteEntry> swatches;  // the document's own, for the swatch options
};

Request readRequest(const EffectOptions& options) {
  Request request;
  for (const auto& [name, value] : options.params) {
    if (name == kNotebookParam) continue;
    if (name == kSeedParam) {
      const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), request.seed);
      if (ec != std::errc() || end != value.data() + value.size())
        throw EffectError("the seed must be a whole number from 0, got '" + value + "'");
    } else if (name == kColorModelParam) {
      const auto model = host::colorModelFromName(value);
      if (!model) throw EffectError("there is no colour model '" + value + "'");
      request.colorModel = *model;
    } else if (name == kPresetParam) {
      if (value != kNoChoice) request.preset = static_cast<int>(parseNumber(name, value));
    } else if (name == kRecordButtonParam) {
      if (value != kNoChoice) request.recordButton = value;
    } else if (const ParameterField* field = findParameterField(name)) {
      const double number = parseNumber(name, value);
      // A spin edit's field takes what the dialog takes (the centre is an
      // offset here, so its range moves with the page).
      if (field->hasLimits() && !isCentreField(field->name) && (number < field->minimum || number > field->maximum))
        throw EffectError(name + " takes " + numberText(field->minimum) + " to " + numberText(field->maximum) +
                          ", got " + value);
      request.fields.emplace_back(field, number);
    } else {
      throw EffectError("the record has no field '" + name + "'");
    }
  }
  return request;
}

host::SessionSettings settingsFor(const Request& request, const PageGeometry& page) {
  host::SessionSettings settings;
  settings.host.pageSize = page.sizePoints;
  settings.host.colorModel = request.colorModel;
  settings.host.seed = request.seed;
  settings.swatches = request.swatches;
  return settings;
}

void loadAndStart(host::DrawingSession& session, const std::string& pluginPath) {
  try {
    session.loadPlugin(pluginPath);
  } catch (const host::LoadError& e) {
    throw EffectError(std::string("cannot load the plug-in: ") + e.what());
  }
  if (const HostErr result = session.plugin().startup(); result != kHostNoErr)
    throw EffectError("the plug-in did not start (" + host::resultCodeText(result) + ")");
}

// The plug-in's own message from its error dialog, if it showed one.
std::string failureText(const host::DialogManager& dialogs, HostErr result) {
  for (auto it = dialogs.shown().rbegin(); it != dialogs.shown().rend(); ++it) {
    if (it->name == kOptionsDialogName) continue;
    std::string text;
    for (const auto& item : it->items)
      if (item.kind == std::string("static text") && !item.text.empty()) text += (text.empty() ? "" : " ") + item.text;
    if (!text.empty()) return text;
  }
  return "the filter failed with code " + host::resultCodeText(result);
}

// The record the options dialog leaves after `script`, opened over `record`
// without its preview.
SpiralParameters throughDialog(const EffectOptions& options, const Request& request, const PageGeometry& page,
                               SpiralParameters record, const std::string& script) {
  host::DrawingSession session(settingsFor(request, page));
  auto active = session.activate();
  loadAndStart(session, options.pluginPath);
  const int32_t preview = record.preview;
  record.preview = 0;
  host::PluginSession& plugin = session.plugin();
  plugin.setRecordBytes(records::recordBytes(record));
  std::vector<host::ScriptAction> actions;
  try {
    actions = host::parseDialogScript(script);
  } catch (const host::ScriptError& e) {
    throw EffectError(e.what());
  }
  plugin.dialogs().setDriver(host::scriptDriver(std::move(actions), kOptionsDialogName, false, session.document(),
                                                std::make_shared<host::ScriptOutcome>()));
  const HostErr result = plugin.getParameters();
  plugin.shutdown();
  if (const std::string error = plugin.dialogs().takeDriverError(); !error.empty()) throw EffectError(error);
  if (result != kHostNoErr) throw EffectError(failureText(plugin.dialogs(), result));
  SpiralParameters out = session.record();
  out.preview = preview;
  return out;
}

std::string quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) out += c == '"' ? std::string("\\\"") : std::string(1, c);
  return out + "\"";
}

std::string escapedAttribute(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

}  // namespace

std::string parseEffectArguments(const std::vector<std::string>& args, EffectOptions& options) {
  for (const std::string& arg : args) {
    if (arg.rfind("--", 0) != 0) {
      options.inputFile = arg;
      continue;
    }
    const std::size_t equals = arg.find('=');
    if (equals == std::string::npos) return "an effect argument needs --name=value, got '" + arg + "'";
    const std::string name = arg.substr(2, equals - 2), value = arg.substr(equals + 1);
    if (name == "id") options.selection.push_back(value);
    else if (name == "plugin") options.pluginPath = value;
    else if (name == "selected-nodes") continue;  // node editing only
    else options.params.emplace_back(name, value);
  }
  if (options.inputFile.empty()) return "the effect needs the document's file";
  return "";
}

std::string insertDrawing(const std::string& svg, const std::string& hostSvg, const std::string& label, bool layer) {
  // The host's SVG: the XML declaration, <svg ...>, the metadata line, the
  // drawing, </svg>.
  const std::size_t metadataStart = hostSvg.find("<metadata");
  const std::size_t metadataEnd = hostSvg.find("</metadata>\n", metadataStart);
  const std::size_t bodyEnd = hostSvg.rfind("</svg>");
  if (metadataStart == std::string::npos || metadataEnd == std::string::npos || bodyEnd == std::string::npos)
    throw std::logic_error("the host's SVG has no metadata");
  const std::string metadata = hostSvg.substr(metadataStart, metadataEnd + 11 - metadataStart);
  const std::string body = hostSvg.substr(metadataEnd + 12, bodyEnd - (metadataEnd + 12));

  // Ids of the new art start with a prefix no id of the document has.
  const std::string prefix = freeIdPrefix(svg);
  std::string placed;
  for (std::size_t at = 0;;) {
    const std::size_t id = body.find(" id=\"", at);
    if (id == std::string::npos) {
      placed.append(body, at);
      break;
    }
    placed.append(body, at, id + 5 - at).append(prefix);
    at = id + 5;
  }
  const PageGeometry page = readPage(svg);
  std::string element = "  <g xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\" id=\"" + prefix +
                        (layer ? "layer\" inkscape:groupmode=\"layer\"" : "group\"") + " inkscape:label=\"" +
                        escapedAttribute(label) + "\">\n  " + metadata + "\n    <g id=\"" + prefix +
                        "page\" transform=\"" + hostToUserTransform(page) + "\">\n";
  // The host's lines, two levels deeper.
  for (std::size_t at = 0; at < placed.size();) {
    const std::size_t end = placed.find('\n', at);
    const std::size_t next = end == std::string::npos ? placed.size() : end + 1;
    element.append("    ").append(placed, at, next - at);
    at = next;
  }
  element += "    </g>\n  </g>\n";
  return spliceBeforeRootEnd(svg, element);
}

int runEffect(const EffectOptions& options, std::ostream& out, std::ostream& err) {
  try {
    const std::string svg = hostio::readInputFile(options.inputFile, kDocumentInput);
    const PageGeometry page = readPage(svg);
    if (!host::isPageSide(page.sizePoints.x) || !host::isPageSide(page.sizePoints.y))
      throw EffectError("the page, " + host::pageSizeText(page.sizePoints) + " points, is out of the host's range");
    const Request request = [&] {
      Request asked = readRequest(options);
      asked.swatches = readSwatches(svg);
      return asked;
    }();

    // The record: the defaults, or a preset as the dialog chooses it; the
    // values that differ from the defaults on top; then a record button.
    std::optional<host::DrawingSession> drawing;
    drawing.emplace(settingsFor(request, page));
    const SpiralParameters defaults = drawing->defaultRecord();
    SpiralParameters record = defaults;
    if (request.preset) {
      record = throughDialog(options, request, page, record, "choose " + std::to_string(kPresetListId) + " " +
                                                                std::to_string(*request.preset));
    }
    for (const auto& [field, value] : request.fields) {
      double wanted = value;
      if (isCentreField(field->name)) wanted = fieldValue(defaults, *field) - field->initial + value;
      const bool changed = isCentreField(field->name) ? value != field->initial
                                                      : static_cast<float>(value) != static_cast<float>(fieldValue(defaults, *field));
      if (changed) records::applyAssignment(record, std::string(field->name) + "=" + numberText(wanted));
    }
    // The selection's centre is the spiral's, as a pick button takes it.
    for (const std::string& id : options.selection) {
      if (const auto bounds = elementBounds(svg, id)) {
        const host::Point centre =
            toHostPoint(page, (bounds->left + bounds->right) / 2, (bounds->top + bounds->bottom) / 2);
        record.centerX = centre.x;
        record.centerY = centre.y;
        break;
      }
    }
    if (!request.recordButton.empty()) {
      record = throughDialog(options, request, page, record, "press " + quoted(request.recordButton));
    }

    // The drawing: Go alone with the record, as a repeated filter.
    host::DrawingSession& session = *drawing;
    auto active = session.activate();
    loadAndStart(session, options.pluginPath);
    host::PluginSession& plugin = session.plugin();
    HostErr result = plugin.setRecordBytes(records::recordBytes(record));
    if (result == kHostNoErr) result = plugin.repeatFilter();
    plugin.shutdown();
    if (result != kHostNoErr) {
      err << "spiral-host: " << hostio::printable(failureText(plugin.dialogs(), result)) << "\n";
      return 1;
    }
    std::ostringstream hostSvg;
    session.write(host::OutputKind::Svg, hostSvg);
    const SpiralParameters kept = session.record();
    const auto& layers = session.document().layers();
    const std::string label = kept.newLayer && !layers.empty() ? layers.back().name : "Spiral";
    const std::string result_svg = insertDrawing(svg, hostSvg.str(), label, kept.newLayer != 0);
    out << result_svg;
    out.flush();
    return 0;
  } catch (const EffectError& e) {
    err << "spiral-host: " << hostio::printable(e.what()) << "\n";
  } catch (const DocumentError& e) {
    err << "spiral-host: " << hostio::printable(e.what()) << "\n";
  } catch (const hostio::InputError& e) {
    err << "spiral-host: " << hostio::printable(e.what()) << "\n";
  } catch (const records::RecordError& e) {
    err << "spiral-host: " << hostio::printable(e.what()) << "\n";
  } catch (const host::SessionError& e) {
    err << "spiral-host: " << hostio::printable(e.what()) << "\n";
  }
  return 2;
}

}  // namespace inkscape
