// The seven popup lists of the options dialog: the preset list and the six
// mode lists. Each entry's id is its position, and a list's field in the
// record holds the id of the chosen entry. The texts are those of the preset
// rows (preset_table.h) and of the mode tables (params/choice_modes.h).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "dialog/preset_table.h"
#include "params/choice_modes.h"
#include "params/view_defaults.h"

struct ChoiceList {
  std::string_view name;
  int32_t itemId;
  int32_t SpiralParameters::*field;
  std::span<const std::string_view> entries;
  // The list item gets the read-back proc while it is filled rather than when
  // it is created.
  bool notifyOnFill;
};

// The lists in the order the dialog fills them: 164, 161, 162, 166, 165,
// 163, 160.
inline constexpr int kChoiceListCount = 7;
extern const ChoiceList kChoiceLists[kChoiceListCount];

// The list shown by a popup item, or null.
const ChoiceList* findChoiceList(int32_t itemId);
