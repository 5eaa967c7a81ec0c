// Fault injection: each scenario runs once without failures to count its
// host calls N; then for k = 1..N call k fails (once, and in a second pass
// with every call after it), each time in a fresh host with the plug-in's
// library opened anew, and the run is held against the table of tested and
// untested calls.
#include <cstring>
#include <map>
#include <set>

#include "hostapp/validator/checks.h"
#include "shell/host/host_interface.h"

namespace validator {
namespace {

constexpr std::size_t kNoStep = static_cast<std::size_t>(-1);
constexpr int kMaxNotes = 8;

struct CleanRun {
  std::vector<StepOutcome> outcomes;
  std::vector<host::CallRecord> log;
  std::vector<const FaultSite*> sites;
  std::uint64_t calls = 0;
};

std::size_t stepOf(const std::vector<StepOutcome>& outcomes, std::uint64_t call) {
  for (std::size_t i = 0; i < outcomes.size(); ++i)
    if (call > outcomes[i].firstCall && call <= outcomes[i].endCall) return i;
  return kNoStep;
}

bool sendsMessage(StepKind kind) { return kind != StepKind::SetRecord; }

bool isUndo(const host::CallRecord& call) {
  return std::strcmp(call.suite, kUndoSuite) == 0 && std::strcmp(call.operation, "UndoChanges") == 0;
}

bool isAcquire(const host::CallRecord& call) {
  return std::strcmp(call.suite, kBasicSuite) == 0 && std::strcmp(call.operation, "AcquireSuite") == 0;
}

std::string stepText(const StepOutcome& step) { return std::string(stepName(step.kind)); }

// What the run did wrong, measured against the table and the clean run.
std::vector<std::string> judge(ScenarioRunner& run, const CleanRun& clean, bool fromThenOn) {
  std::vector<std::string> problems;
  const auto& outcomes = run.outcomes();
  const auto& log = run.log();
  for (const StepOutcome& step : outcomes) {
    if (step.errorCodes.size() > 1)
      problems.push_back(stepText(step) + " showed the error dialog " + std::to_string(step.errorCodes.size()) +
                         " times");
  }
  const std::optional<FailedCall>& first = run.firstFailure();
  if (!first) {
    problems.push_back("the chosen call was never made: the run took another way than without failures");
    return problems;
  }
  const std::size_t at = stepOf(outcomes, first->call);
  if (at == kNoStep || at >= clean.outcomes.size()) {
    problems.push_back("the failing call lies outside the scenario's messages");
    return problems;
  }
  const FaultSite* site = first->site;
  if (!site) {
    problems.push_back(callName(first->record) + " is not in the table of host calls");
    return problems;
  }
  const StepOutcome& step = outcomes[at];
  const std::string inStep = " (in " + stepText(step) + ")";

  if (!fromThenOn) {
    if (site->expectation == Expectation::EndsRun) {
      if (first->dialogOpen) {
        if (step.result != clean.outcomes[at].result)
          problems.push_back("a tested failure inside the dialog was not dropped: " + stepText(step) + " returned " +
                             codeText(step.result) + " instead of " + codeText(clean.outcomes[at].result));
      } else if (step.result != kInjectedCode) {
        problems.push_back("tested call " + callName(first->record) + " failed and " + stepText(step) + " returned " +
                           codeText(step.result) + ", not the injected code");
      } else if (!isAcquire(first->record) &&
                 (step.errorCodes.size() != 1 || step.errorCodes[0] != codeText(kInjectedCode).substr(1, 4))) {
        problems.push_back("the failure of " + callName(first->record) + " was not shown once in the error dialog" + inStep);
      }
    } else {
      if (step.result == kInjectedCode)
        problems.push_back("untested call " + callName(first->record) + " failed and " + stepText(step) +
                           " returned its code");
      for (const std::string& code : step.errorCodes)
        if (code == codeText(kInjectedCode).substr(1, 4))
          problems.push_back("the failure of untested call " + callName(first->record) + " was reported" + inStep);
    }
  } else {
    // Every call from the first failure on fails: every later message fails
    // at its first acquisition.
    for (std::size_t i = at + 1; i < outcomes.size(); ++i) {
      const StepOutcome& later = outcomes[i];
      if (later.firstCall < first->call || !sendsMessage(later.kind)) continue;
      if (later.kind == StepKind::Unload || later.kind == StepKind::Reload) continue;
      if (later.result != kInjectedCode)
        problems.push_back(stepText(later) + " returned " + codeText(later.result) +
                           " while every host call failed, not the injected code");
    }
  }

  // After a tested failure the run is over: no structural call until the
  // message ends, or inside the options dialog until a new drawing run
  // starts with its undo. Art made before the failure stays.
  if (const std::optional<FailedCall>& tested = run.firstTestedFailure()) {
    const std::size_t where = stepOf(outcomes, tested->call);
    if (where != kNoStep) {
      const StepOutcome& s = outcomes[where];
      if (fromThenOn && !tested->dialogOpen && s.result != kInjectedCode)
        problems.push_back("tested call " + callName(tested->record) + " failed and " + stepText(s) + " returned " +
                           codeText(s.result) + ", not the injected code");
      bool undone = false;
      for (std::uint64_t n = tested->call + 1; n <= s.endCall && n <= log.size(); ++n) {
        const host::CallRecord& call = log[n - 1];
        if (isUndo(call) && s.kind == StepKind::GetParameters) {
          undone = true;
          break;
        }
        if (isStructural(call)) {
          problems.push_back(callName(call) + " (call " + std::to_string(n) + ") came after the failure of " +
                             callName(tested->record) + " (call " + std::to_string(tested->call) + ")");
          break;
        }
      }
      if (!undone) {
        for (host::ArtId id : tested->artBefore) {
          if (!run.host().document().art(id)) {
            problems.push_back("art " + std::to_string(id) + " made before the failure is gone");
            break;
          }
        }
      }
    }
  }
  return problems;
}

// The calls to fail: every one, or with a stride every n-th plus the first
// two calls of every row of the table, so that each site is still reached.
std::vector<std::uint64_t> chosenCalls(const CleanRun& clean, int stride) {
  std::vector<std::uint64_t> calls;
  std::map<const FaultSite*, int> seen;
  for (std::uint64_t k = 1; k <= clean.calls; ++k) {
    const FaultSite* site = clean.sites[k - 1];
    if (site && site->expectation == Expectation::NotInjected) continue;
    const int times = ++seen[site];
    if (stride <= 1 || k % static_cast<std::uint64_t>(stride) == 0 || times <= 2) calls.push_back(k);
  }
  return calls;
}

int rowIndex(const FaultSite* site) {
  const auto rows = faultSites();
  for (std::size_t i = 0; i < rows.size(); ++i)
    if (&rows[i] == site) return static_cast<int>(i);
  return -1;
}

}  // namespace

bool runFaultPass(const CheckContext& context, const Scenario& scenario, bool fromThenOn, ChildReport& report) {
  CleanRun clean;
  {
    ScenarioRunner runner(context.plugin, scenario.options, ScenarioRunner::Mode::Observed, context.entry);
    runner.runAll(scenario.steps);
    clean.outcomes = runner.outcomes();
    clean.calls = runner.host().gate().callCount();
    clean.log = runner.log();
    clean.sites = runner.sites();
    clean.log.resize(clean.calls, {"", ""});
    clean.sites.resize(clean.calls);
    bool sound = true;
    for (std::size_t i = 0; i < clean.outcomes.size(); ++i) {
      if (clean.outcomes[i].result != scenario.steps[i].expect) {
        report.note("without failures " + stepText(clean.outcomes[i]) + " returned " +
                    codeText(clean.outcomes[i].result) + ", expected " + codeText(scenario.steps[i].expect));
        sound = false;
      }
      if (!clean.outcomes[i].driverError.empty()) {
        report.note("dialog script: " + clean.outcomes[i].driverError);
        sound = false;
      }
    }
    for (std::uint64_t k = 0; k < clean.calls; ++k) {
      if (!clean.sites[k]) {
        report.note(callName(clean.log[k]) + " is not in the table of host calls");
        sound = false;
        break;
      }
    }
    for (const std::string& problem : runner.finish()) {
      report.note("without failures: " + problem);
      sound = false;
    }
    if (!sound) return false;
  }
  std::set<const FaultSite*> reached(clean.sites.begin(), clean.sites.end());
  std::set<const FaultSite*> failedRows;
  const std::vector<std::uint64_t> calls = chosenCalls(clean, context.options.faultStride);
  int failures = 0;
  for (std::uint64_t k : calls) {
    report.at("call " + std::to_string(k) + " of " + std::to_string(clean.calls) + ": " + callName(clean.log[k - 1]));
    std::vector<std::string> problems;
    {
      ScenarioRunner runner(context.plugin, scenario.options, ScenarioRunner::Mode::Observed, context.entry);
      runner.inject({k, fromThenOn, kInjectedCode});
      try {
        runner.runAll(scenario.steps);
      } catch (const std::exception& e) {
        problems.push_back(std::string("the run stopped: ") + e.what());
      }
      if (problems.empty()) problems = judge(runner, clean, fromThenOn);
      for (std::string& p : runner.finish()) problems.push_back(std::move(p));
      for (const FaultSite* site : runner.sites()) reached.insert(site);
      for (const FaultSite* site : runner.failedSites()) failedRows.insert(site);
    }
    if (!problems.empty()) {
      if (++failures <= kMaxNotes) {
        const FaultSite* site = clean.sites[k - 1];
        report.note("call " + std::to_string(k) + " " + callName(clean.log[k - 1]) + " [" +
                    (site ? site->site : "?") + "]: " + problems.front() +
                    (problems.size() > 1 ? " (+" + std::to_string(problems.size() - 1) + " more)" : ""));
      }
    }
  }
  for (const FaultSite* site : reached) report.figure("row " + std::to_string(rowIndex(site)), 1);
  for (const FaultSite* site : failedRows) report.figure("failed row " + std::to_string(rowIndex(site)), 1);
  report.figure("calls injected", static_cast<long long>(calls.size()));
  report.figure("scenario calls", static_cast<long long>(fromThenOn ? 0 : clean.calls));
  if (failures > 0) report.note(std::to_string(failures) + " of " + std::to_string(calls.size()) + " runs failed");
  report.note(std::to_string(calls.size()) + " of " + std::to_string(clean.calls) + " calls failed in turn");
  return failures == 0;
}

std::vector<Check> faultChecks(const CheckContext& context) {
  std::vector<Check> checks;
  for (const Scenario& scenario : faultScenarios()) {
    for (bool fromThenOn : {false, true}) {
      checks.push_back({"fault injection, " + scenario.name + (fromThenOn ? ", every call from k on" : ", call k once"),
                        [context, scenario, fromThenOn](ChildReport& report) {
                          return runFaultPass(context, scenario, fromThenOn, report);
                        }});
    }
  }
  return checks;
}

}  // namespace validator
