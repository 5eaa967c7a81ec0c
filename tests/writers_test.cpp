#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "hostapp/model/document.h"
#include "hostapp/writers/json_writer.h"
#include "hostapp/writers/svg_writer.h"

namespace {

using host::Color;

TEST(JsonNumbers, ReadBackToTheSameFloat) {
  for (float v : {0.1f, -171.47499f, 108.92781f, 1e-7f, 3.4028235e38f, 16777217.0f, -0.0f}) {
    const nlohmann::json printed = writers::exactNumber(v);
    const nlohmann::json reread = nlohmann::json::parse(printed.dump());
    EXPECT_EQ(static_cast<float>(reread.get<double>()), v) << printed.dump();
    EXPECT_LE(printed.dump().size(), 15u) << "short form: " << printed.dump();
  }
  EXPECT_TRUE(writers::exactNumber(std::numeric_limits<float>::quiet_NaN()).is_null());
  EXPECT_TRUE(writers::exactNumber(-std::numeric_limits<float>::infinity()).is_null());
}

TEST(SvgColours, ConvertedToSrgb) {
  using Rgb = std::array<double, 3>;
  EXPECT_EQ(writers::colorToSrgb(Color::gray(1)), (Rgb{0, 0, 0})) << "gray 1 is black";
  EXPECT_EQ(writers::colorToSrgb(Color::gray(0)), (Rgb{1, 1, 1}));
  EXPECT_EQ(writers::colorToSrgb(Color::cmyk(0, 0, 0, 1)), (Rgb{0, 0, 0}));
  EXPECT_EQ(writers::colorToSrgb(Color::cmyk(1, 0, 0, 0)), (Rgb{0, 1, 1}));
  EXPECT_EQ(writers::colorToSrgb(Color::rgb(2, -1, 0.5f)), (Rgb{1, 0, 0.5})) << "clamped";
}

class SvgDocument : public ::testing::Test {
 protected:
  host::Document doc;
  host::ArtId addPath(std::vector<host::Segment> segments, bool closed) {
    host::ArtId id = 0;
    EXPECT_EQ(doc.newPath(host::Placement::AboveAll, 0, &id), host::Status::Ok);
    EXPECT_EQ(doc.setSegments(id, 0, static_cast<int32_t>(segments.size()), segments.data()), host::Status::Ok);
    EXPECT_EQ(doc.setClosed(id, closed), host::Status::Ok);
    return id;
  }
};

TEST_F(SvgDocument, PathsLayersAndTheOneFlip) {
  const host::ArtId id = addPath({{{10, 20}, {10, 20}, {30, 20}}, {{50, 60}, {40, 60}, {50, 60}}}, true);
  host::Style stroked = doc.currentStyle();
  stroked.fillPaint = false;
  stroked.strokeWidth = 2.5f;
  ASSERT_EQ(doc.setStyle(id, stroked), host::Status::Ok);
  ASSERT_EQ(doc.setOpacity(id, 0.25f), host::Status::Ok);
  const std::string svg = writers::svgString(doc);
  EXPECT_NE(svg.find("viewBox=\"0 0 612 792\""), std::string::npos);
  EXPECT_NE(svg.find("<g transform=\"matrix(1 0 0 -1 0 792)\">"), std::string::npos);
  EXPECT_EQ(std::count(svg.begin(), svg.end(), 'Z'), 1);
  EXPECT_NE(svg.find("d=\"M 10 20 C 30 20 40 60 50 60 C 50 60 10 20 10 20 Z\""), std::string::npos) << svg;
  EXPECT_NE(svg.find("fill=\"none\" stroke=\"#000000\" stroke-width=\"2.5\" opacity=\"0.25\""), std::string::npos)
      << svg;
  EXPECT_NE(svg.find("data-name=\"Layer 1\""), std::string::npos);

  stroked.dashCount = 3;
  stroked.dashes = {4, 2, 0.5f};
  stroked.dashOffset = 1;
  ASSERT_EQ(doc.setStyle(id, stroked), host::Status::Ok);
  const std::string dashed = writers::svgString(doc);
  EXPECT_NE(dashed.find("stroke-width=\"2.5\" stroke-dasharray=\"4 2 0.5\" stroke-dashoffset=\"1\""),
            std::string::npos)
      << dashed;
}

TEST_F(SvgDocument, SymbolsAreDefinedNotPlaced) {
  const host::ArtId id = addPath({{{0, 0}, {0, 0}, {0, 0}}, {{5, 5}, {5, 5}, {5, 5}}}, false);
  host::ObjectId symbol = 0;
  ASSERT_EQ(doc.newSymbol(id, &symbol), host::Status::Ok);
  const std::string svg = writers::svgString(doc);
  const auto defs = svg.find("<defs>");
  ASSERT_NE(defs, std::string::npos);
  EXPECT_LT(svg.find("<symbol id=\"symbol-"), svg.find("</defs>"));
  EXPECT_EQ(svg.find("<use"), std::string::npos);
  const nlohmann::json dump = writers::documentToJson(doc);
  ASSERT_EQ(dump.at("symbols").size(), 1u);
  EXPECT_EQ(dump.at("symbols")[0].at("art").size(), 1u);
  EXPECT_EQ(dump.at("art").size(), 1u) << "the spiral stays as art";
}

TEST_F(SvgDocument, EnvelopedArtIsListedWithItsEnvelope) {
  const host::ArtId art = addPath({{{0, 0}, {0, 0}, {0, 0}}, {{100, 100}, {100, 100}, {100, 100}}}, false);
  host::ArtId shape = 0, envelope = 0;
  ASSERT_EQ(doc.newCenteredRect({50, 50}, 200, 200, false, &shape), host::Status::Ok);
  const host::ArtId contents[] = {art};
  ASSERT_EQ(doc.makeEnvelope(contents, shape, 0, 50, &envelope), host::Status::Ok);
  ASSERT_EQ(doc.setWarp(envelope, {9, 0.5f, 0, 0, false}), host::Status::Ok);
  const nlohmann::json dump = writers::documentToJson(doc);
  ASSERT_EQ(dump.at("art").size(), 1u) << "the consumed shape is listed with its envelope only";
  EXPECT_EQ(dump.at("art")[0].at("envelope"), envelope);
  ASSERT_EQ(dump.at("envelopes").size(), 1u);
  EXPECT_EQ(dump.at("envelopes")[0].at("art"), nlohmann::json::array({art}));
  EXPECT_EQ(dump.at("envelopes")[0].at("warp").at("style"), 9);
  EXPECT_EQ(dump.at("envelopes")[0].at("shape").at("segments").size(), 4u);
  const std::string svg = writers::svgString(doc);
  EXPECT_NE(svg.find("<g id=\"envelope-"), std::string::npos);
  // Mapped art is a polyline inside the envelope group.
  const auto group = svg.find("<g id=\"envelope-");
  const auto path = svg.find("<path id=\"art-", group);
  ASSERT_NE(path, std::string::npos);
  const auto data = svg.find(" d=\"M ", path);
  ASSERT_NE(data, std::string::npos);
  EXPECT_NE(svg.substr(data, svg.find('"', data + 5) - data).find(" L "), std::string::npos) << "a polyline";
}

}  // namespace
