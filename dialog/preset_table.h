// The options dialog's presets, one row each: the entry text in the preset
// list and the fields the preset sets on top of its base (the defaults; see
// writePresetBase). A row's position is its entry id and the number
// presetIndex holds.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <type_traits>

#include "params/choice_modes.h"
#include "params/record/spiral_parameters.h"

// One field a preset sets: an int32 field (flags to 1, counts, list modes)
// or a float field. A default-made setting sets nothing.
struct PresetSetting {
  int32_t SpiralParameters::*intField = nullptr;
  float SpiralParameters::*floatField = nullptr;
  double value = 0;

  constexpr PresetSetting() = default;
  constexpr PresetSetting(int32_t SpiralParameters::*field, int32_t number) : intField(field), value(number) {}
  constexpr PresetSetting(float SpiralParameters::*field, double real) : floatField(field), value(real) {}
  template <typename Mode>
    requires std::is_enum_v<Mode>
  constexpr PresetSetting(int32_t SpiralParameters::*field, Mode mode)
      : intField(field), value(static_cast<int32_t>(mode)) {}
};

// The most fields one preset sets.
inline constexpr std::size_t kMostPresetSettings = 15;

struct Preset {
  std::string_view name;
  PresetSetting settings[kMostPresetSettings];
};

namespace preset_rows {
using R = SpiralParameters;
inline constexpr Preset kRows[] = {
    {" Reset", {}},
    {" Less spiral arms", {{&R::armCount, 4}}},
    {" Fairly squared", {{&R::curvature1, 10}, {&R::curvature2, 10}}},
    {" Rounding", {{&R::curvature1, 50}, {&R::curvature2, 50}}},
    {" Rounded", {{&R::curvature1, 90}, {&R::curvature2, 90}}},
    {" Rapid spiral", {{&R::curvature1, 90}, {&R::curvature2, 90}, {&R::decay, 80}}},
    {" Thin spiral", {{&R::scaleH, 50}}},
    {" Thin + 45 degree rotate", {{&R::scaleH, 50}, {&R::spiralAngle, 45}}},
    {" Reverse", {{&R::scaleH, -100}}},
    {" Expanding spiral", {{&R::decay, 103}}},
    {" Race track", {{&R::decay, 99}}},
    {" Square-ial", {{&R::curvature1, 0}, {&R::curvature2, 0}}},
    {" Distorted track", {{&R::decay, 99}, {&R::curvature1, 0}, {&R::curvature2, 60}}},
    {" Intense", {{&R::decay, 99}, {&R::armCount, 30}}},
    {" Changing", {{&R::armCurveFactor1, 90}, {&R::armCurveFactor2, 90}}},
    {" Flattened", {{&R::scaleV, 10}}},
    {" Round to Circle", {{&R::armCurveFactor1, 110}, {&R::armCurveFactor2, 110}}},
    {" Larger radius", {{&R::armCount, 20}, {&R::armGap, 300}, {&R::decay, 99}}},
    {" Decay 1", {{&R::decayAccumulate, 97}}},
    {" Decay 2", {{&R::decayAccumulate, 103}}},
    {" Crunch", {{&R::decayAccumulate, 97}, {&R::armGap, 300}}},
    {" Loops", {{&R::curvature1, -90}, {&R::curvature2, -90}, {&R::decay, 99}}},
    {" String", {{&R::curvature1, -90}, {&R::curvature2, -90}, {&R::decay, 80}}},
    {" String 45", {{&R::curvature1, -90}, {&R::curvature2, -90}, {&R::decay, 80}, {&R::spiralAngle, 45}}},
    {" Bend", {{&R::pointSideShift, 15}}},
    {" Star", {{&R::starAdditionX, 15}}},
    {" Star 1", {{&R::starAdditionX, 100}}},
    {" Flower", {{&R::armCount, 6}, {&R::starAdditionX, -20}}},
    {" Flower 1", {{&R::armCount, 4}, {&R::starAdditionX, -40}}},
    {" Abstract 1", {{&R::randomAbstract, 1}, {&R::spiralCount, 50}, {&R::placementMode, PlacementMode::Anywhere}}},
    {" Abstract 2",
     {{&R::randomAbstract, 1}, {&R::spiralCount, 50}, {&R::placementMode, PlacementMode::Anywhere},
      {&R::randomFill, 1}, {&R::randomAngle, 1}}},
    {" Abstract 3",
     {{&R::randomAbstract, 1}, {&R::spiralCount, 80}, {&R::placementMode, PlacementMode::Anywhere},
      {&R::randomStroke, 1}, {&R::randomAngle, 1}, {&R::randomWidth, 1}, {&R::randomCurve, 1}}},
    {" Interpolation 1", {{&R::interpolationAmount, -200}}},
    {" Interpolation 2", {{&R::interpolationAmount, -50}, {&R::randomInterpolate, 1}}},
    {" Interpolation 3", {{&R::interpolationAmount, 54}}},
    {" Structure 1", {{&R::armGap, 3}, {&R::spiralStructure, SpiralStructure::ArmIndexRadius}}},
    {" Structure 2", {{&R::spiralStructure, SpiralStructure::EvenArmsShrink}, {&R::armCount, 4}, {&R::decay, 87}}},
    {" Shadow 1", {{&R::dropShadow, 1}}},
    {" Shadow 2", {{&R::dropShadow, 1}, {&R::randomShadowScale, 1}}},
    {" Sketch 1", {{&R::sketchRepeats, 10}, {&R::sketchColorMode, SketchColourMode::RandomColour}}},
    {" Sketch 2", {{&R::sketchRepeats, 15}, {&R::sketchColorMode, SketchColourMode::RandomColour}}},
    {" Rough sketch",
     {{&R::sketchRepeats, 15}, {&R::sketchColorMode, SketchColourMode::RandomColour}, {&R::sketchShift, 20}}},
    {" Dark sketch",
     {{&R::sketchRepeats, 15}, {&R::sketchColorMode, SketchColourMode::SameColour}, {&R::sketchShift, 20},
      {&R::sketchWeight, 10}}},
    {" Close sketch",
     {{&R::sketchRepeats, 15}, {&R::sketchColorMode, SketchColourMode::SameColour}, {&R::sketchShift, 5},
      {&R::sketchWeight, 10}}},
    {" Faint sketch",
     {{&R::sketchRepeats, 15}, {&R::sketchColorMode, SketchColourMode::WhiteRandomOpacity}, {&R::sketchShift, 5},
      {&R::sketchWeight, 10}}},
    {" Art sketch 1",
     {{&R::sketchRepeats, 7}, {&R::armGap, 150}, {&R::randomAngle, 1}, {&R::randomScaling, 1},
      {&R::randomAbstract, 1}, {&R::randomFill, 1}, {&R::randomOpacity, 1}, {&R::randomArms, 1}}},
    {" Art sketch 2",
     {{&R::sketchRepeats, 7}, {&R::armGap, 150}, {&R::sketchShift, 12}, {&R::spiralCount, 6}, {&R::randomAngle, 1},
      {&R::randomScaling, 1}, {&R::randomAbstract, 1}, {&R::randomFill, 1}, {&R::randomOpacity, 1},
      {&R::randomArms, 1}}},
    {" Art sketch 3",
     {{&R::sketchRepeats, 7}, {&R::armGap, 150}, {&R::sketchShift, 12}, {&R::sketchWeight, 10},
      {&R::spiralCount, 6}, {&R::sketchColorMode, SketchColourMode::BlackRandomOpacity}, {&R::randomAngle, 1},
      {&R::randomScaling, 1}, {&R::randomAbstract, 1}, {&R::randomFill, 1}, {&R::randomOpacity, 1},
      {&R::randomArms, 1}}},
    {" Art sketch 4",
     {{&R::sketchRepeats, 7}, {&R::armGap, 150}, {&R::randomCurve, 1}, {&R::sketchShift, 12},
      {&R::sketchWeight, 10}, {&R::spiralCount, 6}, {&R::sketchColorMode, SketchColourMode::BlackRandomOpacity},
      {&R::randomAngle, 1}, {&R::randomScaling, 1}, {&R::randomAbstract, 1}, {&R::randomFill, 1},
      {&R::randomOpacity, 1}, {&R::randomArms, 1}}},
    {" Art sketch 5",
     {{&R::sketchRepeats, 7}, {&R::armGap, 150}, {&R::randomCurve, 1}, {&R::sketchShift, 12},
      {&R::sketchWeight, 10}, {&R::spiralCount, 6}, {&R::sketchColorMode, SketchColourMode::RandomColour},
      {&R::randomAngle, 1}, {&R::randomScaling, 1}, {&R::randomAbstract, 1}, {&R::randomFill, 1},
      {&R::randomOpacity, 1}, {&R::randomArms, 1}}},
    {" Art sketch 6",
     {{&R::sketchRepeats, 7}, {&R::armGap, 170}, {&R::randomCurve, 1}, {&R::sketchShift, 15},
      {&R::sketchWeight, 10}, {&R::spiralCount, 7}, {&R::sketchColorMode, SketchColourMode::RandomColour},
      {&R::randomAngle, 1}, {&R::randomScaling, 1}, {&R::randomAbstract, 1}, {&R::randomFill, 1},
      {&R::randomOpacity, 1}}},
    {" Art sketch 7",
     {{&R::sketchRepeats, 7}, {&R::armGap, 170}, {&R::randomCurve, 1}, {&R::sketchShift, 15},
      {&R::sketchWeight, 10}, {&R::spiralCount, 7}, {&R::sketchColorMode, SketchColourMode::BlackRandomOpacity},
      {&R::randomAngle, 1}, {&R::randomScaling, 1}, {&R::randomAbstract, 1}, {&R::randomFill, 1},
      {&R::randomOpacity, 1}, {&R::curvature1, 90}, {&R::curvature2, 90}}},
    {" Art sketch 8",
     {{&R::interpolationAmount, 50}, {&R::sketchRepeats, 7}, {&R::armGap, 170}, {&R::randomCurve, 1},
      {&R::sketchShift, 15}, {&R::sketchWeight, 10}, {&R::spiralCount, 7},
      {&R::sketchColorMode, SketchColourMode::BlackRandomOpacity}, {&R::randomAngle, 1}, {&R::randomScaling, 1},
      {&R::randomAbstract, 1}, {&R::randomFill, 1}, {&R::randomOpacity, 1}, {&R::curvature1, 90},
      {&R::curvature2, 90}}},
    {" Art sketch 9",
     {{&R::interpolationAmount, -200}, {&R::sketchRepeats, 7}, {&R::armGap, 170}, {&R::randomCurve, 1},
      {&R::sketchShift, 15}, {&R::sketchWeight, 10}, {&R::spiralCount, 7},
      {&R::sketchColorMode, SketchColourMode::BlackRandomOpacity}, {&R::randomAngle, 1}, {&R::randomScaling, 1},
      {&R::randomAbstract, 1}, {&R::randomFill, 1}, {&R::randomOpacity, 1}, {&R::curvature1, 90},
      {&R::curvature2, 90}}},
    {" Art sketch Squared",
     {{&R::sketchRepeats, 7}, {&R::armGap, 170}, {&R::sketchShift, 15}, {&R::sketchWeight, 10},
      {&R::spiralCount, 7}, {&R::sketchColorMode, SketchColourMode::BlackRandomOpacity}, {&R::randomAngle, 1},
      {&R::randomScaling, 1}, {&R::randomAbstract, 1}, {&R::randomFill, 1}, {&R::randomOpacity, 1},
      {&R::curvature1, 90}, {&R::curvature2, 90}}},
    {" Offset 1", {{&R::spiralOffsetX, 5}}},
    {" Offset 2", {{&R::spiralOffsetY, 5}}},
    {" Offset 3", {{&R::spiralOffsetX, 5}, {&R::spiralOffsetY, 5}, {&R::offsetMode, OffsetMode::Cycle1}}},
    {" Offset 4", {{&R::spiralOffsetX, 5}, {&R::offsetCount, 4}}},
    {" Offset 5", {{&R::spiralOffsetY, 6}, {&R::pointFactor, 900}}},
    {" Pattern", {{&R::basicPattern, 1}, {&R::centerX, 100}, {&R::centerY, 100}}},
    {" Gap1", {{&R::spiralStructure, SpiralStructure::GapQuarterOrHalf}, {&R::armGap, 7}, {&R::armCount, 30}}},
    {" Gap2", {{&R::spiralStructure, SpiralStructure::GapDoubleOnEven}, {&R::armGap, 2}, {&R::armCount, 30}}},
    {" Multi-spiral book",
     {{&R::spiralStructure, SpiralStructure::GapRandom}, {&R::armGap, 4}, {&R::armCount, 30}, {&R::randomWidth, 1},
      {&R::randomFill, 1}, {&R::spiralCount, 12}, {&R::placementMode, PlacementMode::Anywhere},
      {&R::randomOpacity, 1}}},
};
}  // namespace preset_rows

inline constexpr std::span<const Preset> kPresets{preset_rows::kRows};
inline constexpr int32_t kPresetCount = static_cast<int32_t>(std::size(preset_rows::kRows));

// The preset list's entry texts, in row order.
inline constexpr std::array<std::string_view, kPresetCount> PresetList = [] {
  std::array<std::string_view, kPresetCount> names{};
  for (int32_t i = 0; i < kPresetCount; ++i) names[i] = preset_rows::kRows[i].name;
  return names;
}();
