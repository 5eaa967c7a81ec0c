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

// X(name, kind, default, minimum, maximum, meaning) for every field, in record
// order; the meaning is the one line `spiral-host fields` shows.
// The limits are the range the options dialog accepts in the field's spin
// edit; fields set by check box or list, or not shown, have 0, 0 (none).
// The defaults of centerX and centerY are offsets from the view centre (see
// defaultParameters).
#define SPIRAL_PARAMETER_FIELDS(X)                                                                                             \
  X(randomCreateArms, Bool, 0, 0, 0, "each arm is drawn or left out at random")                                                \
  X(randomWarp, Bool, 0, 0, 0, "each spiral is warped through a random envelope")                                              \
  X(randomCurve, Bool, 0, 0, 0, "the curve handles of each anchor are turned at random")                                       \
  X(threePoints, Bool, 0, 0, 0, "arms of three anchors instead of four")                                                       \
  X(randomFillSwatch, Bool, 0, 0, 0, "each spiral is filled with a random swatch")                                             \
  X(randomArms, Bool, 0, 0, 0, "each spiral takes a random number of arms up to armCount")                                     \
  X(jitterCenter, Bool, 0, 0, 0, "the centre of each spiral is moved a little at random")                                      \
  X(jitterScaling, Bool, 0, 0, 0, "the scaling of each spiral is varied a little at random")                                   \
  X(newLayer, Bool, 0, 0, 0, "the spirals are drawn on a new layer")                                                           \
  X(randomScaling, Bool, 0, 0, 0, "each spiral is scaled at random")                                                           \
  X(randomFill, Bool, 0, 0, 0, "each spiral is filled with a random colour")                                                   \
  X(randomAngle, Bool, 0, 0, 0, "each spiral is turned by a random angle")                                                     \
  X(randomOpacity, Bool, 0, 0, 0, "each spiral takes a random opacity")                                                        \
  X(preview, Bool, 1, 0, 0, "the dialog draws a live preview")                                                                 \
  X(randomStroke, Bool, 0, 0, 0, "each spiral is stroked with a random colour")                                                \
  X(randomWidth, Bool, 0, 0, 0, "each spiral takes a random stroke width")                                                     \
  X(randomStyle, Bool, 0, 0, 0, "each spiral takes one of the document's graphic styles at random")                            \
  X(symbolize, Bool, 0, 0, 0, "the spirals are stored as a symbol and placed as instances")                                    \
  X(randomAbstract, Bool, 0, 0, 0, "anchors are left out at random, for abstract shapes")                                      \
  X(jitterFill, Bool, 0, 0, 0, "the fill colour is varied a little from spiral to spiral")                                     \
  X(jitterStroke, Bool, 0, 0, 0, "the stroke colour is varied a little from spiral to spiral")                                 \
  X(jitterWidth, Bool, 0, 0, 0, "the stroke width is varied a little from spiral to spiral")                                   \
  X(basicPattern, Bool, 0, 0, 0, "three mirrored copies of each spiral, of its shadow and of its sketch copies")               \
  X(closeSpiral, Bool, 0, 0, 0, "each spiral's path is closed")                                                                \
  X(randomStrokeSwatch, Bool, 0, 0, 0, "each spiral is stroked with a random swatch")                                          \
  X(randomInterpolate, Bool, 0, 0, 0, "the interpolation amount is drawn at random per anchor")                                \
  X(dropShadow, Bool, 0, 0, 0, "each spiral gets a drop shadow")                                                               \
  X(halfShadow, Bool, 0, 0, 0, "the drop shadow takes the spiral's colour halved instead of black")                            \
  X(randomShadowAngle, Bool, 0, 0, 0, "the drop shadow falls at a random angle")                                               \
  X(randomShadowOpacity, Bool, 0, 0, 0, "the drop shadow takes a random opacity")                                              \
  X(randomShadowScale, Bool, 0, 0, 0, "the drop shadow is scaled at random")                                                   \
  X(randomSketchShift, Bool, 1, 0, 0, "each sketch copy is shifted by a random part of sketchShift")                           \
  X(randomSketchWidth, Bool, 1, 0, 0, "each sketch copy takes a random stroke width up to sketchWeight")                       \
  X(sketchRepeats, Int, 0, 0, 60, "sketch copies drawn over each spiral (0: none)")                                            \
  X(sketchColorMode, Index, 0, 0, 0, "the stroke colour of the sketch copies (an entry of the sketch colour list)")            \
  X(offsetMode, Index, 0, 0, 0, "how an offset pass moves each point (an entry of the offset list)")                           \
  X(spiralStructure, Index, 0, 0, 0, "how radius, decay and curvature grow from arm to arm (an entry of the structure list)")  \
  X(activePage, Int, 1, 0, 0, "the dialog page shown when it opens")                                                           \
  X(maxPoints, Int, 9999, 2, 9999, "most anchors a spiral may have")                                                           \
  X(armCount, Int, 10, 1, 300, "number of arms of each spiral")                                                                \
  X(spiralCount, Int, 1, 1, 200, "number of spirals drawn")                                                                    \
  X(pointShiftX, Float, 0, -100, 100, "horizontal shift of the anchors, in points")                                            \
  X(pointShiftY, Float, 0, -100, 100, "vertical shift of the anchors, in points")                                              \
  X(viewZoom, Float, 100, 1, 500, "zoom of the document view, in percent")                                                     \
  X(decayAccumulate, Float, 100, -150, 150, "how much the decay adds up from arm to arm, in percent")                          \
  X(armCurveFactor1, Float, 100, -1000, 1000, "growth of the incoming curve handles per arm, in percent")                      \
  X(armCurveFactor2, Float, 100, -1000, 1000, "growth of the outgoing curve handles per arm, in percent")                      \
  X(curvature1, Float, 33, -90, 90, "angle of the incoming curve handles, in degrees")                                         \
  X(curvature2, Float, 33, -90, 90, "angle of the outgoing curve handles, in degrees")                                         \
  X(decay, Float, 95, 70, 130, "how each arm's radius shrinks or grows from the last, in percent")                             \
  X(spiralAngle, Float, 0, -360, 360, "rotation of each spiral, in degrees")                                                   \
  X(armGap, Float, 200, 0.01, 1000, "gap between neighbouring arms, in points")                                                \
  X(centerX, Float, -100, -500000, 500000, "horizontal position of the spiral centre, in points")                              \
  X(centerY, Float, 0, -500000, 500000, "vertical position of the spiral centre, in points")                                   \
  X(scaleH, Float, 100, -1000, 1000, "horizontal scaling of each spiral, in percent")                                          \
  X(scaleV, Float, 100, -1000, 1000, "vertical scaling of each spiral, in percent")                                            \
  X(pointSideShift, Float, 0, -300, 300, "sideways shift of each arm's top anchor, more on inner arms, in points")             \
  X(starAdditionX, Float, 0, -100, 200, "spike added outwards to each arm's side anchors, in points")                          \
  X(starAdditionY, Float, 0, -100, 200, "spike added upwards to each arm's top anchor, in points")                             \
  X(pointFactor, Float, 1000, -2000, 2000, "scaling of the points in each offset pass, in tenths of a percent")                \
  X(sketchShift, Float, 5, 0, 200, "how far the sketch copies are shifted, in points")                                         \
  X(sketchWeight, Float, 0, 0, 400, "stroke width of the sketch copies, in tenths of a point")                                 \
  X(interpolationAmount, Float, 0, -1000, 1000, "how far the anchors are pulled towards the interpolation origin, in percent") \
  X(spiralOffsetX, Float, 0, -1000, 1000, "horizontal offset of each offset pass, in points")                                  \
  X(spiralOffsetY, Float, 0, -1000, 1000, "vertical offset of each offset pass, in points")                                    \
  X(interpolationMode, Index, 0, 0, 0, "the origin the anchors are interpolated against (an entry of the interpolation list)") \
  X(placementMode, Index, 0, 0, 0, "where each spiral is centred (an entry of the placement list)")                            \
  X(presetIndex, Index, 0, 0, 0, "the preset chosen last in the dialog's preset list")                                         \
  X(offsetCount, Int, 1, 1, 80, "number of offset copies of each spiral")                                                      \
  X(pointShiftMode, Index, 0, 0, 0, "how the point shift grows from anchor to anchor (an entry of the point shift list)")      \
  X(fromGo, Bool, 0, 0, 0, "set by the plug-in: the record came from a run of Go")                                             \
  X(previewDrawn, Bool, 0, 0, 0, "set by the plug-in: the dialog's preview is already drawn")                                  \
  X(dialogBoundsLeft, Int, 0, 0, 0, "set by the plug-in: left edge of the dialog where it last closed")                        \
  X(dialogBoundsTop, Int, 0, 0, 0, "set by the plug-in: top edge of the dialog where it last closed")                          \
  X(dialogBoundsRight, Int, 0, 0, 0, "set by the plug-in: right edge of the dialog where it last closed")                      \
  X(dialogBoundsBottom, Int, 0, 0, 0, "set by the plug-in: bottom edge of the dialog where it last closed")                    \
  X(dialogBoundsValid, Bool, 0, 0, 0, "set by the plug-in: the dialog bounds hold a position")

// The C++ type of each kind's field.
template <FieldKind> struct FieldType { using type = int32_t; };
template <> struct FieldType<FieldKind::Float> { using type = float; };

// Each field's position in record order; every field is 4 bytes, so field k
// lies at offset 4k.
enum class FieldIndex : int {
#define SPIRAL_FIELD_INDEX(name, kind, initial, minimum, maximum, meaning) name,
  SPIRAL_PARAMETER_FIELDS(SPIRAL_FIELD_INDEX)
#undef SPIRAL_FIELD_INDEX
};

inline constexpr int kSpiralParameterFieldCount = 0
#define SPIRAL_FIELD_COUNT(name, kind, initial, minimum, maximum, meaning) +1
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
  std::string_view meaning;  // one line for people

  constexpr bool hasLimits() const { return minimum < maximum; }
};

inline constexpr std::array<ParameterField, kSpiralParameterFieldCount> kParameterFields = {{
#define SPIRAL_FIELD_ENTRY(name, kind, initial, minimum, maximum, meaning) \
  {#name, 4 * static_cast<std::size_t>(FieldIndex::name), FieldKind::kind, initial, minimum, maximum, meaning},
    SPIRAL_PARAMETER_FIELDS(SPIRAL_FIELD_ENTRY)
#undef SPIRAL_FIELD_ENTRY
}};

// The field of that name, or null.
constexpr const ParameterField* findParameterField(std::string_view name) {
  for (const ParameterField& field : kParameterFields)
    if (field.name == name) return &field;
  return nullptr;
}
