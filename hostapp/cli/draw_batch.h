// Several drawings in one `draw`: a range of seeds ("--seed 1..20") and
// presets given more than once, each combination in turn, into outputs
// named by patterns with {seed} and {preset}.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "hostapp/cli/draw_command.h"

namespace cli {

// The seeds of --seed: "N" or "FIRST..LAST" (FIRST <= LAST, at most
// kMostBatchRuns), each 0 to 2^64-1. Nothing, with `problem` set (what
// --seed needs), when the text is neither.
inline constexpr std::uint64_t kMostBatchRuns = 10000;
std::optional<std::vector<std::uint64_t>> parseSeeds(const std::string& text, std::string& problem);

// `pattern` with every {seed} and {preset} replaced.
std::string expandPattern(const std::string& pattern, const std::string& seed, const std::string& preset);

struct DrawBatch {
  DrawOptions base;                       // outputs may hold {seed} and {preset}
  std::optional<std::string> seeds;       // the text of --seed
  std::vector<std::string> presets;       // --preset, in the order given
};

// Checks the batch (a pattern without the placeholder of what varies, or
// standard output, with several runs is a usage error), then draws each
// run in turn: presets outer, seeds inner. Stops at the first run that
// fails, with its status. One progress line for all when options.progress.
int runDrawBatch(const DrawBatch& batch, std::ostream& out, std::ostream& err);

}  // namespace cli
