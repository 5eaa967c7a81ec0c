// Every preset through the dialog and Go; random records through Go; and
// records beyond the host's limits, which must end with -108 and the
// plug-in's memory message, in bounded time.
#include <chrono>
#include <cmath>
#include <limits>

#include "hostapp/host/call_gate.h"
#include "hostapp/validator/checks.h"
#include "hostapp/validator/random_records.h"
#include "params/record/plugin_facts.h"

namespace validator {
namespace {

constexpr const char* kMemoryMessage = "The filter cannot complete because there isn't enough memory (RAM) available.";
constexpr HostErr kOutOfMemory = -108;
constexpr int kRecordsPerCheck = 100;
// Random records run in a small host: 16 MiB and four million calls per
// message are what a few hundred ordinary spirals need.
constexpr std::size_t kFuzzMemoryBudget = std::size_t{16} << 20;
constexpr std::uint64_t kFuzzCallBudget = 4'000'000;

std::vector<std::string> presetNames(const CheckContext& context) {
  ScenarioRunner runner(context.plugin, validatorHostOptions(context.seed), ScenarioRunner::Mode::Observed, context.entry);
  runner.run(Step{StepKind::Startup});
  Step look{StepKind::GetParameters};
  look.cancel = true;
  look.expect = 0;
  runner.run(look);
  for (const host::ItemState& item : runner.closedItems())
    if (item.id == kPresetListId) return item.entries;
  return {};
}

bool allPresets(const CheckContext& context, ChildReport& report) {
  const std::vector<std::string> names = presetNames(context);
  if (names.empty()) {
    report.note("the options dialog shows no preset list");
    return false;
  }
  bool ok = true;
  double slowest = 0;
  for (std::size_t i = 0; i < names.size(); ++i) {
    report.at("preset " + std::to_string(i) + names[i]);
    const auto start = std::chrono::steady_clock::now();
    ScenarioRunner runner(context.plugin, validatorHostOptions(context.seed + i), ScenarioRunner::Mode::Plain, context.entry);
    Step choose{StepKind::GetParameters};
    choose.script = "choose " + std::to_string(kPresetListId) + " " + std::to_string(i);
    std::vector<std::string> problems;
    for (const Step& step : {Step{StepKind::Startup}, choose, Step{StepKind::Go}}) {
      const HostErr result = runner.run(step);
      const StepOutcome& outcome = runner.outcomes().back();
      if (result != 0) problems.push_back(std::string(stepName(step.kind)) + " returned " + codeText(result));
      if (!outcome.driverError.empty()) problems.push_back("dialog script: " + outcome.driverError);
      if (!outcome.errorCodes.empty()) problems.push_back("an error dialog was shown");
    }
    const std::optional<SpiralParameters> record = runner.keptRecord();
    if (!record || record->presetIndex != static_cast<int32_t>(i)) problems.push_back("the record does not hold the preset");
    if (runner.host().document().liveArtCount() == 0) problems.push_back("nothing was drawn");
    runner.run(Step{StepKind::Shutdown});
    for (std::string& p : runner.finish(true)) problems.push_back(std::move(p));
    slowest = std::max(slowest, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    if (!problems.empty()) {
      ok = false;
      report.note("preset " + std::to_string(i) + " \"" + names[i] + "\": " + problems.front());
    }
  }
  report.figure("presets", static_cast<long long>(names.size()));
  char text[96];
  std::snprintf(text, sizeof text, "%zu presets drawn; the slowest took %.2f s", names.size(), slowest);
  report.note(text);
  return ok;
}

bool recordBatch(const CheckContext& context, int from, int to, ChildReport& report) {
  bool ok = true;
  double slowest = 0;
  int slowestIndex = from;
  int failed = 0;
  for (int i = from; i < to; ++i) {
    report.at("record " + std::to_string(i) + " of seed " + std::to_string(context.seed));
    const SpiralParameters record = randomRecord(context.seed, static_cast<std::uint64_t>(i));
    host::HostOptions options = validatorHostOptions(context.seed + static_cast<std::uint64_t>(i));
    options.memoryBudget = kFuzzMemoryBudget;
    options.callBudget = kFuzzCallBudget;
    options.colorModel = static_cast<host::ColorModel>(i % 3);
    const auto start = std::chrono::steady_clock::now();
    ScenarioRunner runner(context.plugin, options, ScenarioRunner::Mode::Plain, context.entry);
    Step kept{StepKind::SetRecord};
    kept.record = record;
    for (const Step& step : {Step{StepKind::Startup}, kept, Step{StepKind::Go}, Step{StepKind::Shutdown}}) runner.run(step);
    std::vector<std::string> problems;
    const StepOutcome& go = runner.outcomes()[2];
    if (go.errorCodes.size() > 1) problems.push_back("the error dialog showed more than once");
    if (go.result == kOutOfMemory && (go.errorMessages.size() != 1 || go.errorMessages[0] != kMemoryMessage))
      problems.push_back("-108 was not reported with the memory message");
    if (runner.outcomes()[0].result != 0 || runner.outcomes()[3].result != 0) problems.push_back("Startup or Shutdown failed");
    for (std::string& p : runner.finish(true)) problems.push_back(std::move(p));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (seconds > slowest) {
      slowest = seconds;
      slowestIndex = i;
    }
    if (!problems.empty()) {
      ok = false;
      if (++failed <= 3)
        report.note("record " + std::to_string(i) + " (Go returned " + codeText(go.result) + "): " + problems.front() +
                    "; bytes " + recordHex(record));
    }
  }
  report.figure("records", to - from);
  char text[128];
  std::snprintf(text, sizeof text, "records %d to %d; the slowest, record %d, took %.2f s", from, to - 1, slowestIndex,
                slowest);
  report.note(text);
  return ok;
}

// Host calls of one message in a --quick run: a sixty-fourth of the default.
constexpr std::uint64_t kQuickCallBudget = host::kDefaultCallBudget / 64;

// One record beyond the limits: Go must end with -108 and the memory
// message, within the check's time limit.
bool beyondLimits(const CheckContext& context, const SpiralParameters& record, ChildReport& report) {
  host::HostOptions options = validatorHostOptions(context.seed);
  if (context.options.memoryBudget) options.memoryBudget = *context.options.memoryBudget;
  // The run whose every write is refused takes no memory and ends on the call
  // budget; a short run ends it sooner.
  if (context.options.quick) options.callBudget = kQuickCallBudget;
  const auto start = std::chrono::steady_clock::now();
  ScenarioRunner runner(context.plugin, options, ScenarioRunner::Mode::Plain, context.entry);
  Step kept{StepKind::SetRecord};
  kept.record = record;
  for (const Step& step : {Step{StepKind::Startup}, kept, Step{StepKind::Go}, Step{StepKind::Shutdown}}) runner.run(step);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const StepOutcome& go = runner.outcomes()[2];
  bool ok = true;
  if (go.result != kOutOfMemory) {
    report.note("Go returned " + codeText(go.result) + ", expected -108");
    ok = false;
  }
  if (go.errorMessages.size() != 1 || go.errorMessages[0] != kMemoryMessage) {
    report.note("the error dialog did not show the memory message once");
    ok = false;
  }
  for (const std::string& p : runner.finish()) {
    report.note(p);
    ok = false;
  }
  char text[160];
  std::snprintf(text, sizeof text, "ended after %.1f s with %zu art objects, %.0f MiB of a %.0f MiB budget", seconds,
                runner.host().document().liveArtCount(),
                static_cast<double>(runner.host().document().memory().used()) / (1 << 20),
                static_cast<double>(options.memoryBudget) / (1 << 20));
  report.note(text);
  return ok;
}

}  // namespace

std::vector<Check> presetChecks(const CheckContext& context) {
  return {{"presets: every preset through the dialog and Go",
           [context](ChildReport& report) { return allPresets(context, report); }}};
}

std::vector<Check> recordChecks(const CheckContext& context) {
  std::vector<Check> checks;
  for (int from = 0; from < context.options.records; from += kRecordsPerCheck) {
    const int to = std::min(context.options.records, from + kRecordsPerCheck);
    checks.push_back({"random records " + std::to_string(from) + " to " + std::to_string(to - 1) + " through Go",
                      [context, from, to](ChildReport& report) { return recordBatch(context, from, to, report); }});
  }
  return checks;
}

std::vector<Check> limitChecks(const CheckContext& context) {
  constexpr int32_t kMaxInt = std::numeric_limits<int32_t>::max();
  std::vector<Check> checks;
  {
    SpiralParameters r = smallRecord(kMaxInt, 1);
    r.maxPoints = 2;
    checks.push_back({"limits: 2^31-1 one-arm spirals end with -108",
                      [context, r](ChildReport& report) { return beyondLimits(context, r, report); }});
  }
  {
    SpiralParameters r = smallRecord(kMaxInt, 3000);
    r.maxPoints = 40000;
    r.spiralOffsetX = 1;
    r.offsetCount = 100;
    r.sketchRepeats = kMaxInt;
    checks.push_back({"limits: 2^31-1 spirals of 32767 points and 2^31-1 sketch copies end with -108",
                      [context, r](ChildReport& report) { return beyondLimits(context, r, report); }});
  }
  {
    SpiralParameters r = smallRecord(kMaxInt, 10);
    r.spiralOffsetX = std::numeric_limits<float>::quiet_NaN();
    r.offsetCount = kMaxInt;
    checks.push_back({"limits: NaN offsets (every write refused) on 2^31-1 spirals end with -108",
                      [context, r](ChildReport& report) { return beyondLimits(context, r, report); }});
  }
  return checks;
}

}  // namespace validator
