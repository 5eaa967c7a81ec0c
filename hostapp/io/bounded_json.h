// JSON read from untrusted text with its size and nesting bounded before
// the parser sees it: the bytes outside strings are scanned once, without
// recursion, so that a value nested a million levels deep is refused with a
// one-line message instead of exhausting the stack. The same scan refuses an
// object that names a member twice.
#pragma once

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace hostio {

struct JsonLimits {
  std::size_t maxBytes;
  std::size_t maxDepth;  // arrays and objects open at once
};

// Records, drawing metadata and styles nest a few levels; the limits leave
// room without letting the parser or the messages recurse deeply.
inline constexpr JsonLimits kFileJsonLimits{std::size_t{16} << 20, 64};

class JsonLimitError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Why the text breaks a limit or names a member twice ("it is nested deeper
// than 64 levels", "it names member 'x' twice", ...), or nothing. Syntax
// errors are left to the parser.
std::optional<std::string> jsonLimitProblem(std::string_view text, const JsonLimits& limits);

// Checks the limits (JsonLimitError) and parses (nlohmann::json::exception
// on a syntax error).
nlohmann::json parseBoundedJson(std::string_view text, const JsonLimits& limits = kFileJsonLimits);

}  // namespace hostio
