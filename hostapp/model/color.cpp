#include "hostapp/model/color.h"

#include <algorithm>

namespace host {

Color blackIn(ColorModel model) {
  switch (model) {
    case ColorModel::Gray: return Color::gray(1);
    case ColorModel::Rgb: return Color::rgb(0, 0, 0);
    case ColorModel::Cmyk: return Color::cmyk(0, 0, 0, 1);
  }
  return Color::gray(1);
}

Color whiteIn(ColorModel model) {
  switch (model) {
    case ColorModel::Gray: return Color::gray(0);
    case ColorModel::Rgb: return Color::rgb(1, 1, 1);
    case ColorModel::Cmyk: return Color::cmyk(0, 0, 0, 0);
  }
  return Color::gray(0);
}

Color fromRgb(float r, float g, float b, ColorModel model) {
  switch (model) {
    case ColorModel::Rgb: return Color::rgb(r, g, b);
    case ColorModel::Gray: {
      const double luminance = 0.2126 * r + 0.7152 * g + 0.0722 * b;
      return Color::gray(static_cast<float>(1.0 - luminance));
    }
    case ColorModel::Cmyk: {
      const double k = 1.0 - std::max({double(r), double(g), double(b)});
      if (k >= 1.0) return Color::cmyk(0, 0, 0, 1);
      auto ink = [k](double v) { return static_cast<float>((1.0 - v - k) / (1.0 - k)); };
      return Color::cmyk(ink(r), ink(g), ink(b), static_cast<float>(k));
    }
  }
  return Color::rgb(r, g, b);
}

Style defaultStyle(ColorModel model) {
  Style s;
  s.fillPaint = true;
  s.fill = whiteIn(model);
  s.strokePaint = true;
  s.stroke = blackIn(model);
  s.strokeWidth = 1;
  return s;
}

const char* colorModelName(ColorModel model) {
  const auto code = static_cast<std::size_t>(model);
  return code < kColorModelNames.size() ? kColorModelNames[code] : kColorModelNames[1];
}

std::optional<ColorModel> colorModelFromName(std::string_view name) {
  for (std::size_t k = 0; k < kColorModelNames.size(); ++k) {
    if (name == kColorModelNames[k]) return static_cast<ColorModel>(k);
  }
  return std::nullopt;
}

}  // namespace host
