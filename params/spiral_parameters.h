// The filter's parameter record: 77 little-endian fields of 4 bytes, 308
// bytes, stored by the host as raw bytes between runs. Field k lies at offset
// 4k; the record has no header and no padding.
#pragma once

#include <cstddef>
#include <cstdint>

struct SpiralParameters {
  int32_t randomCreateArms;
  int32_t randomWarp;
  int32_t randomCurve;
  int32_t threePoints;
  int32_t randomFillSwatch;
  int32_t randomArms;
  int32_t jitterCenter;
  int32_t jitterScaling;
  int32_t newLayer;
  int32_t randomScaling;
  int32_t randomFill;
  int32_t randomAngle;
  int32_t randomOpacity;
  int32_t preview;
  int32_t randomStroke;
  int32_t randomWidth;
  int32_t randomStyle;
  int32_t symbolize;
  int32_t randomAbstract;
  int32_t jitterFill;
  int32_t jitterStroke;
  int32_t jitterWidth;
  int32_t basicPattern;
  int32_t closeSpiral;
  int32_t randomStrokeSwatch;
  int32_t randomInterpolate;
  int32_t dropShadow;
  int32_t halfShadow;
  int32_t randomShadowAngle;
  int32_t randomShadowOpacity;
  int32_t randomShadowScale;
  int32_t randomSketchShift;
  int32_t randomSketchWidth;
  int32_t sketchRepeats;
  int32_t sketchColorMode;
  int32_t offsetMode;
  int32_t spiralStructure;
  int32_t activePage;
  int32_t maxPoints;
  int32_t armCount;
  int32_t spiralCount;
  float pointShiftX;
  float pointShiftY;
  float viewZoom;
  float decayAccumulate;
  float armCurveFactor1;
  float armCurveFactor2;
  float curvature1;
  float curvature2;
  float decay;
  float spiralAngle;
  float armGap;
  float centerX;
  float centerY;
  float scaleH;
  float scaleV;
  float pointSideShift;
  float starAdditionX;
  float starAdditionY;
  float pointFactor;
  float sketchShift;
  float sketchWeight;
  float interpolationAmount;
  float spiralOffsetX;
  float spiralOffsetY;
  int32_t interpolationMode;
  int32_t placementMode;
  int32_t presetIndex;
  int32_t offsetCount;
  int32_t pointShiftMode;
  int32_t fromGo;
  int32_t previewDrawn;
  int32_t dialogBoundsLeft;
  int32_t dialogBoundsTop;
  int32_t dialogBoundsRight;
  int32_t dialogBoundsBottom;
  int32_t dialogBoundsValid;
};

static_assert(sizeof(SpiralParameters) == 308);
static_assert(alignof(SpiralParameters) == 4);
static_assert(offsetof(SpiralParameters, randomCreateArms) == 0);
static_assert(offsetof(SpiralParameters, randomWarp) == 4);
static_assert(offsetof(SpiralParameters, randomCurve) == 8);
static_assert(offsetof(SpiralParameters, threePoints) == 12);
static_assert(offsetof(SpiralParameters, randomFillSwatch) == 16);
static_assert(offsetof(SpiralParameters, randomArms) == 20);
static_assert(offsetof(SpiralParameters, jitterCenter) == 24);
static_assert(offsetof(SpiralParameters, jitterScaling) == 28);
static_assert(offsetof(SpiralParameters, newLayer) == 32);
static_assert(offsetof(SpiralParameters, randomScaling) == 36);
static_assert(offsetof(SpiralParameters, randomFill) == 40);
static_assert(offsetof(SpiralParameters, randomAngle) == 44);
static_assert(offsetof(SpiralParameters, randomOpacity) == 48);
static_assert(offsetof(SpiralParameters, preview) == 52);
static_assert(offsetof(SpiralParameters, randomStroke) == 56);
static_assert(offsetof(SpiralParameters, randomWidth) == 60);
static_assert(offsetof(SpiralParameters, randomStyle) == 64);
static_assert(offsetof(SpiralParameters, symbolize) == 68);
static_assert(offsetof(SpiralParameters, randomAbstract) == 72);
static_assert(offsetof(SpiralParameters, jitterFill) == 76);
static_assert(offsetof(SpiralParameters, jitterStroke) == 80);
static_assert(offsetof(SpiralParameters, jitterWidth) == 84);
static_assert(offsetof(SpiralParameters, basicPattern) == 88);
static_assert(offsetof(SpiralParameters, closeSpiral) == 92);
static_assert(offsetof(SpiralParameters, randomStrokeSwatch) == 96);
static_assert(offsetof(SpiralParameters, randomInterpolate) == 100);
static_assert(offsetof(SpiralParameters, dropShadow) == 104);
static_assert(offsetof(SpiralParameters, halfShadow) == 108);
static_assert(offsetof(SpiralParameters, randomShadowAngle) == 112);
static_assert(offsetof(SpiralParameters, randomShadowOpacity) == 116);
static_assert(offsetof(SpiralParameters, randomShadowScale) == 120);
static_assert(offsetof(SpiralParameters, randomSketchShift) == 124);
static_assert(offsetof(SpiralParameters, randomSketchWidth) == 128);
static_assert(offsetof(SpiralParameters, sketchRepeats) == 132);
static_assert(offsetof(SpiralParameters, sketchColorMode) == 136);
static_assert(offsetof(SpiralParameters, offsetMode) == 140);
static_assert(offsetof(SpiralParameters, spiralStructure) == 144);
static_assert(offsetof(SpiralParameters, activePage) == 148);
static_assert(offsetof(SpiralParameters, maxPoints) == 152);
static_assert(offsetof(SpiralParameters, armCount) == 156);
static_assert(offsetof(SpiralParameters, spiralCount) == 160);
static_assert(offsetof(SpiralParameters, pointShiftX) == 164);
static_assert(offsetof(SpiralParameters, pointShiftY) == 168);
static_assert(offsetof(SpiralParameters, viewZoom) == 172);
static_assert(offsetof(SpiralParameters, decayAccumulate) == 176);
static_assert(offsetof(SpiralParameters, armCurveFactor1) == 180);
static_assert(offsetof(SpiralParameters, armCurveFactor2) == 184);
static_assert(offsetof(SpiralParameters, curvature1) == 188);
static_assert(offsetof(SpiralParameters, curvature2) == 192);
static_assert(offsetof(SpiralParameters, decay) == 196);
static_assert(offsetof(SpiralParameters, spiralAngle) == 200);
static_assert(offsetof(SpiralParameters, armGap) == 204);
static_assert(offsetof(SpiralParameters, centerX) == 208);
static_assert(offsetof(SpiralParameters, centerY) == 212);
static_assert(offsetof(SpiralParameters, scaleH) == 216);
static_assert(offsetof(SpiralParameters, scaleV) == 220);
static_assert(offsetof(SpiralParameters, pointSideShift) == 224);
static_assert(offsetof(SpiralParameters, starAdditionX) == 228);
static_assert(offsetof(SpiralParameters, starAdditionY) == 232);
static_assert(offsetof(SpiralParameters, pointFactor) == 236);
static_assert(offsetof(SpiralParameters, sketchShift) == 240);
static_assert(offsetof(SpiralParameters, sketchWeight) == 244);
static_assert(offsetof(SpiralParameters, interpolationAmount) == 248);
static_assert(offsetof(SpiralParameters, spiralOffsetX) == 252);
static_assert(offsetof(SpiralParameters, spiralOffsetY) == 256);
static_assert(offsetof(SpiralParameters, interpolationMode) == 260);
static_assert(offsetof(SpiralParameters, placementMode) == 264);
static_assert(offsetof(SpiralParameters, presetIndex) == 268);
static_assert(offsetof(SpiralParameters, offsetCount) == 272);
static_assert(offsetof(SpiralParameters, pointShiftMode) == 276);
static_assert(offsetof(SpiralParameters, fromGo) == 280);
static_assert(offsetof(SpiralParameters, previewDrawn) == 284);
static_assert(offsetof(SpiralParameters, dialogBoundsLeft) == 288);
static_assert(offsetof(SpiralParameters, dialogBoundsTop) == 292);
static_assert(offsetof(SpiralParameters, dialogBoundsRight) == 296);
static_assert(offsetof(SpiralParameters, dialogBoundsBottom) == 300);
static_assert(offsetof(SpiralParameters, dialogBoundsValid) == 304);

inline constexpr std::size_t kSpiralParametersSize = sizeof(SpiralParameters);
inline constexpr int kSpiralParameterFieldCount = 77;

// Writes every default but `fromGo` and the four dialog bounds. The centre is
// taken from document view 0 (100 points left of its middle); the view calls
// are made through the bound host suites and their results are not tested.
void setDefaultParameters(SpiralParameters& record);

// The persisted form: little-endian whatever the machine's byte order.
void encodeParameters(const SpiralParameters& record, unsigned char out[kSpiralParametersSize]);
void decodeParameters(const unsigned char in[kSpiralParametersSize], SpiralParameters& record);
