// Pictures of a drawing: the host's own SVG rendered by librsvg onto a cairo
// PNG image or PDF page. Built only where librsvg and cairo are found, and
// the libraries are loaded on first use; where they are absent available()
// is false and the calls throw RenderError.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <stdexcept>
#include <string_view>

namespace render {

class RenderError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// True when this build renders PNG and PDF and librsvg and cairo load.
bool available();
// Why available() is false, one line; empty when it is true.
std::string unavailableReason();

// The largest side of a PNG in pixels (cairo's image limit).
inline constexpr int kMaxPixels = 32767;
// The most pixels a PNG may have in all: 2^28, 1 GiB of image.
inline constexpr std::uint64_t kMaxPixelArea = std::uint64_t{1} << 28;
// The largest side of a PDF page in points: cairo's PDF surface keeps
// coordinates in 24.8 fixed point, and a larger page comes out blank.
inline constexpr double kMaxPdfPoints = 8388607;

// Pixels for `points` at `dpi`: points * dpi / 72, rounded up.
int pixelsFor(double points, double dpi);

// What is under a picture's drawing: nothing (transparent) or an opaque
// colour, each channel 0 to 1.
struct Background {
  bool none = false;
  double red = 1, green = 1, blue = 1;
};
// "none", "white" or "#rrggbb" (any case); nullopt for another text.
std::optional<Background> parseBackground(std::string_view text);

// How large a PNG of a page is: `dpi` dots per inch, unless `width` or
// `height` (pixels, 0: not given) is. One of them: that side, the other
// following the page's ratio (rounded, one pixel at least). Both: the
// largest picture of the page's ratio that fits inside width x height.
struct PngSize {
  double dpi = 72;
  int width = 0;
  int height = 0;
  bool byPixels() const { return width > 0 || height > 0; }
};

// A PNG's final size in pixels (whole numbers, possibly beyond the limits:
// pngProblem says so).
struct PixelSize {
  double width = 0;
  double height = 0;
};
PixelSize pngPixels(double width, double height, const PngSize& size);

// How a picture is made: the PNG's size and the background (unset: white
// under a PNG, nothing painted on a PDF page, which viewers show as white
// paper).
struct PictureOptions {
  PngSize png{};
  std::optional<Background> background{};
};

// What a picture of a page `width` x `height` points needs, checked before
// anything is drawn and again before rendering. Empty when it can be made;
// otherwise a message naming the size and the limit it passes.
// `memoryAvailable` is what the host's memory budget has left, `svgBytes`
// the size of the SVG to render (0 before drawing: the image alone).
std::string pngProblem(double width, double height, const PngSize& size, std::uint64_t memoryAvailable,
                       std::uint64_t svgBytes = 0);
std::string pngProblem(double width, double height, double dpi, std::uint64_t memoryAvailable,
                       std::uint64_t svgBytes = 0);
std::string pdfProblem(double width, double height, std::uint64_t memoryAvailable, std::uint64_t svgBytes = 0);

// The memory librsvg and cairo are reckoned to take for an SVG of
// `svgBytes`: the text, the parsed document and its paths.
std::uint64_t rendererMemoryFor(std::uint64_t svgBytes);

// The SVG as a PNG on a white background, its page `dpi` dots per inch
// (72 dpi: one pixel per point). Throws RenderError, also when pngProblem
// finds one for the SVG's page with `memoryAvailable`.
void svgToPng(std::string_view svg, double dpi, std::uint64_t memoryAvailable, std::ostream& out);
// The same at the size and on the background of `options`; a PNG with a
// transparent background has an alpha channel.
void svgToPng(std::string_view svg, const PictureOptions& options, std::uint64_t memoryAvailable, std::ostream& out);

// The SVG as a one-page PDF of the page's size in points. Throws
// RenderError, also when pdfProblem finds one.
void svgToPdf(std::string_view svg, std::uint64_t memoryAvailable, std::ostream& out);
void svgToPdf(std::string_view svg, const PictureOptions& options, std::uint64_t memoryAvailable, std::ostream& out);

}  // namespace render
