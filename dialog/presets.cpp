#include "dialog/choice_lists.h"
#include "dialog/dialog_access.h"
#include "dialog/item_table.h"
#include "dialog/options_dialog.h"
#include "dialog/record_actions.h"
#include "shell/guarded.h"

namespace {

using R = SpiralParameters;

// One field that a preset sets on top of the base.
struct PresetValue {
  int32_t preset;
  int32_t R::*intField;
  float R::*floatField;
  double value;
};

constexpr PresetValue I(int32_t preset, int32_t R::*field, int32_t value) {
  return {preset, field, nullptr, static_cast<double>(value)};
}
constexpr PresetValue F(int32_t preset, float R::*field, double value) {
  return {preset, nullptr, field, value};
}

// Booleans are set to 1, counts and list positions to integers, the rest to
// reals.
constexpr PresetValue kPresetValues[] = {
    // 0 Reset: the base alone
    // 1 Less spiral arms
    I(1, &R::armCount, 4),
    // 2 Fairly squared
    F(2, &R::curvature1, 10),
    F(2, &R::curvature2, 10),
    // 3 Rounding
    F(3, &R::curvature1, 50),
    F(3, &R::curvature2, 50),
    // 4 Rounded
    F(4, &R::curvature1, 90),
    F(4, &R::curvature2, 90),
    // 5 Rapid spiral
    F(5, &R::curvature1, 90),
    F(5, &R::curvature2, 90),
    F(5, &R::decay, 80),
    // 6 Thin spiral
    F(6, &R::scaleH, 50),
    // 7 Thin + 45 degree rotate
    F(7, &R::scaleH, 50),
    F(7, &R::spiralAngle, 45),
    // 8 Reverse
    F(8, &R::scaleH, -100),
    // 9 Expanding spiral
    F(9, &R::decay, 103),
    // 10 Race track
    F(10, &R::decay, 99),
    // 11 Square-ial
    F(11, &R::curvature1, 0),
    F(11, &R::curvature2, 0),
    // 12 Distorted track
    F(12, &R::decay, 99),
    F(12, &R::curvature1, 0),
    F(12, &R::curvature2, 60),
    // 13 Intense
    F(13, &R::decay, 99),
    I(13, &R::armCount, 30),
    // 14 Changing
    F(14, &R::armCurveFactor1, 90),
    F(14, &R::armCurveFactor2, 90),
    // 15 Flattened
    F(15, &R::scaleV, 10),
    // 16 Round to Circle
    F(16, &R::armCurveFactor1, 110),
    F(16, &R::armCurveFactor2, 110),
    // 17 Larger radius
    I(17, &R::armCount, 20),
    F(17, &R::armGap, 300),
    F(17, &R::decay, 99),
    // 18 Decay 1
    F(18, &R::decayAccumulate, 97),
    // 19 Decay 2
    F(19, &R::decayAccumulate, 103),
    // 20 Crunch
    F(20, &R::decayAccumulate, 97),
    F(20, &R::armGap, 300),
    // 21 Loops
    F(21, &R::curvature1, -90),
    F(21, &R::curvature2, -90),
    F(21, &R::decay, 99),
    // 22 String
    F(22, &R::curvature1, -90),
    F(22, &R::curvature2, -90),
    F(22, &R::decay, 80),
    // 23 String 45
    F(23, &R::curvature1, -90),
    F(23, &R::curvature2, -90),
    F(23, &R::decay, 80),
    F(23, &R::spiralAngle, 45),
    // 24 Bend
    F(24, &R::pointSideShift, 15),
    // 25 Star
    F(25, &R::starAdditionX, 15),
    // 26 Star 1
    F(26, &R::starAdditionX, 100),
    // 27 Flower
    I(27, &R::armCount, 6),
    F(27, &R::starAdditionX, -20),
    // 28 Flower 1
    I(28, &R::armCount, 4),
    F(28, &R::starAdditionX, -40),
    // 29 Abstract 1
    I(29, &R::randomAbstract, 1),
    I(29, &R::spiralCount, 50),
    I(29, &R::placementMode, 2),
    // 30 Abstract 2
    I(30, &R::randomAbstract, 1),
    I(30, &R::spiralCount, 50),
    I(30, &R::placementMode, 2),
    I(30, &R::randomFill, 1),
    I(30, &R::randomAngle, 1),
    // 31 Abstract 3
    I(31, &R::randomAbstract, 1),
    I(31, &R::spiralCount, 80),
    I(31, &R::placementMode, 2),
    I(31, &R::randomStroke, 1),
    I(31, &R::randomAngle, 1),
    I(31, &R::randomWidth, 1),
    I(31, &R::randomCurve, 1),
    // 32 Interpolation 1
    F(32, &R::interpolationAmount, -200),
    // 33 Interpolation 2
    F(33, &R::interpolationAmount, -50),
    I(33, &R::randomInterpolate, 1),
    // 34 Interpolation 3
    F(34, &R::interpolationAmount, 54),
    // 35 Structure 1
    F(35, &R::armGap, 3),
    I(35, &R::spiralStructure, 5),
    // 36 Structure 2
    I(36, &R::spiralStructure, 1),
    I(36, &R::armCount, 4),
    F(36, &R::decay, 87),
    // 37 Shadow 1
    I(37, &R::dropShadow, 1),
    // 38 Shadow 2
    I(38, &R::dropShadow, 1),
    I(38, &R::randomShadowScale, 1),
    // 39 Sketch 1
    I(39, &R::sketchRepeats, 10),
    I(39, &R::sketchColorMode, 2),
    // 40 Sketch 2
    I(40, &R::sketchRepeats, 15),
    I(40, &R::sketchColorMode, 2),
    // 41 Rough sketch
    I(41, &R::sketchRepeats, 15),
    I(41, &R::sketchColorMode, 2),
    F(41, &R::sketchShift, 20),
    // 42 Dark sketch
    I(42, &R::sketchRepeats, 15),
    I(42, &R::sketchColorMode, 1),
    F(42, &R::sketchShift, 20),
    F(42, &R::sketchWeight, 10),
    // 43 Close sketch
    I(43, &R::sketchRepeats, 15),
    I(43, &R::sketchColorMode, 1),
    F(43, &R::sketchShift, 5),
    F(43, &R::sketchWeight, 10),
    // 44 Faint sketch
    I(44, &R::sketchRepeats, 15),
    I(44, &R::sketchColorMode, 11),
    F(44, &R::sketchShift, 5),
    F(44, &R::sketchWeight, 10),
    // 45 Art sketch 1
    I(45, &R::sketchRepeats, 7),
    F(45, &R::armGap, 150),
    I(45, &R::randomAngle, 1),
    I(45, &R::randomScaling, 1),
    I(45, &R::randomAbstract, 1),
    I(45, &R::randomFill, 1),
    I(45, &R::randomOpacity, 1),
    I(45, &R::randomArms, 1),
    // 46 Art sketch 2
    I(46, &R::sketchRepeats, 7),
    F(46, &R::armGap, 150),
    F(46, &R::sketchShift, 12),
    I(46, &R::spiralCount, 6),
    I(46, &R::randomAngle, 1),
    I(46, &R::randomScaling, 1),
    I(46, &R::randomAbstract, 1),
    I(46, &R::randomFill, 1),
    I(46, &R::randomOpacity, 1),
    I(46, &R::randomArms, 1),
    // 47 Art sketch 3
    I(47, &R::sketchRepeats, 7),
    F(47, &R::armGap, 150),
    F(47, &R::sketchShift, 12),
    F(47, &R::sketchWeight, 10),
    I(47, &R::spiralCount, 6),
    I(47, &R::sketchColorMode, 8),
    I(47, &R::randomAngle, 1),
    I(47, &R::randomScaling, 1),
    I(47, &R::randomAbstract, 1),
    I(47, &R::randomFill, 1),
    I(47, &R::randomOpacity, 1),
    I(47, &R::randomArms, 1),
    // 48 Art sketch 4
    I(48, &R::sketchRepeats, 7),
    F(48, &R::armGap, 150),
    I(48, &R::randomCurve, 1),
    F(48, &R::sketchShift, 12),
    F(48, &R::sketchWeight, 10),
    I(48, &R::spiralCount, 6),
    I(48, &R::sketchColorMode, 8),
    I(48, &R::randomAngle, 1),
    I(48, &R::randomScaling, 1),
    I(48, &R::randomAbstract, 1),
    I(48, &R::randomFill, 1),
    I(48, &R::randomOpacity, 1),
    I(48, &R::randomArms, 1),
    // 49 Art sketch 5
    I(49, &R::sketchRepeats, 7),
    F(49, &R::armGap, 150),
    I(49, &R::randomCurve, 1),
    F(49, &R::sketchShift, 12),
    F(49, &R::sketchWeight, 10),
    I(49, &R::spiralCount, 6),
    I(49, &R::sketchColorMode, 2),
    I(49, &R::randomAngle, 1),
    I(49, &R::randomScaling, 1),
    I(49, &R::randomAbstract, 1),
    I(49, &R::randomFill, 1),
    I(49, &R::randomOpacity, 1),
    I(49, &R::randomArms, 1),
    // 50 Art sketch 6
    I(50, &R::sketchRepeats, 7),
    F(50, &R::armGap, 170),
    I(50, &R::randomCurve, 1),
    F(50, &R::sketchShift, 15),
    F(50, &R::sketchWeight, 10),
    I(50, &R::spiralCount, 7),
    I(50, &R::sketchColorMode, 2),
    I(50, &R::randomAngle, 1),
    I(50, &R::randomScaling, 1),
    I(50, &R::randomAbstract, 1),
    I(50, &R::randomFill, 1),
    I(50, &R::randomOpacity, 1),
    // 51 Art sketch 7
    I(51, &R::sketchRepeats, 7),
    F(51, &R::armGap, 170),
    I(51, &R::randomCurve, 1),
    F(51, &R::sketchShift, 15),
    F(51, &R::sketchWeight, 10),
    I(51, &R::spiralCount, 7),
    I(51, &R::sketchColorMode, 8),
    I(51, &R::randomAngle, 1),
    I(51, &R::randomScaling, 1),
    I(51, &R::randomAbstract, 1),
    I(51, &R::randomFill, 1),
    I(51, &R::randomOpacity, 1),
    F(51, &R::curvature1, 90),
    F(51, &R::curvature2, 90),
    // 52 Art sketch 8
    F(52, &R::interpolationAmount, 50),
    I(52, &R::sketchRepeats, 7),
    F(52, &R::armGap, 170),
    I(52, &R::randomCurve, 1),
    F(52, &R::sketchShift, 15),
    F(52, &R::sketchWeight, 10),
    I(52, &R::spiralCount, 7),
    I(52, &R::sketchColorMode, 8),
    I(52, &R::randomAngle, 1),
    I(52, &R::randomScaling, 1),
    I(52, &R::randomAbstract, 1),
    I(52, &R::randomFill, 1),
    I(52, &R::randomOpacity, 1),
    F(52, &R::curvature1, 90),
    F(52, &R::curvature2, 90),
    // 53 Art sketch 9
    F(53, &R::interpolationAmount, -200),
    I(53, &R::sketchRepeats, 7),
    F(53, &R::armGap, 170),
    I(53, &R::randomCurve, 1),
    F(53, &R::sketchShift, 15),
    F(53, &R::sketchWeight, 10),
    I(53, &R::spiralCount, 7),
    I(53, &R::sketchColorMode, 8),
    I(53, &R::randomAngle, 1),
    I(53, &R::randomScaling, 1),
    I(53, &R::randomAbstract, 1),
    I(53, &R::randomFill, 1),
    I(53, &R::randomOpacity, 1),
    F(53, &R::curvature1, 90),
    F(53, &R::curvature2, 90),
    // 54 Art sketch Squared
    I(54, &R::sketchRepeats, 7),
    F(54, &R::armGap, 170),
    F(54, &R::sketchShift, 15),
    F(54, &R::sketchWeight, 10),
    I(54, &R::spiralCount, 7),
    I(54, &R::sketchColorMode, 8),
    I(54, &R::randomAngle, 1),
    I(54, &R::randomScaling, 1),
    I(54, &R::randomAbstract, 1),
    I(54, &R::randomFill, 1),
    I(54, &R::randomOpacity, 1),
    F(54, &R::curvature1, 90),
    F(54, &R::curvature2, 90),
    // 55 Offset 1
    F(55, &R::spiralOffsetX, 5),
    // 56 Offset 2
    F(56, &R::spiralOffsetY, 5),
    // 57 Offset 3
    F(57, &R::spiralOffsetX, 5),
    F(57, &R::spiralOffsetY, 5),
    I(57, &R::offsetMode, 13),
    // 58 Offset 4
    F(58, &R::spiralOffsetX, 5),
    I(58, &R::offsetCount, 4),
    // 59 Offset 5
    F(59, &R::spiralOffsetY, 6),
    F(59, &R::pointFactor, 900),
    // 60 Pattern
    I(60, &R::basicPattern, 1),
    F(60, &R::centerX, 100),
    F(60, &R::centerY, 100),
    // 61 Gap1
    I(61, &R::spiralStructure, 27),
    F(61, &R::armGap, 7),
    I(61, &R::armCount, 30),
    // 62 Gap2
    I(62, &R::spiralStructure, 24),
    F(62, &R::armGap, 2),
    I(62, &R::armCount, 30),
    // 63 Multi-spiral book
    I(63, &R::spiralStructure, 28),
    F(63, &R::armGap, 4),
    I(63, &R::armCount, 30),
    I(63, &R::randomWidth, 1),
    I(63, &R::randomFill, 1),
    I(63, &R::spiralCount, 12),
    I(63, &R::placementMode, 2),
    I(63, &R::randomOpacity, 1),
};

}  // namespace

void writePresetBase(SpiralParameters& record, int32_t index, const SpiralParameters& defaults) {
  SpiralParameters base = defaults;
  base.preview = record.preview;
  base.activePage = record.activePage;
  base.viewZoom = record.viewZoom;
  base.fromGo = record.fromGo;
  base.dialogBoundsLeft = record.dialogBoundsLeft;
  base.dialogBoundsTop = record.dialogBoundsTop;
  base.dialogBoundsRight = record.dialogBoundsRight;
  base.dialogBoundsBottom = record.dialogBoundsBottom;
  base.dialogBoundsValid = record.dialogBoundsValid;
  base.basicPattern = 0;
  base.presetIndex = index;
  base.previewDrawn = 0;
  record = base;
}

void applyPresetRow(SpiralParameters& record, int32_t index) {
  for (const PresetValue& v : kPresetValues) {
    if (v.preset != index) continue;
    if (v.intField != nullptr)
      record.*v.intField = static_cast<int32_t>(v.value);
    else
      record.*v.floatField = static_cast<float>(v.value);
  }
}

void applyPreset(ItemHandle item, NotifierHandle notifier) noexcept {
  guardedNotify([&] {
    DialogHandle dialog = gADMItemSuite->GetDialog(item);
    SpiralParameters* record = dialogRecord(dialog);
    gADMItemSuite->DefaultNotify(item, notifier);
    if (record == nullptr) return;

    // The defaults take the centre from document view 0 (100 points left of
    // its middle), which every preset but " Pattern" keeps.
    SpiralParameters defaults = *record;
    setDefaultParameters(defaults);

    int32_t index = record->presetIndex;
    EntryHandle chosen = gADMListSuite->GetActiveEntry(gADMItemSuite->GetList(item));
    if (chosen != nullptr) index = gADMEntrySuite->GetID(chosen);

    writePresetBase(*record, index, defaults);
    applyPresetRow(*record, index);
    showRecordInItems(dialog, *record);
    refreshActivePage(dialog, *record);
  });
}

void showRecordInItems(DialogHandle dialog, const SpiralParameters& record) {
  for (const ItemSpec& spec : kOptionItems) {
    if (!isReadBackItem(spec)) continue;
    ItemHandle item = dialogItem(dialog, spec.id);
    if (item == nullptr) continue;
    switch (spec.kind) {
      case ItemKind::CheckBox:
        gADMItemSuite->SetBooleanValue(item, record.*spec.intField != 0);
        break;
      case ItemKind::IntSpinEdit:
        gADMItemSuite->SetIntValue(item, record.*spec.intField);
        break;
      case ItemKind::FloatSpinEdit:
        gADMItemSuite->SetFloatValue(item, record.*spec.floatField);
        break;
      case ItemKind::PopupList: {
        EntryHandle entry = gADMListSuite->IndexEntry(gADMItemSuite->GetList(item), record.*spec.intField);
        if (entry != nullptr) gADMEntrySuite->Select(entry, 1);
        break;
      }
      default:
        break;
    }
  }
}

void refreshActivePage(DialogHandle dialog, const SpiralParameters& record) {
  // The opening item carries the read-back, the page button the page switch.
  const PageSpec& page = pageOrFirst(record.activePage);
  gADMItemSuite->SendNotify(dialogItem(dialog, page.openingItemId), kUserChangedNotifier);
  gADMItemSuite->SendNotify(dialogItem(dialog, page.buttonId), kUserChangedNotifier);
}
