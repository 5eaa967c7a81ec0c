#include "hostapp/dialogs/dialog_json.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace host {
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

nlohmann::json limits(const ItemState& item) {
  return {number(asSingle(item.minimum)), number(asSingle(item.maximum))};
}

}  // namespace

nlohmann::json itemStateToJson(const ItemState& item) {
  nlohmann::json j = {{"id", item.id},           {"kind", item.kind},       {"text", item.text},
                      {"visible", item.visible}, {"enabled", item.enabled}, {"font", item.font}};
  j["value"] = number(item.value);
  if (item.minimum || item.maximum) j["limits"] = limits(item);
  if (item.kind == itemKindName(ItemKind::PopupList)) {
    j["entries"] = item.entries;
    const auto selected = item.value ? static_cast<long>(*item.value) : -1L;
    j["selected"] = selected >= 0 && selected < static_cast<long>(item.entries.size())
                        ? nlohmann::json(item.entries[static_cast<std::size_t>(selected)])
                        : nlohmann::json();
  }
  return j;
}

nlohmann::json itemStatesToJson(const std::vector<ItemState>& items) {
  nlohmann::json out = nlohmann::json::array();
  for (const ItemState& item : items) out.push_back(itemStateToJson(item));
  return out;
}

nlohmann::json itemToJson(const DialogItem& item) {
  const ItemState state = captureItemState(item);
  nlohmann::json out = itemStateToJson(state);
  const DialogRect& b = item.bounds();
  out["bounds"] = {b.left, b.top, b.right, b.bottom};
  switch (item.kind()) {
    case ItemKind::SpinEdit:
      out["limits"] = limits(state);
      out["decimals"] = item.precision();
      break;
    case ItemKind::PicturePushButton:
    case ItemKind::Picture:
      if (item.iconId() != 0) out["icon"] = item.iconId();
      break;
    default:
      break;
  }
  // A button with a track proc takes a point from the document.
  if (item.isPushButton() && item.trackProc()) out["picks"] = true;
  return out;
}

nlohmann::json dialogToJson(const Dialog& dialog) {
  nlohmann::json items = nlohmann::json::array();
  for (const auto& item : dialog.items()) items.push_back(itemToJson(*item));
  const DialogRect& b = dialog.bounds();
  return {{"name", dialog.name()},     {"resource", dialog.resourceId()}, {"caption", dialog.caption()},
          {"width", b.right - b.left}, {"height", b.bottom - b.top},      {"items", std::move(items)}};
}

nlohmann::json changedItems(const Dialog& dialog, std::map<int32_t, nlohmann::json>& last) {
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

nlohmann::json shownDialogsToJson(const std::vector<ShownDialog>& shown) {
  nlohmann::json out = nlohmann::json::array();
  for (const ShownDialog& dialog : shown) {
    nlohmann::json items = nlohmann::json::array();
    for (const auto& item : dialog.items) {
      items.push_back({{"id", item.id}, {"kind", item.kind}, {"text", item.text}});
    }
    nlohmann::json entry{{"kind", dialog.alert ? "alert" : "dialog"}, {"name", dialog.name}, {"items", items}};
    if (!dialog.alert) {
      entry["resource"] = dialog.resourceId;
      entry["caption"] = dialog.caption;
      entry["result"] = dialog.result;
    }
    out.push_back(std::move(entry));
  }
  return out;
}

}  // namespace host
