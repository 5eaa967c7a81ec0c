#include "hostapp/cli/draw_batch.h"

#include <charconv>

#include "hostapp/cli/progress_line.h"
#include "hostapp/io/file_input.h"

namespace cli {
namespace {

constexpr const char* kSeedPlaceholder = "{seed}";
constexpr const char* kPresetPlaceholder = "{preset}";

std::optional<std::uint64_t> wholeSeed(std::string_view text) {
  std::uint64_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// The outputs of the options, by option name.
std::vector<std::pair<const char*, std::optional<std::string> DrawOptions::*>> outputMembers() {
  return {{"--svg", &DrawOptions::svgFile},
          {"--json", &DrawOptions::jsonFile},
          {"--png", &DrawOptions::pngFile},
          {"--pdf", &DrawOptions::pdfFile},
          {"--save-params", &DrawOptions::saveParams}};
}

std::string trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::optional<std::vector<std::uint64_t>> parseSeeds(const std::string& text, std::string& problem) {
  const std::size_t dots = text.find("..");
  if (dots == std::string::npos) {
    if (const auto seed = wholeSeed(text)) return std::vector<std::uint64_t>{*seed};
    problem = "needs a whole number from 0 to 18446744073709551615, got '" + hostio::excerpt(text) + "'";
    return std::nullopt;
  }
  const auto first = wholeSeed(std::string_view(text).substr(0, dots));
  const auto last = wholeSeed(std::string_view(text).substr(dots + 2));
  if (!first || !last || *last < *first) {
    problem = "FIRST..LAST needs two whole numbers from 0 to 18446744073709551615, FIRST not above LAST, got '" +
              hostio::excerpt(text) + "'";
    return std::nullopt;
  }
  if (*last - *first >= kMostBatchRuns) {
    problem = hostio::excerpt(text) + " asks for more than " + std::to_string(kMostBatchRuns) + " drawings";
    return std::nullopt;
  }
  std::vector<std::uint64_t> seeds;
  for (std::uint64_t seed = *first;; ++seed) {
    seeds.push_back(seed);
    if (seed == *last) break;
  }
  return seeds;
}

std::string expandPattern(const std::string& pattern, const std::string& seed, const std::string& preset) {
  std::string out;
  for (std::size_t k = 0; k < pattern.size();) {
    if (pattern.compare(k, 6, kSeedPlaceholder) == 0) {
      out += seed;
      k += 6;
    } else if (pattern.compare(k, 8, kPresetPlaceholder) == 0) {
      out += preset;
      k += 8;
    } else {
      out += pattern[k++];
    }
  }
  return out;
}

int runDrawBatch(const DrawBatch& batch, std::ostream& out, std::ostream& err) {
  std::vector<std::optional<std::uint64_t>> seeds{std::nullopt};
  if (batch.seeds) {
    std::string problem;
    const auto parsed = parseSeeds(*batch.seeds, problem);
    if (!parsed) {
      err << "spiral-host: --seed: " << problem << "\n";
      return 2;
    }
    seeds.assign(parsed->begin(), parsed->end());
  }
  std::vector<std::optional<std::string>> presets{std::nullopt};
  if (!batch.presets.empty()) presets.assign(batch.presets.begin(), batch.presets.end());
  const std::size_t runs = seeds.size() * presets.size();

  // Each output names one file per run: what varies must be in its name.
  for (const auto& [option, member] : outputMembers()) {
    const std::optional<std::string>& pattern = batch.base.*member;
    if (!pattern) continue;
    const bool hasSeed = pattern->find(kSeedPlaceholder) != std::string::npos;
    const bool hasPreset = pattern->find(kPresetPlaceholder) != std::string::npos;
    if (runs > 1 && *pattern == "-") {
      err << "spiral-host: " << option << " -: " << runs << " drawings cannot all go to standard output\n";
      return 2;
    }
    if (hasSeed && !batch.seeds) {
      err << "spiral-host: " << option << " '" << hostio::excerpt(*pattern) << "' holds {seed}, which needs --seed\n";
      return 2;
    }
    if (hasPreset && batch.presets.empty()) {
      err << "spiral-host: " << option << " '" << hostio::excerpt(*pattern)
          << "' holds {preset}, which needs --preset\n";
      return 2;
    }
    if ((seeds.size() > 1 && !hasSeed) || (presets.size() > 1 && !hasPreset)) {
      err << "spiral-host: " << option << " '" << hostio::excerpt(*pattern) << "' would name one file for "
          << runs << " drawings: put " << (seeds.size() > 1 && !hasSeed ? kSeedPlaceholder : kPresetPlaceholder)
          << " in it (e.g. 'out-{seed}.svg')\n";
      return 2;
    }
  }

  // Standard input is read once, for every drawing.
  std::optional<std::string> standardInput;
  if (batch.base.paramsFile && *batch.base.paramsFile == "-" && runs > 1) {
    try {
      standardInput = readStandardInput();
    } catch (const hostio::InputError& e) {
      err << "spiral-host: " << hostio::printable(e.what()) << "\n";
      return 2;
    }
  }

  ProgressLine line(batch.base.progress, batch.base.progressDelay, err);
  std::size_t index = 0;
  for (const std::optional<std::string>& preset : presets) {
    for (const std::optional<std::uint64_t>& seed : seeds) {
      DrawOptions options = batch.base;
      options.seed = seed;
      options.preset = preset;
      if (standardInput) options.standardInput = standardInput;
      const std::string seedText = seed ? std::to_string(*seed) : "";
      const std::string presetText = preset ? trimmed(*preset) : "";
      for (const auto& [option, member] : outputMembers()) {
        if (options.*member) options.*member = expandPattern(*(options.*member), seedText, presetText);
      }
      std::string label;
      if (runs > 1) {
        label = std::to_string(index + 1) + " of " + std::to_string(runs);
        if (seed && seeds.size() > 1) label += ", seed " + seedText;
        if (preset && presets.size() > 1) label += ", preset " + presetText;
        label += ": ";
      }
      line.beginRun(index, runs, label);
      const int status = runDrawCommand(options, out, err, batch.base.progress ? &line : nullptr);
      if (status != 0) {
        line.abandon();
        return status;
      }
      ++index;
    }
  }
  line.finish();
  return 0;
}

}  // namespace cli
