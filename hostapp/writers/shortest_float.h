// A float32 in the shortest decimal that reads back to it, laid out as
// nlohmann::json prints a double: fixed notation with at least one decimal
// ("2.0", "-0.0", "0.0001") while the point falls within 15 digits before or
// 4 zeros after the digits, otherwise d.ddde+XX with at least two exponent
// digits. A whole number that std::to_chars would spell in fixed notation is
// written exactly, as to_chars writes it ("123456792.0", not
// "123456790.0"), so these bytes are those of std::to_chars's shortest form.
// Not finite: "null".
#pragma once

#include <cstddef>

namespace writers {

// The room writeShortestFloat needs: it writes at most 24 characters, some
// of them in fixed-size pieces that reach further.
inline constexpr std::size_t kLongestShortestFloat = 32;

// Writes `value` at `out` and returns the end of what it wrote.
char* writeShortestFloat(char* out, float value);

}  // namespace writers
