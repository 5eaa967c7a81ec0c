#include "hostapp/suites/suites.h"

namespace host {

void registerApplicationSuites(SuiteRegistry& r) {
  r.registerSuite(kBasicSuite, kBasicSuiteVersion, &basicSuite());
  r.registerSuite(kBlocksSuite, kBlocksSuiteVersion, &blocksSuite());
  r.registerSuite(kAccessSuite, kAccessSuiteVersion, &accessSuite());
  r.registerSuite(kMdMemorySuite, kMdMemorySuiteVersion, &mdMemorySuite());
  r.registerSuite(kRealMathSuite, kRealMathSuiteVersion, &realMathSuite());
  r.registerSuite(kArtSuite, kArtSuiteVersion, &artSuite());
  r.registerSuite(kPathSuite, kPathSuiteVersion, &pathSuite());
  r.registerSuite(kPathStyleSuite, kPathStyleSuiteVersion, &pathStyleSuite());
  r.registerSuite(kBlendStyleSuite, kBlendStyleSuiteVersion, &blendStyleSuite());
  r.registerSuite(kTransformArtSuite, kTransformArtSuiteVersion, &transformArtSuite());
  r.registerSuite(kTagSuite, kTagSuiteVersion, &tagSuite());
  r.registerSuite(kMatchingArtSuite, kMatchingArtSuiteVersion, &matchingArtSuite());
  r.registerSuite(kRealBezierSuite, kRealBezierSuiteVersion, &realBezierSuite());
  r.registerSuite(kDocumentSuite, kDocumentSuiteVersion, &documentSuite());
  r.registerSuite(kDocumentViewSuite, kDocumentViewSuiteVersion, &documentViewSuite());
  r.registerSuite(kUndoSuite, kUndoSuiteVersion, &undoSuite());
  r.registerSuite(kRandomSuite, kRandomSuiteVersion, &randomSuite());
  r.registerSuite(kSwatchListSuite, kSwatchListSuiteVersion, &swatchListSuite());
  r.registerSuite(kArtStyleSuite, kArtStyleSuiteVersion, &artStyleSuite());
  r.registerSuite(kSymbolSuite, kSymbolSuiteVersion, &symbolSuite());
  r.registerSuite(kLayerSuite, kLayerSuiteVersion, &layerSuite());
  r.registerSuite(kShapeConstructionSuite, kShapeConstructionSuiteVersion, &shapeConstructionSuite());
  r.registerSuite(kEnvelopeSuite, kEnvelopeSuiteVersion, &envelopeSuite());
  r.registerSuite(kFilterSuite, kFilterSuiteVersion, &filterSuite());
  r.registerSuite(kMenuSuite, kMenuSuiteVersion, &menuSuite());
  r.registerSuite(kUserSuite, kUserSuiteVersion, &userSuite());
}

}  // namespace host
