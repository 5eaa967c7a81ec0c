#include <algorithm>
#include <cmath>
#include <cstdint>

#include "dialog/dialog_access.h"
#include "dialog/item_table.h"
#include "dialog/options_dialog.h"
#include "dialog/record_actions.h"
#include "generator/host_services.h"
#include "params/record/default_parameters.h"
#include "shell/guarded.h"

namespace {

using R = SpiralParameters;

// int(v), truncated toward zero; a value beyond int32 (a pick far out in a
// zoomed-out view) gives the nearest int32 and NaN gives 0, where a bare
// conversion would be undefined.
int32_t truncateToInt32(double v) {
  if (std::isnan(v)) return 0;
  return static_cast<int32_t>(std::clamp(std::trunc(v), -2147483648.0, 2147483647.0));
}

// count + step without wrapping: a count from a record the items did not
// limit saturates, and the nudge limits then bring it into range.
int32_t addToCount(int32_t count, int64_t step) {
  return static_cast<int32_t>(std::clamp<int64_t>(int64_t{count} + step, INT32_MIN, INT32_MAX));
}

// Draws in the order they are asked for. Formulas are evaluated in double
// and stored as float32; every draw is taken into a local first, so a
// difference draws its left term first whatever the compiler's order.
class Draws {
 public:
  explicit Draws(const RandomSource& rnd) : rnd_(rnd) {}
  double next() { return static_cast<double>(rnd_()); }
  // Goes on with chance p percent: r * 100 > 100 - p.
  bool chance(double percent) { return next() * 100.0 > 100.0 - percent; }
  // a * r1 - b * r2.
  float difference(double a, double b) {
    double r1 = next();
    double r2 = next();
    return static_cast<float>(r1 * a - r2 * b);
  }
  // (a * r1 + base) - b * r2.
  float offsetDifference(double a, double base, double b) {
    double r1 = next();
    double r2 = next();
    return static_cast<float>(r1 * a + base - r2 * b);
  }
  float scaled(double a) { return static_cast<float>(next() * a); }
  int32_t truncated(double a) { return truncateToInt32(next() * a); }
  // -1 when a fresh draw exceeds 0.5, else +1.
  double sign() { return signOf(rnd_()); }

 private:
  const RandomSource& rnd_;
};

// The shape fields Tumble puts back to their defaults before it draws; the
// rest of the record (style, placement, the centre, the dialog's state)
// stays as it is.
constexpr int32_t R::*kTumbleResetInts[] = {
    &R::armCount,          &R::maxPoints,      &R::offsetCount,    &R::offsetMode,  &R::spiralStructure,
    &R::interpolationMode, &R::pointShiftMode, &R::randomAbstract, &R::randomAngle, &R::randomScaling,
    &R::randomArms,        &R::threePoints,    &R::randomCurve,    &R::randomWarp,  &R::randomCreateArms,
    &R::randomInterpolate, &R::previewDrawn,
};
constexpr float R::*kTumbleResetFloats[] = {
    &R::armGap,          &R::scaleH,        &R::scaleV,        &R::armCurveFactor1, &R::armCurveFactor2,
    &R::decayAccumulate, &R::decay,         &R::curvature1,    &R::curvature2,      &R::pointFactor,
    &R::spiralAngle,     &R::pointSideShift, &R::starAdditionX, &R::starAdditionY,  &R::spiralOffsetX,
    &R::spiralOffsetY,   &R::interpolationAmount, &R::pointShiftX, &R::pointShiftY,
};

void writeTumbleReset(SpiralParameters& r) {
  // The view centre only moves centerX and centerY, which are not reset.
  const SpiralParameters defaults = defaultParameters(0.0f, 0.0f);
  for (int32_t R::*field : kTumbleResetInts) r.*field = defaults.*field;
  for (float R::*field : kTumbleResetFloats) r.*field = defaults.*field;
}

struct ChanceFlag {
  int32_t R::*field;
  double percent;
};

constexpr ChanceFlag kTumbleFlags[] = {
    {&R::randomAbstract, 20}, {&R::randomAngle, 20},      {&R::randomScaling, 20},
    {&R::randomArms, 20},     {&R::threePoints, 20},      {&R::randomCurve, 20},
    {&R::randomWarp, 10},     {&R::randomCreateArms, 20}, {&R::randomInterpolate, 20},
};

template <typename T>
void raiseTo(T& value, T limit) {
  if (value < limit) value = limit;
}
template <typename T>
void lowerTo(T& value, T limit) {
  if (value > limit) value = limit;
}

// The record behind a notifying item, after the item's default handling.
SpiralParameters* beginAction(ItemHandle item, NotifierHandle notifier, DialogHandle& dialog) {
  dialog = gADMItemSuite->GetDialog(item);
  SpiralParameters* record = dialogRecord(dialog);
  gADMItemSuite->DefaultNotify(item, notifier);
  return record;
}

}  // namespace

void tumbleRecord(SpiralParameters& r, const RandomSource& rnd) {
  Draws d(rnd);
  writeTumbleReset(r);
  r.armCount = d.truncated(30);
  r.armGap = static_cast<float>(d.next() * 300.0 + 40.0);
  r.decay = d.offsetDifference(10, 95, 10);
  if (d.chance(30)) {
    r.spiralAngle = d.scaled(360);
    r.scaleH = d.offsetDifference(10, 100, 40);
    r.scaleV = d.offsetDifference(10, 100, 40);
  }
  if (d.chance(50)) {
    r.curvature1 = d.scaled(90);
    r.curvature2 = d.scaled(90);
  } else {
    r.curvature1 = -d.scaled(90);
    r.curvature2 = -d.scaled(90);
  }
  r.armCurveFactor1 = d.scaled(100);
  r.armCurveFactor2 = d.scaled(100);
  r.decayAccumulate = 100.0f;
  if (d.chance(20)) {
    r.starAdditionX = d.difference(200, 300);
    r.starAdditionY = d.difference(200, 300);
  }
  if (d.chance(20)) r.pointSideShift = d.difference(30, 30);
  if (d.chance(10)) r.maxPoints = d.truncated(40) + 2;
  if (d.chance(20)) {
    r.spiralOffsetX = d.difference(20, 10);
    r.spiralOffsetY = d.difference(20, 10);
    r.pointFactor = d.offsetDifference(20, 1000, 10);
    r.offsetMode = d.truncated(19);
    if (d.chance(40)) r.offsetCount = d.truncated(5) + 1;
  }
  if (d.chance(20)) r.pointShiftX = d.difference(50, 25);
  if (d.chance(20)) r.pointShiftY = d.difference(50, 25);
  for (const ChanceFlag& flag : kTumbleFlags)
    if (d.chance(flag.percent)) r.*flag.field = 1;
  // The second structure test is drawn whatever the first gave.
  if (d.chance(10)) r.spiralStructure = d.truncated(17);
  if (d.chance(4)) r.spiralStructure = d.truncated(28);
  if (d.chance(30)) {
    r.interpolationAmount = d.difference(200, 100);
    r.interpolationMode = 0;
  }
  if (d.chance(20)) r.pointShiftMode = d.truncated(2);
}

void nudgeRecord(SpiralParameters& r, Nudge nudge, const RandomSource& rnd) {
  Draws d(rnd);
  switch (nudge) {
    case Nudge::Tweak:
      r.armCount = d.truncated(29) + 1;
      break;
    case Nudge::Jitter: {
      // Each change draws its sign, then its amount.
      double s = d.sign();
      r.armCount = addToCount(r.armCount, static_cast<int64_t>(s) * d.truncated(3));
      s = d.sign();
      r.armGap = static_cast<float>(r.armGap + d.next() * (3.0 * s));
      s = d.sign();
      r.curvature1 = static_cast<float>(r.curvature1 + d.next() * s);
      s = d.sign();
      r.curvature2 = static_cast<float>(r.curvature2 + d.next() * s);
      s = d.sign();
      r.decay = static_cast<float>(r.decay + d.next() * (0.5 * s));
      break;
    }
    case Nudge::Boost:
      r.armCount = addToCount(r.armCount, 1);
      r.armGap = static_cast<float>(r.armGap + 3.0);
      r.curvature1 = static_cast<float>(r.curvature1 + 1.0);
      r.curvature2 = static_cast<float>(r.curvature2 + 1.0);
      r.decay = static_cast<float>(r.decay + 0.5);
      break;
  }
  applyNudgeLimits(r);
}

void applyNudgeLimits(SpiralParameters& r) {
  raiseTo(r.armCount, 1);
  raiseTo(r.armGap, 0.01f);
  raiseTo(r.curvature1, -90.0f);
  raiseTo(r.curvature2, -90.0f);
  raiseTo(r.decay, 80.0f);
  lowerTo(r.armCount, 30);
  lowerTo(r.armGap, 200.0f);
  lowerTo(r.curvature1, 90.0f);
  lowerTo(r.curvature2, 90.0f);
  lowerTo(r.decay, 110.0f);
}

const PickSpec kPicks[kPickCount] = {
    {170, 4, &R::armCount, nullptr, false, 10},
    {171, 5, nullptr, &R::armGap, false, 1},
    {172, 8, nullptr, &R::curvature1, false, 5},
    {173, 9, nullptr, &R::curvature2, false, 5},
    {174, 25, nullptr, &R::interpolationAmount, false, 1},
    {175, 26, nullptr, &R::spiralOffsetX, false, 10},
    {176, 27, nullptr, &R::spiralOffsetY, true, 10},
    {177, 31, nullptr, &R::pointShiftX, false, 10},
    {178, 32, nullptr, &R::pointShiftY, true, 10},
    {179, 6, nullptr, &R::centerX, false, 1},
    {180, 7, nullptr, &R::centerY, true, 1},
};

const PickSpec* findPick(int32_t buttonId) {
  for (const PickSpec& pick : kPicks)
    if (pick.buttonId == buttonId) return &pick;
  return nullptr;
}

void applyPick(SpiralParameters& record, const PickSpec& pick, HostPoint point) {
  double value = static_cast<double>(pick.vertical ? point.v : point.h) / pick.divisor;
  if (pick.intField != nullptr)
    record.*pick.intField = truncateToInt32(value);
  else
    record.*pick.floatField = static_cast<float>(value);
}

void tumbleParameters(ItemHandle item, NotifierHandle notifier) noexcept {
  guardedNotify([&] {
    DialogHandle dialog = nullptr;
    SpiralParameters* record = beginAction(item, notifier, dialog);
    if (record == nullptr) return;
    SpiralParameters tumbled = *record;
    tumbleRecord(tumbled, rnd);
    *record = tumbled;
    showRecordInItems(dialog, *record);
    refreshActivePage(dialog, *record);
  });
}

void nudgeParameters(ItemHandle item, NotifierHandle notifier) noexcept {
  guardedNotify([&] {
    DialogHandle dialog = nullptr;
    SpiralParameters* record = beginAction(item, notifier, dialog);
    if (record == nullptr) return;
    SpiralParameters nudged = *record;
    // The buttons are told apart by comparing the item with the dialog's.
    if (item == dialogItem(dialog, kTweakButtonId))
      nudgeRecord(nudged, Nudge::Tweak, rnd);
    else if (item == dialogItem(dialog, kJitterButtonId))
      nudgeRecord(nudged, Nudge::Jitter, rnd);
    else if (item == dialogItem(dialog, kBoostButtonId))
      nudgeRecord(nudged, Nudge::Boost, rnd);
    else
      applyNudgeLimits(nudged);
    *record = nudged;
    showRecordInItems(dialog, *record);
    refreshActivePage(dialog, *record);
  });
}

HostBool pickFromDocument(ItemHandle item, TrackerHandle tracker) noexcept {
  constexpr HostBool kHandled = 1;
  return guarded(
      [&] {
        DialogHandle dialog = gADMItemSuite->GetDialog(item);
        SpiralParameters* record = dialogRecord(dialog);
        if (record == nullptr) return kHandled;
        // The queries go to the running track (a null tracker); the default
        // tracking gets the tracker handed to this proc.
        if ((gADMTrackerSuite->GetModifiers(nullptr) & kPickModifier) != 0) {
          gADMItemSuite->DefaultTrack(item, tracker);
          ViewPoint mouse{0, 0};
          gADMTrackerSuite->GetPoint(nullptr, &mouse);
          ViewHandle view = nullptr;
          HostPoint point{0.0f, 0.0f};
          gDocumentViewSuite->GetNthDocumentView(0, &view);
          gDocumentViewSuite->ViewPointToArtworkPoint(view, &mouse, &point);
          // The button is told apart by comparing it with the dialog's pick
          // buttons.
          for (const PickSpec& pick : kPicks) {
            if (dialogItem(dialog, pick.buttonId) != item) continue;
            applyPick(*record, pick, point);
            ItemHandle shown = dialogItem(dialog, pick.itemId);
            if (pick.intField != nullptr)
              gADMItemSuite->SetIntValue(shown, record->*pick.intField);
            else
              gADMItemSuite->SetFloatValue(shown, record->*pick.floatField);
            break;
          }
        }
        refreshActivePage(dialog, *record);
        return kHandled;
      },
      [](HostErr) { return kHandled; });
}
