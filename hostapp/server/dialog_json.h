// A dialog as the browser page draws it: its size and caption and every item
// with its bounds, kind, text, font, value, limits, decimal places,
// visibility, enabled state and popup entries, read from the dialog
// manager's live objects.
#pragma once

#include <map>

#include <nlohmann/json.hpp>

#include "hostapp/dialogs/dialog_manager.h"

namespace server {

nlohmann::json itemToJson(const host::DialogItem& item);

// {"name", "resource", "caption", "width", "height", "items": [...]}
nlohmann::json dialogToJson(const host::Dialog& dialog);

// The items of `dialog` whose JSON differs from `last` (id -> JSON); `last`
// is brought up to date.
nlohmann::json changedItems(const host::Dialog& dialog, std::map<int32_t, nlohmann::json>& last);

}  // namespace server
