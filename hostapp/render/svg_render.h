// Pictures of a drawing: the host's own SVG rendered by librsvg onto a cairo
// PNG image or PDF page. Built only where librsvg and cairo are found;
// elsewhere available() is false and the calls throw RenderError.
#pragma once

#include <ostream>
#include <stdexcept>
#include <string_view>

namespace render {

class RenderError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// True when this build renders PNG and PDF.
bool available();

// The largest side of a PNG in pixels (cairo's image limit).
inline constexpr int kMaxPixels = 32767;

// Pixels for `points` at `dpi`: points * dpi / 72, rounded up.
int pixelsFor(double points, double dpi);

// The SVG as a PNG on a white background, its page `dpi` dots per inch
// (72 dpi: one pixel per point). Throws RenderError.
void svgToPng(std::string_view svg, double dpi, std::ostream& out);

// The SVG as a one-page PDF of the page's size in points. Throws RenderError.
void svgToPdf(std::string_view svg, std::ostream& out);

}  // namespace render
