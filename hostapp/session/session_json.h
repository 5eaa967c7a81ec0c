// What a session tells about its plug-in in JSON and metadata: the messages
// sent with their results, and the plug-in's name and version.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

#include "hostapp/session/plugin_session.h"

namespace host {

// [{"caller", "selector", "result"}, ...]
nlohmann::json messagesToJson(const std::vector<MessageRecord>& messages);

// The plug-in's name and version as its About box shows them (dialog
// resource 16050); empty texts when the resources have no such box.
std::pair<std::string, std::string> pluginNameAndVersion(const PluginFile& file);

}  // namespace host
