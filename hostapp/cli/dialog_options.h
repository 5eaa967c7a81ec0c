// The options dialog on the command line: the actions of --preset and
// --dialog, and the `presets` command.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "hostapp/dialogs/script_driver.h"
#include "params/record/plugin_facts.h"

namespace cli {

// The preset chosen in the preset list (by position, or by its text), then
// the script's actions. Throws host::ScriptError for a malformed script.
std::vector<host::ScriptAction> dialogActions(const std::optional<std::string>& preset,
                                              const std::optional<std::string>& script);

// `spiral-host presets`: opens the options dialog, reads its preset list and
// cancels; prints one line per preset, "INDEX<TAB>NAME".
int runPresetsCommand(const std::string& pluginPath, std::ostream& out, std::ostream& err);

}  // namespace cli
