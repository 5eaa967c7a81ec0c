// A drawing's metadata: written into the SVG and read back whole, and every
// kind of damage refused with one line.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>

#include "hostapp/model/document.h"
#include "hostapp/records/record_file.h"
#include "hostapp/records/svg_metadata.h"
#include "hostapp/writers/svg_writer.h"
#include "params/record/default_parameters.h"

namespace {

records::DrawingMetadata sample() {
  records::DrawingMetadata m;
  m.record = defaultParameters(306, 396);
  m.record.armCount = 77;
  m.record.decayAccumulate = 120.5f;
  m.record.spiralAngle = std::numeric_limits<float>::infinity();  // kept bit for bit
  m.seed = std::numeric_limits<std::uint64_t>::max();
  m.page = {595.5f, 842};
  m.colorModel = host::ColorModel::Cmyk;
  m.pluginName = "Spiral <&> \"x\"";
  m.pluginVersion = "1.0.0";
  return m;
}

std::string drawingOf(const records::DrawingMetadata& m) {
  host::Document doc;
  return writers::svgString(doc, records::metadataText(m));
}

TEST(SvgMetadata, ReadsBackWhatWasWritten) {
  const records::DrawingMetadata m = sample();
  const std::string svg = drawingOf(m);
  ASSERT_TRUE(records::looksLikeSvg(svg));
  const records::DrawingMetadata back = records::readSvgMetadata(svg, "d.svg");
  EXPECT_EQ(std::memcmp(&back.record, &m.record, sizeof m.record), 0);
  EXPECT_EQ(back.seed, m.seed);
  EXPECT_EQ(back.page, m.page);
  EXPECT_EQ(back.colorModel, m.colorModel);
  EXPECT_EQ(back.pluginName, m.pluginName);
  EXPECT_EQ(back.pluginVersion, m.pluginVersion);
}

// Each damage is one line naming the file.
void expectRefused(const std::string& svg, const std::string& why) {
  try {
    records::readSvgMetadata(svg, "d.svg");
    ADD_FAILURE() << "accepted: " << why;
  } catch (const records::RecordError& e) {
    const std::string message = e.what();
    EXPECT_NE(message.find("'d.svg'"), std::string::npos) << why << ": " << message;
    EXPECT_EQ(message.find('\n'), std::string::npos) << why << ": " << message;
  }
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  const auto at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

TEST(SvgMetadata, MissingOrDamagedMetadataIsRefused) {
  const std::string svg = drawingOf(sample());
  host::Document doc;
  expectRefused(writers::svgString(doc), "no metadata");
  expectRefused(svg.substr(0, svg.find("</metadata>")), "cut short");
  expectRefused(replaced(svg, "\"armCount\":77,", ""), "a field missing");
  expectRefused(replaced(svg, "\"armCount\":77", "\"armCount\":\"many\""), "a field of the wrong type");
  expectRefused(replaced(svg, "\"armCount\":77", "\"armCount\":7e99"), "a field out of range");
  expectRefused(replaced(svg, "\"armCount\":77", "\"armCount\":77,\"bogus\":1"), "an unknown field");
  expectRefused(replaced(svg, "\"colorModel\":\"cmyk\"", "\"colorModel\":\"hsv\""), "an unknown colour model");
  expectRefused(replaced(svg, "\"seed\":18446744073709551615", "\"seed\":-1"), "a negative seed");
  expectRefused(replaced(svg, "\"page\":[595.5,842.0]", "\"page\":[0,842]"), "an empty page");
  expectRefused(replaced(svg, "\"version\":1", "\"version\":2"), "a later version");
  expectRefused(replaced(svg, "\"format\":\"spiral-drawing\"", "\"format\":\"other\""), "another format");
  expectRefused(replaced(svg, "&lt;", "&bogus;"), "an unknown entity");
  expectRefused(replaced(svg, "{\"colorModel\"", "{colorModel"), "not JSON");
  EXPECT_FALSE(records::looksLikeSvg("{\"armCount\": 3}"));
  EXPECT_FALSE(records::looksLikeSvg(""));
}

}  // namespace

namespace {

// The metadata element's text with every '"' written as `quote`.
std::string requoted(const std::string& svg, const std::string& quote) {
  const std::size_t open = svg.find("<metadata");
  const std::size_t begin = svg.find('>', open) + 1;
  const std::size_t end = svg.find("</metadata>");
  std::string text = svg.substr(begin, end - begin);
  std::string out;
  for (char c : text) out += c == '"' ? quote : std::string(1, c);
  return svg.substr(0, begin) + out + svg.substr(end);
}

TEST(SvgMetadata, AnyWellFormedFormOfTheElementIsRead) {
  const records::DrawingMetadata m = sample();
  const std::string svg = drawingOf(m);
  // As an editor re-saves it: namespaces on the root, the element split over
  // lines with its attributes reordered, quotes as references, a comment
  // holding a decoy.
  std::string saved = replaced(svg, "<svg ", "<svg\n   xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\"\n"
                                             "   xmlns:sodipodi=\"http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd\"\n   ");
  saved = replaced(saved, "<metadata id=\"spiral-drawing\">",
                   "<!-- <metadata id=\"spiral-drawing\">{}</metadata> -->\n  <sodipodi:namedview id=\"nv\" "
                   "inkscape:zoom=\"1\"/>\n  <metadata\n     inkscape:label='drawing'\n     id='spiral-drawing'>");
  for (const std::string quote : {"&quot;", "&#34;", "&#x22;"}) {
    const records::DrawingMetadata back = records::readSvgMetadata(requoted(saved, quote), "saved.svg");
    EXPECT_EQ(back.record.armCount, 77) << quote;
    EXPECT_EQ(back.seed, m.seed) << quote;
    EXPECT_EQ(back.pluginName, m.pluginName) << quote;
  }
  const std::size_t begin = svg.find("spiral-drawing\">") + 16;
  std::string cdata = svg;
  cdata.insert(svg.find("</metadata>"), "]]>");
  cdata.insert(begin, "<![CDATA[");
  cdata = replaced(cdata, "&lt;", "<");
  cdata = replaced(cdata, "&amp;", "&");
  cdata = replaced(cdata, "&gt;", ">");
  EXPECT_EQ(records::readSvgMetadata(cdata, "c.svg").pluginName, m.pluginName);
}

TEST(SvgMetadata, StructureIsRequired) {
  const std::string svg = drawingOf(sample());
  const std::size_t open = svg.find("  <metadata");
  const std::string element = svg.substr(open, svg.find("</metadata>") + 12 - open);
  expectRefused(replaced(svg, element, element + element), "two metadata elements");
  expectRefused(replaced(svg, "\"armCount\":77", "\"armCount\":77,\"armCount\":78"), "a field named twice");
  expectRefused("<html>" + svg.substr(svg.find("<svg")) + "</html>", "an html root");
  expectRefused(replaced(svg, "</metadata>", "<b/></metadata>"), "an element inside the metadata");
  expectRefused(replaced(svg, "<metadata id", "<metadata x='1' x='2' id"), "not well formed");
  // Only a comment holds the element: it is not one.
  expectRefused(replaced(replaced(svg, "<metadata", "<!--<metadata"), "</metadata>", "</metadata>-->"), "commented");
  // A version nested a million deep is refused by its depth, never printed.
  std::string deep = replaced(svg, "\"version\":1", "\"version\":" + std::string(70000, '[') + std::string(70000, ']'));
  try {
    records::readSvgMetadata(deep, "v.svg");
    ADD_FAILURE() << "accepted a deep version";
  } catch (const records::RecordError& e) {
    EXPECT_NE(std::string(e.what()).find("nested deeper than 64 levels"), std::string::npos) << e.what();
    EXPECT_LT(std::string(e.what()).size(), 300u);
  }
  EXPECT_TRUE(records::looksLikeSvg("\xEF\xBB\xBF<svg/>"));
}

}  // namespace
