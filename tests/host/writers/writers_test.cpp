#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <sstream>

#include "hostapp/model/document.h"
#include "hostapp/writers/json_writer.h"
#include "hostapp/writers/svg_writer.h"
#include "hostapp/writers/text_sink.h"

namespace {

using host::Color;

std::string streamedJson(const host::Document& doc, const nlohmann::json& extra = nlohmann::json::object()) {
  std::ostringstream out;
  writers::writeDocumentJson(doc, extra, out);
  return out.str();
}

nlohmann::json dumpOf(const host::Document& doc) { return nlohmann::json::parse(streamedJson(doc)); }

std::string fixed3(double v) {
  std::ostringstream out;
  {
    writers::TextSink sink(out);
    sink.fixed3(v);
  }
  return out.str();
}

// What the SVG writer wrote before: printf's "%.3f", trailing zeros and a
// bare point trimmed, "-0" as "0".
std::string printfFixed3(double v) {
  char buf[400];
  std::snprintf(buf, sizeof buf, "%.3f", v);
  std::string s(buf);
  s.erase(s.find_last_not_of('0') + 1);
  if (!s.empty() && s.back() == '.') s.pop_back();
  if (s == "-0") s = "0";
  return s;
}

// Float32 values over every magnitude: a stride through all bit patterns
// (every exponent, sign and low-bit pattern is met), random patterns, plain
// coordinates, and the edge cases.
std::vector<float> floatPatterns() {
  std::vector<float> values = {0.0f, -0.0f, 0.0005f, -0.0005f, 0.0015f, -0.0004f, 1e-9f, 1.0005f, 999.9995f,
                               0.1f, 16777217.0f, 1e15f, -1e15f, 999999999999999.9f,
                               std::numeric_limits<float>::max(), std::numeric_limits<float>::lowest(),
                               std::numeric_limits<float>::min(), std::numeric_limits<float>::denorm_min()};
  for (int k = 0; k < 4096; ++k) values.push_back(static_cast<float>(k / 16.0 - 128));  // ties at the fourth decimal
  for (std::uint32_t i = 0; i < (1u << 20); ++i) {
    const std::uint32_t bits = i * 4093u + (i >> 9);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    if (std::isfinite(f)) values.push_back(f);
  }
  std::mt19937_64 rng(12);
  for (int i = 0; i < 100000; ++i) {
    const auto bits = static_cast<std::uint32_t>(rng());
    float f;
    std::memcpy(&f, &bits, sizeof f);
    if (std::isfinite(f)) values.push_back(f);
    values.push_back(static_cast<float>(std::uniform_real_distribution<double>(-2000, 2000)(rng)));
  }
  return values;
}

std::string viaSink(void (writers::TextSink::*write)(float), float v) {
  std::ostringstream out;
  {
    writers::TextSink sink(out);
    (sink.*write)(v);
  }
  return out.str();
}

TEST(SvgNumbers, SameBytesAsPrintfFixedThreeBelowHugeNumbers) {
  const std::vector<float> values = floatPatterns();
  ASSERT_GE(values.size(), 1000000u);
  std::size_t huge = 0;
  for (float f : values) {
    if (std::fabs(static_cast<double>(f)) < 1e15) {
      ASSERT_EQ(fixed3(f), printfFixed3(f)) << "value " << f;
    } else {
      // Huge numbers are written short, with an exponent, and read back.
      const std::string text = fixed3(f);
      ASSERT_LE(text.size(), 16u) << text;
      ASSERT_NE(text.find('e'), std::string::npos) << text;
      ASSERT_EQ(static_cast<float>(std::strtod(text.c_str(), nullptr)), f) << text;
      ++huge;
    }
  }
  EXPECT_GT(huge, 1000u) << "the patterns reach the exponent form";
  // Doubles that are not floats (warped envelope points) keep printf's rounding.
  std::mt19937_64 rng(3);
  for (int i = 0; i < 20000; ++i) {
    const double v = std::uniform_real_distribution<double>(-5000, 5000)(rng);
    ASSERT_EQ(fixed3(v), printfFixed3(v)) << "value " << v;
  }
  for (double v : {0.0005, 1.0005, 2.0004999999999997, -0.0005, 0.1 + 0.2}) EXPECT_EQ(fixed3(v), printfFixed3(v));
  EXPECT_EQ(fixed3(3.4028234663852886e38), "3.4028235e+38");
  EXPECT_EQ(fixed3(-1e300), "-1e+300");
  EXPECT_EQ(fixed3(std::numeric_limits<double>::infinity()), "0");
  EXPECT_EQ(fixed3(std::numeric_limits<double>::quiet_NaN()), "0");
  EXPECT_EQ(fixed3(-0.0), "0");
  EXPECT_EQ(fixed3(-0.0004f), "0");
  EXPECT_EQ(fixed3(-2.5f), "-2.5");
  EXPECT_EQ(fixed3(1.0625f), "1.062") << "a tie rounds to even";
  EXPECT_EQ(fixed3(1.1875f), "1.188");
}

// The significant digits of a decimal number, leading and trailing zeros
// dropped.
std::string significantDigits(const std::string& text) {
  std::string digits;
  for (char c : text) {
    if (c == 'e' || c == 'E') break;
    if (c >= '0' && c <= '9') digits += c;
  }
  digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
  digits.erase(digits.find_last_not_of('0') + 1);
  return digits;
}

TEST(JsonNumbers, ShortestFloatFormReadsBackAndKeepsTheLayout) {
  std::size_t shorter = 0;
  for (float f : floatPatterns()) {
    const std::string text = viaSink(&writers::TextSink::shortestFloat, f);
    const nlohmann::json reread = nlohmann::json::parse(text);
    ASSERT_TRUE(reread.is_number_float()) << text;
    const auto back = static_cast<float>(reread.get<double>());
    ASSERT_EQ(std::memcmp(&back, &f, sizeof f), 0) << text << " reads back as " << back;
    // The layout nlohmann gives the double read from the shortest float form;
    // where that double's printing is not the shortest, ours is shorter.
    const std::string asDouble = writers::exactNumber(f).dump();
    if (significantDigits(asDouble).size() == significantDigits(text).size()) {
      ASSERT_EQ(text, asDouble);
    } else {
      ASSERT_LT(significantDigits(text).size(), significantDigits(asDouble).size()) << text << " " << asDouble;
      ++shorter;
    }
  }
  EXPECT_EQ(viaSink(&writers::TextSink::shortestFloat, 70.06494f), "70.06494");
  EXPECT_EQ(viaSink(&writers::TextSink::shortestFloat, 16777216.0f), "16777216.0");
  EXPECT_EQ(viaSink(&writers::TextSink::shortestFloat, -0.0f), "-0.0");
  EXPECT_EQ(viaSink(&writers::TextSink::shortestFloat, 1e15f), "1e+15");
  EXPECT_EQ(viaSink(&writers::TextSink::shortestFloat, 1e-5f), "1e-05");
  EXPECT_EQ(viaSink(&writers::TextSink::shortestFloat, 0.0001f), "0.0001");
  EXPECT_EQ(viaSink(&writers::TextSink::shortestFloat, std::numeric_limits<float>::quiet_NaN()), "null");
  RecordProperty("shorter", static_cast<int>(shorter));
}

// std::to_chars's shortest form of a float, laid out as the dump lays out
// numbers: the straightforward way, against which the fast writer is held.
std::string toCharsShortest(float value) {
  if (!std::isfinite(value)) return "null";
  char buf[64];
  char* end = std::to_chars(buf, buf + sizeof buf, value).ptr;
  std::string text(buf, end);
  if (text.find('e') == std::string::npos) return text.find('.') == std::string::npos ? text + ".0" : text;
  // Scientific: re-lay the digits by where the point falls.
  std::string sign = value < 0 ? "-" : "";
  char sci[64];
  end = std::to_chars(sci, sci + sizeof sci, std::fabs(value), std::chars_format::scientific).ptr;
  const std::string form(sci, end);
  std::string digits;
  for (char c : form.substr(0, form.find('e')))
    if (c != '.') digits += c;
  const int k = static_cast<int>(digits.size());
  const int n = std::stoi(form.substr(form.find('e') + 1)) + 1;
  if (k <= n && n <= 15) return sign + digits + std::string(static_cast<std::size_t>(n - k), '0') + ".0";
  if (0 < n && n <= 15) return sign + digits.substr(0, n) + "." + digits.substr(n);
  if (-4 < n && n <= 0) return sign + "0." + std::string(static_cast<std::size_t>(-n), '0') + digits;
  char exponent[16];
  std::snprintf(exponent, sizeof exponent, "e%+03d", n - 1);
  return sign + digits.substr(0, 1) + (k > 1 ? "." + digits.substr(1) : "") + exponent;
}

TEST(JsonNumbers, FastShortestFormIsToCharsByteForByte) {
  std::vector<float> values = floatPatterns();
  // Every binary exponent at its ends and middle, and whole numbers around
  // where fixed notation stops being the shorter.
  for (std::uint32_t e = 0; e < 255; ++e)
    for (std::uint32_t m : {0u, 1u, 0x400000u, 0x7fffffu, 0x123457u}) {
      const std::uint32_t bits = e << 23 | m;
      float f;
      std::memcpy(&f, &bits, sizeof f);
      values.push_back(f);
      values.push_back(-f);
    }
  for (double w = 1e6; w < 1e17; w *= 1.37) values.push_back(static_cast<float>(w));
  values.push_back(std::numeric_limits<float>::infinity());
  for (float f : values) ASSERT_EQ(viaSink(&writers::TextSink::shortestFloat, f), toCharsShortest(f)) << f;
  EXPECT_EQ(toCharsShortest(123456790.0f), "123456792.0") << "to_chars spells a whole number exactly";
}

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
  const nlohmann::json dump = dumpOf(doc);
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
  const nlohmann::json dump = dumpOf(doc);
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

// The streamed dump is laid out exactly as nlohmann's dump(1) lays out the
// same values: re-printing what it parses to gives the same bytes. A
// document with every kind of entry: paths of each colour kind with dashes,
// an envelope with its shape, a symbol, a second layer, numbers that print
// in exponent form, and the caller's keys among the document's own.
TEST_F(SvgDocument, StreamedJsonIsLaidOutAsTheWholeTreeDump) {
  const host::ArtId a = addPath({{{1e-7f, 20}, {10, 3.4e38f}, {30, -0.0f}}, {{50, 60.125f}, {40, 60}, {50, 60}}}, false);
  host::Style style = doc.currentStyle();
  style.fill = Color::cmyk(0.1f, 0.2f, 0.3f, 0.4f);
  style.stroke = Color::gray(0.5f);
  style.dashCount = 2;
  style.dashes = {3, 1.5f};
  ASSERT_EQ(doc.setStyle(a, style), host::Status::Ok);
  host::ObjectId layer = 0, symbol = 0;
  ASSERT_EQ(doc.insertLayer(host::Placement::AboveAll, 0, &layer), host::Status::Ok);
  const host::ArtId b = addPath({{{0, 0}, {0, 0}, {0, 0}}, {{100, 100}, {100, 100}, {100, 100}}}, true);
  ASSERT_EQ(doc.newSymbol(b, &symbol), host::Status::Ok);
  host::ArtId shape = 0, envelope = 0;
  ASSERT_EQ(doc.newCenteredEllipse({50, 50}, 200, 100, false, &shape), host::Status::Ok);
  const host::ArtId held[] = {b};
  ASSERT_EQ(doc.makeEnvelope(held, shape, 1, 40, &envelope), host::Status::Ok);
  ASSERT_EQ(doc.setWarp(envelope, {3, -0.25f, 0.5f, 0, true}), host::Status::Ok);
  addPath({{{5, 5}, {5, 5}, {5, 5}}}, false);

  const nlohmann::json extra = {{"record", {{"b", 1.5}, {"a", nullptr}}},
                                {"dialog", nullptr},
                                {"messages", nlohmann::json::array()},
                                {"result", -108},
                                {"zzz", {{"nested", {1, 2, {{"x", "y\n\"z\""}}}}}},
                                {"layers", "the caller's value wins"}};
  const std::string text = streamedJson(doc, extra);
  const nlohmann::json parsed = nlohmann::json::parse(text);
  EXPECT_EQ(parsed.dump(1), text);
  EXPECT_EQ(parsed.at("layers"), "the caller's value wins");
  EXPECT_EQ(parsed.at("art").size(), 3u);
  EXPECT_EQ(parsed.at("envelopes").at(0).at("warp").at("rotate"), true);
  EXPECT_EQ(static_cast<float>(parsed.at("art").at(0).at("segments").at(0).at(0).get<double>()), 1e-7f);
  EXPECT_EQ(static_cast<float>(parsed.at("art").at(0).at("segments").at(0).at(3).get<double>()), 3.4e38f);
  EXPECT_EQ(parsed.at("art").at(0).at("dash"), nlohmann::json::array({3.0, 1.5}));
  // An empty document too.
  host::Document empty;
  const std::string bare = streamedJson(empty);
  EXPECT_EQ(nlohmann::json::parse(bare).dump(1), bare);
}

TEST_F(SvgDocument, MetadataIsWrittenEscapedAfterTheRootTag) {
  addPath({{{0, 0}, {0, 0}, {0, 0}}, {{5, 5}, {5, 5}, {5, 5}}}, false);
  const std::string plain = writers::svgString(doc);
  const std::string marked = writers::svgString(doc, "{\"a\":\"<b> & c\"}");
  const std::string line = "  <metadata id=\"spiral-drawing\">{\"a\":\"&lt;b&gt; &amp; c\"}</metadata>\n";
  const auto at = marked.find(line);
  ASSERT_NE(at, std::string::npos) << marked;
  EXPECT_EQ(marked.substr(0, at), plain.substr(0, at));
  EXPECT_EQ(marked.substr(0, at).find("<svg"), marked.substr(0, at).rfind("<svg")) << "right after the root tag";
  EXPECT_EQ(marked.substr(at + line.size()), plain.substr(at)) << "nothing else changes";
}

// A picture's SVG leaves out only paths that cannot reach the page (612 x
// 792), their stroke and miter joins counted; the SVG file keeps them all.
TEST_F(SvgDocument, PicturesLeaveOutPathsWhollyOffThePage) {
  auto line = [&](float x0, float y0, float x1, float y1, float strokeWidth) {
    const host::ArtId id = addPath({{{x0, y0}, {x0, y0}, {x0, y0}}, {{x1, y1}, {x1, y1}, {x1, y1}}}, false);
    host::Style style = doc.currentStyle();
    style.fillPaint = false;
    style.strokePaint = strokeWidth > 0;
    style.strokeWidth = strokeWidth;
    EXPECT_EQ(doc.setStyle(id, style), host::Status::Ok);
  };
  line(-500, -500, -400, -400, 1);     // art-1: off, below and left
  line(700, 100, 800, 100, 0);         // art-2: off to the right, not stroked
  line(-50, 10, 10, 10, 1);            // art-3: crosses the left edge
  line(100, 795, 200, 795, 4);         // art-4: above the page, its stroke reaches in
  line(100, 1e6f, 200, 1e6f, 4);       // art-5: far above
  line(-1e4f, 50, 1e4f, 50, 1);        // art-6: spans the page
  line(300, -30, 300, -20, 50);        // art-7: below, a wide stroke reaches in
  const std::string all = writers::svgString(doc);
  const std::string picture = writers::svgString(doc, {}, writers::SvgOptions{.leaveOutOffPage = true});
  for (int n = 1; n <= 7; ++n) {
    const std::string id = "id=\"art-" + std::to_string(n) + "\"";
    EXPECT_NE(all.find(id), std::string::npos) << id;
    const bool kept = n != 1 && n != 2 && n != 5;
    EXPECT_EQ(picture.find(id) != std::string::npos, kept) << id;
  }
  // Only those lines differ.
  std::string trimmed = all;
  for (int n : {1, 2, 5}) {
    const auto at = trimmed.find("      <path id=\"art-" + std::to_string(n) + "\"");
    trimmed.erase(at, trimmed.find('\n', at) + 1 - at);
  }
  EXPECT_EQ(trimmed, picture);
}

// A curve thousands of pages long (a spiral at a huge scale) is split for a
// picture until what reaches the page is near its size, and what cannot be
// seen becomes straight: the renderer never flattens the unseen miles. The
// pieces join up and end where the curve ends; ordinary curves stay as they
// are.
TEST_F(SvgDocument, PicturesSplitCurvesFarLargerThanThePage) {
  const float far = 2e7f;
  // art-1 crosses the page from far left to far right, a gentle S.
  addPath({{{-far, 400}, {-far, 400}, {-far / 3, 300}}, {{far, 400}, {far / 3, 500}, {far, 400}}}, false);
  addPath({{{10, 20}, {10, 20}, {300, 900}}, {{600, 20}, {400, -100}, {600, 20}}}, false);            // art-2
  const std::string all = writers::svgString(doc);
  const std::string picture = writers::svgString(doc, {}, writers::SvgOptions{.leaveOutOffPage = true});
  const auto pathLine = [](const std::string& svg, int n) {
    const auto at = svg.find("<path id=\"art-" + std::to_string(n) + "\"");
    return at == std::string::npos ? std::string() : svg.substr(at, svg.find('\n', at) - at);
  };
  EXPECT_EQ(pathLine(picture, 2), pathLine(all, 2));

  const std::string giant = pathLine(picture, 1);
  const auto d = giant.find(" d=\"") + 4;
  std::istringstream data(giant.substr(d, giant.find('"', d) - d));
  std::string command;
  double x = 0, y = 0;
  data >> command >> x >> y;
  EXPECT_EQ(command, "M");
  EXPECT_EQ(x, -far);
  int curves = 0, lines = 0;
  while (data >> command) {
    double p[6];
    const int count = command == "C" ? 6 : 2;
    for (int k = 0; k < count; ++k) ASSERT_TRUE(data >> p[k]) << giant;
    double minX = x, maxX = x, minY = y, maxY = y;
    for (int k = 0; k < count; k += 2) {
      minX = std::min(minX, p[k]), maxX = std::max(maxX, p[k]);
      minY = std::min(minY, p[k + 1]), maxY = std::max(maxY, p[k + 1]);
    }
    if (command == "C") {
      ++curves;
      EXPECT_LE(std::max(maxX - minX, maxY - minY), 64.0 * 792) << "a curve left too large to draw quickly";
    } else {
      ASSERT_EQ(command, "L") << giant;
      ++lines;
      // A straight piece is wholly out of sight (a unit stroke reaches 3).
      EXPECT_TRUE(maxX < -3 || minX > 615 || maxY < -3 || minY > 795) << x << " " << y << " " << p[0] << " " << p[1];
    }
    x = p[count - 2], y = p[count - 1];
  }
  EXPECT_EQ(x, far);
  EXPECT_EQ(y, 400);
  EXPECT_GT(curves, 0) << "the part of the curve over the page is drawn as a curve";
  EXPECT_GT(lines, 0);
  EXPECT_LT(curves + lines, 400) << "pieces are split only near the page";
}

}  // namespace
