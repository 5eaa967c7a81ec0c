// The options dialog's six mode lists. Each list is one table of rows
// X(enumerator, entry text) in list order, from which both the enum the
// generator switches on and the popup texts the dialog shows are derived. An
// entry's position is its enumerator's value and the number its record field
// holds. Every text begins with a blank.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

// Where each spiral is centred (placementMode).
#define SPIRAL_PLACEMENT_MODES(X)                                   \
  X(UserCentre, " Place spiral at user entered center position")    \
  X(DocumentCentre, " Place spiral at center of document")          \
  X(Anywhere, " Place spiral anywhere in document")                 \
  X(BottomLeft, " Bottom left corner")                              \
  X(RandomX, " Randomized horizontally (but use current vertical)") \
  X(RandomY, " Randomized vertically (but use current horizontal)") \
  X(AnyCorner, " Any document corner")                              \
  X(Frame, " Place spiral as frame")

// How the radius, decay product and curvature grow (spiralStructure). The
// Gap structures add the gap to the radius instead of multiplying it.
#define SPIRAL_STRUCTURES(X)                          \
  X(Plain, " Spiral structure 01")                    \
  X(EvenArmsShrink, " Spiral structure 02")           \
  X(RadiusFourFifths, " Spiral structure 03")         \
  X(PlusArmIndex, " Spiral structure 04")             \
  X(DoubleDecay, " Spiral structure 05")              \
  X(ArmIndexRadius, " Spiral structure 06")           \
  X(DivideByArm, " Spiral structure 07")              \
  X(DecayDivideByArm, " Spiral structure 08")         \
  X(DecayMinusArmFifth, " Spiral structure 09")       \
  X(PlusTen, " Spiral structure 10")                  \
  X(RandomShrink, " Spiral structure 11")             \
  X(HalveCurveIn, " Spiral structure 12")             \
  X(QuarterCurveIn, " Spiral structure 13")           \
  X(EvenArmsCurveMore, " Spiral structure 14")        \
  X(FlipEveryArm, " Spiral structure 15")             \
  X(FlipEvenArms, " Spiral structure 16")             \
  X(TopBulge, " Spiral structure 17")                 \
  X(TopBulgeMore, " Spiral structure 18")             \
  X(Gap, " Spiral structure 19 - Gap")                \
  X(GapFirstAtGap, " Spiral structure 20 - Gap")      \
  X(GapFirstAt100, " Spiral structure 21 - Gap")      \
  X(GapFirstAtCentre, " Spiral structure 22 - Gap")   \
  X(GapHalfOnEven, " Spiral structure 23 - Gap")      \
  X(GapThirdOnEven, " Spiral structure 24 - Gap")     \
  X(GapDoubleOnEven, " Spiral structure 25 - Gap")    \
  X(GapHalfEveryFourth, " Spiral structure 26 - Gap") \
  X(GapThirdEveryFifth, " Spiral structure 27 - Gap") \
  X(GapQuarterOrHalf, " Spiral structure 28 - Gap")   \
  X(GapRandom, " Spiral structure 29 - Gap [R]")

// How pointShiftX and pointShiftY grow from anchor to anchor (pointShiftMode).
#define SPIRAL_POINT_SHIFT_MODES(X)        \
  X(PerArm, " All points shifted equally") \
  X(PerAnchor, " Points shifted 1")        \
  X(Random, " Randomized shift")

// How an offset pass moves each point (offsetMode): scaled by a draw per
// point or per pass, only on points of even or odd index, or by one of the
// four-point cycles.
#define SPIRAL_OFFSET_MODES(X)                           \
  X(Basic, " Basic offset")                              \
  X(RandomPointX, " Random offset per point horizontal") \
  X(RandomPointY, " Random offset per point vertical")   \
  X(RandomPoint, " Random offset per point")             \
  X(RandomPassX, " Random offset  horizontal")           \
  X(RandomPassY, " Random offset vertical")              \
  X(RandomPass, " Random offset")                        \
  X(XOnEven, " Alternate point offset horizontal 1")     \
  X(YOnEven, " Alternate point offset vertical 1")       \
  X(OnEven, " Alternate point offset 1")                 \
  X(XOnOdd, " Alternate point offset horizontal 2")      \
  X(YOnOdd, " Alternate point offset vertical 2")        \
  X(OnOdd, " Alternate point offset 2")                  \
  X(Cycle1, " Offset 1")                                 \
  X(Cycle2, " Offset 2")                                 \
  X(Cycle3, " Offset 3")                                 \
  X(Cycle4, " Offset 4")                                 \
  X(Cycle5, " Offset 5")                                 \
  X(Cycle6, " Offset 6")                                 \
  X(Cycle7, " Offset 7")

// The stroke colour (and opacity) of the sketch copies (sketchColorMode).
#define SPIRAL_SKETCH_COLOUR_MODES(X)                                \
  X(Black, " Sketch color options - Use black")                      \
  X(SameColour, " Use same color as original path")                  \
  X(RandomColour, " Use random color")                               \
  X(RandomSwatch, " Use random swatch color")                        \
  X(Reduced, " Reduced")                                             \
  X(RandomReduced, " Random reduced")                                \
  X(RandomBlackOrColour, " Random black / color")                    \
  X(UseShift, " Use shift (otherwise black)")                        \
  X(BlackRandomOpacity, " Use black + random opacity")               \
  X(RandomColourRandomOpacity, " Use random color + random opacity") \
  X(ReducingOpacity, " Reducing opacity")                            \
  X(WhiteRandomOpacity, " Use white + random opacity")

// The origin the anchors are interpolated against (interpolationMode).
#define SPIRAL_INTERPOLATION_MODES(X)   \
  X(SpiralCentre, " Interpolation 1")   \
  X(DocumentCentre, " Interpolation 2") \
  X(Anywhere, " Interpolation 3")       \
  X(BottomLeft, " Interpolation 4")     \
  X(RandomRight, " Interpolation 5")    \
  X(AboveByGap, " Interpolation 6")

// The number of entries of each mode's list and its texts.
template <typename Mode>
struct ChoiceTable;

// Declares `enum class Mode` from the rows, the list's texts as `List`, and
// ChoiceTable<Mode> tying the two together.
#define SPIRAL_CHOICE_ENUMERATOR(name, text) name,
#define SPIRAL_CHOICE_TEXT(name, text) text,
#define SPIRAL_CHOICE_NAME(name, text) #name,
#define SPIRAL_CHOICE_LIST(Mode, List, ROWS)                                \
  enum class Mode : int32_t { ROWS(SPIRAL_CHOICE_ENUMERATOR) };             \
  inline constexpr std::string_view List[] = {ROWS(SPIRAL_CHOICE_TEXT)};    \
  template <>                                                               \
  struct ChoiceTable<Mode> {                                                \
    static constexpr std::string_view listName = #List;                     \
    static constexpr std::string_view names[] = {ROWS(SPIRAL_CHOICE_NAME)}; \
    static constexpr std::span<const std::string_view> texts{List};         \
    static constexpr int32_t count = static_cast<int32_t>(std::size(List)); \
  };

SPIRAL_CHOICE_LIST(PlacementMode, PlacementList, SPIRAL_PLACEMENT_MODES)
SPIRAL_CHOICE_LIST(SpiralStructure, StructureList, SPIRAL_STRUCTURES)
SPIRAL_CHOICE_LIST(PointShiftMode, PointShiftList, SPIRAL_POINT_SHIFT_MODES)
SPIRAL_CHOICE_LIST(OffsetMode, OffsetModeList, SPIRAL_OFFSET_MODES)
SPIRAL_CHOICE_LIST(SketchColourMode, SketchColorList, SPIRAL_SKETCH_COLOUR_MODES)
SPIRAL_CHOICE_LIST(InterpolationMode, InterpolationList, SPIRAL_INTERPOLATION_MODES)

#undef SPIRAL_CHOICE_LIST
#undef SPIRAL_CHOICE_NAME
#undef SPIRAL_CHOICE_TEXT
#undef SPIRAL_CHOICE_ENUMERATOR

// A record field's number as its list's mode. Every int32 value converts
// (the enums' underlying type is int32_t), so a number outside the list
// reaches the default of the switch that reads it, as it always has.
template <typename Mode>
constexpr Mode toMode(int32_t number) {
  return static_cast<Mode>(number);
}

// Whether the mode is one of its list's entries.
template <typename Mode>
constexpr bool isListed(Mode mode) {
  const auto number = static_cast<int32_t>(mode);
  return number >= 0 && number < ChoiceTable<Mode>::count;
}
