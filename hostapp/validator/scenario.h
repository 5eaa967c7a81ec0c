// A plug-in's life as a list of steps (the host's messages and the record
// it hands over), run against a fresh stand-in host with the plug-in's real
// library, optionally with host calls made to fail. The runner records what
// each message returned, which calls it made and which error dialogs it
// showed, and after the last step checks what the plug-in left behind.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "hostapp/dialogs/script_driver.h"
#include "hostapp/host/host_context.h"
#include "hostapp/loader/plugin_loader.h"
#include "hostapp/session/drawing_session.h"
#include "hostapp/session/plugin_session.h"
#include "hostapp/validator/fault_table.h"
#include "params/record/spiral_parameters.h"

namespace validator {

enum class StepKind {
  Startup,
  Shutdown,
  About,
  Unload,
  Reload,
  GetParameters,  // with a dialog script
  Go,
  MenuGo,
  MenuUpdate,
  SetRecord,  // the host hands over a kept record; no message
};

const char* stepName(StepKind kind);

struct Step {
  Step(StepKind k = StepKind::Go) : kind(k) {}
  StepKind kind;
  std::string script;  // GetParameters: dialog script; the dialog ends with Enter
  bool cancel = false; // GetParameters: end with Cancel instead
  std::optional<SpiralParameters> record;  // SetRecord
  HostErr expect = 0;  // what the message returns in a run without failures
};

struct Scenario {
  std::string name;
  host::HostOptions options;
  std::vector<Step> steps;
};

// The code the fault injection fails calls with: a four-character code
// that no host operation returns by itself.
inline constexpr HostErr kInjectedCode = static_cast<HostErr>(host::fourCharCode("INJ!"));

struct Injection {
  std::uint64_t call = 0;  // gate call number to fail; 0: none
  bool everyCallFromThenOn = false;
  HostErr code = kInjectedCode;
};

struct StepOutcome {
  StepKind kind = StepKind::Go;
  HostErr result = 0;
  // The step's calls are numbered firstCall + 1 .. endCall.
  std::uint64_t firstCall = 0;
  std::uint64_t endCall = 0;
  std::vector<std::string> errorCodes;  // code texts of the error dialogs shown
  std::vector<std::string> errorMessages;
  int alerts = 0;
  std::string driverError;
};

// The first failed call of a run, as the host saw it.
struct FailedCall {
  std::uint64_t call = 0;
  host::CallRecord record{"", ""};
  const FaultSite* site = nullptr;
  bool dialogOpen = false;           // inside a modal dialog (the preview)
  std::vector<host::ArtId> artBefore;  // art in the document just before it
};

class ScenarioRunner {
 public:
  // Opens the plug-in's library in a new host. Throws host::LoadError.
  // Observed runs log every call and name its site, so that failures can be
  // injected and judged; plain runs (long ones) do neither.
  // With `entry`, the plug-in is one linked into this program (tests) and
  // only its resources come from the file.
  enum class Mode { Observed, Plain };
  ScenarioRunner(const host::PluginFile& plugin, const host::HostOptions& options, Mode mode = Mode::Observed,
                 PluginMainProc entry = nullptr);
  ~ScenarioRunner();
  ScenarioRunner(const ScenarioRunner&) = delete;
  ScenarioRunner& operator=(const ScenarioRunner&) = delete;

  // Makes calls fail from now on; failed calls of the table's NotInjected
  // operations are passed over.
  void inject(const Injection& injection);
  void clearInjection();

  // Runs one step and records its outcome. A script that cannot be read
  // throws host::ScriptError.
  HostErr run(const Step& step);
  void runAll(const std::vector<Step>& steps);

  // Ends the plug-in's life as a host would: the failures are cleared, and
  // when the last Shutdown failed (or none was sent) Shutdown is sent again.
  // Then every block and handle the plug-in took must be back (apart from
  // those the host refused to free and the parameters the host keeps), every
  // suite released (apart from releases the host refused), no dialog open
  // and the document free of non-finite numbers. Returns the problems.
  std::vector<std::string> finish(bool writeSvg = false);

  const std::vector<StepOutcome>& outcomes() const { return outcomes_; }
  const std::vector<host::CallRecord>& log() const { return host_->gate().log(); }
  const std::vector<const FaultSite*>& sites() const { return sites_; }
  // The first injected failure, and the first at a site the plug-in tests.
  const std::optional<FailedCall>& firstFailure() const { return firstFailure_; }
  const std::optional<FailedCall>& firstTestedFailure() const { return firstTested_; }
  // The items of the options dialog as the last Get Parameters closed it.
  const std::vector<host::ItemState>& closedItems() const { return closedItems_; }
  // The table rows of every call failed so far.
  const std::set<const FaultSite*>& failedSites() const { return failedSites_; }
  int refusedReleases() const { return refusedReleases_; }
  int refusedFrees() const { return refusedFrees_; }

  host::HostContext& host() { return *host_; }
  host::PluginSession& session() { return *session_; }
  // The record the host keeps for the plug-in, decoded; nullopt before
  // there is one (or when the kept bytes are not a record).
  std::optional<SpiralParameters> keptRecord() const;

 private:
  HostErr failIfInjected(std::uint64_t call, const char* suite, const char* operation);
  FailedCall describeFailure(std::uint64_t call, const char* suite, const char* operation, const FaultSite* site);
  HostErr deliver(const Step& step);

  std::unique_ptr<host::DrawingSession> drawing_;
  host::HostContext* host_;
  host::PluginSession* session_ = nullptr;
  Injection injection_;
  SiteClassifier classifier_;
  std::vector<const FaultSite*> sites_;
  std::vector<StepOutcome> outcomes_;
  std::optional<FailedCall> firstFailure_;
  std::optional<FailedCall> firstTested_;
  std::vector<host::ItemState> closedItems_;
  std::set<const FaultSite*> failedSites_;
  int refusedReleases_ = 0;
  int refusedFrees_ = 0;
};

// Art of the document in paint order, every layer.
std::vector<host::ArtId> liveArt(const host::Document& document);

// Non-finite numbers in the document's art and symbols and, with
// `writeSvg`, in the SVG written from it; one line per problem (empty when
// sound).
std::vector<std::string> auditDocument(const host::Document& document, bool writeSvg);

}  // namespace validator
