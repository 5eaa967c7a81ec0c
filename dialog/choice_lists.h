// The seven popup lists of the options dialog. Each entry's id is its
// position, and a list's field in the record holds the id of the chosen entry,
// which the generator reads as a mode number. Every text begins with a blank.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "params/spiral_parameters.h"

struct ChoiceList {
  std::string_view name;
  int32_t itemId;
  int32_t SpiralParameters::*field;
  std::span<const std::string_view> entries;
  // The list item gets the read-back proc while it is filled rather than when
  // it is created.
  bool notifyOnFill;
};

extern const std::string_view PresetList[64];
extern const std::string_view PlacementList[8];
extern const std::string_view StructureList[29];
extern const std::string_view PointShiftList[3];
extern const std::string_view OffsetModeList[20];
extern const std::string_view SketchColorList[12];
extern const std::string_view InterpolationList[6];

// The lists in the order the dialog fills them: 164, 161, 162, 166, 165,
// 163, 160.
inline constexpr int kChoiceListCount = 7;
extern const ChoiceList kChoiceLists[kChoiceListCount];

// The list shown by a popup item, or null.
const ChoiceList* findChoiceList(int32_t itemId);
