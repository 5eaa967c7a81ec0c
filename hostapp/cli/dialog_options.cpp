#include "hostapp/cli/dialog_options.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "hostapp/composition/suite_installation.h"
#include "hostapp/host/host_context.h"
#include "hostapp/io/file_input.h"
#include "hostapp/loader/plugin_loader.h"
#include "hostapp/session/plugin_session.h"

namespace cli {

std::vector<host::ScriptAction> dialogActions(const std::optional<std::string>& preset,
                                              const std::optional<std::string>& script) {
  std::vector<host::ScriptAction> actions;
  if (preset) {
    host::ScriptAction choose;
    choose.verb = host::ScriptAction::Verb::Choose;
    choose.source = "--preset " + *preset;
    choose.itemId = kPresetListId;
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

namespace {

// Whole numbers print without a fraction.
nlohmann::json number(std::optional<double> value) {
  if (!value) return nullptr;
  if (std::trunc(*value) == *value && std::fabs(*value) < 9.0e15) return static_cast<int64_t>(*value);
  return *value;
}

// Limits come through the float32 interface: 7 significant digits give back
// the number the plug-in wrote (0.01, not 0.009999999776).
std::optional<double> asSingle(std::optional<double> value) {
  if (!value) return value;
  char text[32];
  std::snprintf(text, sizeof text, "%.7g", *value);
  return std::strtod(text, nullptr);
}

}  // namespace

nlohmann::json itemStatesToJson(const std::vector<host::ItemState>& items) {
  nlohmann::json out = nlohmann::json::array();
  for (const host::ItemState& item : items) {
    nlohmann::json j = {{"id", item.id},           {"kind", item.kind},       {"text", item.text},
                        {"visible", item.visible}, {"enabled", item.enabled}, {"font", item.font}};
    j["value"] = number(item.value);
    if (item.minimum || item.maximum) j["limits"] = {number(asSingle(item.minimum)), number(asSingle(item.maximum))};
    if (item.kind == host::itemKindName(host::ItemKind::PopupList)) {
      j["entries"] = item.entries;
      const auto selected = item.value ? static_cast<long>(*item.value) : -1L;
      j["selected"] = selected >= 0 && selected < static_cast<long>(item.entries.size())
                          ? nlohmann::json(item.entries[static_cast<std::size_t>(selected)])
                          : nlohmann::json();
    }
    out.push_back(std::move(j));
  }
  return out;
}

int runPresetsCommand(const std::string& pluginPath, std::ostream& out, std::ostream& err) {
  host::HostContext hostContext;
  host::installSuites(hostContext);
  auto active = hostContext.activate();
  std::unique_ptr<host::PluginSession> session;
  try {
    session = std::make_unique<host::PluginSession>(
        hostContext, host::scanPluginFile(pluginPath.empty() ? host::defaultPluginPath() : pluginPath));
  } catch (const host::LoadError& e) {
    err << "spiral-host: " << hostio::printable(e.what()) << "\n";
    return 2;
  }
  auto outcome = std::make_shared<host::ScriptOutcome>();
  session->dialogs().setDriver(host::scriptDriver({}, kOptionsDialogName, true, hostContext.document(), outcome));
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
