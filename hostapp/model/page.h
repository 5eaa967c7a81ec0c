// The page of a new document: its default size and the sizes the host
// accepts, and the text that names one on the command line.
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

// A page size as a person writes one, in points once read:
//   "W,H"            each side a number with a unit: pt (the default), mm,
//                    cm, in or px (96 to the inch): "612,792", "210mm,297mm",
//                    "8.5in,11in";
//   "NAME"           A5, A4, A3, Letter, Legal or Tabloid (any case), upright;
//   "NAME,landscape" or "NAME-landscape": the same page on its side
//                    ("portrait" is accepted too and changes nothing).
// Both sides must pass isPageSide after conversion; nullopt otherwise.
std::optional<Point> parsePageSize(std::string_view text);

// The forms parsePageSize accepts and the range of a side, for a message:
// "W,H with units pt (default), mm, ...".
std::string pageSizeForms();

// The size as parsePageSize reads it back, in points, shortest form
// ("612,792").
std::string pageSizeText(Point size);

}  // namespace host
