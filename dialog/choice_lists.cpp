#include "dialog/choice_lists.h"

const std::string_view PresetList[64] = {
    " Reset",
    " Less spiral arms",
    " Fairly squared",
    " Rounding",
    " Rounded",
    " Rapid spiral",
    " Thin spiral",
    " Thin + 45 degree rotate",
    " Reverse",
    " Expanding spiral",
    " Race track",
    " Square-ial",
    " Distorted track",
    " Intense",
    " Changing",
    " Flattened",
    " Round to Circle",
    " Larger radius",
    " Decay 1",
    " Decay 2",
    " Crunch",
    " Loops",
    " String",
    " String 45",
    " Bend",
    " Star",
    " Star 1",
    " Flower",
    " Flower 1",
    " Abstract 1",
    " Abstract 2",
    " Abstract 3",
    " Interpolation 1",
    " Interpolation 2",
    " Interpolation 3",
    " Structure 1",
    " Structure 2",
    " Shadow 1",
    " Shadow 2",
    " Sketch 1",
    " Sketch 2",
    " Rough sketch",
    " Dark sketch",
    " Close sketch",
    " Faint sketch",
    " Art sketch 1",
    " Art sketch 2",
    " Art sketch 3",
    " Art sketch 4",
    " Art sketch 5",
    " Art sketch 6",
    " Art sketch 7",
    " Art sketch 8",
    " Art sketch 9",
    " Art sketch Squared",
    " Offset 1",
    " Offset 2",
    " Offset 3",
    " Offset 4",
    " Offset 5",
    " Pattern",
    " Gap1",
    " Gap2",
    " Multi-spiral book",
};

namespace {

using R = SpiralParameters;

// The popup list of one mode table.
template <typename Mode>
constexpr ChoiceList modeList(int32_t itemId, int32_t R::*field, bool notifyOnFill) {
  return {ChoiceTable<Mode>::listName, itemId, field, ChoiceTable<Mode>::texts, notifyOnFill};
}

}  // namespace

const ChoiceList kChoiceLists[kChoiceListCount] = {
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
