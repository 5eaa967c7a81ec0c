// The validator's checks. Each runs in its own child process; it reports
// through the ChildReport and returns whether the plug-in passed.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "hostapp/loader/plugin_loader.h"
#include "hostapp/validator/child_run.h"
#include "hostapp/validator/scenario.h"

namespace validator {

struct ValidateOptions {
  std::string pluginPath;             // empty: the plug-in beside the executable
  std::optional<std::uint64_t> seed;  // unset: from the clock
  int records = 1000;                 // random records through Go
  int cycles = 100;                   // unload and reload cycles
  unsigned timeoutSeconds = 600;      // per check
  // The budget of the limits check (default: the host's default budget).
  std::optional<std::size_t> memoryBudget;
  int faultStride = 1;  // fail every call (1), or every n-th
  bool quick = false;   // a short run for CI
  std::string only;     // run only the checks whose name holds this text
};

struct CheckContext {
  host::PluginFile plugin;
  PluginMainProc entry = nullptr;  // a plug-in linked into the program (tests)
  std::uint64_t seed = 0;
  ValidateOptions options;
};

struct Check {
  std::string name;
  std::function<bool(ChildReport&)> run;
};

// The checks of a validator run, in order.
std::vector<Check> loadChecks(const std::string& pluginPath);
std::vector<Check> messageChecks(const CheckContext& context);
std::vector<Check> presetChecks(const CheckContext& context);
std::vector<Check> recordChecks(const CheckContext& context);
std::vector<Check> limitChecks(const CheckContext& context);
std::vector<Check> faultChecks(const CheckContext& context);

// The small scenarios of the fault injection: together they send every
// message and switch on every option of the drawing run.
std::vector<Scenario> faultScenarios();

// A record that draws a few small spirals fast, for scenarios.
SpiralParameters smallRecord(int spirals, int arms);

// Host options of the validator's runs: a fixed seed, so a run repeats.
host::HostOptions validatorHostOptions(std::uint64_t seed);

// One pass of the fault injection over a scenario: call k fails once, or
// with `everyCallFromThenOn` every call from k on, for every k of the
// scenario's clean run (with the context's stride).
bool runFaultPass(const CheckContext& context, const Scenario& scenario, bool everyCallFromThenOn, ChildReport& report);

// Text of a result code ("0", "-108", "'STOP'").
std::string codeText(HostErr code);

}  // namespace validator
