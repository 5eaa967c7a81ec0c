// The document side of the extension: pages in any unit, selection bounds,
// the splice that leaves every other byte alone, and the effect's failures
// that leave the document untouched.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "hostapp/inkscape/effect.h"
#include "hostapp/inkscape/svg_document.h"

namespace {

using inkscape::DocumentError;

std::string svgWith(const std::string& attributes, const std::string& inside = "") {
  return "<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" " + attributes + ">\n" + inside + "</svg>\n";
}

TEST(InkscapePage, SizesInEveryUnitWithAndWithoutAViewBox) {
  EXPECT_DOUBLE_EQ(inkscape::lengthInPoints("612pt"), 612);
  EXPECT_DOUBLE_EQ(inkscape::lengthInPoints("800"), 600);
  EXPECT_DOUBLE_EQ(inkscape::lengthInPoints("800px"), 600);
  EXPECT_DOUBLE_EQ(inkscape::lengthInPoints("25.4mm"), 72);
  EXPECT_DOUBLE_EQ(inkscape::lengthInPoints("2.54cm"), 72);
  EXPECT_DOUBLE_EQ(inkscape::lengthInPoints("1in"), 72);
  EXPECT_DOUBLE_EQ(inkscape::lengthInPoints("2pc"), 24);
  EXPECT_THROW(inkscape::lengthInPoints("10em"), DocumentError);
  EXPECT_THROW(inkscape::lengthInPoints("mm"), DocumentError);

  // A4 in millimetres: user units are millimetres.
  const auto a4 = inkscape::readPage(svgWith("width=\"210mm\" height=\"297mm\" viewBox=\"0 0 210 297\""));
  EXPECT_NEAR(a4.sizePoints.x, 595.2756, 1e-3);
  EXPECT_NEAR(a4.sizePoints.y, 841.8898, 1e-3);
  EXPECT_EQ(a4.viewWidth, 210);
  // No viewBox: user units are pixels.
  const auto px = inkscape::readPage(svgWith("width=\"800\" height=\"600\""));
  EXPECT_EQ(px.sizePoints.x, 600);
  EXPECT_EQ(px.viewWidth, 800);
  EXPECT_EQ(px.viewHeight, 600);
  // A viewBox alone: its size in pixels; a percentage defers to it.
  const auto box = inkscape::readPage(svgWith("width=\"100%\" viewBox=\"10 20 400 300\""));
  EXPECT_EQ(box.sizePoints.x, 300);
  EXPECT_EQ(box.viewX, 10);
  EXPECT_THROW(inkscape::readPage(svgWith("width=\"100\"")), DocumentError);
  EXPECT_THROW(inkscape::readPage(svgWith("viewBox=\"0 0 0 10\"")), DocumentError);
  EXPECT_THROW(inkscape::readPage("<html/>"), DocumentError);
}

TEST(InkscapePage, HostPointsMapOntoUserUnitsBothWays) {
  // A page in millimetres with its origin moved: the host's (0, 0) is the
  // bottom left corner, y up.
  const auto page = inkscape::readPage(svgWith("width=\"100mm\" height=\"50mm\" viewBox=\"5 7 100 50\""));
  const host::Point corner = inkscape::toHostPoint(page, 5, 57);
  EXPECT_NEAR(corner.x, 0, 1e-4);
  EXPECT_NEAR(corner.y, 0, 1e-4);
  const host::Point top = inkscape::toHostPoint(page, 105, 7);
  EXPECT_NEAR(top.x, page.sizePoints.x, 1e-3);
  EXPECT_NEAR(top.y, page.sizePoints.y, 1e-3);
  // The writer's page (points, origin top left) maps back to user units.
  double a, b, c, d, e, f;
  ASSERT_EQ(std::sscanf(inkscape::hostToUserTransform(page).c_str(), "matrix(%lf %lf %lf %lf %lf %lf)", &a, &b, &c, &d,
                        &e, &f),
            6);
  EXPECT_NEAR(a * page.sizePoints.x + e, 105, 1e-5);
  EXPECT_NEAR(d * page.sizePoints.y + f, 57, 1e-5);
  EXPECT_EQ(b, 0);
  EXPECT_EQ(c, 0);
}

TEST(InkscapeSelection, BoundsOfTheElementsAPickReads) {
  const std::string svg = svgWith("width=\"100\" height=\"100\"",
                                  "<rect id=\"r\" x=\"10\" y=\"20\" width=\"30\" height=\"40\"/>"
                                  "<circle id=\"c\" cx=\"50\" cy=\"50\" r=\"5\"/>"
                                  "<ellipse id=\"e\" cx=\"1\" cy=\"2\" rx=\"3\" ry=\"4\"/>"
                                  "<path id=\"p\" d=\"m 10,10 20,0 v 30 h -5 c 1 1 2 2 -40 3 z\"/>"
                                  "<rect id=\"t\" transform=\"rotate(3)\" width=\"1\" height=\"1\"/>"
                                  "<g id=\"g\"/>");
  const auto r = inkscape::elementBounds(svg, "r");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->left, 10);
  EXPECT_EQ(r->bottom, 60);
  const auto c = inkscape::elementBounds(svg, "c");
  ASSERT_TRUE(c);
  EXPECT_EQ(c->left, 45);
  EXPECT_EQ(c->right, 55);
  EXPECT_EQ(inkscape::elementBounds(svg, "e")->top, -2);
  const auto p = inkscape::elementBounds(svg, "p");
  ASSERT_TRUE(p);
  EXPECT_EQ(p->left, -15);  // the curve's end: 25 - 40
  EXPECT_EQ(p->right, 30);
  EXPECT_EQ(p->top, 10);
  EXPECT_EQ(p->bottom, 43);
  EXPECT_FALSE(inkscape::elementBounds(svg, "t"));
  EXPECT_FALSE(inkscape::elementBounds(svg, "g"));
  EXPECT_FALSE(inkscape::elementBounds(svg, "missing"));
}

TEST(InkscapeSplice, EverythingOutsideTheNewElementStaysByteForByte) {
  const std::string head = "<?xml version='1.0'?>\r\n<!-- a -->\n<svg:svg xmlns:svg=\"http://www.w3.org/2000/svg\"\n width='1in' height='1in'>\n<svg:rect id='x'/>\n";
  const std::string tail = "</svg:svg >\n<!-- after -->\n<?pi x?>\n";
  const std::string spliced = inkscape::spliceBeforeRootEnd(head + tail, "<g/>");
  EXPECT_EQ(spliced, head + "<g/>" + tail);
  EXPECT_THROW(inkscape::spliceBeforeRootEnd("<svg><g></g>", "<g/>"), DocumentError);
  EXPECT_THROW(inkscape::spliceBeforeRootEnd("<svg/>", "<g/>"), DocumentError);
  EXPECT_EQ(inkscape::freeIdPrefix("<svg id=\"spiral1-layer\"><g id='spiral2-x'/></svg>"), "spiral3-");
}

class InkscapeEffect : public ::testing::Test {
 protected:
  std::string write(const std::string& text) {
    const std::string path = ::testing::TempDir() + "inkscape_effect_" +
                             ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".svg";
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  int run(const std::vector<std::string>& args, std::string& out, std::string& err) {
    inkscape::EffectOptions options;
    std::vector<std::string> all = {std::string("--plugin=") + SPIRAL_PLUGIN_FILE};
    all.insert(all.end(), args.begin(), args.end());
    const std::string problem = inkscape::parseEffectArguments(all, options);
    if (!problem.empty()) {
      err = problem;
      return 2;
    }
    std::ostringstream o, e;
    const int status = inkscape::runEffect(options, o, e);
    out = o.str(), err = e.str();
    return status;
  }
};

TEST_F(InkscapeEffect, AddsOneGroupAndLeavesTheRestOfTheDocumentAsItWas) {
  const std::string head = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"612pt\" height=\"792pt\" viewBox=\"0 0 612 792\">\n  <rect id=\"r\" x=\"1\" y=\"2\" width=\"3\" height=\"4\"/>\n";
  const std::string path = write(head + "</svg>\n");
  std::string out, err;
  ASSERT_EQ(run({"--armCount=10", "--tab=page1", "--seed=3", path}, out, err), 0) << err;
  ASSERT_EQ(out.compare(0, head.size(), head), 0);
  EXPECT_EQ(out.substr(out.size() - 7), "</svg>\n");
  const std::string added = out.substr(head.size(), out.size() - head.size() - 7);
  EXPECT_EQ(added.rfind("  <g xmlns:inkscape=", 0), 0u);
  EXPECT_NE(added.find("<metadata id=\"spiral-drawing\">"), std::string::npos);
  EXPECT_NE(added.find("\"seed\":3"), std::string::npos);
  EXPECT_NE(added.find("<path id=\"spiral1-art-1\""), std::string::npos);
  // newLayer asks for a layer rather than a group.
  ASSERT_EQ(run({"--newLayer=true", path}, out, err), 0) << err;
  EXPECT_NE(out.find("inkscape:groupmode=\"layer\""), std::string::npos);
}

// Swatches as Inkscape writes them (a solid-swatch gradient with one stop),
// the colour in the stop's style or attribute; gradients that are not
// swatches and colours that are not #rgb/#rrggbb are passed over.
TEST(InkscapeSwatches, TheDocumentsSwatchesAreItsPalette) {
  const std::string svg =
      "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\">\n"
      "<defs>\n"
      "  <linearGradient id=\"a\" inkscape:swatch=\"solid\" inkscape:label=\"Brick\">\n"
      "    <stop style=\"stop-opacity:1; stop-color: #aa2200\" offset=\"0\"/>\n  </linearGradient>\n"
      "  <linearGradient id=\"b\" osb:paint=\"solid\" xmlns:osb=\"http://www.openswatchbook.org/uri/2009/osb\">"
      "<stop stop-color=\"#0F0\"/></linearGradient>\n"
      "  <linearGradient id=\"fade\"><stop style=\"stop-color:#123456\"/><stop style=\"stop-color:#654321\"/></linearGradient>\n"
      "  <linearGradient id=\"c\" inkscape:swatch=\"solid\"><stop style=\"stop-color:red\"/></linearGradient>\n"
      "  <linearGradient id=\"d\" inkscape:swatch=\"gradient\"><stop style=\"stop-color:#ffffff\"/></linearGradient>\n"
      "</defs></svg>\n";
  const std::vector<host::PaletteEntry> swatches = inkscape::readSwatches(svg);
  ASSERT_EQ(swatches.size(), 2u);
  EXPECT_EQ(swatches[0].name, "Brick");
  EXPECT_FLOAT_EQ(swatches[0].r, 0xaa / 255.0f);
  EXPECT_FLOAT_EQ(swatches[0].g, 0x22 / 255.0f);
  EXPECT_FLOAT_EQ(swatches[0].b, 0.0f);
  EXPECT_EQ(swatches[1].name, "b");
  EXPECT_FLOAT_EQ(swatches[1].g, 1.0f);
  EXPECT_TRUE(inkscape::readSwatches("<svg><defs><linearGradient inkscape:swatch=\"solid\">").empty());
}

// With random fill swatches, the spirals take the document's swatch colours.
TEST_F(InkscapeEffect, RandomSwatchesComeFromTheDocument) {
  const std::string path = write(
      "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\" "
      "width=\"612pt\" height=\"792pt\" viewBox=\"0 0 612 792\"><defs>"
      "<linearGradient id=\"s1\" inkscape:swatch=\"solid\"><stop style=\"stop-color:#13579b\"/></linearGradient>"
      "</defs></svg>\n");
  std::string out, err;
  ASSERT_EQ(run({"--randomFillSwatch=true", "--spiralCount=6", "--seed=2", path}, out, err), 0) << err;
  EXPECT_NE(out.find("fill=\"#13579b\""), std::string::npos) << out;
}

TEST_F(InkscapeEffect, AFailureWritesNothingAndSaysWhy) {
  const std::string path = write("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100\" height=\"100\"></svg>");
  std::string out, err;
  EXPECT_EQ(run({"--noSuchField=1", path}, out, err), 2);
  EXPECT_TRUE(out.empty());
  EXPECT_NE(err.find("noSuchField"), std::string::npos);
  EXPECT_EQ(run({"--armCount=1000", path}, out, err), 2);  // beyond the field's range
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(run({"--seed=-1", path}, out, err), 2);
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(run({"--preset=9999", path}, out, err), 2);
  EXPECT_TRUE(out.empty());
  EXPECT_FALSE(err.empty());
  const std::string bad = write("<svg width=\"1km\" height=\"1\"></svg>");
  EXPECT_EQ(run({bad}, out, err), 2);
  EXPECT_TRUE(out.empty());
  EXPECT_NE(err.find("1km"), std::string::npos);
  EXPECT_EQ(run({"--armCount"}, out, err), 2);
}

}  // namespace
