#include "hostapp/model/page.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <limits>
#include <locale>
#include <sstream>
#include <utility>

namespace host {
namespace {

struct Unit {
  const char* name;
  double points;  // points in one unit
};
constexpr std::array<Unit, 5> kUnits{{{"pt", 1}, {"mm", 72 / 25.4}, {"cm", 72 / 2.54}, {"in", 72}, {"px", 0.75}}};

struct NamedPage {
  const char* name;
  double width, height;  // points, upright
};
constexpr double kMm = 72 / 25.4;
constexpr std::array<NamedPage, 6> kNamedPages{{{"A5", 148 * kMm, 210 * kMm},
                                                {"A4", 210 * kMm, 297 * kMm},
                                                {"A3", 297 * kMm, 420 * kMm},
                                                {"Letter", 612, 792},
                                                {"Legal", 612, 1008},
                                                {"Tabloid", 792, 1224}}};

bool sameWord(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return text;
}

// One side: a number, then an optional unit (blanks allowed between). The
// letters at the end are the unit, so "5em" is refused, never five ems.
std::optional<double> sideInPoints(std::string_view text) {
  text = trimmed(text);
  std::size_t split = text.size();
  while (split > 0 && std::isalpha(static_cast<unsigned char>(text[split - 1]))) --split;
  const std::string_view unitText = text.substr(split);
  double scale = 1;
  if (!unitText.empty()) {
    const auto unit =
        std::find_if(kUnits.begin(), kUnits.end(), [&](const Unit& u) { return sameWord(unitText, u.name); });
    if (unit == kUnits.end()) return std::nullopt;
    scale = unit->points;
  }
  const std::string_view number = trimmed(text.substr(0, split));
  if (number.empty()) return std::nullopt;
  std::istringstream in{std::string(number)};
  in.imbue(std::locale::classic());
  double value = 0;
  in >> value;
  if (in.fail() || !in.eof()) return std::nullopt;
  return value * scale;
}

std::optional<std::pair<double, double>> namedPage(std::string_view text) {
  text = trimmed(text);
  bool landscape = false;
  for (const char* orientation : {"landscape", "portrait"}) {
    const std::size_t length = std::string_view(orientation).size();
    if (text.size() > length + 1 && sameWord(text.substr(text.size() - length), orientation)) {
      const char joint = text[text.size() - length - 1];
      if (joint == ',' || joint == '-') {
        landscape = orientation[0] == 'l';
        text = trimmed(text.substr(0, text.size() - length - 1));
      }
      break;
    }
  }
  for (const NamedPage& page : kNamedPages) {
    if (sameWord(text, page.name))
      return landscape ? std::pair{page.height, page.width} : std::pair{page.width, page.height};
  }
  return std::nullopt;
}

}  // namespace

bool isPageSide(double points) {
  return std::isfinite(points) && points >= kMinPageSide && points <= kMaxPageSide;
}

std::optional<Point> parsePageSize(std::string_view text) {
  std::optional<std::pair<double, double>> sides = namedPage(text);
  if (!sides) {
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos || text.find(',', comma + 1) != std::string_view::npos) return std::nullopt;
    const auto w = sideInPoints(text.substr(0, comma));
    const auto h = sideInPoints(text.substr(comma + 1));
    if (!w || !h) return std::nullopt;
    sides = std::pair{*w, *h};
  }
  if (!isPageSide(sides->first) || !isPageSide(sides->second)) return std::nullopt;
  return Point{static_cast<float>(sides->first), static_cast<float>(sides->second)};
}

std::string pageSizeForms() {
  std::string names;
  for (const NamedPage& page : kNamedPages) names += std::string(names.empty() ? "" : ", ") + page.name;
  return "W,H with each side in pt (the default), mm, cm, in or px (96 to the inch) and " +
         std::to_string(static_cast<long long>(kMinPageSide)) + " to " +
         std::to_string(static_cast<long long>(kMaxPageSide)) +
         " points once converted (\"612,792\", \"210mm,297mm\"), or a name: " + names +
         ", upright or with \",landscape\" (\"A4,landscape\")";
}

std::string pageSizeText(Point size) {
  // 9 significant digits give back every float.
  char text[64];
  std::snprintf(text, sizeof text, "%.9g,%.9g", size.x, size.y);
  return text;
}

}  // namespace host
