// Colour rules of the styling steps, without a host.
#include "generator/styling.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

HostColor colour(int32_t kind, HostReal a, HostReal b = 0, HostReal c = 0, HostReal d = 0) {
  return HostColor{kind, {a, b, c, d}, nullptr};
}

void expectComponents(const HostColor& got, int32_t kind, std::initializer_list<HostReal> want) {
  EXPECT_EQ(got.kind, kind);
  int i = 0;
  for (HostReal v : want) {
    EXPECT_FLOAT_EQ(got.c[i], v) << "component " << i;
    ++i;
  }
}

}  // namespace

TEST(ColourRules, BlackAndWhiteFollowTheKind) {
  HostColor gray = colour(kGrayColor, 0.3f);
  HostColor cmyk = colour(kFourColor, 0.1f, 0.2f, 0.3f, 0.4f);
  HostColor rgb = colour(kThreeColor, 0.1f, 0.2f, 0.3f);
  setBlack(gray);
  setBlack(cmyk);
  setBlack(rgb);
  expectComponents(gray, kGrayColor, {1});
  expectComponents(cmyk, kFourColor, {1, 1, 1, 1});
  expectComponents(rgb, kThreeColor, {0, 0, 0});
  setWhite(gray);
  setWhite(cmyk);
  setWhite(rgb);
  expectComponents(gray, kGrayColor, {0});
  expectComponents(cmyk, kFourColor, {0, 0, 0, 0});
  expectComponents(rgb, kThreeColor, {1, 1, 1});

  // Pattern, custom, gradient and none stay as they are.
  for (int32_t kind : {kPatternColor, kCustomColor, kGradientColor, kNoneColor}) {
    HostColor other = colour(kind, 0.25f, 0.5f, 0.75f, 0.125f);
    setBlack(other);
    expectComponents(other, kind, {0.25f, 0.5f, 0.75f, 0.125f});
    setWhite(other);
    reduceColour(other);
    expectComponents(other, kind, {0.25f, 0.5f, 0.75f, 0.125f});
  }
}

TEST(ColourRules, ReduceScalesEveryComponentTheKindHolds) {
  HostColor cmyk = colour(kFourColor, 1, 0.5f, 0.25f, 1);
  reduceColour(cmyk);
  expectComponents(cmyk, kFourColor, {0.8f, 0.4f, 0.2f, 0.8f});
  HostColor rgb = colour(kThreeColor, 1, 0.5f, 0.25f, 0.9f);
  reduceColour(rgb);
  expectComponents(rgb, kThreeColor, {0.8f, 0.4f, 0.2f, 0.9f});  // no fourth component
  HostColor gray = colour(kGrayColor, 0.5f, 0.7f);
  reduceColour(gray);
  expectComponents(gray, kGrayColor, {0.4f, 0.7f});
}

TEST(ColourRules, JitterStaysInTheUnitRangeAndWidthsAtOrAboveZero) {
  EXPECT_FLOAT_EQ(jitterComponent(0.5f, 0.5f, 1), 0.55f);
  EXPECT_FLOAT_EQ(jitterComponent(0.5f, 0.5f, -1), 0.45f);
  EXPECT_FLOAT_EQ(jitterComponent(0.98f, 0.9f, 1), 1);
  EXPECT_FLOAT_EQ(jitterComponent(0.02f, 0.9f, -1), 0);
  for (HostReal value : {0.0f, 0.03f, 0.5f, 0.97f, 1.0f}) {
    for (HostReal r : {0.0f, 0.3f, 0.999f}) {
      for (HostReal sign : {-1.0f, 1.0f}) {
        const HostReal v = jitterComponent(value, r, sign);
        EXPECT_GE(v, 0);
        EXPECT_LE(v, 1);
        EXPECT_LE(std::fabs(v - value), 0.1f + 1e-6f);
      }
    }
  }
  EXPECT_FLOAT_EQ(jitterWidthValue(2, 0.5f, 1), 3.5f);
  EXPECT_FLOAT_EQ(jitterWidthValue(2, 0.5f, -1), 0.5f);
  EXPECT_FLOAT_EQ(jitterWidthValue(1, 0.9f, -1), 0);
  EXPECT_FLOAT_EQ(jitterWidthValue(100, 0.999f, 1), 102.997f);  // no upper bound
}

TEST(ColourRules, SwatchPickNeverUsesTheFirstTwoIndices) {
  EXPECT_EQ(swatchIndexFor(0.0f, 30), 2);    // ⌊0⌋ + 1 = 1
  EXPECT_EQ(swatchIndexFor(0.05f, 30), 2);   // ⌊1.5⌋ + 1 = 2
  EXPECT_EQ(swatchIndexFor(0.5f, 30), 16);
  EXPECT_EQ(swatchIndexFor(0.999f, 30), 30);  // ⌊29.97⌋ + 1, past the last 0-based index
  EXPECT_EQ(swatchIndexFor(0.5f, 1), 2);
  EXPECT_EQ(swatchIndexFor(0.5f, 0), 2);
  for (int32_t n : {0, 1, 2, 3, 10, 257}) {
    for (int i = 0; i < 100; ++i) {
      const int32_t k = swatchIndexFor(static_cast<HostReal>(i) / 100, n);
      EXPECT_GE(k, 2) << "n " << n;
      EXPECT_LE(k, std::max(n, 2)) << "n " << n;
    }
  }
}

TEST(ColourRules, ArtStylePickFavoursIndexOne) {
  EXPECT_EQ(artStyleIndexFor(0.0f, 9), 1);
  EXPECT_EQ(artStyleIndexFor(0.1f, 9), 1);   // ⌊0.9⌋ = 0 becomes 1
  EXPECT_EQ(artStyleIndexFor(0.12f, 9), 1);  // ⌊1.08⌋ = 1
  EXPECT_EQ(artStyleIndexFor(0.5f, 9), 4);
  EXPECT_EQ(artStyleIndexFor(0.99f, 9), 8);
  EXPECT_EQ(artStyleIndexFor(0.7f, 1), 1);  // a document with one style asks for index 1
  EXPECT_EQ(artStyleIndexFor(0.7f, 0), 0);  // only an empty list gives index 0
}

TEST(ColourRules, ShadowColours) {
  EXPECT_EQ(colourKindForModel(kDocGrayColorModel), kGrayColor);
  EXPECT_EQ(colourKindForModel(kDocRGBColorModel), kThreeColor);
  EXPECT_EQ(colourKindForModel(kDocCMYKColorModel), kFourColor);

  // The plain shadow is black in every model: gray black is g = 1.
  expectComponents(shadowBlack(kGrayColor), kGrayColor, {1});
  expectComponents(shadowBlack(kThreeColor), kThreeColor, {0, 0, 0});
  expectComponents(shadowBlack(kFourColor), kFourColor, {1, 1, 1, 1});

  // Half shadow: the kind switches, the components it holds halve as they stand.
  expectComponents(halfShadowColour(colour(kFourColor, 0.2f, 0.4f, 0.6f, 0.8f), kFourColor), kFourColor,
                   {0.1f, 0.2f, 0.3f, 0.4f});
  expectComponents(halfShadowColour(colour(kThreeColor, 0.2f, 0.4f, 0.6f, 0.8f), kFourColor), kFourColor,
                   {0.1f, 0.2f, 0.3f, 0.4f});
  expectComponents(halfShadowColour(colour(kFourColor, 0.2f, 0.4f, 0.6f, 0.8f), kGrayColor), kGrayColor,
                   {0.1f, 0.4f, 0.6f, 0.8f});
  expectComponents(halfShadowColour(colour(kGrayColor, 0.5f, 0.4f, 0.6f, 0.8f), kThreeColor), kThreeColor,
                   {0.25f, 0.2f, 0.3f, 0.8f});
}
