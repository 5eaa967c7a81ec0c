#include "hostapp/validator/validator.h"

#include <chrono>
#include <cstdio>
#include <map>
#include <random>
#include <set>

#include "hostapp/io/file_input.h"

namespace validator {
namespace {

struct Tally {
  int passed = 0;
  int failed = 0;
  std::map<std::string, long long> figures;
  std::set<int> rows;        // rows of the fault table reached
  std::set<int> failedRows;  // rows whose calls were made to fail
};

std::string seconds(double s) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f s", s);
  return text;
}

// The options a parent resolved, as the arguments that make a re-run child
// build the same checks; `index` picks the child's check.
std::vector<std::string> rerunArguments(const ValidateOptions& options, std::uint64_t seed, std::size_t index) {
  std::vector<std::string> arguments = {"validate",     options.pluginPath,
                                        "--seed",       std::to_string(seed),
                                        "--records",    std::to_string(options.records),
                                        "--cycles",     std::to_string(options.cycles),
                                        "--timeout",    std::to_string(options.timeoutSeconds),
                                        "--fault-stride", std::to_string(options.faultStride),
                                        kChildCheckOption, std::to_string(index)};
  if (options.memoryBudget) {
    arguments.push_back("--memory-budget");
    arguments.push_back(std::to_string(*options.memoryBudget));
  }
  if (options.quick) arguments.push_back("--quick");
  return arguments;
}

ValidateOptions resolved(const ValidateOptions& given) {
  ValidateOptions options = given;
  if (options.pluginPath.empty()) options.pluginPath = host::defaultPluginPath();
  if (options.quick && !given.memoryBudget) options.memoryBudget = std::size_t{256} << 20;
  return options;
}

// Every check after the load checks, in order.
std::vector<Check> laterChecks(const CheckContext& context) {
  std::vector<Check> checks;
  for (auto* group : {messageChecks, presetChecks, recordChecks, limitChecks, faultChecks})
    for (Check& check : group(context)) checks.push_back(std::move(check));
  return checks;
}

bool runCheck(const Check& check, const std::vector<std::string>& rerun, unsigned timeout, std::ostream& out,
              Tally& tally) {
  const ChildOutcome outcome = runInChild(check.run, timeout, rerun);
  const bool passed = outcome.ending == ChildOutcome::Ending::Passed;
  out << (passed ? "PASS  " : "FAIL  ") << check.name << "  (" << seconds(outcome.seconds) << ")\n";
  if (!passed && outcome.ending != ChildOutcome::Ending::Failed) {
    out << "      the check " << describeEnding(outcome);
    if (!outcome.lastAt.empty()) out << " at " << outcome.lastAt;
    out << "\n";
  }
  for (const std::string& note : outcome.notes) out << "      " << note << "\n";
  for (const auto& [name, value] : outcome.figures) {
    if (name.rfind("row ", 0) == 0) {
      tally.rows.insert(std::atoi(name.c_str() + 4));
    } else if (name.rfind("failed row ", 0) == 0) {
      tally.failedRows.insert(std::atoi(name.c_str() + 11));
    } else {
      tally.figures[name] += value;
    }
  }
  out.flush();
  (passed ? tally.passed : tally.failed)++;
  return passed;
}

}  // namespace

int runValidatorChild(const ValidateOptions& given, std::size_t index, std::intptr_t channel) {
  const ValidateOptions options = resolved(given);
  std::vector<Check> checks = loadChecks(options.pluginPath);
  if (index >= checks.size()) {
    CheckContext context;
    try {
      context.plugin = host::scanPluginFile(options.pluginPath);
    } catch (const host::LoadError& error) {
      ChildReport(channel).note(error.what());
      return kChildFailed;
    }
    context.seed = options.seed.value_or(0);
    context.options = options;
    index -= checks.size();
    checks = laterChecks(context);
  }
  if (index >= checks.size()) {
    ChildReport(channel).note("there is no check " + std::to_string(index));
    return kChildFailed;
  }
  return runChildCheck(checks[index].run, channel);
}

int runValidator(const ValidateOptions& given, std::ostream& out) {
  const ValidateOptions options = resolved(given);
  const std::uint64_t seed = options.seed ? *options.seed : std::random_device{}() ^ static_cast<std::uint64_t>(
      std::chrono::system_clock::now().time_since_epoch().count());

  out << "spiral-host validate: " << options.pluginPath << "\n";
  out << "seed " << seed << " (replay with --seed " << seed << ")\n";
  const auto start = std::chrono::steady_clock::now();
  Tally tally;

  // Nothing else can run without a plug-in the host accepts.
  bool loaded = true;
  bool matched = false;
  std::size_t index = 0;
  for (const Check& check : loadChecks(options.pluginPath)) {
    loaded = runCheck(check, rerunArguments(options, seed, index++), options.timeoutSeconds, out, tally) && loaded;
    matched = matched || check.name.find(options.only) != std::string::npos;
  }
  if (!loaded) {
    out << "summary: the plug-in could not be loaded; " << tally.failed << " check(s) failed\n";
    return 2;
  }

  CheckContext context;
  context.plugin = host::scanPluginFile(options.pluginPath);
  context.seed = seed;
  context.options = options;
  // A name that matches nothing is a mistake, not a pass.
  std::vector<Check> later = laterChecks(context);
  for (const Check& check : later) matched = matched || check.name.find(options.only) != std::string::npos;
  if (!matched) {
    out << "summary: --only '" << hostio::printable(options.only) << "' matches no check\n";
    return 2;
  }
  for (const Check& check : later) {
    if (check.name.find(options.only) != std::string::npos)
      runCheck(check, rerunArguments(options, seed, index), options.timeoutSeconds, out, tally);
    ++index;
  }
  if (!options.only.empty()) {
    out << "summary: " << tally.passed << " of " << tally.passed + tally.failed << " checks passed; seed " << seed << "\n";
    return tally.failed == 0 ? 0 : 1;
  }

  // The fault table: its rows the scenarios reached and made to fail.
  const auto rows = faultSites();
  std::vector<std::string> missing;
  int injectable = 0;
  int failed = 0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].expectation == Expectation::NotInjected) continue;
    ++injectable;
    failed += tally.failedRows.count(static_cast<int>(i)) ? 1 : 0;
    if (!tally.rows.count(static_cast<int>(i)) || !tally.failedRows.count(static_cast<int>(i)))
      missing.push_back(std::string(rows[i].suite) + "/" + rows[i].operation + " [" + rows[i].site + "]");
  }
  const bool covered = missing.empty();
  out << (covered ? "PASS  " : "FAIL  ") << "fault table: the scenarios called and failed " << failed << " of "
      << injectable << " call sites\n";
  for (const std::string& m : missing) out << "      never failed: " << m << "\n";
  (covered ? tally.passed : tally.failed)++;

  const double total = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  out << "summary: " << tally.passed << " of " << tally.passed + tally.failed << " checks passed in " << seconds(total)
      << "; host calls fault-injected: " << tally.figures["calls injected"] << " (at " << failed << " of "
      << injectable << " call sites, scenarios of " << tally.figures["scenario calls"] << " calls); load/unload cycles: "
      << tally.figures["load/unload cycles"] << "; records tried: " << tally.figures["records"]
      << "; presets: " << tally.figures["presets"] << "; seed " << seed << "\n";
  return tally.failed == 0 ? 0 : 1;
}

}  // namespace validator
