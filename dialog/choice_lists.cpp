#include "dialog/choice_lists.h"

namespace {

using R = SpiralParameters;

// The popup list of one mode table.
template <typename Mode>
constexpr ChoiceList modeList(int32_t itemId, int32_t R::*field, bool notifyOnFill) {
  return {ChoiceTable<Mode>::listName, itemId, field, ChoiceTable<Mode>::texts, notifyOnFill};
}

}  // namespace

constexpr ChoiceList kChoiceLists[kChoiceListCount] = {
    {"PresetList", 164, &R::presetIndex, PresetList, false},
    modeList<PlacementMode>(161, &R::placementMode, true),
    modeList<SpiralStructure>(162, &R::spiralStructure, true),
    modeList<PointShiftMode>(166, &R::pointShiftMode, false),
    modeList<OffsetMode>(165, &R::offsetMode, false),
    modeList<SketchColourMode>(163, &R::sketchColorMode, false),
    modeList<InterpolationMode>(160, &R::interpolationMode, false),
};

const ChoiceList* findChoiceList(int32_t itemId) {
  for (const ChoiceList& list : kChoiceLists)
    if (list.itemId == itemId) return &list;
  return nullptr;
}
