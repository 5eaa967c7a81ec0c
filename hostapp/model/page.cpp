#include "hostapp/model/page.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <locale>
#include <sstream>

namespace host {

bool isPageSide(double points) {
  return std::isfinite(points) && points >= kMinPageSide && points <= kMaxPageSide;
}

std::optional<Point> parsePageSize(std::string_view text) {
  std::istringstream in{std::string(text)};
  in.imbue(std::locale::classic());
  double w = 0, h = 0;
  char comma = 0;
  in >> w >> comma >> h;
  if (in.fail() || comma != ',' || !(in >> std::ws).eof()) return std::nullopt;
  if (!isPageSide(w) || !isPageSide(h)) return std::nullopt;
  return Point{static_cast<float>(w), static_cast<float>(h)};
}

std::string pageSizeText(Point size) {
  // 9 significant digits give back every float.
  char text[64];
  std::snprintf(text, sizeof text, "%.9g,%.9g", size.x, size.y);
  return text;
}

}  // namespace host
