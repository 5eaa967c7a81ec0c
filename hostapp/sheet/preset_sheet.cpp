#include "hostapp/sheet/preset_sheet.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <memory>
#include <sstream>

#include "hostapp/io/file_input.h"
#include "hostapp/io/output_set.h"
#include "hostapp/model/page.h"
#include "hostapp/render/contact_sheet.h"
#include "hostapp/render/svg_render.h"
#include "hostapp/session/drawing_session.h"
#include "hostapp/writers/svg_writer.h"
#include "params/record/plugin_facts.h"

namespace sheet {
namespace {

std::string lowered(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

bool endsWith(const std::string& text, std::string_view end) {
  return text.size() > end.size() && lowered(text.substr(text.size() - end.size())) == end;
}

host::PluginSession& load(host::DrawingSession& session, const std::string& pluginPath) {
  try {
    return session.loadPlugin(pluginPath);
  } catch (const host::LoadError& e) {
    throw SheetError(e.what());
  }
}

// The positions of the presets asked for, in the order asked; all when
// none is named.
std::vector<std::size_t> chosen(const std::vector<std::string>& presets, const std::vector<std::string>& names) {
  std::vector<std::size_t> positions;
  if (names.empty()) {
    for (std::size_t k = 0; k < presets.size(); ++k) positions.push_back(k);
    return positions;
  }
  for (const std::string& name : names) {
    std::size_t position = 0;
    const char* end = name.data() + name.size();
    if (const auto [p, ec] = std::from_chars(name.data(), end, position);
        !name.empty() && ec == std::errc() && p == end) {
      if (position >= presets.size())
        throw SheetError("there is no preset " + name + " (0 to " + std::to_string(presets.size() - 1) + ")");
      positions.push_back(position);
      continue;
    }
    const auto found = std::find_if(presets.begin(), presets.end(),
                                    [&](const std::string& preset) { return lowered(preset) == lowered(name); });
    if (found == presets.end())
      throw SheetError("there is no preset '" + name + "' (spiral-host presets lists them)");
    positions.push_back(static_cast<std::size_t>(found - presets.begin()));
  }
  return positions;
}

// The picture SVG of preset `position` drawn with `seed` in a new session.
std::string drawPreset(const SheetOptions& options, std::size_t position, const std::string& name) {
  host::SessionSettings settings;
  settings.host.seed = options.seed;
  host::DrawingSession session(settings);
  auto active = session.activate();
  host::PluginSession& plugin = load(session, options.pluginPath);
  host::ScriptAction choose;
  choose.verb = host::ScriptAction::Verb::Choose;
  choose.source = "preset " + name;
  choose.itemId = kPresetListId;
  choose.position = static_cast<int32_t>(position);
  auto outcome = std::make_shared<host::ScriptOutcome>();
  plugin.dialogs().setDriver(
      host::scriptDriver({choose}, kOptionsDialogName, false, session.document(), outcome));
  HostErr result = plugin.startup();
  if (result == kHostNoErr) result = plugin.chooseFilter();
  plugin.shutdown();
  if (const std::string error = plugin.dialogs().takeDriverError(); !error.empty())
    throw SheetError("preset '" + name + "': " + error);
  if (result != kHostNoErr)
    throw SheetError("preset '" + name + "' failed to draw (error " + std::to_string(result) + ")");
  return writers::svgString(session.document(), {}, writers::SvgOptions{.leaveOutOffPage = true});
}

}  // namespace

std::vector<std::string> presetNames(const std::string& pluginPath) {
  host::DrawingSession drawing;
  auto active = drawing.activate();
  host::PluginSession& session = load(drawing, pluginPath);
  auto outcome = std::make_shared<host::ScriptOutcome>();
  session.dialogs().setDriver(host::scriptDriver({}, kOptionsDialogName, true, drawing.document(), outcome));
  HostErr result = session.startup();
  if (result == kHostNoErr) session.getParameters();
  session.shutdown();
  for (const host::ItemState& item : outcome->closedItems) {
    if (item.id != kPresetListId) continue;
    std::vector<std::string> names;
    // The dialog indents its entries by a blank.
    for (const std::string& name : item.entries)
      names.push_back(name.empty() || name[0] != ' ' ? name : name.substr(1));
    return names;
  }
  throw SheetError("the plug-in showed no preset list");
}

int runSheetCommand(const SheetOptions& options, std::ostream& err) {
  render::SheetFormat format = render::SheetFormat::Png;
  if (endsWith(options.file, ".png")) format = render::SheetFormat::Png;
  else if (endsWith(options.file, ".pdf")) format = render::SheetFormat::Pdf;
  else {
    err << "spiral-host: --sheet needs a file ending in .png or .pdf, got '" << hostio::excerpt(options.file) << "'\n";
    return 2;
  }
  if (!render::available()) {
    err << "spiral-host: this spiral-host was built without librsvg and cairo: --sheet is not available\n";
    return 2;
  }
  hostio::OutputSet outputs;
  try {
    outputs.claim(options.file, "--sheet");
  } catch (const hostio::OutputError& e) {
    err << "spiral-host: " << hostio::printable(e.what()) << "\n";
    return 2;
  }
  std::vector<std::string> presets;
  std::vector<std::size_t> positions;
  try {
    presets = presetNames(options.pluginPath);
    positions = chosen(presets, options.names);
  } catch (const SheetError& e) {
    err << "spiral-host: " << hostio::printable(e.what()) << "\n";
    return 2;
  }
  if (positions.empty()) {
    err << "spiral-host: the plug-in has no presets\n";
    return 1;
  }
  try {
    // Rendered in memory, then written whole like every other output.
    std::ostringstream bytes;
    render::ContactSheet sheet(format, render::sheetLayout(positions.size(), host::kDefaultPageSize.x,
                                                           host::kDefaultPageSize.y), bytes);
    for (std::size_t k = 0; k < positions.size(); ++k) {
      const std::string& name = presets[positions[k]];
      if (options.progress)
        err << "\rspiral-host: drawing preset " << k + 1 << " of " << positions.size() << std::flush;
      sheet.add(drawPreset(options, positions[k], name), name);
    }
    if (options.progress) err << "\n";
    sheet.finish();
    const std::string data = std::move(bytes).str();
    outputs.open(options.file).write(data.data(), static_cast<std::streamsize>(data.size()));
    outputs.commit();
  } catch (const SheetError& e) {
    if (options.progress) err << "\n";
    err << "spiral-host: " << hostio::printable(e.what()) << "\n";
    return 1;
  } catch (const render::RenderError& e) {
    err << "spiral-host: --sheet: " << hostio::printable(e.what()) << "\n";
    return 2;
  } catch (const hostio::OutputError& e) {
    err << "spiral-host: " << hostio::printable(e.what()) << "\n";
    return 2;
  }
  return 0;
}

}  // namespace sheet
