// The document as an SVG 1.1 file that any browser shows. One group per
// layer, one <path> per path art with cubic "C" commands, symbols listed in
// <defs> (not placed), enveloped art drawn mapped through its envelope. The
// y axis is flipped once, at the root group, so the page looks as it does in
// the host. Colours are shown in sRGB (see colorToSrgb).
#pragma once

#include <array>
#include <ostream>
#include <string>
#include <string_view>

#include "hostapp/model/document.h"

namespace writers {

// gray g: 1 - g on all three channels (g = 1 is black); three-colour as is;
// four-colour: r = (1 - c)(1 - k), g = (1 - m)(1 - k), b = (1 - y)(1 - k).
// Components are clamped to [0, 1] first. Pattern, custom and gradient
// colours, which name no object here, show as mid gray.
std::array<double, 3> colorToSrgb(const host::Color& color);

// The id of the <metadata> element that holds `metadata`, a text the caller
// makes (the drawing's record and settings, see records/svg_metadata.h); it
// is written XML-escaped right after the <svg> start tag, or left out when
// empty.
inline constexpr std::string_view kSvgMetadataId = "spiral-drawing";

struct SvgOptions {
  // Leave out the art paths whose bounds, widened by their stroke and its
  // joins, lie wholly off the page: they add no pixel to a picture of the
  // page. For pictures only; the SVG file keeps every path.
  bool leaveOutOffPage = false;
  // A fill colour ("#rrggbb") for a rectangle the page's size under the
  // drawing; empty: none, the page shows what is behind it.
  std::string background{};
};

// Streams the SVG to `out` through a small buffer; the caller checks the
// stream.
void writeSvg(const host::Document& document, std::ostream& out, std::string_view metadata = {},
              const SvgOptions& options = {});
std::string svgString(const host::Document& document, std::string_view metadata = {},
                      const SvgOptions& options = {});

}  // namespace writers
