#include "hostapp/io/bounded_json.h"

#include <set>
#include <vector>

#include "hostapp/io/file_input.h"

namespace hostio {
namespace {

// The end of the string token starting at the quote at `start` (one past its
// closing quote), or npos when it is not closed.
std::size_t stringEnd(std::string_view text, std::size_t start) {
  for (std::size_t i = start + 1; i < text.size(); ++i) {
    if (text[i] == '\\') {
      ++i;
    } else if (text[i] == '"') {
      return i + 1;
    }
  }
  return std::string_view::npos;
}

std::size_t skipBlanks(std::string_view text, std::size_t i) {
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r')) ++i;
  return i;
}

}  // namespace

std::optional<std::string> jsonLimitProblem(std::string_view text, const JsonLimits& limits) {
  if (text.size() > limits.maxBytes) return "it is larger than " + byteCount(limits.maxBytes);
  // One entry per open bracket: the member names of an object (empty for arrays).
  std::vector<std::pair<bool, std::set<std::string>>> open;
  for (std::size_t i = 0; i < text.size();) {
    const char c = text[i];
    if (c == '{' || c == '[') {
      if (open.size() >= limits.maxDepth)
        return "it is nested deeper than " + std::to_string(limits.maxDepth) + " levels";
      open.push_back({c == '{', {}});
      ++i;
    } else if (c == '}' || c == ']') {
      if (!open.empty()) open.pop_back();
      ++i;
    } else if (c == '"') {
      const std::size_t end = stringEnd(text, i);
      if (end == std::string_view::npos) return std::nullopt;  // the parser reports it
      const std::size_t after = skipBlanks(text, end);
      if (!open.empty() && open.back().first && after < text.size() && text[after] == ':') {
        // A member name: compared decoded, so "a" and "\u0061" are one name.
        const nlohmann::json name = nlohmann::json::parse(text.substr(i, end - i), nullptr, false);
        if (name.is_string() && !open.back().second.insert(name.get<std::string>()).second)
          return "it names member '" + excerpt(name.get<std::string>()) + "' twice";
      }
      i = end;
    } else {
      ++i;
    }
  }
  return std::nullopt;
}

nlohmann::json parseBoundedJson(std::string_view text, const JsonLimits& limits) {
  if (const auto problem = jsonLimitProblem(text, limits)) throw JsonLimitError(*problem);
  return nlohmann::json::parse(text);
}

}  // namespace hostio
