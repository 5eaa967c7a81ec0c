// The host suites the plug-in binds, one process-wide pointer each. They are
// bound from the start of the outermost PluginMain call to its end, so every
// piece of plug-in code that runs can use them.
#pragma once

#include <cstdint>

#include "shell/host/host_interface.h"

extern const BlocksSuiteV2* gBlocksSuite;
extern const AccessSuiteV3* gAccessSuite;
extern const MdMemorySuiteV1* gMdMemorySuite;
extern const RealMathSuiteV1* gRealMathSuite;
extern const ArtSuiteV9* gArtSuite;
extern const UserSuiteV5* gUserSuite;
extern const DocumentSuiteV7* gDocumentSuite;
extern const DocumentViewSuiteV7* gDocumentViewSuite;
extern const UndoSuiteV4* gUndoSuite;
extern const PathSuiteV4* gPathSuite;
extern const PathStyleSuiteV5* gPathStyleSuite;
extern const RandomSuiteV3* gRandomSuite;
extern const TagSuiteV2* gTagSuite;
extern const BlendStyleSuiteV2* gBlendStyleSuite;
extern const MatchingArtSuiteV4* gMatchingArtSuite;
extern const TransformArtSuiteV1* gTransformArtSuite;
extern const RealBezierSuiteV1* gRealBezierSuite;
extern const SwatchListSuiteV4* gSwatchListSuite;
extern const ArtStyleSuiteV3* gArtStyleSuite;
extern const SymbolSuiteV1* gSymbolSuite;
extern const LayerSuiteV9* gLayerSuite;
extern const ShapeConstructionSuiteV4* gShapeConstructionSuite;
extern const EnvelopeSuiteV1* gEnvelopeSuite;
extern const MenuSuiteV7* gMenuSuite;
extern const FilterSuiteV2* gFilterSuite;
extern const ADMBasicSuiteV2* gADMBasicSuite;
extern const ADMDialogSuiteV3* gADMDialogSuite;
extern const ADMItemSuiteV4* gADMItemSuite;
extern const ADMIconSuiteV1* gADMIconSuite;
extern const ADMNotifierSuiteV1* gADMNotifierSuite;
extern const ADMListSuiteV1* gADMListSuite;
extern const ADMEntrySuiteV2* gADMEntrySuite;
extern const ADMTrackerSuiteV1* gADMTrackerSuite;

struct SuiteTableEntry {
  const char* name;
  int32_t version;
  const void** pointer;
};

inline constexpr int kSuiteTableSize = 33;
extern const SuiteTableEntry SuiteTable[kSuiteTableSize];

// Nesting depth of PluginMain calls that hold the suites.
extern int16_t suiteUseCount;

// Acquires the whole table when no outer call holds it, then counts this call.
// Returns 0 or the first failing acquisition's code.
HostErr bindSuites(const BasicSuiteV4* basic);
// Releases the table when this is the outermost call, then uncounts it.
HostErr unbindSuites(const BasicSuiteV4* basic);
