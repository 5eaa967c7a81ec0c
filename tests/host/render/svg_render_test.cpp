// Pictures through librsvg and cairo: SVGs beyond librsvg's default size
// limit, and the limits of a picture (pixels a side and in all, a PDF
// page, the memory budget) named in their messages.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <sstream>
#include <string>

#include "hostapp/render/svg_render.h"

namespace {

constexpr std::uint64_t kLots = std::uint64_t{1} << 40;

bool mentions(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(PictureLimits, PngSidesAreaAndMemory) {
  EXPECT_EQ(render::pngProblem(612, 792, 72, kLots), "");
  EXPECT_EQ(render::pngProblem(612, 792, 1200, kLots), "") << "10200 x 13200 pixels fit";
  EXPECT_EQ(render::pngProblem(16384, 16384, 72, kLots), "") << "2^28 pixels fit";
  const std::string side = render::pngProblem(20000, 100, 200, kLots);
  EXPECT_TRUE(mentions(side, "55556 x 278 pixels") && mentions(side, "32767 pixels a side")) << side;
  // Within 32767 a side, beyond 2^28 in all.
  const std::string area = render::pngProblem(16385, 16384, 72, kLots);
  EXPECT_TRUE(mentions(area, "16385 x 16384 pixels") && mentions(area, "268435456")) << area;
  EXPECT_FALSE(render::pngProblem(612, 792, 2400, kLots).empty()) << "20400 x 26400 pixels";
  // 1000 x 1000 pixels are 4 MB of image.
  EXPECT_EQ(render::pngProblem(1000, 1000, 72, 4000000), "");
  const std::string memory = render::pngProblem(1000, 1000, 72, 3999999);
  EXPECT_TRUE(mentions(memory, "1000 x 1000 pixels") && mentions(memory, "--memory-budget")) << memory;
  // The SVG's renderer counts once its size is known.
  const std::string renderer = render::pngProblem(1000, 1000, 72, 4000000 + render::rendererMemoryFor(1 << 20) - 1,
                                                  1 << 20);
  EXPECT_TRUE(mentions(renderer, "for rendering a 1.0 MiB SVG")) << renderer;
  EXPECT_EQ(render::pngProblem(1000, 1000, 72, 4000000 + render::rendererMemoryFor(1 << 20), 1 << 20), "");
  for (double dpi : {std::nan(""), std::numeric_limits<double>::infinity(), 0.0, -5.0})
    EXPECT_FALSE(render::pngProblem(612, 792, dpi, kLots).empty()) << dpi;
}

TEST(PictureLimits, PdfPagesWithinCairosFixedPointRange) {
  EXPECT_EQ(render::pdfProblem(8e6, 8e6, kLots), "");
  const std::string big = render::pdfProblem(9e6, 100, kLots);
  EXPECT_TRUE(mentions(big, "9000000 x 100 points") && mentions(big, "8388607")) << big;
  EXPECT_FALSE(render::pdfProblem(100, 1e7, kLots).empty());
  EXPECT_TRUE(mentions(render::pdfProblem(100, 100, 1000, 1 << 20), "--memory-budget"));
}

#ifdef SPIRAL_HAVE_RSVG
// Width and height from a PNG's IHDR chunk.
std::pair<std::uint32_t, std::uint32_t> pngSize(const std::string& png) {
  auto word = [&](std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t k = 0; k < 4; ++k) v = v << 8 | static_cast<unsigned char>(png.at(at + k));
    return v;
  };
  EXPECT_EQ(png.substr(1, 3), "PNG");
  return {word(16), word(20)};
}

// 200 lines of 10000 points each, about 25 MB: librsvg's default limit
// stops reading near 21 MB ("Premature end of data").
std::string hugeSvg() {
  std::string svg =
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100pt\" height=\"50pt\" viewBox=\"0 0 100 50\">\n";
  for (int p = 0; p < 200; ++p) {
    svg += "<path stroke=\"#000\" fill=\"none\" d=\"M 0 0";
    for (int i = 0; i < 10000; ++i) svg += " L " + std::to_string(i % 100) + ".5 " + std::to_string(i * 7 % 50) + ".25";
    svg += "\"/>\n";
  }
  return svg + "</svg>\n";
}

TEST(PictureRendering, SvgsBeyondLibrsvgsDefaultLimitAreRead) {
  const std::string svg = hugeSvg();
  ASSERT_GT(svg.size(), 24u << 20);
  std::ostringstream png;
  render::svgToPng(svg, 36, kLots, png);
  EXPECT_EQ(pngSize(png.str()), (std::pair<std::uint32_t, std::uint32_t>{50, 25}));
  std::ostringstream pdf;
  render::svgToPdf(svg, kLots, pdf);
  EXPECT_EQ(pdf.str().substr(0, 5), "%PDF-");
}

TEST(PictureRendering, TheBudgetIsCheckedBeforeRendering) {
  const std::string svg =
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"1000pt\" height=\"1000pt\" viewBox=\"0 0 1000 1000\"/>";
  std::ostringstream out;
  try {
    render::svgToPng(svg, 72, 4000000, out);
    ADD_FAILURE() << "rendered beyond the budget";
  } catch (const render::RenderError& e) {
    EXPECT_TRUE(mentions(e.what(), "1000 x 1000 pixels")) << e.what();
  }
  EXPECT_TRUE(out.str().empty());
  render::svgToPng(svg, 72, 4000000 + render::rendererMemoryFor(svg.size()), out);
  EXPECT_EQ(pngSize(out.str()), (std::pair<std::uint32_t, std::uint32_t>{1000, 1000}));
}
#endif

}  // namespace
