#include "hostapp/server/dialog_json.h"

#include <cmath>
#include <cstdlib>
#include <map>

namespace server {
namespace {

const char* kindKey(host::ItemKind kind) {
  switch (kind) {
    case host::ItemKind::SpinEdit: return "spin";
    case host::ItemKind::PopupList: return "popup";
    case host::ItemKind::TextStatic: return "text";
    case host::ItemKind::TextPushButton: return "button";
    case host::ItemKind::TextCheckBox: return "check";
    case host::ItemKind::PicturePushButton: return "picture-button";
    case host::ItemKind::TextEdit: return "edit";
    case host::ItemKind::Frame: return "frame";
    case host::ItemKind::Picture: return "picture";
  }
  return "text";
}

// Limits as the plug-in gave them through the float interface: 7 significant
// digits (0.01, not 0.009999999776); null when unlimited.
nlohmann::json limit(double value) {
  if (!std::isfinite(value)) return nullptr;
  char text[32];
  std::snprintf(text, sizeof text, "%.7g", value);
  return std::strtod(text, nullptr);
}

}  // namespace

nlohmann::json itemToJson(const host::DialogItem& item) {
  const DialogRect& b = item.bounds();
  nlohmann::json out{{"id", item.id()},
                     {"kind", kindKey(item.kind())},
                     {"bounds", {b.left, b.top, b.right, b.bottom}},
                     {"text", item.text()},
                     {"font", item.font()},
                     {"visible", item.visible()},
                     {"enabled", item.enabled()}};
  switch (item.kind()) {
    case host::ItemKind::SpinEdit:
      // The number as shown (its text), so that 0.01 stays 0.01.
      out["value"] = std::strtod(item.text().c_str(), nullptr);
      out["min"] = limit(item.minimum());
      out["max"] = limit(item.maximum());
      out["decimals"] = item.precision();
      break;
    case host::ItemKind::TextCheckBox:
      out["value"] = item.booleanValue();
      break;
    case host::ItemKind::PopupList: {
      nlohmann::json entries = nlohmann::json::array();
      for (const auto& entry : item.list()->entries()) entries.push_back(entry->text());
      out["entries"] = std::move(entries);
      out["value"] = item.list()->activeIndex();
      break;
    }
    case host::ItemKind::PicturePushButton:
    case host::ItemKind::Picture:
      if (item.iconId() != 0) out["icon"] = item.iconId();
      break;
    default:
      break;
  }
  // A button with a track proc takes a point from the document.
  if (item.isPushButton() && item.trackProc()) out["picks"] = true;
  return out;
}

nlohmann::json dialogToJson(const host::Dialog& dialog) {
  nlohmann::json items = nlohmann::json::array();
  for (const auto& item : dialog.items()) items.push_back(itemToJson(*item));
  const DialogRect& b = dialog.bounds();
  return {{"name", dialog.name()},       {"resource", dialog.resourceId()}, {"caption", dialog.caption()},
          {"width", b.right - b.left},   {"height", b.bottom - b.top},      {"items", std::move(items)}};
}

nlohmann::json changedItems(const host::Dialog& dialog, std::map<int32_t, nlohmann::json>& last) {
  nlohmann::json changed = nlohmann::json::array();
  for (const auto& item : dialog.items()) {
    nlohmann::json now = itemToJson(*item);
    auto it = last.find(item->id());
    if (it != last.end() && it->second == now) continue;
    last[item->id()] = now;
    changed.push_back(std::move(now));
  }
  return changed;
}

}  // namespace server
