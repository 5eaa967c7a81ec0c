#include "hostapp/session/session_json.h"

#include <string_view>

namespace host {

nlohmann::json messagesToJson(const std::vector<MessageRecord>& messages) {
  nlohmann::json out = nlohmann::json::array();
  for (const MessageRecord& m : messages) {
    out.push_back({{"caller", m.caller}, {"selector", m.selector}, {"result", m.result}});
  }
  return out;
}

// The About box's first text, and the text that starts "Version ".
std::pair<std::string, std::string> pluginNameAndVersion(const PluginFile& file) {
  constexpr uint16_t kAboutDialog = 16050;
  std::pair<std::string, std::string> out;
  try {
    const auto about = file.resources.dialog(kAboutDialog);
    if (!about) return out;
    constexpr std::string_view kVersion = "Version ";
    for (const DialogItemTemplate& item : about->items) {
      if (item.windowClass.isNumber && item.windowClass.number != 0x82) continue;  // static texts
      if (item.title.isNumber || item.title.text.empty()) continue;
      const std::string& text = item.title.text;
      if (out.first.empty()) out.first = text;
      if (text.rfind(kVersion, 0) == 0) out.second = text.substr(kVersion.size());
    }
  } catch (const ResourceError&) {
  }
  return out;
}

}  // namespace host
