// Sizes and pictures through the built spiral-host: pages in units and by
// name, a PNG's size in pixels and its background, the SVG's background
// when asked, and the presets' contact sheet.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "hostapp/render/contact_sheet.h"
#include "hostapp/render/svg_render.h"
#include "support/run_host.h"

namespace {

HostRun spiralHost(const std::string& arguments, const std::string& tag) {
  return runSpiralHost(arguments + pluginOption(), "pictures-" + tag);
}

std::string arg(const std::string& path) { return " '" + path + "'"; }

bool mentions(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

const std::string kSmall = "draw --seed 3 --set spiralCount=2 --set armCount=4";

TEST(PageOption, UnitsAndNamesMakeTheSameDrawingAsPoints) {
  const std::string points = temp("spiral-units-points.svg"), inches = temp("spiral-units-inches.svg");
  const std::string named = temp("spiral-units-named.svg"), side = temp("spiral-units-side.svg");
  ASSERT_EQ(spiralHost(kSmall + " --page 612,792 --svg" + arg(points), "points").status, 0);
  ASSERT_EQ(spiralHost(kSmall + " --page 8.5in,11in --svg" + arg(inches), "inches").status, 0);
  ASSERT_EQ(spiralHost(kSmall + " --page letter --svg" + arg(named), "named").status, 0);
  EXPECT_EQ(slurp(points), slurp(inches));
  EXPECT_EQ(slurp(points), slurp(named));
  const HostRun run = spiralHost(kSmall + " --page A4-landscape --svg" + arg(side), "a4");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(mentions(slurp(side), "width=\"841.89pt\" height=\"595.276pt\"")) << slurp(side).substr(0, 200);
}

TEST(PageOption, RefusalNamesTheAcceptedForms) {
  const std::string svg = temp("spiral-units-refused.svg");
  for (const char* page : {"A6", "1px,1px", "612"}) {
    std::remove(svg.c_str());
    const HostRun run = spiralHost(kSmall + " --page '" + page + "' --svg" + arg(svg), "refused");
    EXPECT_EQ(run.status, 2) << page;
    EXPECT_TRUE(mentions(run.err, "--page needs W,H")) << run.err;
    EXPECT_TRUE(mentions(run.err, "A5, A4, A3, Letter, Legal, Tabloid")) << run.err;
    EXPECT_TRUE(mentions(run.err, std::string("got '") + page + "'")) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_TRUE(slurp(svg).empty()) << page;
  }
}

// Width, height and colour type from a PNG's IHDR chunk.
struct Header {
  unsigned width = 0, height = 0;
  int colourType = -1;
  bool operator==(const Header&) const = default;
};
Header pngHeader(const std::string& png) {
  if (png.size() < 26 || png.substr(12, 4) != "IHDR") return {};
  auto word = [&](std::size_t at) {
    unsigned v = 0;
    for (std::size_t k = 0; k < 4; ++k) v = v << 8 | static_cast<unsigned char>(png[at + k]);
    return v;
  };
  return {word(16), word(20), static_cast<unsigned char>(png[25])};
}

TEST(PngOptions, SizeInPixelsAndBackground) {
  if (!render::available()) GTEST_SKIP() << "built without librsvg and cairo";
  const std::string png = temp("spiral-png-size.png");
  const std::pair<std::string, Header> cases[] = {
      {"", {612, 792, 2}},
      {" --width 300", {300, 388, 2}},
      {" --width 1000 --height 1000", {773, 1000, 2}},
      {" --page A4,landscape --height 100", {141, 100, 2}},
      {" --width 50 --background none", {50, 65, 6}},
      {" --width 50 --background '#FFEE00'", {50, 65, 2}},
  };
  for (const auto& [arguments, header] : cases) {
    std::remove(png.c_str());
    const HostRun run = spiralHost(kSmall + arguments + " --png" + arg(png), "png");
    ASSERT_EQ(run.status, 0) << arguments << ": " << run.err;
    EXPECT_EQ(pngHeader(slurp(png)), header) << arguments;
  }
}

TEST(PngOptions, RefusedTogetherWithDpiOrOutOfRange) {
  const std::string png = temp("spiral-png-refused.png");
  const std::pair<std::string, std::string> cases[] = {
      {" --width 300 --dpi 100", "excludes"},
      {" --dpi 100 --height 300", "excludes"},
      {" --width 0", "needs a whole number from 1 to 32767, got '0'"},
      {" --page 100,10000 --width 400", "400 x 40000 pixels is beyond the limit of 32767 pixels a side"},
      {" --background black", "--background: needs none, white or #rrggbb, got 'black'"},
  };
  for (const auto& [arguments, message] : cases) {
    std::remove(png.c_str());
    const HostRun run = spiralHost(kSmall + arguments + " --png" + arg(png), "png-refused");
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_TRUE(mentions(run.err, message)) << arguments << ": " << run.err;
    EXPECT_TRUE(slurp(png).empty()) << arguments;
  }
}

TEST(SvgBackground, OnlyWhenAColourIsAsked) {
  const std::string plain = temp("spiral-bg-plain.svg"), none = temp("spiral-bg-none.svg");
  const std::string coloured = temp("spiral-bg-colour.svg");
  ASSERT_EQ(spiralHost(kSmall + " --svg" + arg(plain), "bg-plain").status, 0);
  ASSERT_EQ(spiralHost(kSmall + " --background none --svg" + arg(none), "bg-none").status, 0);
  ASSERT_EQ(spiralHost(kSmall + " --page 400,300 --background '#A0b0C0' --svg" + arg(coloured), "bg").status, 0);
  EXPECT_EQ(slurp(plain), slurp(none));
  EXPECT_FALSE(mentions(slurp(plain), "<rect"));
  const std::string svg = slurp(coloured);
  const std::size_t rect = svg.find("<rect id=\"background\" width=\"400\" height=\"300\" fill=\"#a0b0c0\"/>");
  ASSERT_NE(rect, std::string::npos) << svg.substr(0, 400);
  EXPECT_LT(rect, svg.find("<path")) << "under the drawing";
}

// The presets' names as `spiral-host presets` lists them.
std::vector<std::string> presetNames() {
  const HostRun run = spiralHost("presets", "list");
  std::vector<std::string> names;
  std::size_t at = 0;
  while (at < run.out.size()) {
    const std::size_t end = run.out.find('\n', at);
    const std::string line = run.out.substr(at, end - at);
    if (const std::size_t tab = line.find('\t'); tab != std::string::npos) names.push_back(line.substr(tab + 1));
    at = end == std::string::npos ? run.out.size() : end + 1;
  }
  return names;
}

TEST(PresetSheet, DrawsTheNamedPresetsInAGrid) {
  if (!render::available()) GTEST_SKIP() << "built without librsvg and cairo";
  const std::vector<std::string> names = presetNames();
  ASSERT_GE(names.size(), 3u);
  std::string shouted = names[2];
  std::transform(shouted.begin(), shouted.end(), shouted.begin(), [](unsigned char c) { return std::toupper(c); });
  const std::string sheet = temp("spiral-sheet.png");
  std::remove(sheet.c_str());
  const HostRun run = spiralHost("presets --sheet" + arg(sheet) + " 0 1" + arg(shouted) + " 0", "sheet");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const render::SheetLayout layout = render::sheetLayout(4, 612, 792);
  EXPECT_EQ(pngHeader(slurp(sheet)), (Header{static_cast<unsigned>(std::ceil(layout.width)),
                                             static_cast<unsigned>(std::ceil(layout.height)), 2}));
  // A PDF sheet of the same presets: one page of the same size in points.
  const std::string pdf = temp("spiral-sheet.pdf");
  ASSERT_EQ(spiralHost("presets --sheet" + arg(pdf) + " 0 1", "sheet-pdf").status, 0);
  EXPECT_EQ(slurp(pdf).substr(0, 5), "%PDF-");
}

TEST(PresetSheet, RefusesUnknownPresetsAndFileKinds) {
  const std::string sheet = temp("spiral-sheet-refused.png");
  std::remove(sheet.c_str());
  const std::pair<std::string, std::string> cases[] = {
      {"presets --sheet" + arg(sheet) + " 'no such preset'", "there is no preset 'no such preset'"},
      {"presets --sheet" + arg(sheet) + " 100000", "there is no preset 100000"},
      {"presets --sheet" + arg(temp("spiral-sheet.svg")), "--sheet needs a file ending in .png or .pdf"},
      {"presets 0 1", "names requires --sheet"},
  };
  for (const auto& [arguments, message] : cases) {
    const HostRun run = spiralHost(arguments, "sheet-refused");
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_TRUE(mentions(run.err, message)) << arguments << ": " << run.err;
  }
  EXPECT_TRUE(slurp(sheet).empty());
}

}  // namespace
