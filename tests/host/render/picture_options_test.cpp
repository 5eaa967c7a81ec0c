// A picture's size in pixels and its background: the size a PNG takes from
// a width, a height or both, refusals on the final size, transparent and
// coloured backgrounds read back from the PNG, and the contact sheet's grid.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <utility>

#include "hostapp/render/contact_sheet.h"
#include "hostapp/render/svg_render.h"

#ifdef SPIRAL_HAVE_RSVG
#include <cairo.h>
#endif

namespace {

constexpr std::uint64_t kLots = std::uint64_t{1} << 40;

TEST(PictureBackground, ReadsNoneWhiteAndHexColours) {
  const auto none = render::parseBackground("NONE");
  ASSERT_TRUE(none);
  EXPECT_TRUE(none->none);
  const auto white = render::parseBackground("white");
  ASSERT_TRUE(white);
  EXPECT_FALSE(white->none);
  EXPECT_EQ(white->red + white->green + white->blue, 3);
  const auto colour = render::parseBackground("#FF8000");
  ASSERT_TRUE(colour);
  EXPECT_EQ(colour->red, 1);
  EXPECT_NEAR(colour->green, 128 / 255.0, 1e-12);
  EXPECT_EQ(colour->blue, 0);
  for (const char* text : {"", "#fff", "#ff800", "#ff80000", "ff8000", "#gg0000", "black", "transparent", " white",
                           "#ff 000"})
    EXPECT_FALSE(render::parseBackground(text)) << text;
}

TEST(PngSize, OneSideGivenTheOtherFollowsThePage) {
  using P = render::PngSize;
  auto pixels = [](double w, double h, P size) {
    const render::PixelSize p = render::pngPixels(w, h, size);
    return std::pair{p.width, p.height};
  };
  EXPECT_EQ(pixels(612, 792, P{.dpi = 144}), (std::pair{1224.0, 1584.0})) << "dpi alone as before";
  EXPECT_EQ(pixels(612, 792, P{.width = 300}), (std::pair{300.0, 388.0}));
  EXPECT_EQ(pixels(612, 792, P{.height = 100}), (std::pair{77.0, 100.0}));
  EXPECT_EQ(pixels(10000, 1, P{.width = 50}), (std::pair{50.0, 1.0})) << "one pixel at the least";
  // Both: the largest picture of the page's ratio inside the box.
  EXPECT_EQ(pixels(612, 792, P{.width = 1000, .height = 1000}), (std::pair{773.0, 1000.0}));
  EXPECT_EQ(pixels(792, 612, P{.width = 1000, .height = 1000}), (std::pair{1000.0, 773.0}));
  EXPECT_EQ(pixels(100, 100, P{.width = 30, .height = 500}), (std::pair{30.0, 30.0}));
  // Given pixels, the dpi is not looked at.
  EXPECT_EQ(pixels(612, 792, P{.dpi = 0, .width = 300}), (std::pair{300.0, 388.0}));
}

TEST(PngSize, LimitsApplyToTheFinalSize) {
  using P = render::PngSize;
  EXPECT_EQ(render::pngProblem(612, 792, P{.width = 10000}, kLots), "") << "10000 x 12941";
  const std::string tall = render::pngProblem(100, 10000, P{.width = 400}, kLots);
  EXPECT_NE(tall.find("400 x 40000 pixels"), std::string::npos) << tall;
  const std::string area = render::pngProblem(612, 792, P{.width = 16000}, kLots);
  EXPECT_NE(area.find("16000 x 20706 pixels (331296000) is beyond"), std::string::npos) << area;
  const std::string memory = render::pngProblem(612, 792, P{.width = 1000, .height = 1000}, 3000000);
  EXPECT_NE(memory.find("773 x 1000 pixels needs about"), std::string::npos) << memory;
  EXPECT_EQ(render::pngProblem(612, 792, P{.width = 1000, .height = 1000}, 773 * 1000 * 4), "");
}

TEST(ContactSheetLayout, GridHoldsEveryCellAboutSquare) {
  for (std::size_t cells : {1u, 2u, 5u, 9u, 10u, 64u, 65u}) {
    const render::SheetLayout l = render::sheetLayout(cells, 612, 792);
    const std::size_t rows = (cells + l.columns - 1) / l.columns;
    EXPECT_GE(l.columns * rows, cells) << cells;
    EXPECT_LT(l.columns * (rows - 1), cells) << cells << ": an empty last row";
    EXPECT_LE(rows, l.columns) << cells;
  }
  const render::SheetLayout upright = render::sheetLayout(4, 612, 792);
  EXPECT_EQ(upright.pageHeight, 160);
  EXPECT_EQ(upright.pageWidth, 124) << "the page's ratio";
  const render::SheetLayout wide = render::sheetLayout(4, 792, 612);
  EXPECT_EQ(wide.pageWidth, 160);
}

#ifdef SPIRAL_HAVE_RSVG
// A page with a red square at its top-left quarter.
const std::string kSquareSvg =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"200pt\" height=\"100pt\" viewBox=\"0 0 200 100\">"
    "<rect x=\"0\" y=\"0\" width=\"100\" height=\"50\" fill=\"#ff0000\"/></svg>";

struct Image {
  std::unique_ptr<cairo_surface_t, void (*)(cairo_surface_t*)> surface{nullptr, cairo_surface_destroy};
  int width = 0, height = 0;
  int colourType = -1;  // from the IHDR: 2 RGB, 6 RGB with alpha
  // Premultiplied B, G, R, A as cairo holds them.
  const unsigned char* at(int x, int y) const {
    return cairo_image_surface_get_data(surface.get()) + y * cairo_image_surface_get_stride(surface.get()) + x * 4;
  }
};

cairo_status_t readFromString(void* closure, unsigned char* data, unsigned int length) {
  auto* in = static_cast<std::istringstream*>(closure);
  in->read(reinterpret_cast<char*>(data), length);
  return in->gcount() == static_cast<std::streamsize>(length) ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_READ_ERROR;
}

Image decode(const std::string& png) {
  Image image;
  EXPECT_GT(png.size(), 26u);
  EXPECT_EQ(png.substr(12, 4), "IHDR");
  image.colourType = static_cast<unsigned char>(png.at(25));
  std::istringstream in(png);
  image.surface.reset(cairo_image_surface_create_from_png_stream(readFromString, &in));
  EXPECT_EQ(cairo_surface_status(image.surface.get()), CAIRO_STATUS_SUCCESS);
  image.width = cairo_image_surface_get_width(image.surface.get());
  image.height = cairo_image_surface_get_height(image.surface.get());
  return image;
}

std::string png(const render::PictureOptions& options) {
  std::ostringstream out;
  render::svgToPng(kSquareSvg, options, kLots, out);
  return out.str();
}

TEST(PictureRendering, SizeInPixelsFillsThePicture) {
  const Image image = decode(png({.png = {.width = 50}}));
  ASSERT_EQ(image.width, 50);
  ASSERT_EQ(image.height, 25);
  // The red square fills exactly the top-left quarter at the new scale
  // (25 x 12.5 pixels: the 13th row half covered).
  EXPECT_EQ(image.at(24, 11)[2], 255);
  EXPECT_EQ(image.at(24, 11)[1], 0);
  EXPECT_EQ(image.at(24, 12)[1], 127);
  EXPECT_EQ(image.at(26, 12)[1], 255) << "white right of the square";
  EXPECT_EQ(image.at(10, 14)[1], 255) << "white below the square";
}

TEST(PictureRendering, BackgroundsNoneWhiteAndColour) {
  const Image white = decode(png({}));
  EXPECT_EQ(white.colourType, 2) << "opaque: no alpha channel";
  EXPECT_EQ(white.at(150, 80)[0], 255);
  EXPECT_EQ(png({}), png({.background = render::parseBackground("white")})) << "white is the default";

  const Image none = decode(png({.background = render::parseBackground("none")}));
  EXPECT_EQ(none.colourType, 6) << "transparent: an alpha channel";
  EXPECT_EQ(none.at(150, 80)[3], 0) << "nothing under the page";
  EXPECT_EQ(none.at(20, 20)[3], 255) << "the drawing stays opaque";

  const Image blue = decode(png({.background = render::parseBackground("#102030")}));
  const unsigned char* p = blue.at(150, 80);
  EXPECT_EQ(blue.colourType, 2);
  EXPECT_EQ((std::array<int, 4>{p[2], p[1], p[0], p[3]}), (std::array<int, 4>{0x10, 0x20, 0x30, 255}));
  EXPECT_EQ(blue.at(20, 20)[2], 255) << "the drawing over it";
}

TEST(PictureRendering, PdfBackgroundPaintsOnlyWhenAColourIsGiven) {
  auto pdf = [](const render::PictureOptions& options) {
    std::ostringstream out;
    render::svgToPdf(kSquareSvg, options, kLots, out);
    return out.str();
  };
  std::ostringstream plain;
  render::svgToPdf(kSquareSvg, kLots, plain);
  EXPECT_EQ(pdf({}).size(), plain.str().size());
  EXPECT_EQ(pdf({.background = render::parseBackground("none")}).size(), plain.str().size());
  EXPECT_NE(pdf({.background = render::parseBackground("#102030")}).size(), plain.str().size());
}

// The sheet's cells: each page's top edge is a run of the edge's grey along
// the row's first line; counting the runs counts the cells drawn.
TEST(ContactSheetRendering, DrawsOneFramedPageACellInTheGrid) {
  const render::SheetLayout layout = render::sheetLayout(5, 200, 100);
  std::ostringstream out;
  render::ContactSheet sheet(render::SheetFormat::Png, layout, out);
  for (int k = 0; k < 5; ++k) sheet.add(kSquareSvg, "cell " + std::to_string(k) + " with a long name to shorten");
  EXPECT_THROW(sheet.add(kSquareSvg, "one too many"), render::RenderError);
  sheet.finish();
  const Image image = decode(out.str());
  ASSERT_EQ(image.width, static_cast<int>(std::ceil(layout.width)));
  ASSERT_EQ(image.height, static_cast<int>(std::ceil(layout.height)));
  int cells = 0;
  const std::size_t rows = (layout.cells + layout.columns - 1) / layout.columns;
  for (std::size_t row = 0; row < rows; ++row) {
    const int y = static_cast<int>(layout.gap + row * (layout.pageHeight + layout.labelHeight + layout.gap));
    bool inEdge = false;
    for (int x = 0; x < image.width; ++x) {
      const bool edge = image.at(x, y)[1] < 200;
      if (edge && !inEdge) ++cells;
      inEdge = edge;
    }
    // The cell's red square (its top-left quarter) is drawn inside the edge.
    const int x = static_cast<int>(layout.gap) + 10;
    EXPECT_GT(image.at(x, y + 10)[2], 200);
    EXPECT_LT(image.at(x, y + 10)[1], 60);
  }
  EXPECT_EQ(cells, 5);
}
#endif

}  // namespace
