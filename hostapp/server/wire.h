// What the server and its session children say to each other: one JSON
// object per line over a pair of pipes. Small binary payloads travel as
// base64; large ones (drawings, downloads) as raw bytes after a message that
// gives their count.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "hostapp/io/bounded_json.h"
#include "hostapp/platform/pipe.h"

namespace server {

class LineChannel {
 public:
  LineChannel(host::platform::PipeEnd in, host::platform::PipeEnd out) : in_(in), out_(out) {}
  // The next line, without its newline; nothing at the end of input, or
  // when `timeout` (if given) passes first (then timedOut() is true).
  std::optional<std::string> readLine(std::optional<std::chrono::milliseconds> timeout = std::nullopt);
  bool timedOut() const { return timedOut_; }
  // False when the other end is gone.
  bool writeLine(std::string_view line);

  // A JSON object per line; a line that is not JSON reads as an error object.
  std::optional<nlohmann::json> read(std::optional<std::chrono::milliseconds> timeout = std::nullopt);
  bool write(const nlohmann::json& message);

  // Bytes that follow a message as they are (its "bytes" member tells how
  // many): the next `count` bytes, or nothing at the end of input or when
  // `timeout` passes first.
  std::optional<std::string> readBytes(std::size_t count,
                                       std::optional<std::chrono::milliseconds> timeout = std::nullopt);
  // `message` with "bytes": the size of `bytes`, then the bytes.
  bool writeWithBytes(nlohmann::json message, std::string_view bytes);

 private:
  host::platform::PipeEnd in_, out_;
  std::string buffer_;
  bool timedOut_ = false;
};

// A message's size and nesting are bounded before it is parsed: a request
// nested a million levels deep is refused, not followed down the stack.
inline constexpr hostio::JsonLimits kWireJsonLimits{std::size_t{256} << 20, 64};

// The JSON object in `text`; nothing, with a one-line reason in `problem`,
// when it is too large, too deep, names a member twice, is not JSON or is
// not an object.
std::optional<nlohmann::json> parseMessage(std::string_view text, std::string* problem);

std::string base64Encode(std::string_view bytes);
// Nothing when the text is not base64.
std::optional<std::string> base64Decode(std::string_view text);

}  // namespace server
