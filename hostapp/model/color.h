// Colours and paint of the stand-in host's document.
//
// Component conventions (0..1): gray holds one value, 1 = black and 0 = white;
// four-colour holds c, m, y, k; three-colour holds r, g, b. Pattern, custom
// and gradient colours name a host object through `ref` (this host defines
// none, so they only pass through); a None colour paints nothing.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace host {

// The document's colour model; the values are the host codes.
enum class ColorModel : int16_t { Gray = 0, Rgb = 1, Cmyk = 2 };

// Colour kinds; the values are the host codes.
enum class ColorKind : int32_t {
  Gray = 0,
  FourColor = 1,
  Pattern = 2,
  Custom = 3,
  Gradient = 4,
  ThreeColor = 5,
  None = 6,
};

struct Color {
  ColorKind kind = ColorKind::Gray;
  std::array<float, 4> c{};
  std::uint64_t ref = 0;

  static Color gray(float g) { return {ColorKind::Gray, {g, 0, 0, 0}, 0}; }
  static Color rgb(float r, float g, float b) { return {ColorKind::ThreeColor, {r, g, b, 0}, 0}; }
  static Color cmyk(float c, float m, float y, float k) { return {ColorKind::FourColor, {c, m, y, k}, 0}; }
  static Color none() { return {ColorKind::None, {}, 0}; }
  friend bool operator==(const Color&, const Color&) = default;
};

// How a path is painted. Opacity is held by the art, not here.
struct Style {
  bool fillPaint = true;
  Color fill;
  bool strokePaint = true;
  Color stroke;
  float strokeWidth = 1;
  // Dash pattern: dashCount lengths (0 = solid line), starting at dashOffset.
  float dashOffset = 0;
  int32_t dashCount = 0;
  std::array<float, 6> dashes{};
  int32_t lineCap = 0;
  int32_t lineJoin = 0;
  float miterLimit = 4;
  // Kept for whoever set them; the host does not read them.
  std::array<int32_t, 4> reserved{};
  friend bool operator==(const Style&, const Style&) = default;
};

// Black and white in a document colour model: gray 1 / 0, RGB (0, 0, 0) /
// (1, 1, 1), CMYK (0, 0, 0, 1) / (0, 0, 0, 0).
Color blackIn(ColorModel model);
Color whiteIn(ColorModel model);

// An sRGB colour (components 0..1) expressed in a document colour model:
// gray g = 1 - luminance (Rec. 709 weights); CMYK by the naive
// k = 1 - max(r, g, b), c = (1 - r - k) / (1 - k) and so on.
Color fromRgb(float r, float g, float b, ColorModel model);

// The style new art takes: fill on with white, stroke on with black, 1 pt,
// solid, in the document's colour model.
Style defaultStyle(ColorModel model);

// The colour models by name, in the order of their codes.
inline constexpr std::array<const char*, 3> kColorModelNames{"gray", "rgb", "cmyk"};

const char* colorModelName(ColorModel model);  // one of kColorModelNames
// The model of a name in kColorModelNames; nothing for another text.
std::optional<ColorModel> colorModelFromName(std::string_view name);

}  // namespace host
