#include "hostapp/cli/option_checks.h"

#include <cmath>
#include <cstdio>

#include "hostapp/model/color.h"

namespace cli {

CLI::Validator realNumber(double low, double high) {
  char text[64];
  std::snprintf(text, sizeof text, "%g to %g", low, high);
  const std::string range = text;
  return CLI::Validator(
      [low, high, range](const std::string& text) -> std::string {
        double value = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (ec == std::errc() && end == text.data() + text.size() && std::isfinite(value) && value >= low &&
            value <= high)
          return "";
        return "needs a number from " + range + ", got '" + text + "'";
      },
      "", "");
}

std::vector<std::string> colorModelNames() { return {host::kColorModelNames.begin(), host::kColorModelNames.end()}; }

std::string colorModelChoices() {
  std::string text;
  for (std::size_t k = 0; k < host::kColorModelNames.size(); ++k)
    text += std::string(k == 0 ? "" : k + 1 == host::kColorModelNames.size() ? " or " : ", ") + host::kColorModelNames[k];
  return text;
}

}  // namespace cli
