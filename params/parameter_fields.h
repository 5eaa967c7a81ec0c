// Names, offsets and kinds of the record's fields, for tools that read or
// write records by field name.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "spiral_parameters.h"

// Bool: 0 off, nonzero on. Index: a position in one of the choice lists.
enum class FieldKind { Bool, Int, Index, Float };

// X(name, kind) for every field, in record order.
#define SPIRAL_PARAMETER_FIELDS(X) \
  X(randomCreateArms, Bool) \
  X(randomWarp, Bool) \
  X(randomCurve, Bool) \
  X(threePoints, Bool) \
  X(randomFillSwatch, Bool) \
  X(randomArms, Bool) \
  X(jitterCenter, Bool) \
  X(jitterScaling, Bool) \
  X(newLayer, Bool) \
  X(randomScaling, Bool) \
  X(randomFill, Bool) \
  X(randomAngle, Bool) \
  X(randomOpacity, Bool) \
  X(preview, Bool) \
  X(randomStroke, Bool) \
  X(randomWidth, Bool) \
  X(randomStyle, Bool) \
  X(symbolize, Bool) \
  X(randomAbstract, Bool) \
  X(jitterFill, Bool) \
  X(jitterStroke, Bool) \
  X(jitterWidth, Bool) \
  X(basicPattern, Bool) \
  X(closeSpiral, Bool) \
  X(randomStrokeSwatch, Bool) \
  X(randomInterpolate, Bool) \
  X(dropShadow, Bool) \
  X(halfShadow, Bool) \
  X(randomShadowAngle, Bool) \
  X(randomShadowOpacity, Bool) \
  X(randomShadowScale, Bool) \
  X(randomSketchShift, Bool) \
  X(randomSketchWidth, Bool) \
  X(sketchRepeats, Int) \
  X(sketchColorMode, Index) \
  X(offsetMode, Index) \
  X(spiralStructure, Index) \
  X(activePage, Int) \
  X(maxPoints, Int) \
  X(armCount, Int) \
  X(spiralCount, Int) \
  X(pointShiftX, Float) \
  X(pointShiftY, Float) \
  X(viewZoom, Float) \
  X(decayAccumulate, Float) \
  X(armCurveFactor1, Float) \
  X(armCurveFactor2, Float) \
  X(curvature1, Float) \
  X(curvature2, Float) \
  X(decay, Float) \
  X(spiralAngle, Float) \
  X(armGap, Float) \
  X(centerX, Float) \
  X(centerY, Float) \
  X(scaleH, Float) \
  X(scaleV, Float) \
  X(pointSideShift, Float) \
  X(starAdditionX, Float) \
  X(starAdditionY, Float) \
  X(pointFactor, Float) \
  X(sketchShift, Float) \
  X(sketchWeight, Float) \
  X(interpolationAmount, Float) \
  X(spiralOffsetX, Float) \
  X(spiralOffsetY, Float) \
  X(interpolationMode, Index) \
  X(placementMode, Index) \
  X(presetIndex, Index) \
  X(offsetCount, Int) \
  X(pointShiftMode, Index) \
  X(fromGo, Bool) \
  X(previewDrawn, Bool) \
  X(dialogBoundsLeft, Int) \
  X(dialogBoundsTop, Int) \
  X(dialogBoundsRight, Int) \
  X(dialogBoundsBottom, Int) \
  X(dialogBoundsValid, Bool)

struct ParameterField {
  std::string_view name;
  std::size_t offset;
  FieldKind kind;
};

inline constexpr std::array<ParameterField, kSpiralParameterFieldCount> kParameterFields = {{
#define SPIRAL_FIELD_ENTRY(name, kind) {#name, offsetof(SpiralParameters, name), FieldKind::kind},
    SPIRAL_PARAMETER_FIELDS(SPIRAL_FIELD_ENTRY)
#undef SPIRAL_FIELD_ENTRY
}};

// The field of that name, or null.
inline const ParameterField* findParameterField(std::string_view name) {
  for (const ParameterField& field : kParameterFields)
    if (field.name == name) return &field;
  return nullptr;
}
