// The record format of params/record/: the field table, the defaults derived
// from it, the byte codec, and the plug-in's defaults taken from the view.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <set>
#include <string>

#include "params/record/default_parameters.h"
#include "params/record/parameter_fields.h"
#include "params/record/record_codec.h"
#include "params/view_defaults.h"
#include "shell/suite_table.h"

namespace {

uint32_t wordAt(const SpiralParameters& r, std::size_t offset) {
  uint32_t bits;
  std::memcpy(&bits, reinterpret_cast<const unsigned char*>(&r) + offset, 4);
  return bits;
}

TEST(RecordFormat, FieldTableNamesAreUniqueAndDefaultsLieWithinLimits) {
  std::set<std::string_view> names;
  for (const ParameterField& field : kParameterFields) {
    EXPECT_TRUE(names.insert(field.name).second) << field.name;
    EXPECT_EQ(findParameterField(field.name), &field);
    // A limited field's default must be a value the dialog accepts; centerX's
    // default is an offset from the view, so it is not checked here.
    if (field.hasLimits() && field.name != "centerX") {
      EXPECT_TRUE(field.minimum <= field.initial && field.initial <= field.maximum) << field.name;
    }
    if (field.kind == FieldKind::Bool) {
      EXPECT_FALSE(field.hasLimits()) << field.name;
    }
  }
  EXPECT_EQ(findParameterField("armcount"), nullptr);
  EXPECT_EQ(findParameterField(""), nullptr);
}

TEST(RecordFormat, DefaultsFollowTheTableAndTheViewCentre) {
  const SpiralParameters r = defaultParameters(306.5f, -396.25f);
  for (const ParameterField& field : kParameterFields) {
    const uint32_t bits = wordAt(r, field.offset);
    if (field.name == "centerX" || field.name == "centerY") continue;
    if (field.kind == FieldKind::Float)
      EXPECT_EQ(std::bit_cast<float>(bits), static_cast<float>(field.initial)) << field.name;
    else
      EXPECT_EQ(static_cast<int32_t>(bits), static_cast<int32_t>(field.initial)) << field.name;
  }
  EXPECT_EQ(r.centerX, 206.5f);
  EXPECT_EQ(r.centerY, -396.25f);
  // A centre of -0 keeps its sign in centerY, and a NaN centre stays NaN.
  EXPECT_TRUE(std::signbit(defaultParameters(0, -0.0f).centerY));
  EXPECT_TRUE(std::isnan(defaultParameters(std::numeric_limits<float>::quiet_NaN(), 0).centerX));
}

TEST(RecordFormat, CodecWritesLittleEndianWordsAndReadsThemBack) {
  SpiralParameters r{};
  for (const ParameterField& field : kParameterFields) {
    const uint32_t bits = 0x01020304u * static_cast<uint32_t>(field.offset / 4 + 1);
    std::memcpy(reinterpret_cast<unsigned char*>(&r) + field.offset, &bits, 4);
  }
  unsigned char bytes[kSpiralParametersSize];
  encodeParameters(r, bytes);
  for (const ParameterField& field : kParameterFields) {
    const uint32_t bits = wordAt(r, field.offset);
    for (int b = 0; b < 4; ++b)
      ASSERT_EQ(bytes[field.offset + b], static_cast<unsigned char>(bits >> (8 * b))) << field.name;
  }
  SpiralParameters back;
  std::memset(&back, 0xEE, sizeof back);
  decodeParameters(bytes, back);
  EXPECT_EQ(std::memcmp(&back, &r, sizeof r), 0);
}

// Document view 0 of the fake host is centred at kCentre.
constexpr HostPoint kCentre{-12.5f, 640.0f};
HostErr fakeView(int32_t, ViewHandle* view) {
  *view = reinterpret_cast<ViewHandle>(1);
  return kHostNoErr;
}
HostErr fakeCentre(ViewHandle view, HostPoint* centre) {
  if (view != reinterpret_cast<ViewHandle>(1)) return kHostBadParameterErr;
  *centre = kCentre;
  return kHostNoErr;
}

TEST(RecordFormat, PluginDefaultsKeepGoAndTheDialogBounds) {
  DocumentViewSuiteV7 views{};
  views.GetNthDocumentView = fakeView;
  views.GetDocumentViewCenter = fakeCentre;
  const DocumentViewSuiteV7* saved = gDocumentViewSuite;
  gDocumentViewSuite = &views;
  SpiralParameters r;
  std::memset(&r, 0x5A, sizeof r);
  r.dialogBoundsLeft = 10;
  r.dialogBoundsTop = 20;
  r.dialogBoundsRight = 450;
  r.dialogBoundsBottom = 356;
  r.fromGo = 1;
  r.dialogBoundsValid = 1;
  r.previewDrawn = 1;
  setDefaultParameters(r);
  gDocumentViewSuite = saved;

  SpiralParameters expected = defaultParameters(kCentre.h, kCentre.v);
  EXPECT_EQ(r.dialogBoundsLeft, 10);
  EXPECT_EQ(r.dialogBoundsTop, 20);
  EXPECT_EQ(r.dialogBoundsRight, 450);
  EXPECT_EQ(r.dialogBoundsBottom, 356);
  EXPECT_EQ(r.fromGo, 1);
  // Whether the bounds are valid, and whether a preview is drawn, start over.
  EXPECT_EQ(r.dialogBoundsValid, 0);
  EXPECT_EQ(r.previewDrawn, 0);
  expected.fromGo = r.fromGo;
  expected.dialogBoundsLeft = r.dialogBoundsLeft;
  expected.dialogBoundsTop = r.dialogBoundsTop;
  expected.dialogBoundsRight = r.dialogBoundsRight;
  expected.dialogBoundsBottom = r.dialogBoundsBottom;
  EXPECT_EQ(std::memcmp(&r, &expected, sizeof r), 0);
}

}  // namespace
