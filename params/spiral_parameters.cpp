#include "spiral_parameters.h"

#include <cstring>

#include "shell/suite_table.h"

void setDefaultParameters(SpiralParameters& r) {
  // The view calls are not tested: without a view the centre stays at (0, 0)
  // and the spiral starts 100 points left of the page origin.
  ViewHandle view = nullptr;
  HostPoint centre{0.0f, 0.0f};
  gDocumentViewSuite->GetNthDocumentView(0, &view);
  gDocumentViewSuite->GetDocumentViewCenter(view, &centre);

  r.randomCreateArms = 0;
  r.randomWarp = 0;
  r.randomCurve = 0;
  r.threePoints = 0;
  r.randomFillSwatch = 0;
  r.randomArms = 0;
  r.jitterCenter = 0;
  r.jitterScaling = 0;
  r.newLayer = 0;
  r.randomScaling = 0;
  r.randomFill = 0;
  r.randomAngle = 0;
  r.randomOpacity = 0;
  r.preview = 1;
  r.randomStroke = 0;
  r.randomWidth = 0;
  r.randomStyle = 0;
  r.symbolize = 0;
  r.randomAbstract = 0;
  r.jitterFill = 0;
  r.jitterStroke = 0;
  r.jitterWidth = 0;
  r.basicPattern = 0;
  r.closeSpiral = 0;
  r.randomStrokeSwatch = 0;
  r.randomInterpolate = 0;
  r.dropShadow = 0;
  r.halfShadow = 0;
  r.randomShadowAngle = 0;
  r.randomShadowOpacity = 0;
  r.randomShadowScale = 0;
  r.randomSketchShift = 1;
  r.randomSketchWidth = 1;
  r.sketchRepeats = 0;
  r.sketchColorMode = 0;
  r.offsetMode = 0;
  r.spiralStructure = 0;
  r.activePage = 1;
  r.maxPoints = 9999;
  r.armCount = 10;
  r.spiralCount = 1;
  r.pointShiftX = 0.0f;
  r.pointShiftY = 0.0f;
  r.viewZoom = 100.0f;
  r.decayAccumulate = 100.0f;
  r.armCurveFactor1 = 100.0f;
  r.armCurveFactor2 = 100.0f;
  r.curvature1 = 33.0f;
  r.curvature2 = 33.0f;
  r.decay = 95.0f;
  r.spiralAngle = 0.0f;
  r.armGap = 200.0f;
  r.centerX = static_cast<float>(static_cast<double>(centre.h) - 100.0);
  r.centerY = centre.v;
  r.scaleH = 100.0f;
  r.scaleV = 100.0f;
  r.pointSideShift = 0.0f;
  r.starAdditionX = 0.0f;
  r.starAdditionY = 0.0f;
  r.pointFactor = 1000.0f;
  r.sketchShift = 5.0f;
  r.sketchWeight = 0.0f;
  r.interpolationAmount = 0.0f;
  r.spiralOffsetX = 0.0f;
  r.spiralOffsetY = 0.0f;
  r.interpolationMode = 0;
  r.placementMode = 0;
  r.presetIndex = 0;
  r.offsetCount = 1;
  r.pointShiftMode = 0;
  r.previewDrawn = 0;
  r.dialogBoundsValid = 0;
}
