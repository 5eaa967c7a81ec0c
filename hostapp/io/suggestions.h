// "Did you mean": the known names nearest to a name that was not found.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hostio {

// Edit distance (insertions, deletions, substitutions and swaps of two
// neighbours) between a and b, letters compared without regard to case.
std::size_t editDistance(std::string_view a, std::string_view b);

// At most `most` of `known` close to `wanted`, nearest first (ties in the
// order given): those within an edit distance of a third of the longer
// name (at least 2), and those that hold `wanted` or that `wanted` holds,
// without regard to case. Empty when none is close.
std::vector<std::string> nearestNames(std::string_view wanted, const std::vector<std::string>& known,
                                      std::size_t most = 3);

// " (did you mean 'a', 'b' or 'c'?)", or empty when `names` is.
std::string didYouMean(const std::vector<std::string>& names);

}  // namespace hostio
