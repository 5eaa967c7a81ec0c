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

// A page side is a finite number of points above kMinPageSide and at most
// kMaxPageSide, whose float is a normal number (1e-50 is refused).
inline constexpr double kMinPageSide = 0;
inline constexpr double kMaxPageSide = 1e7;

bool isPageSide(double points);

// "W,H" with both sides accepted by isPageSide; nullopt otherwise.
std::optional<Point> parsePageSize(std::string_view text);

// The size as parsePageSize reads it back, shortest form ("612,792").
std::string pageSizeText(Point size);

}  // namespace host
