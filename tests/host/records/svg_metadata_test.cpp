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
