// Drawings through the built spiral-host: the record in the SVG re-makes a
// drawing byte for byte, PNG and PDF pictures of it, messages for refused
// calls and unknown --fail names, and progress only on a terminal.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "hostapp/model/geometry.h"
#include "hostapp/records/svg_metadata.h"
#include "support/run_host.h"

#ifdef SPIRAL_HAVE_RSVG
#include <cairo.h>
#endif

namespace {

HostRun spiralHost(const std::string& arguments, const std::string& tag) {
  return runSpiralHost(arguments + pluginOption(), "drawing-" + tag);
}

std::string quoted(const std::string& path) { return " '" + path + "'"; }

// --set options of a random record a user could draw: a few spirals of
// every structure, placement, offset and colour option.
std::string randomSets(std::mt19937_64& rng) {
  auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
  auto real = [&](double low, double high) { return std::uniform_real_distribution<double>(low, high)(rng); };
  std::string sets = " --set spiralCount=" + std::to_string(pick(1, 4)) + " --set armCount=" +
                     std::to_string(pick(1, 30)) + " --set spiralStructure=" + std::to_string(pick(0, 28)) +
                     " --set placementMode=" + std::to_string(pick(0, 7)) + " --set offsetCount=" +
                     std::to_string(pick(0, 3)) + " --set offsetMode=" + std::to_string(pick(0, 19)) +
                     " --set sketchRepeats=" + std::to_string(pick(0, 2)) + " --set sketchColorMode=" +
                     std::to_string(pick(0, 11));
  for (const char* name : {"decay", "armGap", "spiralAngle", "curvature1", "pointShiftX", "spiralOffsetX"}) {
    sets += " --set " + std::string(name) + "=" + std::to_string(real(name[0] == 'd' ? 80 : -40, 120));
  }
  for (const char* name : {"randomFill", "randomStroke", "randomAngle", "randomCurve", "basicPattern", "dropShadow",
                           "randomWarp", "symbolize", "newLayer", "preview", "closeSpiral"}) {
    sets += " --set " + std::string(name) + "=" + std::to_string(pick(0, 3) == 0 ? 1 : 0);
  }
  return sets;
}

TEST(DrawingRemake, TheSvgRemakesItselfByteForByte) {
  std::mt19937_64 rng(20261208);
  const char* models[] = {"gray", "rgb", "cmyk"};
  for (int c = 0; c < 8; ++c) {
    const std::string first = temp("spiral-remake-" + std::to_string(c) + "-a.svg");
    const std::string again = temp("spiral-remake-" + std::to_string(c) + "-b.svg");
    // Half the cases seeded from the clock: the SVG must still know its seed.
    const std::string seed = c % 2 ? " --seed " + std::to_string(rng()) : "";
    const std::string flow = c % 3 == 2 ? " --no-dialog" : "";
    const std::string setup = std::string(" --color-model ") + models[c % 3] + (c % 4 == 3 ? " --page 400,300" : "");
    const HostRun a = spiralHost("draw" + seed + flow + setup + randomSets(rng) + " --svg" + quoted(first), "remake-a");
    ASSERT_NE(a.status, 2) << a.err;
    const HostRun b = spiralHost("draw --params" + quoted(first) + flow + " --svg" + quoted(again), "remake-b");
    ASSERT_EQ(b.status, a.status) << b.err;
    const std::string made = slurp(first);
    ASSERT_NE(made.find("<metadata id=\"spiral-drawing\">"), std::string::npos);
    EXPECT_TRUE(made == slurp(again)) << "case " << c << ": " << first << " and " << again << " differ";
  }
}

// A drawing opened and saved by a vector editor (Inkscape, as Inkscape SVG
// and as plain SVG: it rewrites the whole file, the metadata element
// spread over lines with its quotes as entities) is still re-made byte for
// byte. Runs where Inkscape is installed.
TEST(DrawingRemake, ADrawingSavedByInkscapeRemakesItself) {
  if (std::system("command -v inkscape >/dev/null 2>&1") != 0) GTEST_SKIP() << "Inkscape is not installed";
  const std::string home = temp("spiral-inkscape-home");
  std::mt19937_64 rng(20261209);
  for (int c = 0; c < 2; ++c) {
    const std::string first = temp("spiral-inkscape-" + std::to_string(c) + ".svg");
    const HostRun a = spiralHost("draw --seed " + std::to_string(c + 3) + randomSets(rng) + " --svg" + quoted(first),
                                 "inkscape-a");
    ASSERT_EQ(a.status, 0) << a.err;
    for (const std::string form : {"", " --export-plain-svg"}) {
      const std::string saved = temp("spiral-inkscape-saved.svg"), again = temp("spiral-inkscape-again.svg");
      std::remove(saved.c_str());
      const std::string save = "HOME=" + home + " inkscape" + quoted(first) + form + " --export-filename=" +
                               quoted(saved).substr(1) + " >/dev/null 2>&1";
      ASSERT_EQ(std::system(save.c_str()), 0) << save;
      ASSERT_NE(slurp(saved), slurp(first)) << "Inkscape rewrites the file";
      const HostRun b = spiralHost("draw --params" + quoted(saved) + " --svg" + quoted(again), "inkscape-b");
      ASSERT_EQ(b.status, 0) << b.err;
      EXPECT_TRUE(slurp(first) == slurp(again)) << "case " << c << form << ": " << saved;
    }
  }
}

TEST(DrawingRemake, TheCommandLineComesBeforeTheDrawing) {
  const std::string first = temp("spiral-remake-override-a.svg");
  const std::string second = temp("spiral-remake-override-b.svg");
  ASSERT_EQ(spiralHost("draw --seed 9 --set armCount=6 --color-model gray --svg" + quoted(first), "over-a").status, 0);
  const HostRun b = spiralHost("draw --params" + quoted(first) +
                                   " --seed 10 --set spiralCount=2 --page 300,200 --svg" + quoted(second),
                               "over-b");
  ASSERT_EQ(b.status, 0) << b.err;
  const records::DrawingMetadata m = records::readSvgMetadata(slurp(second), second);
  EXPECT_EQ(m.seed, 10u);
  EXPECT_EQ(m.record.armCount, 6) << "from the drawing";
  EXPECT_EQ(m.record.spiralCount, 2) << "from --set";
  EXPECT_EQ(m.page, (host::Point{300, 200}));
  EXPECT_EQ(m.colorModel, host::ColorModel::Gray) << "from the drawing";
  EXPECT_EQ(m.pluginName, "Spiral");
  EXPECT_EQ(m.pluginVersion, "1.0.0");
}

TEST(DrawingRemake, ASvgWithoutOrWithDamagedMetadataIsOneLineAndStatusTwo) {
  const std::string plain = temp("spiral-remake-plain.svg");
  { std::FILE* f = std::fopen(plain.c_str(), "w"); std::fputs("<svg xmlns=\"http://www.w3.org/2000/svg\"/>\n", f); std::fclose(f); }
  const std::string made = temp("spiral-remake-damaged.svg");
  ASSERT_EQ(spiralHost("draw --seed 1 --svg" + quoted(made), "damaged-a").status, 0);
  std::string text = slurp(made);
  text.replace(text.find("\"armCount\":"), 11, "\"armCount\":\"x\",\"y\":");
  { std::FILE* f = std::fopen(made.c_str(), "w"); std::fputs(text.c_str(), f); std::fclose(f); }
  const std::string out = temp("spiral-remake-never.svg");
  std::remove(out.c_str());
  for (const std::string& drawing : {plain, made, temp("spiral-remake-missing.svg")}) {
    const HostRun run = spiralHost("draw --params" + quoted(drawing) + " --svg" + quoted(out), "damaged-b");
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_TRUE(slurp(out).empty()) << "nothing is drawn";
  }
}

std::string pdfInfo(const std::string& pdf) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(("pdfinfo '" + pdf + "' 2>&1").c_str(), "r"), pclose);
  std::string text;
  char buf[256];
  while (pipe && std::fgets(buf, sizeof buf, pipe.get())) text += buf;
  return text;
}

#ifdef SPIRAL_HAVE_RSVG
// The pixels drawn (darker than near-white) of a PNG lie within the art's
// tight bounds (widened by the stroke) and reach out to them.
TEST(DrawingPictures, PngPixelsLieWhereTheArtsBoundsSay) {
  const std::string png = temp("spiral-picture.png");
  const std::string json = temp("spiral-picture.json");
  const HostRun run = spiralHost("draw --seed 4 --set spiralCount=3 --set placementMode=2 --set armCount=5"
                                 " --page 500,400 --dpi 144 --png" + quoted(png) + " --json" + quoted(json),
                                 "png");
  ASSERT_EQ(run.status, 0) << run.err;
  const nlohmann::json dump = nlohmann::json::parse(slurp(json));
  host::Rect bounds{};
  bool any = false;
  float width = 0;
  for (const auto& art : dump.at("art")) {
    std::vector<host::Segment> segs;
    for (const auto& s : art.at("segments"))
      segs.push_back({{s[0], s[1]}, {s[2], s[3]}, {s[4], s[5]}});
    const host::Rect b = host::segmentBounds(segs, art.at("closed"));
    bounds = any ? host::unite(bounds, b) : b;
    any = true;
    width = std::max(width, art.at("strokeWidth").get<float>());
  }
  ASSERT_TRUE(any);

  std::unique_ptr<cairo_surface_t, void (*)(cairo_surface_t*)> image(
      cairo_image_surface_create_from_png(png.c_str()), cairo_surface_destroy);
  ASSERT_EQ(cairo_surface_status(image.get()), CAIRO_STATUS_SUCCESS);
  ASSERT_EQ(cairo_image_surface_get_width(image.get()), 1000);
  ASSERT_EQ(cairo_image_surface_get_height(image.get()), 800);
  const unsigned char* data = cairo_image_surface_get_data(image.get());
  const int stride = cairo_image_surface_get_stride(image.get());
  int minX = 1 << 20, minY = 1 << 20, maxX = -1, maxY = -1;
  for (int y = 0; y < 800; ++y) {
    for (int x = 0; x < 1000; ++x) {
      const unsigned char* p = data + y * stride + x * 4;
      if (p[0] > 200 && p[1] > 200 && p[2] > 200) continue;
      minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y), maxY = std::max(maxY, y);
    }
  }
  ASSERT_GE(maxX, 0) << "nothing drawn";
  // Artwork y points up: the top of the bounds is the smallest pixel row.
  // Art beyond the page is cut at its edge.
  const double scale = 2, margin = width * scale + 2;
  auto clamped = [](double v, double high) { return std::clamp(v, 0.0, high); };
  EXPECT_NEAR(minX, clamped(bounds.left * scale, 1000), margin);
  EXPECT_NEAR(maxX + 1, clamped(bounds.right * scale, 1000), margin);
  EXPECT_NEAR(minY, clamped((400 - bounds.top) * scale, 800), margin);
  EXPECT_NEAR(maxY + 1, clamped((400 - bounds.bottom) * scale, 800), margin);
}

TEST(DrawingPictures, PdfOpensWithOnePageOfThePageSize) {
  const std::string pdf = temp("spiral-picture.pdf");
  const HostRun run = spiralHost("draw --seed 2 --page 400,300 --pdf" + quoted(pdf), "pdf");
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string info = pdfInfo(pdf);
  if (info.find("not found") != std::string::npos) GTEST_SKIP() << "pdfinfo is not installed";
  EXPECT_NE(info.find("Pages:           1"), std::string::npos) << info;
  EXPECT_NE(info.find("Page size:       400 x 300 pts"), std::string::npos) << info;
}

// librsvg and cairo are loaded for pictures alone: with a broken librsvg
// first on the library path a drawing without pictures is made as ever,
// and one with a picture ends before drawing with one line saying why.
TEST(DrawingPictures, TheRendererLoadsOnlyForPictures) {
  const std::string folder = temp("spiral-broken-librsvg");
  ASSERT_EQ(std::system(("rm -rf '" + folder + "' && mkdir -p '" + folder + "' && : >'" + folder + "/librsvg-2.so.2'").c_str()), 0);
  const std::string plain = temp("spiral-without-renderer.svg"), reference = temp("spiral-with-renderer.svg");
  const std::string png = folder + "/a.png";
  ASSERT_EQ(spiralHost("draw --seed 4 --no-dialog --svg" + quoted(reference), "renderer-reference").status, 0);
  const char* old = std::getenv("LD_LIBRARY_PATH");
  const std::string saved = old ? old : "";
  setenv("LD_LIBRARY_PATH", folder.c_str(), 1);
  const HostRun drawn = spiralHost("draw --seed 4 --no-dialog --svg" + quoted(plain), "renderer-absent-svg");
  const HostRun pictured = spiralHost("draw --seed 4 --no-dialog --png" + quoted(png), "renderer-absent-png");
  if (old) setenv("LD_LIBRARY_PATH", saved.c_str(), 1);
  else unsetenv("LD_LIBRARY_PATH");
  EXPECT_EQ(drawn.status, 0) << drawn.err;
  EXPECT_EQ(slurp(plain), slurp(reference));
  EXPECT_EQ(pictured.status, 2);
  EXPECT_NE(pictured.err.find("cannot load librsvg and cairo (" + folder + "/librsvg-2.so.2"), std::string::npos)
      << pictured.err;
  EXPECT_NE(pictured.err.find("--png and --pdf are not available"), std::string::npos) << pictured.err;
  EXPECT_EQ(std::count(pictured.err.begin(), pictured.err.end(), '\n'), 1) << pictured.err;
  EXPECT_TRUE(slurp(png).empty());
}

// Every refusal comes before the plug-in runs (no dialog is shown): one
// line naming the limit, status 2, no file.
TEST(DrawingPictures, PicturesBeyondTheirLimitsAreRefusedBeforeDrawing) {
  const std::string png = temp("spiral-picture-refused.png");
  const std::string pdf = temp("spiral-picture-refused.pdf");
  const std::pair<std::string, std::string> cases[] = {
      {"--page 20000,100 --dpi 200 --png" + quoted(png), "32767 pixels a side"},
      {"--page 20000,20000 --dpi 100 --png" + quoted(png), "27778 x 27778 pixels (771617284) is beyond the limit of 268435456"},
      {"--memory-budget 4000000 --dpi 144 --png" + quoted(png), "1224 x 1584 pixels needs about 7.4 MiB, beyond the 3.8 MiB"},
      {"--page 9e6,9e6 --pdf" + quoted(pdf), "8388607 points a side"},
      {"--dpi nan --png" + quoted(png), "--dpi: needs a number from 1 to 2400, got 'nan'"},
      {"--dpi -nan --png" + quoted(png), "got '-nan'"},
      {"--dpi inf --png" + quoted(png), "got 'inf'"},
      {"--dpi 1e400 --png" + quoted(png), "got '1e400'"},
  };
  for (const auto& [arguments, message] : cases) {
    std::remove(png.c_str());
    std::remove(pdf.c_str());
    const HostRun run = spiralHost("draw --seed 1 " + arguments, "picture-refused");
    EXPECT_EQ(run.status, 2) << arguments << ": " << run.err;
    EXPECT_NE(run.err.find(message), std::string::npos) << arguments << ": " << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << arguments << ": " << run.err;
    EXPECT_TRUE(slurp(png).empty() && slurp(pdf).empty()) << arguments;
  }
}

// The budget counts the renderer for the drawing's SVG once it is drawn: a
// refusal then leaves neither the picture nor a temporary beside it.
TEST(DrawingPictures, ARendererBeyondTheBudgetIsRefusedWithoutLeavingFiles) {
  const std::string folder = temp("spiral-picture-budget");
  std::system(("rm -rf '" + folder + "' && mkdir -p '" + folder + "'").c_str());
  const HostRun run = spiralHost("draw --seed 1 --memory-budget 10000000 --png" + quoted(folder + "/a.png") +
                                     " --svg" + quoted(folder + "/a.svg"),
                                 "picture-budget");
  EXPECT_EQ(run.status, 2) << run.err;
  EXPECT_NE(run.err.find("--png: a PNG of 612 x 792 pixels needs about"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("for rendering a"), std::string::npos) << run.err;
  std::unique_ptr<FILE, int (*)(FILE*)> ls(popen(("ls -A '" + folder + "'").c_str(), "r"), pclose);
  char name[256];
  std::string names;
  while (ls && std::fgets(name, sizeof name, ls.get())) names += name;
  EXPECT_EQ(names, "") << "nothing written, no temporary left";
}

TEST(DrawingPictures, PdfPagesUpToCairosLimit) {
  const std::string pdf = temp("spiral-picture-wide.pdf");
  const HostRun run = spiralHost("draw --seed 2 --page 8e6,8e6 --pdf" + quoted(pdf), "pdf-wide");
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string info = pdfInfo(pdf);
  if (info.find("not found") != std::string::npos) GTEST_SKIP() << "pdfinfo is not installed";
  EXPECT_NE(info.find("Page size:       8e+06 x 8e+06 pts"), std::string::npos) << info;
}

// Spirals drawn wholly far off the page are left out of the picture's SVG:
// the PNG takes about as long as the SVG (rendering them took about a
// minute).
TEST(DrawingPictures, ArtFarOffThePageIsNotRendered) {
  const std::string png = temp("spiral-picture-far.png");
  const auto start = std::chrono::steady_clock::now();
  const HostRun run = spiralHost("draw --seed 5 --no-dialog --set centerX=5e6 --set centerY=5e6 --set scaleH=1e6"
                                 " --set scaleV=1e6 --set spiralCount=10 --dpi 300 --png" + quoted(png),
                                 "png-far");
  const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_LT(seconds, 20) << "it used to take about a minute";
  EXPECT_EQ(slurp(png).substr(1, 3), "PNG");
}

// Spirals scaled so far that they circle the page thousands of pages out:
// what passes the page is drawn, the unseen miles are not flattened.
TEST(DrawingPictures, ArtFarLargerThanThePageRendersWhatIsSeen) {
  const std::string png = temp("spiral-picture-huge.png");
  const auto start = std::chrono::steady_clock::now();
  const HostRun run = spiralHost("draw --seed 1 --no-dialog --set scaleH=1e7 --set scaleV=1e7 --set spiralCount=10"
                                 " --set randomFill=1 --dpi 300 --png" + quoted(png),
                                 "png-huge");
  const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_LT(seconds, 20) << "it used to run for minutes";
  EXPECT_EQ(slurp(png).substr(1, 3), "PNG");
}
#endif

TEST(RefusedCalls, TheHostSaysWhichCallOnWhichArtAndSegmentAndWhy) {
  const HostRun run = spiralHost("draw --seed 1 --set armCount=77 --set decayAccumulate=120.5 --set preview=0",
                                 "refused");
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_NE(run.err.find("PAR?"), std::string::npos) << "the plug-in's error dialog stays: " << run.err;
  EXPECT_NE(run.err.find("the host refused AI Path Suite/SetPathSegments on art "), std::string::npos) << run.err;
  EXPECT_NE(run.err.find(", segment "), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("not finite"), std::string::npos) << run.err;
}

TEST(RefusedCalls, FailWithAnUnknownSuiteOrOperationIsAUsageError) {
  for (const char* spec : {"foo/bar=1", "AI Path Suite/Bogus=1", "AI Path Suite/GetPathSegments=1x"}) {
    const HostRun run = spiralHost(std::string("draw --fail '") + spec + "'", "fail-unknown");
    EXPECT_EQ(run.status, 2) << spec << ": " << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
  }
  const HostRun known = spiralHost("draw --fail 'AI Path Suite/SetPathSegments=-108'", "fail-known");
  EXPECT_EQ(known.status, 1) << known.err;
}

// Progress shows on a terminal (script(1) gives the run one) and nowhere
// else; SPIRAL_PROGRESS_DELAY_MS=0 shows it from the start, whatever the
// machine's speed.
TEST(Progress, OnlyOnATerminal) {
  const std::string longRun = " draw --seed 3 --no-dialog --set spiralCount=40 --set armCount=2400"
                              " --set offsetCount=12 --set spiralOffsetX=2 --svg /dev/null";
  ::setenv("SPIRAL_PROGRESS_DELAY_MS", "0", 1);
  const HostRun plain = spiralHost(longRun, "progress-plain");
  ASSERT_EQ(plain.status, 0) << plain.err;
  EXPECT_EQ(plain.err.find("drawing spiral"), std::string::npos) << plain.err;

  if (std::system("script -V >/dev/null 2>&1") != 0) GTEST_SKIP() << "script(1) is not installed";
  const std::string log = temp("spiral-progress-tty.txt");
  const std::string command = "script -qec \"'" + std::string(SPIRAL_HOST_EXE) + "'" +
                              longRun + pluginOption() + "\" /dev/null >'" + log + "' 2>&1";
  const int status = std::system(command.c_str());
  ::unsetenv("SPIRAL_PROGRESS_DELAY_MS");
  ASSERT_EQ(status, 0);
  const std::string shown = slurp(log);
  EXPECT_NE(shown.find("drawing spiral"), std::string::npos) << shown;
  EXPECT_NE(shown.find(" of 40"), std::string::npos) << shown;
}

}  // namespace
