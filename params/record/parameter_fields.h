// The parameter record's fields: the one list from which the record's
// struct, its layout checks, its defaults, its field names and its codec are
// all derived. Shared with the host, so it needs only the standard library.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// Bool: 0 off, nonzero on. Index: a position in one of the choice lists.
// Int and Index fields are int32_t, Float fields float.
enum class FieldKind { Bool, Int, Index, Float };

// X(name, kind, default, minimum, maximum) for every field, in record order.
// The limits are the range the options dialog accepts in the field's spin
// edit; fields set by check box or list, or not shown, have 0, 0 (none).
// The defaults of centerX and centerY are offsets from the view centre (see
// defaultParameters).
#define SPIRAL_PARAMETER_FIELDS(X)                   \
  X(randomCreateArms, Bool, 0, 0, 0)                 \
  X(randomWarp, Bool, 0, 0, 0)                       \
  X(randomCurve, Bool, 0, 0, 0)                      \
  X(threePoints, Bool, 0, 0, 0)                      \
  X(randomFillSwatch, Bool, 0, 0, 0)                 \
  X(randomArms, Bool, 0, 0, 0)                       \
  X(jitterCenter, Bool, 0, 0, 0)                     \
  X(jitterScaling, Bool, 0, 0, 0)                    \
  X(newLayer, Bool, 0, 0, 0)                         \
  X(randomScaling, Bool, 0, 0, 0)                    \
  X(randomFill, Bool, 0, 0, 0)                       \
  X(randomAngle, Bool, 0, 0, 0)                      \
  X(randomOpacity, Bool, 0, 0, 0)                    \
  X(preview, Bool, 1, 0, 0)                          \
  X(randomStroke, Bool, 0, 0, 0)                     \
  X(randomWidth, Bool, 0, 0, 0)                      \
  X(randomStyle, Bool, 0, 0, 0)                      \
  X(symbolize, Bool, 0, 0, 0)                        \
  X(randomAbstract, Bool, 0, 0, 0)                   \
  X(jitterFill, Bool, 0, 0, 0)                       \
  X(jitterStroke, Bool, 0, 0, 0)                     \
  X(jitterWidth, Bool, 0, 0, 0)                      \
  X(basicPattern, Bool, 0, 0, 0)                     \
  X(closeSpiral, Bool, 0, 0, 0)                      \
  X(randomStrokeSwatch, Bool, 0, 0, 0)               \
  X(randomInterpolate, Bool, 0, 0, 0)                \
  X(dropShadow, Bool, 0, 0, 0)                       \
  X(halfShadow, Bool, 0, 0, 0)                       \
  X(randomShadowAngle, Bool, 0, 0, 0)                \
  X(randomShadowOpacity, Bool, 0, 0, 0)              \
  X(randomShadowScale, Bool, 0, 0, 0)                \
  X(randomSketchShift, Bool, 1, 0, 0)                \
  X(randomSketchWidth, Bool, 1, 0, 0)                \
  X(sketchRepeats, Int, 0, 0, 60)                    \
  X(sketchColorMode, Index, 0, 0, 0)                 \
  X(offsetMode, Index, 0, 0, 0)                      \
  X(spiralStructure, Index, 0, 0, 0)                 \
  X(activePage, Int, 1, 0, 0)                        \
  X(maxPoints, Int, 9999, 2, 9999)                   \
  X(armCount, Int, 10, 1, 300)                       \
  X(spiralCount, Int, 1, 1, 200)                     \
  X(pointShiftX, Float, 0, -100, 100)                \
  X(pointShiftY, Float, 0, -100, 100)                \
  X(viewZoom, Float, 100, 1, 500)                    \
  X(decayAccumulate, Float, 100, -150, 150)          \
  X(armCurveFactor1, Float, 100, -1000, 1000)        \
  X(armCurveFactor2, Float, 100, -1000, 1000)        \
  X(curvature1, Float, 33, -90, 90)                  \
  X(curvature2, Float, 33, -90, 90)                  \
  X(decay, Float, 95, 70, 130)                       \
  X(spiralAngle, Float, 0, -360, 360)                \
  X(armGap, Float, 200, 0.01, 1000)                  \
  X(centerX, Float, -100, -500000, 500000)           \
  X(centerY, Float, 0, -500000, 500000)              \
  X(scaleH, Float, 100, -1000, 1000)                 \
  X(scaleV, Float, 100, -1000, 1000)                 \
  X(pointSideShift, Float, 0, -300, 300)             \
  X(starAdditionX, Float, 0, -100, 200)              \
  X(starAdditionY, Float, 0, -100, 200)              \
  X(pointFactor, Float, 1000, -2000, 2000)           \
  X(sketchShift, Float, 5, 0, 200)                   \
  X(sketchWeight, Float, 0, 0, 400)                  \
  X(interpolationAmount, Float, 0, -1000, 1000)      \
  X(spiralOffsetX, Float, 0, -1000, 1000)            \
  X(spiralOffsetY, Float, 0, -1000, 1000)            \
  X(interpolationMode, Index, 0, 0, 0)               \
  X(placementMode, Index, 0, 0, 0)                   \
  X(presetIndex, Index, 0, 0, 0)                     \
  X(offsetCount, Int, 1, 1, 80)                      \
  X(pointShiftMode, Index, 0, 0, 0)                  \
  X(fromGo, Bool, 0, 0, 0)                           \
  X(previewDrawn, Bool, 0, 0, 0)                     \
  X(dialogBoundsLeft, Int, 0, 0, 0)                  \
  X(dialogBoundsTop, Int, 0, 0, 0)                   \
  X(dialogBoundsRight, Int, 0, 0, 0)                 \
  X(dialogBoundsBottom, Int, 0, 0, 0)                \
  X(dialogBoundsValid, Bool, 0, 0, 0)

// The C++ type of each kind's field.
template <FieldKind> struct FieldType { using type = int32_t; };
template <> struct FieldType<FieldKind::Float> { using type = float; };

// Each field's position in record order; every field is 4 bytes, so field k
// lies at offset 4k.
enum class FieldIndex : int {
#define SPIRAL_FIELD_INDEX(name, kind, initial, minimum, maximum) name,
  SPIRAL_PARAMETER_FIELDS(SPIRAL_FIELD_INDEX)
#undef SPIRAL_FIELD_INDEX
};

inline constexpr int kSpiralParameterFieldCount = 0
#define SPIRAL_FIELD_COUNT(name, kind, initial, minimum, maximum) +1
    SPIRAL_PARAMETER_FIELDS(SPIRAL_FIELD_COUNT)
#undef SPIRAL_FIELD_COUNT
    ;
inline constexpr std::size_t kSpiralParametersSize = 4 * kSpiralParameterFieldCount;

struct ParameterField {
  std::string_view name;
  std::size_t offset;
  FieldKind kind;
  double initial;  // the default (for centerX and centerY, relative to the view centre)
  double minimum;  // minimum == maximum: no limits
  double maximum;

  constexpr bool hasLimits() const { return minimum < maximum; }
};

inline constexpr std::array<ParameterField, kSpiralParameterFieldCount> kParameterFields = {{
#define SPIRAL_FIELD_ENTRY(name, kind, initial, minimum, maximum) \
  {#name, 4 * static_cast<std::size_t>(FieldIndex::name), FieldKind::kind, initial, minimum, maximum},
    SPIRAL_PARAMETER_FIELDS(SPIRAL_FIELD_ENTRY)
#undef SPIRAL_FIELD_ENTRY
}};

// The field of that name, or null.
constexpr const ParameterField* findParameterField(std::string_view name) {
  for (const ParameterField& field : kParameterFields)
    if (field.name == name) return &field;
  return nullptr;
}
