#include "hostapp/validator/fault_table.h"

#include <cstring>

#include "shell/host/host_interface.h"

namespace validator {
namespace {

using E = Expectation;

constexpr const char* kAny = "*";
constexpr const char* kArmLoop = "arm loop";
constexpr const char* kRetraction = "retraction of the end handles";
constexpr const char* kOffsetPasses = "offset passes";
constexpr const char* kSketchShift = "sketch copy shift";

// Specific rows come before the "*" row of their suite.
constexpr FaultSite kSites[] = {
    // Entry, binding and start-up.
    {kBasicSuite, "AcquireSuite", "binding the suite table; Shutdown's own SP Blocks Suite", E::EndsRun},
    {kBasicSuite, "ReleaseSuite", "unbinding the suite table; Shutdown's own release", E::CarriesOn},
    {kBasicSuite, "IsEqual", "caller and selector tests", E::NotInjected},
    {kBlocksSuite, "AllocateBlock", "Startup: the globals block", E::EndsRun},
    {kBlocksSuite, "FreeBlock", "Shutdown: the globals block", E::CarriesOn},
    // Registration.
    {kFilterSuite, "AddFilter", "registration", E::EndsRun},
    {kFilterSuite, "GetFilterMenuItem", "registration", E::EndsRun},
    {kMenuSuite, "UpdateMenuItemAutomatically", "registration", E::EndsRun},
    {kADMBasicSuite, "GetIndexString", "registration texts and error texts (a failed read is an empty text)",
     E::CarriesOn},
    {kADMBasicSuite, "MessageAlert", "Suite Loading Error alert", E::CarriesOn},
    // Error dialog, About box and the options dialog.
    {kUserSuite, kAny, "error dialog: code texts", E::CarriesOn},
    {kADMDialogSuite, "Modal", "error dialog, About box, options dialog (returns the item that ended it)", E::Value},
    {kADMDialogSuite, "GetUserData", "dialog procs", E::Value},
    {kADMDialogSuite, "GetItem", "dialog procs", E::Value},
    {kADMDialogSuite, kAny, "dialog construction", E::CarriesOn},
    {kADMItemSuite, kAny, "dialog items: construction, read-back, presets, randomisers, picks", E::CarriesOn},
    {kADMListSuite, kAny, "popup lists", E::CarriesOn},
    {kADMEntrySuite, kAny, "popup list entries", E::CarriesOn},
    {kADMTrackerSuite, kAny, "pick buttons", E::CarriesOn},
    {kDocumentViewSuite, kAny, "default centre, dialog zoom, picks", E::CarriesOn},
    // Parameter lifecycle.
    {kMdMemorySuite, "NewHandle", "Get Parameters: the parameter block", E::EndsRun},
    {kUndoSuite, "UndoChanges", "start of a drawing run; cancelled dialog", E::EndsRun},
    // The drawing run.
    {kArtStyleSuite, "CountArtStyles", "start of a drawing run", E::EndsRun},
    {kDocumentSuite, "GetDocumentPageSize", "start of a drawing run", E::EndsRun},
    {kSwatchListSuite, "CountSwatches", "start of a drawing run", E::Value},
    {kDocumentSuite, "RedrawDocument", "end of a preview run", E::EndsRun},
    {kLayerSuite, "InsertLayer", "New layer", E::EndsRun},
    {kArtSuite, "NewArt", "new spiral path", E::EndsRun},
    {kPathSuite, "SetPathSegmentCount", "new spiral path: no segments", E::CarriesOn},
    {kPathSuite, "SetPathSegments", kArmLoop, E::EndsRun},
    {kPathSuite, "GetPathSegments", kRetraction, E::EndsRun},
    {kPathSuite, "SetPathSegments", kRetraction, E::EndsRun},
    {kPathSuite, "GetPathSegments", kOffsetPasses, E::CarriesOn},
    {kPathSuite, "SetPathSegments", kOffsetPasses, E::CarriesOn},
    {kPathSuite, "SetPathClosed", "Close spiral", E::EndsRun},
    {kPathSuite, "GetPathSegmentCount", kSketchShift, E::EndsRun},
    {kPathSuite, "GetPathSegments", kSketchShift, E::EndsRun},
    {kPathSuite, "SetPathSegments", kSketchShift, E::EndsRun},
    {kRandomSuite, "FloatRnd", "random draws", E::Value},
    {kRealMathSuite, kAny, "conversions, sine, interpolation, matrices", E::CarriesOn},
    {kArtSuite, "GetArtBounds", "transforms, mirrored copies, shadow scale", E::EndsRun},
    {kTransformArtSuite, "TransformArt", "transforms, mirrored copies, shadow", E::EndsRun},
    {kArtSuite, "DuplicateArt", "mirrored copies, sketch copies, shadow", E::EndsRun},
    {kPathStyleSuite, kAny, "colour, width and sketch options; shadow colour", E::CarriesOn},
    {kBlendStyleSuite, "GetOpacity", "Reducing opacity", E::Value},
    {kBlendStyleSuite, "SetOpacity", "opacity options", E::CarriesOn},
    {kSwatchListSuite, "GetNthSwatch", "swatch picks", E::Value},
    {kSwatchListSuite, "GetSwatchColor", "swatch picks", E::CarriesOn},
    {kArtStyleSuite, "GetNthArtStyle", "Style [R]", E::EndsRun},
    {kArtStyleSuite, "ApplyArtStyle", "Style [R]", E::EndsRun},
    {kSymbolSuite, "NewSymbol", "Symbolize", E::EndsRun},
    {kShapeConstructionSuite, kAny, "Warp [R]: envelope shape", E::CarriesOn},
    {kEnvelopeSuite, "MakeEnvelope", "Warp [R]", E::EndsRun},
    {kEnvelopeSuite, "SetEnvelopeWarp", "Warp [R]", E::EndsRun},
    {kDocumentSuite, "GetDocumentColorModel", "Drop shadow colour", E::CarriesOn},
};

bool same(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

// The first row for the call, with a site when the operation has rows for
// several sites.
const FaultSite* findRow(const host::CallRecord& call, const char* site) {
  for (const FaultSite& row : kSites) {
    if (!same(row.suite, call.suite)) continue;
    if (!same(row.operation, kAny) && !same(row.operation, call.operation)) continue;
    if (site && !same(row.site, site)) continue;
    return &row;
  }
  return nullptr;
}

bool isPathSegmentCall(const host::CallRecord& call) {
  return same(call.suite, kPathSuite) && (same(call.operation, "GetPathSegments") || same(call.operation, "SetPathSegments"));
}

// Calls that the kernel and the offset passes make between segment calls;
// they do not end a phase of the path.
bool isInterleaved(const host::CallRecord& call) {
  return same(call.suite, kRandomSuite) || same(call.suite, kRealMathSuite);
}

}  // namespace

const char* expectationName(Expectation e) {
  switch (e) {
    case Expectation::EndsRun: return "tested";
    case Expectation::CarriesOn: return "untested";
    case Expectation::Value: return "value";
    case Expectation::NotInjected: return "not injected";
  }
  return "?";
}

std::span<const FaultSite> faultSites() { return kSites; }

bool isStructural(const host::CallRecord& call) {
  for (const FaultSite& row : kSites) {
    if (row.expectation == Expectation::EndsRun && same(row.suite, call.suite) && same(row.operation, call.operation))
      return true;
  }
  return false;
}

const FaultSite* SiteClassifier::next(const host::CallRecord& call) {
  if (same(call.suite, kArtSuite) && same(call.operation, "NewArt")) {
    phase_ = PathPhase::ArmLoop;
    return findRow(call, nullptr);
  }
  if (same(call.suite, kPathSuite) && same(call.operation, "GetPathSegmentCount")) {
    phase_ = PathPhase::Sketch;
    return findRow(call, nullptr);
  }
  if (isPathSegmentCall(call)) {
    const bool read = same(call.operation, "GetPathSegments");
    switch (phase_) {
      case PathPhase::ArmLoop:
        if (!read) return findRow(call, kArmLoop);
        phase_ = PathPhase::Retraction;
        retractionCalls_ = 0;
        [[fallthrough]];
      case PathPhase::Retraction:
        if (++retractionCalls_ == 4) phase_ = PathPhase::Offset;
        return findRow(call, kRetraction);
      case PathPhase::Offset: return findRow(call, kOffsetPasses);
      case PathPhase::Sketch: return findRow(call, kSketchShift);
      case PathPhase::None: return nullptr;
    }
  }
  const bool keepsPhase = isInterleaved(call) || (same(call.suite, kPathSuite) && same(call.operation, "SetPathSegmentCount"));
  if (!keepsPhase) phase_ = PathPhase::None;
  return findRow(call, nullptr);
}

std::vector<const FaultSite*> classifyLog(const std::vector<host::CallRecord>& log) {
  SiteClassifier classifier;
  std::vector<const FaultSite*> sites;
  sites.reserve(log.size());
  for (const host::CallRecord& call : log) sites.push_back(classifier.next(call));
  return sites;
}

std::string callName(const host::CallRecord& call) { return std::string(call.suite) + "/" + call.operation; }

}  // namespace validator
