// Dialogs as JSON, one encoder for every reader. An item is
//   {"id", "kind", "text", "visible", "enabled", "font", "value"}
// with the kind as itemKindName spells it; spin edits add "limits"
// [min|null, max|null], popup lists "entries" and "selected" (the selected
// entry's text, or null). The JSON dump writes items as they closed
// (ItemState); the browser page gets live items with their layout on top:
// "bounds" [l, t, r, b], spin edits' "limits" always and "decimals",
// pictures' "icon", and "picks" on push buttons that take a point.
#pragma once

#include <map>
#include <vector>

#include <nlohmann/json.hpp>

#include "hostapp/dialogs/dialog_manager.h"
#include "hostapp/dialogs/script_driver.h"

namespace host {

nlohmann::json itemStateToJson(const ItemState& item);
nlohmann::json itemStatesToJson(const std::vector<ItemState>& items);

// A live item with its layout, for the page.
nlohmann::json itemToJson(const DialogItem& item);

// {"name", "resource", "caption", "width", "height", "items": [...]}
nlohmann::json dialogToJson(const Dialog& dialog);

// The items of `dialog` whose JSON differs from `last` (id -> JSON); `last`
// is brought up to date.
nlohmann::json changedItems(const Dialog& dialog, std::map<int32_t, nlohmann::json>& last);

// The dialogs and alerts shown, as the dump's "dialogs": kind ("dialog" or
// "alert"), name and the items' id, kind and text; dialogs add their
// resource, caption and the item that ended them.
nlohmann::json shownDialogsToJson(const std::vector<ShownDialog>& shown);

}  // namespace host
