#include "hostapp/cli/dialog_options.h"

#include <charconv>
#include <memory>

#include "hostapp/io/file_input.h"
#include "hostapp/session/drawing_session.h"

namespace cli {

std::vector<host::ScriptAction> dialogActions(const std::optional<std::string>& preset,
                                              const std::optional<std::string>& script) {
  std::vector<host::ScriptAction> actions;
  if (preset) {
    host::ScriptAction choose;
    choose.verb = host::ScriptAction::Verb::Choose;
    choose.source = "--preset " + *preset;
    choose.itemId = kPresetListId;
    choose.entryNoun = "preset";
    int32_t position = 0;
    const char* end = preset->data() + preset->size();
    const auto [ptr, ec] = std::from_chars(preset->data(), end, position);
    if (!preset->empty() && ec == std::errc() && ptr == end) {
      choose.position = position;
    } else {
      choose.entryText = *preset;
    }
    actions.push_back(std::move(choose));
  }
  if (script) {
    for (host::ScriptAction& action : host::parseDialogScript(*script)) actions.push_back(std::move(action));
  }
  return actions;
}

int runPresetsCommand(const std::string& pluginPath, std::ostream& out, std::ostream& err) {
  host::DrawingSession drawing;
  auto active = drawing.activate();
  host::PluginSession* session = nullptr;
  try {
    session = &drawing.loadPlugin(pluginPath);
  } catch (const host::LoadError& e) {
    err << "spiral-host: " << hostio::printable(e.what()) << "\n";
    return 2;
  }
  auto outcome = std::make_shared<host::ScriptOutcome>();
  session->dialogs().setDriver(host::scriptDriver({}, kOptionsDialogName, true, drawing.document(), outcome));
  HostErr result = session->startup();
  if (result == kHostNoErr) session->getParameters();
  session->shutdown();
  for (const host::ItemState& item : outcome->closedItems) {
    if (item.id != kPresetListId) continue;
    for (std::size_t k = 0; k < item.entries.size(); ++k) {
      const std::string& name = item.entries[k];
      out << k << "\t" << (name.empty() || name[0] != ' ' ? name : name.substr(1)) << "\n";
    }
    return 0;
  }
  err << "spiral-host: the plug-in showed no preset list\n";
  return 1;
}

}  // namespace cli
