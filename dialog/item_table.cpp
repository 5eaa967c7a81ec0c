#include "dialog/item_table.h"

#include "params/record/parameter_fields.h"
#include "params/record/plugin_facts.h"

namespace {
using K = ItemKind;
using P = ItemProc;
using R = SpiralParameters;

// A spin edit's range is its field's limits.
constexpr const ParameterField& fieldOf(FieldIndex index) { return kParameterFields[static_cast<int>(index)]; }
#define LIMITS(name) fieldOf(FieldIndex::name).minimum, fieldOf(FieldIndex::name).maximum
}  // namespace

// id, kind, text, bounds (left, top, right, bottom), page, field, limits (spin
// edits), proc.
const ItemSpec kOptionItems[kOptionItemCount] = {
    {4, K::IntSpinEdit, nullptr, {200, 70, 260, 90}, 1, &R::armCount, nullptr, LIMITS(armCount), P::ReadBack},
    {5, K::FloatSpinEdit, nullptr, {200, 92, 260, 112}, 1, nullptr, &R::armGap, LIMITS(armGap), P::ReadBack},
    {8, K::FloatSpinEdit, nullptr, {200, 114, 260, 134}, 1, nullptr, &R::curvature1, LIMITS(curvature1), P::ReadBack},
    {9, K::FloatSpinEdit, nullptr, {200, 136, 260, 156}, 1, nullptr, &R::curvature2, LIMITS(curvature2), P::ReadBack},
    {10, K::FloatSpinEdit, nullptr, {200, 158, 260, 178}, 1, nullptr, &R::decay, LIMITS(decay), P::ReadBack},
    {28, K::FloatSpinEdit, nullptr, {370, 310, 430, 330}, kEveryPage, nullptr, &R::viewZoom, LIMITS(viewZoom), P::ViewZoom},
    {6, K::FloatSpinEdit, nullptr, {200, 90, 260, 110}, 2, nullptr, &R::centerX, LIMITS(centerX), P::ReadBack},
    {7, K::FloatSpinEdit, nullptr, {200, 112, 260, 132}, 2, nullptr, &R::centerY, LIMITS(centerY), P::ReadBack},
    {12, K::FloatSpinEdit, nullptr, {200, 134, 260, 154}, 2, nullptr, &R::spiralAngle, LIMITS(spiralAngle), P::ReadBack},
    {13, K::FloatSpinEdit, nullptr, {200, 155, 260, 175}, 2, nullptr, &R::scaleH, LIMITS(scaleH), P::ReadBack},
    {14, K::FloatSpinEdit, nullptr, {200, 176, 260, 196}, 2, nullptr, &R::scaleV, LIMITS(scaleV), P::ReadBack},
    {19, K::IntSpinEdit, nullptr, {200, 198, 260, 218}, 2, &R::spiralCount, nullptr, LIMITS(spiralCount), P::ReadBack},
    {23, K::FloatSpinEdit, nullptr, {200, 250, 260, 270}, 2, nullptr, &R::sketchWeight, LIMITS(sketchWeight), P::ReadBack},
    {22, K::FloatSpinEdit, nullptr, {200, 272, 260, 292}, 2, nullptr, &R::sketchShift, LIMITS(sketchShift), P::ReadBack},
    {24, K::IntSpinEdit, nullptr, {200, 294, 260, 314}, 2, &R::sketchRepeats, nullptr, LIMITS(sketchRepeats), P::ReadBack},
    {15, K::FloatSpinEdit, nullptr, {200, 60, 260, 80}, 3, nullptr, &R::armCurveFactor1, LIMITS(armCurveFactor1), P::ReadBack},
    {16, K::FloatSpinEdit, nullptr, {200, 82, 260, 102}, 3, nullptr, &R::armCurveFactor2, LIMITS(armCurveFactor2), P::ReadBack},
    {17, K::FloatSpinEdit, nullptr, {200, 104, 260, 124}, 3, nullptr, &R::decayAccumulate, LIMITS(decayAccumulate), P::ReadBack},
    {18, K::FloatSpinEdit, nullptr, {200, 126, 260, 146}, 3, nullptr, &R::pointSideShift, LIMITS(pointSideShift), P::ReadBack},
    {20, K::IntSpinEdit, nullptr, {200, 148, 260, 168}, 3, &R::maxPoints, nullptr, LIMITS(maxPoints), P::ReadBack},
    {11, K::FloatSpinEdit, nullptr, {200, 170, 260, 190}, 3, nullptr, &R::starAdditionX, LIMITS(starAdditionX), P::ReadBack},
    {21, K::FloatSpinEdit, nullptr, {200, 192, 260, 212}, 3, nullptr, &R::starAdditionY, LIMITS(starAdditionY), P::ReadBack},
    {25, K::FloatSpinEdit, nullptr, {200, 250, 260, 270}, 3, nullptr, &R::interpolationAmount, LIMITS(interpolationAmount), P::ReadBack},
    {166, K::PopupList, nullptr, {10, 282, 160, 302}, 3, &R::pointShiftMode, nullptr, 0, 0, P::ReadBack},
    {31, K::FloatSpinEdit, nullptr, {200, 272, 260, 292}, 3, nullptr, &R::pointShiftX, LIMITS(pointShiftX), P::ReadBack},
    {32, K::FloatSpinEdit, nullptr, {200, 294, 260, 314}, 3, nullptr, &R::pointShiftY, LIMITS(pointShiftY), P::ReadBack},
    {26, K::FloatSpinEdit, nullptr, {200, 100, 260, 120}, 4, nullptr, &R::spiralOffsetX, LIMITS(spiralOffsetX), P::ReadBack},
    {27, K::FloatSpinEdit, nullptr, {200, 122, 260, 142}, 4, nullptr, &R::spiralOffsetY, LIMITS(spiralOffsetY), P::ReadBack},
    {29, K::FloatSpinEdit, nullptr, {200, 144, 260, 164}, 4, nullptr, &R::pointFactor, LIMITS(pointFactor), P::ReadBack},
    {30, K::IntSpinEdit, nullptr, {200, 166, 260, 186}, 4, &R::offsetCount, nullptr, LIMITS(offsetCount), P::ReadBack},
    {50, K::StaticText, "Number of spiral arms", {10, 70, 190, 90}, 1, nullptr, nullptr, 0, 0, P::None},
    {51, K::StaticText, "Gap between spiral arms", {10, 92, 190, 112}, 1, nullptr, nullptr, 0, 0, P::None},
    {53, K::StaticText, "Curvature of spiral", {10, 124, 190, 144}, 1, nullptr, nullptr, 0, 0, P::None},
    {55, K::StaticText, "Decay of spiral", {10, 158, 190, 178}, 1, nullptr, nullptr, 0, 0, P::None},
    {52, K::StaticText, "Spiral center position", {10, 100, 190, 120}, 2, nullptr, nullptr, 0, 0, P::None},
    {57, K::StaticText, "Spiral angle", {10, 134, 190, 154}, 2, nullptr, nullptr, 0, 0, P::None},
    {58, K::StaticText, "Spiral scaling", {10, 165, 190, 185}, 2, nullptr, nullptr, 0, 0, P::None},
    {62, K::StaticText, "Number of spirals", {10, 198, 190, 218}, 2, nullptr, nullptr, 0, 0, P::None},
    {65, K::StaticText, "Sketch weight (/10p)", {10, 250, 178, 270}, 2, nullptr, nullptr, 0, 0, P::None},
    {64, K::StaticText, "Sketch shift(p)", {10, 272, 178, 292}, 2, nullptr, nullptr, 0, 0, P::None},
    {66, K::StaticText, "Sketch repeats", {10, 294, 178, 314}, 2, nullptr, nullptr, 0, 0, P::None},
    {59, K::StaticText, "Curve factor per arm", {10, 70, 190, 90}, 3, nullptr, nullptr, 0, 0, P::None},
    {60, K::StaticText, "Decay accumulate", {10, 104, 190, 124}, 3, nullptr, nullptr, 0, 0, P::None},
    {61, K::StaticText, "Point side shift", {10, 126, 190, 146}, 3, nullptr, nullptr, 0, 0, P::None},
    {63, K::StaticText, "Max points", {10, 148, 190, 168}, 3, nullptr, nullptr, 0, 0, P::None},
    {56, K::StaticText, "Star addition to arms", {10, 180, 190, 200}, 3, nullptr, nullptr, 0, 0, P::None},
    {67, K::StaticText, "Spiral offset(p)", {10, 110, 178, 130}, 4, nullptr, nullptr, 0, 0, P::None},
    {68, K::StaticText, "Point factor(/10%)", {10, 144, 178, 164}, 4, nullptr, nullptr, 0, 0, P::None},
    {69, K::StaticText, "Offsets", {10, 166, 178, 186}, 4, nullptr, nullptr, 0, 0, P::None},
    {164, K::PopupList, nullptr, {350, 252, 430, 272}, kEveryPage, &R::presetIndex, nullptr, 0, 0, P::Preset},
    {161, K::PopupList, nullptr, {10, 60, 160, 80}, 2, &R::placementMode, nullptr, 0, 0, P::ReadBack},
    {162, K::PopupList, nullptr, {10, 220, 160, 240}, 3, &R::spiralStructure, nullptr, 0, 0, P::ReadBack},
    {163, K::PopupList, nullptr, {10, 225, 160, 245}, 2, &R::sketchColorMode, nullptr, 0, 0, P::ReadBack},
    {160, K::PopupList, nullptr, {10, 250, 160, 270}, 3, &R::interpolationMode, nullptr, 0, 0, P::ReadBack},
    {165, K::PopupList, nullptr, {10, 70, 160, 90}, 4, &R::offsetMode, nullptr, 0, 0, P::ReadBack},
    {2, K::TextButton, "Cancel", {350, 40, 430, 60}, kEveryPage, nullptr, nullptr, 0, 0, P::None},
    {90, K::TextButton, "Shuffle", {350, 70, 430, 90}, kEveryPage, nullptr, nullptr, 0, 0, P::ReadBack},
    {91, K::TextButton, "Tumble", {350, 100, 430, 120}, kEveryPage, nullptr, nullptr, 0, 0, P::Tumble},
    {92, K::TextButton, "Tweak", {350, 130, 430, 150}, kEveryPage, nullptr, nullptr, 0, 0, P::Nudge},
    {93, K::TextButton, "Jitter", {350, 160, 430, 180}, kEveryPage, nullptr, nullptr, 0, 0, P::Nudge},
    {94, K::TextButton, "Boost", {350, 190, 430, 210}, kEveryPage, nullptr, nullptr, 0, 0, P::Nudge},
    {3, K::CheckBox, "Preview", {350, 230, 430, 245}, kEveryPage, &R::preview, nullptr, 0, 0, P::ReadBack},
    {150, K::CheckBox, "Close spiral", {10, 220, 160, 234}, 4, &R::closeSpiral, nullptr, 0, 0, P::ReadBack},
    {130, K::CheckBox, "Fill [R]", {10, 60, 180, 74}, 5, &R::randomFill, nullptr, 0, 0, P::ReadBack},
    {136, K::CheckBox, "Fill swatch [R]", {10, 77, 180, 91}, 5, &R::randomFillSwatch, nullptr, 0, 0, P::ReadBack},
    {120, K::CheckBox, "Stroke [R]", {10, 94, 180, 108}, 5, &R::randomStroke, nullptr, 0, 0, P::ReadBack},
    {121, K::CheckBox, "Width [R]", {10, 111, 180, 125}, 5, &R::randomWidth, nullptr, 0, 0, P::ReadBack},
    {122, K::CheckBox, "Style [R]", {10, 128, 180, 142}, 5, &R::randomStyle, nullptr, 0, 0, P::ReadBack},
    {125, K::CheckBox, "Opacity [R]", {10, 145, 180, 159}, 5, &R::randomOpacity, nullptr, 0, 0, P::ReadBack},
    {124, K::CheckBox, "Abstract [R]", {10, 162, 180, 176}, 5, &R::randomAbstract, nullptr, 0, 0, P::ReadBack},
    {138, K::CheckBox, "Curve [R]", {10, 179, 180, 193}, 5, &R::randomCurve, nullptr, 0, 0, P::ReadBack},
    {137, K::CheckBox, "Three points", {10, 196, 180, 210}, 5, &R::threePoints, nullptr, 0, 0, P::ReadBack},
    {135, K::CheckBox, "Arms [R]", {10, 213, 180, 227}, 5, &R::randomArms, nullptr, 0, 0, P::ReadBack},
    {140, K::CheckBox, "Create arms[R]", {10, 230, 180, 244}, 5, &R::randomCreateArms, nullptr, 0, 0, P::ReadBack},
    {147, K::CheckBox, "Drop shadow", {10, 247, 180, 261}, 5, &R::dropShadow, nullptr, 0, 0, P::ReadBack},
    {143, K::CheckBox, "Shadowangle[R]", {10, 264, 180, 278}, 5, &R::randomShadowAngle, nullptr, 0, 0, P::ReadBack},
    {144, K::CheckBox, "Shadowopacity[R]", {10, 281, 180, 295}, 5, &R::randomShadowOpacity, nullptr, 0, 0, P::ReadBack},
    {145, K::CheckBox, "Half shadow", {10, 298, 180, 312}, 5, &R::halfShadow, nullptr, 0, 0, P::ReadBack},
    {146, K::CheckBox, "Shadowscale[R]", {10, 315, 180, 329}, 5, &R::randomShadowScale, nullptr, 0, 0, P::ReadBack},
    {132, K::CheckBox, "New layer", {181, 60, 340, 74}, 5, &R::newLayer, nullptr, 0, 0, P::ReadBack},
    {123, K::CheckBox, "Symbolize", {181, 77, 340, 91}, 5, &R::symbolize, nullptr, 0, 0, P::ReadBack},
    {139, K::CheckBox, "Warp [R]", {181, 94, 340, 108}, 5, &R::randomWarp, nullptr, 0, 0, P::ReadBack},
    {131, K::CheckBox, "Scaling [R]", {181, 111, 340, 125}, 5, &R::randomScaling, nullptr, 0, 0, P::ReadBack},
    {126, K::CheckBox, "Angle [R]", {181, 128, 340, 142}, 5, &R::randomAngle, nullptr, 0, 0, P::ReadBack},
    {133, K::CheckBox, "Jitter scaling[R]", {181, 145, 340, 159}, 5, &R::jitterScaling, nullptr, 0, 0, P::ReadBack},
    {134, K::CheckBox, "Jitter center[R]", {181, 162, 340, 176}, 5, &R::jitterCenter, nullptr, 0, 0, P::ReadBack},
    {127, K::CheckBox, "Jitter fill [R]", {181, 179, 340, 193}, 5, &R::jitterFill, nullptr, 0, 0, P::ReadBack},
    {128, K::CheckBox, "Jitter stroke[R]", {181, 196, 340, 210}, 5, &R::jitterStroke, nullptr, 0, 0, P::ReadBack},
    {129, K::CheckBox, "Jitter width[R]", {181, 213, 340, 227}, 5, &R::jitterWidth, nullptr, 0, 0, P::ReadBack},
    {141, K::CheckBox, "Sketch shift[R]", {181, 230, 340, 244}, 5, &R::randomSketchShift, nullptr, 0, 0, P::ReadBack},
    {142, K::CheckBox, "Sketch width[R]", {181, 247, 340, 261}, 5, &R::randomSketchWidth, nullptr, 0, 0, P::ReadBack},
    {148, K::CheckBox, "Stroke swatch[R]", {181, 264, 340, 278}, 5, &R::randomStrokeSwatch, nullptr, 0, 0, P::ReadBack},
    {149, K::CheckBox, "Interpolate [R]", {181, 281, 340, 295}, 5, &R::randomInterpolate, nullptr, 0, 0, P::ReadBack},
    {151, K::CheckBox, "Basic pattern", {181, 298, 340, 312}, 5, &R::basicPattern, nullptr, 0, 0, P::ReadBack},
    {100, K::PictureButton, nullptr, {10, 5, 60, 35}, kEveryPage, nullptr, nullptr, 0, 0, P::SwitchPage},
    {101, K::PictureButton, nullptr, {70, 5, 120, 35}, kEveryPage, nullptr, nullptr, 0, 0, P::SwitchPage},
    {102, K::PictureButton, nullptr, {130, 5, 180, 35}, kEveryPage, nullptr, nullptr, 0, 0, P::SwitchPage},
    {103, K::PictureButton, nullptr, {190, 5, 240, 35}, kEveryPage, nullptr, nullptr, 0, 0, P::SwitchPage},
    {104, K::PictureButton, nullptr, {250, 5, 300, 35}, kEveryPage, nullptr, nullptr, 0, 0, P::SwitchPage},
    {105, K::StaticText, "Spiral", {16, 40, 66, 55}, kEveryPage, nullptr, nullptr, 0, 0, P::None},
    {106, K::StaticText, "Create", {76, 40, 126, 55}, kEveryPage, nullptr, nullptr, 0, 0, P::None},
    {107, K::StaticText, "Tweak", {133, 40, 182, 55}, kEveryPage, nullptr, nullptr, 0, 0, P::None},
    {108, K::StaticText, "Offset", {195, 40, 240, 55}, kEveryPage, nullptr, nullptr, 0, 0, P::None},
    {109, K::StaticText, "Settings", {247, 40, 300, 55}, kEveryPage, nullptr, nullptr, 0, 0, P::None},
    {170, K::PictureButton, nullptr, {270, 70, 290, 90}, 1, nullptr, nullptr, 0, 0, P::Pick},
    {171, K::PictureButton, nullptr, {270, 92, 290, 112}, 1, nullptr, nullptr, 0, 0, P::Pick},
    {172, K::PictureButton, nullptr, {270, 114, 290, 134}, 1, nullptr, nullptr, 0, 0, P::Pick},
    {173, K::PictureButton, nullptr, {270, 136, 290, 156}, 1, nullptr, nullptr, 0, 0, P::Pick},
    {174, K::PictureButton, nullptr, {270, 250, 290, 270}, 3, nullptr, nullptr, 0, 0, P::Pick},
    {175, K::PictureButton, nullptr, {270, 100, 290, 120}, 4, nullptr, nullptr, 0, 0, P::Pick},
    {176, K::PictureButton, nullptr, {270, 122, 290, 142}, 4, nullptr, nullptr, 0, 0, P::Pick},
    {177, K::PictureButton, nullptr, {270, 272, 290, 292}, 3, nullptr, nullptr, 0, 0, P::Pick},
    {178, K::PictureButton, nullptr, {270, 294, 290, 314}, 3, nullptr, nullptr, 0, 0, P::Pick},
    {179, K::PictureButton, nullptr, {270, 90, 290, 110}, 2, nullptr, nullptr, 0, 0, P::Pick},
    {180, K::PictureButton, nullptr, {270, 112, 290, 132}, 2, nullptr, nullptr, 0, 0, P::Pick},
};

#undef LIMITS

const PageSpec kPages[kPageCount] = {
    {1, 100, 105, 4},
    {2, 101, 106, 6},
    {3, 102, 107, 15},
    {4, 103, 108, 26},
    {5, 104, 109, 120},
};

const PageSpec& pageOrFirst(int32_t number) {
  if (number < 1 || number > kPageCount) return kPages[0];
  return kPages[number - 1];
}

const ItemSpec* findItemSpec(int32_t id) {
  for (const ItemSpec& spec : kOptionItems)
    if (spec.id == id) return &spec;
  return nullptr;
}

bool isReadBackItem(const ItemSpec& spec) {
  if (spec.id == kZoomItemId || spec.id == kPresetListId) return false;
  return spec.intField != nullptr || spec.floatField != nullptr;
}
