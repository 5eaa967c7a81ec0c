// Checks of the command line's option values, with messages that write the
// accepted range plainly ("1 to 2400"). They add no type notes to --help:
// the options' descriptions say their ranges.
#pragma once

#include <CLI/CLI.hpp>

#include <charconv>
#include <limits>
#include <string>
#include <vector>

namespace cli {

// A whole-number option: the whole text is a decimal number of type T in
// [low, high]. It runs before CLI11 converts the text, so a value out of
// range (a negative seed, one beyond 2^64-1) is refused, never wrapped.
template <class T>
CLI::Validator wholeNumber(T low, T high = std::numeric_limits<T>::max()) {
  const std::string range = std::to_string(low) + " to " + std::to_string(high);
  return CLI::Validator(
      [low, high, range](const std::string& text) -> std::string {
        T value{};
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (ec == std::errc() && end == text.data() + text.size() && value >= low && value <= high) return "";
        return "needs a whole number from " + range + ", got '" + text + "'";
      },
      "", "");
}

// A real-number option: the whole text is a finite decimal number in
// [low, high]. NaN compares false with both ends, so a range check alone
// would let it through; infinities and NaN are refused here.
CLI::Validator realNumber(double low, double high);

// The colour models' names for a CLI11 check, and as a sentence ("gray, rgb
// or cmyk").
std::vector<std::string> colorModelNames();
std::string colorModelChoices();

}  // namespace cli
