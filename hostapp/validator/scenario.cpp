#include "hostapp/validator/scenario.h"

#include <algorithm>
#include <cmath>

#include "hostapp/records/record_file.h"
#include "hostapp/writers/svg_writer.h"
#include "params/record/plugin_facts.h"

namespace validator {
namespace {

constexpr const char* kErrorDialog = "Error Dialog";
constexpr int32_t kErrorMessageItem = 2;
constexpr int32_t kErrorCodeItem = 3;

// The suite table the plug-in binds: every one of them must be released
// again after each outermost message.
struct BoundSuite {
  const char* name;
  int32_t version;
};
constexpr BoundSuite kBoundSuites[] = {
    {"SP Blocks Suite", 2},          {"SP Access Suite", 3},           {"AI MdMemory Suite", 1},
    {"AI Real Math Suite", 1},       {"AI Art Suite", 9},              {"AI User Suite", 5},
    {"AI Document Suite", 7},        {"AI Document View Suite", 7},    {"AI Undo Suite", 4},
    {"AI Path Suite", 4},            {"AI Path Style Suite", 5},       {"AI Random Suite", 3},
    {"AI Tag Suite", 2},             {"AI Blend Style Suite", 2},      {"AI Matching Art Suite", 4},
    {"AI Transform Art Suite", 1},   {"AI Real Bezier Suite", 1},      {"AI Swatch List Suite", 4},
    {"AI Art Style Suite", 3},       {"AI Symbol Suite", 1},           {"AI Layer Suite", 9},
    {"AI Shape Construction Suite", 4}, {"AI Envelope Suite", 1},      {"AI Menu Suite", 7},
    {"AI Filter Suite", 2},          {"ADM Basic Suite", 2},           {"ADM Dialog Suite", 3},
    {"ADM Item Suite", 4},           {"ADM Icon Suite", 1},            {"ADM Notifier Suite", 1},
    {"ADM List Suite", 1},           {"ADM Entry Suite", 2},           {"ADM Tracker Suite", 1},
};

std::string itemText(const host::ShownDialog& shown, int32_t id) {
  for (const auto& item : shown.items)
    if (item.id == id) return item.text;
  return "";
}

bool finiteColor(const host::Color& c) {
  return std::all_of(c.c.begin(), c.c.end(), [](float v) { return std::isfinite(v); });
}

void auditPaths(const std::string& what, const std::vector<host::Segment>& segments, const host::Style& style,
                float opacity, std::vector<std::string>& problems) {
  for (std::size_t i = 0; i < segments.size(); ++i) {
    if (!host::isFinite(segments[i])) {
      problems.push_back(what + ": segment " + std::to_string(i) + " is not finite");
      break;
    }
  }
  if (!std::isfinite(style.strokeWidth) || !finiteColor(style.fill) || !finiteColor(style.stroke))
    problems.push_back(what + ": style holds a number that is not finite");
  if (!std::isfinite(opacity)) problems.push_back(what + ": opacity is not finite");
}

void auditArt(const host::Document& document, const host::Art& art, std::vector<std::string>& problems) {
  const std::string what = "art " + std::to_string(art.id);
  if (art.kind == host::ArtKind::Path) {
    auditPaths(what, art.state.segments, art.state.style, art.state.opacity, problems);
    return;
  }
  for (host::ArtId id : art.state.envelope.contents)
    if (const host::Art* held = document.art(id)) auditArt(document, *held, problems);
  if (const host::Art* shape = document.art(art.state.envelope.shape)) auditArt(document, *shape, problems);
}

}  // namespace

const char* stepName(StepKind kind) {
  switch (kind) {
    case StepKind::Startup: return "Startup";
    case StepKind::Shutdown: return "Shutdown";
    case StepKind::About: return "About";
    case StepKind::Unload: return "Unload";
    case StepKind::Reload: return "Reload";
    case StepKind::GetParameters: return "Get Parameters";
    case StepKind::Go: return "Go";
    case StepKind::MenuGo: return "menu Go";
    case StepKind::MenuUpdate: return "menu Update";
    case StepKind::SetRecord: return "record";
  }
  return "?";
}

std::vector<host::ArtId> liveArt(const host::Document& document) {
  std::vector<host::ArtId> ids;
  for (const host::Layer& layer : document.layers())
    document.forEachInPaintOrder(layer.id, [&](const host::Art& art) { ids.push_back(art.id); });
  return ids;
}

std::vector<std::string> auditDocument(const host::Document& document, bool writeSvg) {
  std::vector<std::string> problems;
  for (const host::Layer& layer : document.layers())
    document.forEachInPaintOrder(layer.id, [&](const host::Art& art) { auditArt(document, art, problems); });
  for (const host::Symbol& symbol : document.symbols())
    for (const host::SymbolPath& path : symbol.paths)
      auditPaths(symbol.name, path.segments, path.style, path.opacity, problems);
  if (problems.size() > 5) problems.resize(5);
  if (!writeSvg) return problems;
  const std::string svg = writers::svgString(document);
  // printf writes a non-finite number as "nan", "-nan" or "inf".
  if (svg.find("nan") != std::string::npos || svg.find("inf") != std::string::npos)
    problems.push_back("the SVG holds a non-finite number");
  return problems;
}

ScenarioRunner::ScenarioRunner(const host::PluginFile& plugin, const host::HostOptions& options, Mode mode,
                               PluginMainProc entry)
    : drawing_(std::make_unique<host::DrawingSession>(host::SessionSettings{options, {}, {}})), host_(&drawing_->host()) {
  if (mode == Mode::Observed) {
    host_->gate().setLogging(true);
    host_->gate().setFailureRule([this](std::uint64_t call, const char* suite, const char* operation) {
      return failIfInjected(call, suite, operation);
    });
  }
  session_ = &drawing_->loadPlugin(plugin, entry);
}

ScenarioRunner::~ScenarioRunner() {
  session_ = nullptr;
  drawing_.reset();
}

void ScenarioRunner::inject(const Injection& injection) { injection_ = injection; }

void ScenarioRunner::clearInjection() { injection_ = Injection{}; }

FailedCall ScenarioRunner::describeFailure(std::uint64_t call, const char* suite, const char* operation,
                                           const FaultSite* site) {
  FailedCall failed;
  failed.call = call;
  failed.record = {suite, operation};
  failed.site = site;
  failed.dialogOpen = session_ && session_->dialogs().activeDialog() != nullptr;
  failed.artBefore = liveArt(host_->document());
  return failed;
}

HostErr ScenarioRunner::failIfInjected(std::uint64_t call, const char* suite, const char* operation) {
  const FaultSite* site = classifier_.next({suite, operation});
  sites_.push_back(site);
  if (injection_.call == 0) return kHostNoErr;
  const bool chosen = call == injection_.call || (injection_.everyCallFromThenOn && call > injection_.call);
  if (!chosen || (site && site->expectation == Expectation::NotInjected)) return kHostNoErr;
  if (!firstFailure_) firstFailure_ = describeFailure(call, suite, operation, site);
  if (!firstTested_ && site && site->expectation == Expectation::EndsRun)
    firstTested_ = describeFailure(call, suite, operation, site);
  failedSites_.insert(site);
  const std::string name = operation;
  if (name == "ReleaseSuite") ++refusedReleases_;
  if (name == "FreeBlock") ++refusedFrees_;
  return injection_.code;
}

HostErr ScenarioRunner::deliver(const Step& step) {
  host::PluginSession& s = *session_;
  switch (step.kind) {
    case StepKind::Startup: return s.startup();
    case StepKind::Shutdown: return s.shutdown();
    case StepKind::About: return s.about();
    case StepKind::Unload: return s.unload();
    case StepKind::Reload: return s.reload();
    case StepKind::Go: return s.go();
    case StepKind::MenuGo: return s.send(kCallerMenu, kSelectorMenuGo);
    case StepKind::MenuUpdate: return s.send(kCallerMenu, kSelectorMenuUpdate);
    case StepKind::SetRecord: return step.record ? s.setRecordBytes(records::recordBytes(*step.record)) : kHostNoErr;
    case StepKind::GetParameters: {
      auto outcome = std::make_shared<host::ScriptOutcome>();
      s.dialogs().setDriver(
          host::scriptDriver(host::parseDialogScript(step.script), kOptionsDialogName, step.cancel, host_->document(),
                             outcome));
      const HostErr result = s.getParameters();
      s.dialogs().setDriver(host::acceptDriver);
      closedItems_ = outcome->closedItems;
      return result;
    }
  }
  return kHostNoErr;
}

HostErr ScenarioRunner::run(const Step& step) {
  StepOutcome outcome;
  outcome.kind = step.kind;
  outcome.firstCall = host_->gate().callCount();
  const std::size_t shownBefore = session_->dialogs().shown().size();
  outcome.result = deliver(step);
  outcome.endCall = host_->gate().callCount();
  const auto& shown = session_->dialogs().shown();
  for (std::size_t i = shownBefore; i < shown.size(); ++i) {
    if (shown[i].alert) {
      ++outcome.alerts;
    } else if (shown[i].name == kErrorDialog) {
      outcome.errorCodes.push_back(itemText(shown[i], kErrorCodeItem));
      outcome.errorMessages.push_back(itemText(shown[i], kErrorMessageItem));
    }
  }
  outcome.driverError = session_->dialogs().takeDriverError();
  outcomes_.push_back(outcome);
  return outcome.result;
}

void ScenarioRunner::runAll(const std::vector<Step>& steps) {
  for (const Step& step : steps) run(step);
}

std::optional<SpiralParameters> ScenarioRunner::keptRecord() const {
  const std::vector<unsigned char> bytes = session_->recordBytes();
  if (bytes.size() != kSpiralParametersSize) return std::nullopt;
  return records::recordFromBytes(bytes);
}

std::vector<std::string> ScenarioRunner::finish(bool writeSvg) {
  clearInjection();
  host_->gate().setCallBudget(host::kDefaultCallBudget);
  std::vector<std::string> problems;
  if (!session_->loaded()) session_->reload();
  const bool shutDown = !outcomes_.empty() && outcomes_.back().kind == StepKind::Shutdown && outcomes_.back().result == 0;
  if (!shutDown) run(Step{StepKind::Shutdown});

  host::HostMemory& memory = host_->memory();
  if (memory.liveBlocks() > static_cast<std::size_t>(refusedFrees_))
    problems.push_back(std::to_string(memory.liveBlocks()) + " memory block(s) still allocated after Shutdown");
  const std::size_t keptHandles = session_->parameters() ? 1 : 0;
  if (memory.liveHandles() > keptHandles)
    problems.push_back(std::to_string(memory.liveHandles() - keptHandles) +
                       " memory handle(s) allocated beside the parameters");
  for (const BoundSuite& suite : kBoundSuites) {
    const int refs = host_->suites().refCount(suite.name, suite.version);
    if (refs > refusedReleases_)
      problems.push_back(std::string(suite.name) + " still acquired " + std::to_string(refs) + " time(s)");
  }
  if (refusedReleases_ == 0 && host_->suites().totalRefCount() != 0)
    problems.push_back(std::to_string(host_->suites().totalRefCount()) + " suite reference(s) still held");
  if (session_->dialogs().activeDialog()) problems.push_back("a dialog is still open");
  for (std::string& p : auditDocument(host_->document(), writeSvg)) problems.push_back(std::move(p));
  return problems;
}

}  // namespace validator
