#include "hostapp/io/suggestions.h"

#include <algorithm>
#include <cctype>

namespace hostio {
namespace {

char lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

std::string lowered(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(), lower);
  return out;
}

}  // namespace

std::size_t editDistance(std::string_view a, std::string_view b) {
  const std::string x = lowered(a), y = lowered(b);
  // Three rows of the optimal string alignment table.
  std::vector<std::size_t> before(y.size() + 1), previous(y.size() + 1), current(y.size() + 1);
  for (std::size_t j = 0; j <= y.size(); ++j) previous[j] = j;
  for (std::size_t i = 1; i <= x.size(); ++i) {
    current[0] = i;
    for (std::size_t j = 1; j <= y.size(); ++j) {
      const std::size_t cost = x[i - 1] == y[j - 1] ? 0 : 1;
      current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + cost});
      if (i > 1 && j > 1 && x[i - 1] == y[j - 2] && x[i - 2] == y[j - 1])
        current[j] = std::min(current[j], before[j - 2] + 1);
    }
    std::swap(before, previous);
    std::swap(previous, current);
  }
  return previous[y.size()];
}

std::vector<std::string> nearestNames(std::string_view wanted, const std::vector<std::string>& known,
                                      std::size_t most) {
  const std::string key = lowered(wanted);
  std::vector<std::pair<std::size_t, std::size_t>> close;  // distance, position in `known`
  for (std::size_t k = 0; k < known.size(); ++k) {
    const std::string name = lowered(known[k]);
    const std::size_t distance = editDistance(key, name);
    const std::size_t allowed = std::max<std::size_t>(2, std::max(key.size(), name.size()) / 3);
    const bool holds = !key.empty() && (name.find(key) != std::string::npos || key.find(name) != std::string::npos);
    if (distance <= allowed || holds) close.emplace_back(distance, k);
  }
  std::stable_sort(close.begin(), close.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::string> out;
  for (std::size_t k = 0; k < close.size() && out.size() < most; ++k) out.push_back(known[close[k].second]);
  return out;
}

std::string didYouMean(const std::vector<std::string>& names) {
  if (names.empty()) return "";
  std::string text = " (did you mean ";
  for (std::size_t k = 0; k < names.size(); ++k) {
    if (k > 0) text += k + 1 == names.size() ? " or " : ", ";
    text += "'" + names[k] + "'";
  }
  return text + "?)";
}

}  // namespace hostio
