// The C function tables of the application suites this host implements,
// one const table each.
#pragma once

#include "hostapp/host/suite_registry.h"
#include "shell/host/host_interface.h"

namespace host {

const BasicSuiteV4& basicSuite();
const BlocksSuiteV2& blocksSuite();
const AccessSuiteV3& accessSuite();
const MdMemorySuiteV1& mdMemorySuite();
const RealMathSuiteV1& realMathSuite();
const ArtSuiteV9& artSuite();
const PathSuiteV4& pathSuite();
const PathStyleSuiteV5& pathStyleSuite();
const BlendStyleSuiteV2& blendStyleSuite();
const TransformArtSuiteV1& transformArtSuite();
const TagSuiteV2& tagSuite();
const MatchingArtSuiteV4& matchingArtSuite();
const RealBezierSuiteV1& realBezierSuite();
const DocumentSuiteV7& documentSuite();
const DocumentViewSuiteV7& documentViewSuite();
const UndoSuiteV4& undoSuite();
const RandomSuiteV3& randomSuite();
const SwatchListSuiteV4& swatchListSuite();
const ArtStyleSuiteV3& artStyleSuite();
const SymbolSuiteV1& symbolSuite();
const LayerSuiteV9& layerSuite();
const ShapeConstructionSuiteV4& shapeConstructionSuite();
const EnvelopeSuiteV1& envelopeSuite();
const FilterSuiteV2& filterSuite();
const MenuSuiteV7& menuSuite();
const UserSuiteV5& userSuite();

// Registers every suite above (the basic suite too) under its name and
// version.
void registerApplicationSuites(SuiteRegistry& registry);

}  // namespace host
