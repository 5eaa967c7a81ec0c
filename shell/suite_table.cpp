#include "suite_table.h"

#include <cstdio>

const BlocksSuiteV2* gBlocksSuite = nullptr;
const AccessSuiteV3* gAccessSuite = nullptr;
const MdMemorySuiteV1* gMdMemorySuite = nullptr;
const RealMathSuiteV1* gRealMathSuite = nullptr;
const ArtSuiteV9* gArtSuite = nullptr;
const UserSuiteV5* gUserSuite = nullptr;
const DocumentSuiteV7* gDocumentSuite = nullptr;
const DocumentViewSuiteV7* gDocumentViewSuite = nullptr;
const UndoSuiteV4* gUndoSuite = nullptr;
const PathSuiteV4* gPathSuite = nullptr;
const PathStyleSuiteV5* gPathStyleSuite = nullptr;
const RandomSuiteV3* gRandomSuite = nullptr;
const TagSuiteV2* gTagSuite = nullptr;
const BlendStyleSuiteV2* gBlendStyleSuite = nullptr;
const MatchingArtSuiteV4* gMatchingArtSuite = nullptr;
const TransformArtSuiteV1* gTransformArtSuite = nullptr;
const RealBezierSuiteV1* gRealBezierSuite = nullptr;
const SwatchListSuiteV4* gSwatchListSuite = nullptr;
const ArtStyleSuiteV3* gArtStyleSuite = nullptr;
const SymbolSuiteV1* gSymbolSuite = nullptr;
const LayerSuiteV9* gLayerSuite = nullptr;
const ShapeConstructionSuiteV4* gShapeConstructionSuite = nullptr;
const EnvelopeSuiteV1* gEnvelopeSuite = nullptr;
const MenuSuiteV7* gMenuSuite = nullptr;
const FilterSuiteV2* gFilterSuite = nullptr;
const ADMBasicSuiteV2* gADMBasicSuite = nullptr;
const ADMDialogSuiteV3* gADMDialogSuite = nullptr;
const ADMItemSuiteV4* gADMItemSuite = nullptr;
const ADMIconSuiteV1* gADMIconSuite = nullptr;
const ADMNotifierSuiteV1* gADMNotifierSuite = nullptr;
const ADMListSuiteV1* gADMListSuite = nullptr;
const ADMEntrySuiteV2* gADMEntrySuite = nullptr;
const ADMTrackerSuiteV1* gADMTrackerSuite = nullptr;

int16_t suiteUseCount = 0;

namespace {
template <typename T>
constexpr const void** slot(const T** pointer) {
  return reinterpret_cast<const void**>(pointer);
}
}  // namespace

// The order matters: binding stops at the first failure, and the ADM Basic
// Suite (entry 25) must be bound to show the failure alert.
const SuiteTableEntry SuiteTable[kSuiteTableSize] = {
    {kBlocksSuite, kBlocksSuiteVersion, slot(&gBlocksSuite)},
    {kAccessSuite, kAccessSuiteVersion, slot(&gAccessSuite)},
    {kMdMemorySuite, kMdMemorySuiteVersion, slot(&gMdMemorySuite)},
    {kRealMathSuite, kRealMathSuiteVersion, slot(&gRealMathSuite)},
    {kArtSuite, kArtSuiteVersion, slot(&gArtSuite)},
    {kUserSuite, kUserSuiteVersion, slot(&gUserSuite)},
    {kDocumentSuite, kDocumentSuiteVersion, slot(&gDocumentSuite)},
    {kDocumentViewSuite, kDocumentViewSuiteVersion, slot(&gDocumentViewSuite)},
    {kUndoSuite, kUndoSuiteVersion, slot(&gUndoSuite)},
    {kPathSuite, kPathSuiteVersion, slot(&gPathSuite)},
    {kPathStyleSuite, kPathStyleSuiteVersion, slot(&gPathStyleSuite)},
    {kRandomSuite, kRandomSuiteVersion, slot(&gRandomSuite)},
    {kTagSuite, kTagSuiteVersion, slot(&gTagSuite)},
    {kBlendStyleSuite, kBlendStyleSuiteVersion, slot(&gBlendStyleSuite)},
    {kMatchingArtSuite, kMatchingArtSuiteVersion, slot(&gMatchingArtSuite)},
    {kTransformArtSuite, kTransformArtSuiteVersion, slot(&gTransformArtSuite)},
    {kRealBezierSuite, kRealBezierSuiteVersion, slot(&gRealBezierSuite)},
    {kSwatchListSuite, kSwatchListSuiteVersion, slot(&gSwatchListSuite)},
    {kArtStyleSuite, kArtStyleSuiteVersion, slot(&gArtStyleSuite)},
    {kSymbolSuite, kSymbolSuiteVersion, slot(&gSymbolSuite)},
    {kLayerSuite, kLayerSuiteVersion, slot(&gLayerSuite)},
    {kShapeConstructionSuite, kShapeConstructionSuiteVersion, slot(&gShapeConstructionSuite)},
    {kEnvelopeSuite, kEnvelopeSuiteVersion, slot(&gEnvelopeSuite)},
    {kMenuSuite, kMenuSuiteVersion, slot(&gMenuSuite)},
    {kFilterSuite, kFilterSuiteVersion, slot(&gFilterSuite)},
    {kADMBasicSuite, kADMBasicSuiteVersion, slot(&gADMBasicSuite)},
    {kADMDialogSuite, kADMDialogSuiteVersion, slot(&gADMDialogSuite)},
    {kADMItemSuite, kADMItemSuiteVersion, slot(&gADMItemSuite)},
    {kADMIconSuite, kADMIconSuiteVersion, slot(&gADMIconSuite)},
    {kADMNotifierSuite, kADMNotifierSuiteVersion, slot(&gADMNotifierSuite)},
    {kADMListSuite, kADMListSuiteVersion, slot(&gADMListSuite)},
    {kADMEntrySuite, kADMEntrySuiteVersion, slot(&gADMEntrySuite)},
    {kADMTrackerSuite, kADMTrackerSuiteVersion, slot(&gADMTrackerSuite)},
};

HostErr bindSuites(const BasicSuiteV4* basic) {
  HostErr result = kHostNoErr;
  // Counted first, so that the unbind that follows every bind balances it
  // even when an acquisition throws.
  if (suiteUseCount++ == 0) {
    for (const SuiteTableEntry& entry : SuiteTable) {
      result = basic->AcquireSuite(entry.name, entry.version, entry.pointer);
      if (result == kHostNoErr) continue;
      if (gADMBasicSuite) {
        char text[256];
        std::snprintf(text, sizeof text, "Suite Loading Error: %d, suite: %s, version: %d!",
                      static_cast<int>(result), entry.name, static_cast<int>(entry.version));
        gADMBasicSuite->MessageAlert(text);
      }
      break;
    }
  }
  return result;
}

HostErr unbindSuites(const BasicSuiteV4* basic) {
  HostErr result = kHostNoErr;
  // Uncounted first, for the same reason.
  if (suiteUseCount-- == 1) {
    for (const SuiteTableEntry& entry : SuiteTable) {
      if (*entry.pointer == nullptr) continue;
      result = basic->ReleaseSuite(entry.name, entry.version);
      if (result != kHostNoErr) break;
      *entry.pointer = nullptr;
    }
  }
  return result;
}
