#include "fuzz/fuzz_entry.h"

#include <cstring>
#include <fstream>
#include <iterator>

#include "hostapp/validator/scenario.h"
#include "params/record/record_codec.h"
#include "entry/plugin_main.h"
#include "shell/suite_table.h"

namespace fuzz {
namespace {

constexpr HostErr kOutOfMemory = -108;
constexpr const char* kMemoryMessage = "The filter cannot complete because there isn't enough memory (RAM) available.";

// The plug-in's process-wide state as a freshly loaded library has it: the
// linked plug-in stays in memory from one input to the next.
void resetPlugin() {
  for (const SuiteTableEntry& entry : SuiteTable) *entry.pointer = nullptr;
  suiteUseCount = 0;
  gPluginGlobals = nullptr;
}

}  // namespace

Outcome runInput(const host::PluginFile& plugin, const std::uint8_t* data, std::size_t size) {
  unsigned char bytes[kInputSize] = {};
  if (size > 0) std::memcpy(bytes, data, std::min(size, kInputSize));
  SpiralParameters record{};
  decodeParameters(bytes, record);
  std::uint64_t seed = 0;
  for (int k = 7; k >= 0; --k) seed = (seed << 8) | bytes[kSeedOffset + k];

  host::HostOptions options;
  options.seed = seed;
  options.colorModel = static_cast<host::ColorModel>(bytes[kColourModelOffset] % 3);
  options.memoryBudget = kMemoryBudget;
  options.callBudget = kCallBudget;

  resetPlugin();
  Outcome outcome;
  {
    validator::ScenarioRunner runner(plugin, options, validator::ScenarioRunner::Mode::Plain, &PluginMain);
    validator::Step kept{validator::StepKind::SetRecord};
    kept.record = record;
    for (const validator::Step& step : {validator::Step{validator::StepKind::Startup}, kept,
                                        validator::Step{validator::StepKind::Go},
                                        validator::Step{validator::StepKind::Shutdown}})
      runner.run(step);
    const auto& steps = runner.outcomes();
    outcome.go = steps[2].result;
    if (steps[0].result != 0) outcome.problems.push_back("Startup failed");
    if (steps[3].result != 0) outcome.problems.push_back("Shutdown failed");
    if (steps[2].errorCodes.size() > 1) outcome.problems.push_back("the error dialog showed more than once");
    if (outcome.go == kOutOfMemory && (steps[2].errorMessages.size() != 1 || steps[2].errorMessages[0] != kMemoryMessage))
      outcome.problems.push_back("-108 without the memory message");
    // The document itself is checked for non-finite numbers on every input;
    // the SVG writer, the slow part, on one input in 16, chosen by a hash of
    // the input's bytes so that a given input always does the same.
    std::uint32_t hash = 2166136261u;  // FNV-1a
    for (std::size_t k = 0; k < size; ++k) hash = (hash ^ data[k]) * 16777619u;
    const bool writeSvg = hash % 16 == 0;
    for (std::string& problem : runner.finish(writeSvg)) outcome.problems.push_back(std::move(problem));
    outcome.art = runner.host().document().liveArtCount();
  }
  resetPlugin();
  return outcome;
}

host::PluginFile pluginFromResourceFile(const std::string& resPath) {
  std::ifstream in(resPath, std::ios::binary);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
  host::PluginFile file;
  file.path = resPath;
  file.resources = host::ResourceTable::parse(bytes);
  file.entryName = "PluginMain";
  return file;
}

}  // namespace fuzz
