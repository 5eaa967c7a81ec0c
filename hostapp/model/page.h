// The page of a new document: its default size and the sizes the host
// accepts, and the "W,H" text that names one on the command line.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "hostapp/model/geometry.h"

namespace host {

// US Letter in points.
inline constexpr Point kDefaultPageSize{612, 792};

// A page side is a finite number of points from kMinPageSide to
// kMaxPageSide. One point at least: the SVG writes sizes to a thousandth of
// a point, and a page that rounds to nothing could not be read back.
inline constexpr double kMinPageSide = 1;
inline constexpr double kMaxPageSide = 1e7;

bool isPageSide(double points);

// "W,H" with both sides accepted by isPageSide; nullopt otherwise.
std::optional<Point> parsePageSize(std::string_view text);

// The size as parsePageSize reads it back, shortest form ("612,792").
std::string pageSizeText(Point size);

}  // namespace host
