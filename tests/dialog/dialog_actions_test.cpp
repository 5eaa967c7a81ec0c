// The options dialog's data and record edits without a host: the lists, the
// item table, presets, Tumble, Tweak, Jitter, Boost and the pick formulas.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "dialog/choice_lists.h"
#include "dialog/item_table.h"
#include "dialog/record_actions.h"
#include "params/record/parameter_fields.h"
#include "shell/suite_table.h"

namespace {

// Hands out scripted draws in order and counts them; running past the script
// is a test failure.
class ScriptedRandom {
 public:
  explicit ScriptedRandom(std::vector<float> script) : script_(std::move(script)) {}
  RandomSource source() {
    return [this] {
      if (next_ >= script_.size()) throw std::runtime_error("random script exhausted");
      return script_[next_++];
    };
  }
  std::size_t used() const { return next_; }

 private:
  std::vector<float> script_;
  std::size_t next_ = 0;
};

RandomSource constant(float r) {
  return [r] { return r; };
}

// Document view 0 centred at (300, 400) for setDefaultParameters.
HostErr fakeView(int32_t, ViewHandle* view) {
  *view = reinterpret_cast<ViewHandle>(1);
  return kHostNoErr;
}
HostErr fakeCentre(ViewHandle, HostPoint* centre) {
  *centre = {300.0f, 400.0f};
  return kHostNoErr;
}

SpiralParameters defaultsAt300x400() {
  DocumentViewSuiteV7 views{};
  views.GetNthDocumentView = fakeView;
  views.GetDocumentViewCenter = fakeCentre;
  const DocumentViewSuiteV7* saved = gDocumentViewSuite;
  gDocumentViewSuite = &views;
  SpiralParameters r{};
  setDefaultParameters(r);
  gDocumentViewSuite = saved;
  return r;
}

SpiralParameters withPreset(const SpiralParameters& current, int32_t index) {
  SpiralParameters r = current;
  writePresetBase(r, index, defaultsAt300x400());
  applyPresetRow(r, index);
  return r;
}

// Every field's 4 bytes as an integer, for field-by-field comparisons.
uint32_t fieldBits(const SpiralParameters& r, const ParameterField& f) {
  uint32_t bits;
  std::memcpy(&bits, reinterpret_cast<const unsigned char*>(&r) + f.offset, 4);
  return bits;
}

SpiralParameters patterned(uint32_t seed) {
  SpiralParameters r;
  unsigned char* bytes = reinterpret_cast<unsigned char*>(&r);
  for (std::size_t i = 0; i < sizeof r; ++i) bytes[i] = static_cast<unsigned char>(seed + 7 * i);
  return r;
}

// Byte offset of a record field, to tell fields apart.
std::size_t offsetOf(int32_t SpiralParameters::*intField, float SpiralParameters::*floatField) {
  const SpiralParameters probe{};
  const char* base = reinterpret_cast<const char*>(&probe);
  if (intField != nullptr) return static_cast<std::size_t>(reinterpret_cast<const char*>(&(probe.*intField)) - base);
  return static_cast<std::size_t>(reinterpret_cast<const char*>(&(probe.*floatField)) - base);
}

const ParameterField& fieldAt(std::size_t offset) { return kParameterFields[offset / 4]; }

// Each list is shown by one popup item of the table, stores one Index field
// of its own, and its texts begin with one blank.
TEST(ChoiceLists, EachListHasItsOwnItemAndField) {
  std::set<int32_t> ids;
  std::set<std::size_t> fields;
  for (const ChoiceList& list : kChoiceLists) {
    EXPECT_TRUE(ids.insert(list.itemId).second) << list.name;
    const std::size_t offset = offsetOf(list.field, nullptr);
    EXPECT_TRUE(fields.insert(offset).second) << list.name;
    EXPECT_EQ(fieldAt(offset).kind, FieldKind::Index) << list.name;
    EXPECT_EQ(findChoiceList(list.itemId), &list);
    const ItemSpec* shown = nullptr;
    for (const ItemSpec& spec : kOptionItems)
      if (spec.id == list.itemId) shown = &spec;
    ASSERT_NE(shown, nullptr) << list.name;
    EXPECT_EQ(shown->kind, ItemKind::PopupList) << list.name;
    EXPECT_EQ(shown->intField, list.field) << list.name;
    ASSERT_FALSE(list.entries.empty()) << list.name;
    for (std::string_view text : list.entries) {
      ASSERT_GE(text.size(), 2u);
      EXPECT_EQ(text[0], ' ') << text;
      EXPECT_NE(text[1], ' ') << text;
    }
  }
  // Every Index field of the record has its list.
  for (const ParameterField& field : kParameterFields) {
    if (field.kind != FieldKind::Index) continue;
    EXPECT_TRUE(fields.count(field.offset)) << field.name;
  }
  EXPECT_EQ(findChoiceList(kPresetListId)->entries.data(), &PresetList[0]);
  EXPECT_EQ(findChoiceList(-1), nullptr);
}

// Every preset row names each field once and keeps it within what the field
// can hold: flags 0 or 1, list modes on their list, numbers within the
// field's limits.
TEST(Presets, EveryRowSetsOnlyFieldsInRange) {
  std::set<std::string_view> names;
  for (const Preset& row : kPresets) {
    EXPECT_TRUE(names.insert(row.name).second) << row.name;
    std::set<std::size_t> set;
    for (const PresetSetting& setting : row.settings) {
      if (setting.intField == nullptr && setting.floatField == nullptr) continue;
      EXPECT_TRUE(setting.intField == nullptr || setting.floatField == nullptr) << row.name;
      const std::size_t offset = offsetOf(setting.intField, setting.floatField);
      const ParameterField& field = fieldAt(offset);
      EXPECT_TRUE(set.insert(offset).second) << row.name << " sets " << field.name << " twice";
      EXPECT_EQ(setting.floatField != nullptr, field.kind == FieldKind::Float) << row.name << " " << field.name;
      EXPECT_EQ(setting.value, std::trunc(setting.value)) << row.name << " " << field.name;
      switch (field.kind) {
        case FieldKind::Bool:
          EXPECT_EQ(setting.value, 1) << row.name << " " << field.name;
          break;
        case FieldKind::Index: {
          const ChoiceList* list = nullptr;
          for (const ChoiceList& l : kChoiceLists)
            if (l.field == setting.intField) list = &l;
          ASSERT_NE(list, nullptr) << field.name;
          EXPECT_GE(setting.value, 0) << row.name << " " << field.name;
          EXPECT_LT(setting.value, static_cast<double>(list->entries.size())) << row.name << " " << field.name;
          break;
        }
        default:
          ASSERT_TRUE(field.hasLimits()) << field.name;
          EXPECT_GE(setting.value, field.minimum) << row.name << " " << field.name;
          EXPECT_LE(setting.value, field.maximum) << row.name << " " << field.name;
          break;
      }
    }
  }
  EXPECT_EQ(PresetList.size(), kPresets.size());
  for (std::size_t i = 0; i < kPresets.size(); ++i) EXPECT_EQ(PresetList[i], kPresets[i].name);
}

TEST(ItemTable, PagesHoldTheirItems) {
  const std::vector<std::set<int32_t>> pages = {
      {4, 5, 8, 9, 10, 50, 51, 53, 55, 170, 171, 172, 173},
      {6, 7, 12, 13, 14, 19, 161, 52, 57, 58, 62, 163, 22, 23, 24, 64, 65, 66, 179, 180},
      {15, 16, 17, 18, 20, 11, 21, 59, 60, 61, 63, 56, 162, 160, 25, 31, 32, 166, 174, 177, 178},
      {26, 27, 67, 29, 68, 165, 30, 69, 150, 175, 176},
      {120, 121, 122, 123, 124, 125, 126, 127, 128, 129, 130, 131, 132, 133, 134, 135,
       136, 137, 138, 139, 140, 141, 142, 143, 144, 145, 146, 147, 148, 149, 151},
  };
  const std::set<int32_t> everyPage = {100, 101, 102, 103, 104, 105, 106, 107, 108, 109,
                                       2,   90,  91,  92,  93,  94,  3,   164, 28};
  std::set<int32_t> ids;
  for (const ItemSpec& spec : kOptionItems) {
    EXPECT_TRUE(ids.insert(spec.id).second) << "duplicate id " << spec.id;
    if (spec.page == kEveryPage)
      EXPECT_TRUE(everyPage.count(spec.id)) << spec.id;
    else
      EXPECT_TRUE(pages[spec.page - 1].count(spec.id)) << spec.id << " on page " << spec.page;
  }
  std::size_t listed = everyPage.size();
  for (const auto& page : pages) listed += page.size();
  EXPECT_EQ(listed, 115u);
  EXPECT_EQ(ids.size(), 115u);
  EXPECT_EQ(ids.count(1), 0u) << "item 1 is the dialog's default item and is never created";
}

TEST(ItemTable, ReadBackCoversSixtySevenItemsAndSixtyEightProcs) {
  int read = 0, procs = 0, checks = 0, ints = 0, floats = 0, lists = 0;
  std::set<std::size_t> fields;
  for (const ItemSpec& spec : kOptionItems) {
    if (spec.proc == ItemProc::ReadBack) ++procs;
    if (!isReadBackItem(spec)) continue;
    ++read;
    EXPECT_EQ(spec.proc, ItemProc::ReadBack) << spec.id;
    switch (spec.kind) {
      case ItemKind::CheckBox: ++checks; break;
      case ItemKind::IntSpinEdit: ++ints; break;
      case ItemKind::FloatSpinEdit: ++floats; break;
      case ItemKind::PopupList: ++lists; break;
      default: ADD_FAILURE() << "item " << spec.id << " cannot be read back";
    }
    const SpiralParameters probe{};
    const auto offset = spec.intField != nullptr
                            ? reinterpret_cast<const char*>(&(probe.*spec.intField)) - reinterpret_cast<const char*>(&probe)
                            : reinterpret_cast<const char*>(&(probe.*spec.floatField)) - reinterpret_cast<const char*>(&probe);
    EXPECT_TRUE(fields.insert(static_cast<std::size_t>(offset)).second) << "two items show one field: " << spec.id;
  }
  EXPECT_EQ(read, 67);
  EXPECT_EQ(procs, 68);  // the 67 and "Shuffle"
  EXPECT_EQ(checks, 33);
  EXPECT_EQ(ints, 5);
  EXPECT_EQ(floats, 23);
  EXPECT_EQ(lists, 6);
}

TEST(Presets, BaseRestoresDefaultsButKeepsTheDialogState) {
  const SpiralParameters current = patterned(11);
  const SpiralParameters defaults = patterned(90);
  SpiralParameters r = current;
  writePresetBase(r, 37, defaults);
  const std::set<std::string_view> kept = {"preview",         "activePage",       "viewZoom",
                                           "fromGo",          "dialogBoundsLeft", "dialogBoundsTop",
                                           "dialogBoundsRight", "dialogBoundsBottom", "dialogBoundsValid"};
  for (const ParameterField& f : kParameterFields) {
    if (f.name == "basicPattern" || f.name == "presetIndex" || f.name == "previewDrawn") continue;
    const SpiralParameters& from = kept.count(f.name) ? current : defaults;
    EXPECT_EQ(fieldBits(r, f), fieldBits(from, f)) << f.name;
  }
  EXPECT_EQ(r.basicPattern, 0);
  EXPECT_EQ(r.presetIndex, 37);
  EXPECT_EQ(r.previewDrawn, 0);
}

TEST(Presets, DoNotAccumulate) {
  SpiralParameters r = defaultsAt300x400();
  r = withPreset(r, 4);  // " Rounded"
  EXPECT_FLOAT_EQ(r.curvature1, 90.0f);
  r = withPreset(r, 25);  // " Star"
  EXPECT_FLOAT_EQ(r.curvature1, 33.0f);
  EXPECT_FLOAT_EQ(r.curvature2, 33.0f);
  EXPECT_FLOAT_EQ(r.starAdditionX, 15.0f);
  EXPECT_EQ(r.presetIndex, 25);
}

TEST(Presets, CentreFollowsTheViewExceptForPattern) {
  SpiralParameters moved = defaultsAt300x400();
  moved.centerX = moved.centerY = -5.0f;
  for (int32_t i = 0; i < kPresetCount; ++i) {
    const SpiralParameters r = withPreset(moved, i);
    if (i == 60) {
      EXPECT_FLOAT_EQ(r.centerX, 100.0f);
      EXPECT_FLOAT_EQ(r.centerY, 100.0f);
      EXPECT_EQ(r.basicPattern, 1);
    } else {
      EXPECT_FLOAT_EQ(r.centerX, 200.0f) << i;
      EXPECT_FLOAT_EQ(r.centerY, 400.0f) << i;
      EXPECT_EQ(r.basicPattern, 0) << i;
    }
  }
}

TEST(Presets, ResetAndOutOfRangeGiveTheBase) {
  SpiralParameters current = defaultsAt300x400();
  current.preview = 0;
  current.activePage = 5;
  current.viewZoom = 250.0f;
  current.armCount = 77;
  current.basicPattern = 1;
  for (int32_t index : {0, 64, -1}) {
    const SpiralParameters r = withPreset(current, index);
    SpiralParameters expected = defaultsAt300x400();
    expected.preview = 0;
    expected.activePage = 5;
    expected.viewZoom = 250.0f;
    expected.presetIndex = index;
    EXPECT_EQ(std::memcmp(&r, &expected, sizeof r), 0) << index;
  }
}

TEST(Presets, RowsSetTheirFields) {
  const SpiralParameters d = defaultsAt300x400();
  SpiralParameters r = withPreset(d, 63);  // " Multi-spiral book"
  EXPECT_EQ(r.spiralStructure, 28);
  EXPECT_FLOAT_EQ(r.armGap, 4.0f);
  EXPECT_EQ(r.armCount, 30);
  EXPECT_EQ(r.randomWidth, 1);
  EXPECT_EQ(r.randomFill, 1);
  EXPECT_EQ(r.spiralCount, 12);
  EXPECT_EQ(r.placementMode, 2);
  EXPECT_EQ(r.randomOpacity, 1);
  r = withPreset(d, 53);  // " Art sketch 9"
  EXPECT_FLOAT_EQ(r.interpolationAmount, -200.0f);
  EXPECT_EQ(r.sketchColorMode, 8);
  EXPECT_FLOAT_EQ(r.sketchWeight, 10.0f);
  EXPECT_EQ(r.randomArms, 0);
  r = withPreset(d, 57);  // " Offset 3"
  EXPECT_EQ(r.offsetMode, 13);
  EXPECT_FLOAT_EQ(r.spiralOffsetY, 5.0f);
  r = withPreset(d, 36);  // " Structure 2"
  EXPECT_FLOAT_EQ(r.decay, 87.0f);
  EXPECT_EQ(r.spiralStructure, 1);
}

// Every preset stays within what the dialog's items can show, so choosing it
// changes no value on the way through the items.
TEST(Presets, EveryPresetFitsTheItems) {
  const SpiralParameters d = defaultsAt300x400();
  for (int32_t i = 0; i < kPresetCount; ++i) {
    const SpiralParameters r = withPreset(d, i);
    for (const ItemSpec& spec : kOptionItems) {
      if (!isReadBackItem(spec)) continue;
      switch (spec.kind) {
        case ItemKind::CheckBox:
          EXPECT_TRUE(r.*spec.intField == 0 || r.*spec.intField == 1) << i << " item " << spec.id;
          break;
        case ItemKind::IntSpinEdit:
          EXPECT_GE(r.*spec.intField, spec.minimum) << i << " item " << spec.id;
          EXPECT_LE(r.*spec.intField, spec.maximum) << i << " item " << spec.id;
          break;
        case ItemKind::FloatSpinEdit:
          if (spec.id == 6 || spec.id == 7) break;  // the centre comes from the view
          EXPECT_GE(r.*spec.floatField, spec.minimum) << i << " item " << spec.id;
          EXPECT_LE(r.*spec.floatField, spec.maximum) << i << " item " << spec.id;
          break;
        case ItemKind::PopupList:
          EXPECT_GE(r.*spec.intField, 0) << i << " item " << spec.id;
          EXPECT_LT(r.*spec.intField, static_cast<int32_t>(findChoiceList(spec.id)->entries.size()))
              << i << " item " << spec.id;
          break;
        default:
          break;
      }
    }
  }
}

// Fields Tumble resets or draws; every other field keeps its value.
const std::set<std::string_view> kTumbleFields = {
    "armCount",         "armGap",        "scaleH",         "scaleV",          "armCurveFactor1",
    "armCurveFactor2",  "decayAccumulate", "decay",        "curvature1",      "curvature2",
    "maxPoints",        "pointFactor",   "offsetCount",    "spiralAngle",     "pointSideShift",
    "starAdditionX",    "starAdditionY", "spiralOffsetX",  "spiralOffsetY",   "interpolationAmount",
    "pointShiftX",      "pointShiftY",   "offsetMode",     "spiralStructure", "interpolationMode",
    "pointShiftMode",   "randomAbstract", "randomAngle",   "randomScaling",   "randomArms",
    "threePoints",      "randomCurve",   "randomWarp",     "randomCreateArms", "randomInterpolate",
    "previewDrawn"};

TEST(Tumble, ScriptedDrawsInOrder) {
  ScriptedRandom rnd({0.5f, 0.1f, 0.2f, 0.7f,                           // arms, gap, decay
                      0.71f, 0.25f, 0.5f, 0.25f, 0.1f, 0.5f,            // angle and scaling pass
                      0.5f, 0.5f, 0.1f,                                 // curvatures negative
                      0.3f, 0.6f,                                       // curve factors
                      0.75f,                                            // star fails
                      0.81f, 0.5f, 0.25f,                               // side shift
                      0.0f,                                             // max points fails
                      0.95f, 0.5f, 0.25f, 0.25f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f,  // offsets, count fails
                      0.1f, 0.9f, 0.5f, 0.5f,                           // point shift y only
                      0.9f, 0.1f, 0.85f, 0.1f, 0.1f, 0.1f, 0.85f, 0.95f, 0.1f,  // flags
                      0.95f, 0.5f, 0.97f, 0.5f,                         // both structure tests pass
                      0.2f,                                             // interpolation fails
                      0.9f, 0.75f});                                    // point shift mode
  SpiralParameters r = defaultsAt300x400();
  r.starAdditionX = 50.0f;
  r.maxPoints = 100;
  r.offsetCount = 7;
  r.randomAngle = 1;
  r.interpolationAmount = 20.0f;
  r.interpolationMode = 3;
  r.previewDrawn = 1;
  tumbleRecord(r, rnd.source());
  EXPECT_EQ(rnd.used(), 49u);
  EXPECT_EQ(r.armCount, 15);
  EXPECT_FLOAT_EQ(r.armGap, 70.0f);
  EXPECT_FLOAT_EQ(r.decay, 90.0f);  // (0.2 * 10 + 95) - 0.7 * 10
  EXPECT_FLOAT_EQ(r.spiralAngle, 90.0f);
  EXPECT_FLOAT_EQ(r.scaleH, 95.0f);
  EXPECT_FLOAT_EQ(r.scaleV, 81.0f);
  EXPECT_FLOAT_EQ(r.curvature1, -45.0f);
  EXPECT_FLOAT_EQ(r.curvature2, -9.0f);
  EXPECT_FLOAT_EQ(r.armCurveFactor1, 30.0f);
  EXPECT_FLOAT_EQ(r.armCurveFactor2, 60.0f);
  EXPECT_FLOAT_EQ(r.starAdditionX, 0.0f);  // reset, then not drawn
  EXPECT_FLOAT_EQ(r.pointSideShift, 7.5f);
  EXPECT_EQ(r.maxPoints, 9999);
  EXPECT_FLOAT_EQ(r.spiralOffsetX, 7.5f);
  EXPECT_FLOAT_EQ(r.spiralOffsetY, 0.0f);
  EXPECT_FLOAT_EQ(r.pointFactor, 1005.0f);
  EXPECT_EQ(r.offsetMode, 9);
  EXPECT_EQ(r.offsetCount, 1);
  EXPECT_FLOAT_EQ(r.pointShiftX, 0.0f);
  EXPECT_FLOAT_EQ(r.pointShiftY, 12.5f);
  EXPECT_EQ(r.randomAbstract, 1);
  EXPECT_EQ(r.randomAngle, 0);
  EXPECT_EQ(r.randomScaling, 1);
  EXPECT_EQ(r.randomWarp, 0);
  EXPECT_EQ(r.randomCreateArms, 1);
  EXPECT_EQ(r.randomInterpolate, 0);
  EXPECT_EQ(r.spiralStructure, 14);  // the second test wins
  EXPECT_FLOAT_EQ(r.interpolationAmount, 0.0f);
  EXPECT_EQ(r.interpolationMode, 0);
  EXPECT_EQ(r.pointShiftMode, 1);
  EXPECT_EQ(r.previewDrawn, 0);
}

TEST(Tumble, DrawCountsWhenEveryChanceFailsOrPasses) {
  SpiralParameters r = defaultsAt300x400();
  ScriptedRandom none(std::vector<float>(29, 0.0f));
  tumbleRecord(r, none.source());
  EXPECT_EQ(none.used(), 29u);
  EXPECT_EQ(r.armCount, 0);  // below the spin edit's limit; the item corrects it
  EXPECT_FLOAT_EQ(r.armGap, 40.0f);

  ScriptedRandom all(std::vector<float>(59, 0.99f));
  tumbleRecord(r, all.source());
  EXPECT_EQ(all.used(), 59u);
  EXPECT_EQ(r.armCount, 29);
  EXPECT_EQ(r.maxPoints, 41);
  EXPECT_EQ(r.offsetMode, 18);
  EXPECT_EQ(r.offsetCount, 5);
  EXPECT_EQ(r.spiralStructure, 27);
  EXPECT_FLOAT_EQ(r.interpolationAmount, 99.0f);
  EXPECT_EQ(r.randomWarp, 1);
}

TEST(Tumble, LeavesEveryOtherFieldAlone) {
  for (uint32_t seed : {3u, 200u}) {
    const SpiralParameters before = patterned(seed);
    SpiralParameters r = before;
    tumbleRecord(r, constant(0.99f));
    for (const ParameterField& f : kParameterFields) {
      if (kTumbleFields.count(f.name) == 0) { EXPECT_EQ(fieldBits(r, f), fieldBits(before, f)) << f.name; }
    }
  }
}

TEST(Nudge, BoostAndItsLimits) {
  SpiralParameters r = defaultsAt300x400();
  r.armCount = 100;
  r.armGap = 500.0f;
  r.decay = 120.0f;
  r.curvature1 = 89.5f;
  r.curvature2 = -95.0f;
  nudgeRecord(r, Nudge::Boost, constant(0.5f));
  EXPECT_EQ(r.armCount, 30);
  EXPECT_FLOAT_EQ(r.armGap, 200.0f);
  EXPECT_FLOAT_EQ(r.decay, 110.0f);
  EXPECT_FLOAT_EQ(r.curvature1, 90.0f);
  EXPECT_FLOAT_EQ(r.curvature2, -90.0f);

  r.armCount = 29;
  nudgeRecord(r, Nudge::Boost, constant(0.5f));
  EXPECT_EQ(r.armCount, 30);
  nudgeRecord(r, Nudge::Boost, constant(0.5f));
  EXPECT_EQ(r.armCount, 30);

  r.decay = 70.0f;
  r.armGap = -4.0f;
  nudgeRecord(r, Nudge::Boost, constant(0.5f));
  EXPECT_FLOAT_EQ(r.decay, 80.0f);
  EXPECT_FLOAT_EQ(r.armGap, 0.01f);
}

TEST(Nudge, ArmCountsAtTheEndsOfInt32MeetTheLimitsWithoutWrapping) {
  SpiralParameters r = defaultsAt300x400();
  r.armCount = INT32_MAX;
  nudgeRecord(r, Nudge::Boost, constant(0.5f));
  EXPECT_EQ(r.armCount, 30);

  // Jitter: sign - (0.6), then int(0.9 * 3) = 2 below INT32_MIN.
  r.armCount = INT32_MIN;
  ScriptedRandom rnd({0.6f, 0.9f, 0.1f, 0.5f, 0.1f, 0.5f, 0.1f, 0.5f, 0.1f, 0.5f});
  nudgeRecord(r, Nudge::Jitter, rnd.source());
  EXPECT_EQ(r.armCount, 1);
}

TEST(Nudge, TweakDrawsTheArmsAndAppliesTheLimits) {
  SpiralParameters r = defaultsAt300x400();
  r.armGap = 900.0f;
  ScriptedRandom rnd({0.999f});
  nudgeRecord(r, Nudge::Tweak, rnd.source());
  EXPECT_EQ(rnd.used(), 1u);
  EXPECT_EQ(r.armCount, 29);
  EXPECT_FLOAT_EQ(r.armGap, 200.0f);
  nudgeRecord(r, Nudge::Tweak, constant(0.0f));
  EXPECT_EQ(r.armCount, 1);
}

TEST(Nudge, JitterDrawsSignThenAmount) {
  SpiralParameters r = defaultsAt300x400();
  r.armCount = 10;
  r.armGap = 100.0f;
  r.curvature1 = r.curvature2 = 0.0f;
  r.decay = 95.0f;
  // arms: sign -, int(0.9 * 3) = 2; gap: +, 0.5; curvature1: -, 0.25;
  // curvature2: exactly 0.5 is +, 1.0 * 0.75; decay: -, 0.5.
  ScriptedRandom rnd({0.6f, 0.9f, 0.1f, 0.5f, 0.7f, 0.25f, 0.5f, 0.75f, 0.51f, 0.5f});
  nudgeRecord(r, Nudge::Jitter, rnd.source());
  EXPECT_EQ(rnd.used(), 10u);
  EXPECT_EQ(r.armCount, 8);
  EXPECT_FLOAT_EQ(r.armGap, 101.5f);
  EXPECT_FLOAT_EQ(r.curvature1, -0.25f);
  EXPECT_FLOAT_EQ(r.curvature2, 0.75f);
  EXPECT_FLOAT_EQ(r.decay, 94.75f);
}

TEST(Nudge, JitterStaysWithinItsSteps) {
  std::mt19937 engine(12345);
  std::uniform_real_distribution<float> uniform(0.0f, 1.0f);
  const RandomSource rnd = [&] { return uniform(engine); };
  for (int i = 0; i < 2000; ++i) {
    SpiralParameters r = defaultsAt300x400();
    r.armCount = 15;
    r.armGap = 100.0f;
    r.curvature1 = r.curvature2 = 0.0f;
    r.decay = 95.0f;
    nudgeRecord(r, Nudge::Jitter, rnd);
    ASSERT_LE(std::abs(r.armCount - 15), 2);
    ASSERT_LE(std::abs(r.armGap - 100.0f), 3.0f);
    ASSERT_LE(std::abs(r.curvature1), 1.0f);
    ASSERT_LE(std::abs(r.curvature2), 1.0f);
    ASSERT_LE(std::abs(r.decay - 95.0f), 0.5f);
  }
}

TEST(Picks, FieldsFromTheDocumentPoint) {
  SpiralParameters r = defaultsAt300x400();
  applyPick(r, *findPick(179), {250.0f, 400.0f});
  EXPECT_FLOAT_EQ(r.centerX, 250.0f);
  applyPick(r, *findPick(180), {250.0f, 400.0f});
  EXPECT_FLOAT_EQ(r.centerY, 400.0f);
  applyPick(r, *findPick(172), {45.0f, 1.0f});
  EXPECT_FLOAT_EQ(r.curvature1, 9.0f);
  applyPick(r, *findPick(170), {255.0f, 0.0f});
  EXPECT_EQ(r.armCount, 25);
  applyPick(r, *findPick(170), {-15.0f, 0.0f});
  EXPECT_EQ(r.armCount, -1);  // truncated toward zero, not limited
  // Beyond int32, as far out in a view zoomed to 1 %: the nearest int32.
  applyPick(r, *findPick(170), {3.0e10f, 0.0f});
  EXPECT_EQ(r.armCount, INT32_MAX);
  applyPick(r, *findPick(170), {-3.0e10f, 0.0f});
  EXPECT_EQ(r.armCount, INT32_MIN);
  applyPick(r, *findPick(170), {std::nanf(""), 0.0f});
  EXPECT_EQ(r.armCount, 0);
  applyPick(r, *findPick(176), {1.0f, -35.0f});
  EXPECT_FLOAT_EQ(r.spiralOffsetY, -3.5f);
  applyPick(r, *findPick(174), {2000.0f, 0.0f});
  EXPECT_FLOAT_EQ(r.interpolationAmount, 2000.0f);
  EXPECT_EQ(findPick(169), nullptr);
  for (const PickSpec& pick : kPicks) {
    const ItemSpec* button = findItemSpec(pick.buttonId);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->proc, ItemProc::Pick);
    const ItemSpec* shown = findItemSpec(pick.itemId);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->intField, pick.intField) << pick.buttonId;
    EXPECT_EQ(shown->floatField, pick.floatField) << pick.buttonId;
    EXPECT_EQ(shown->page, button->page) << pick.buttonId;
  }
}

}  // namespace
