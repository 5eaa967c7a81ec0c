#include "hostapp/server/wire.h"

namespace server {

namespace platform = host::platform;

std::optional<std::string> LineChannel::readLine(std::optional<std::chrono::milliseconds> timeout) {
  timedOut_ = false;
  std::optional<std::chrono::steady_clock::time_point> deadline;
  if (timeout) deadline = std::chrono::steady_clock::now() + *timeout;
  for (;;) {
    const std::size_t newline = buffer_.find('\n');
    if (newline != std::string::npos) {
      std::string line = buffer_.substr(0, newline);
      buffer_.erase(0, newline + 1);
      return line;
    }
    const platform::ReadResult read = platform::readSome(in_, buffer_, deadline);
    if (read == platform::ReadResult::TimedOut) timedOut_ = true;
    if (read != platform::ReadResult::Data) return std::nullopt;
  }
}

bool LineChannel::writeLine(std::string_view line) {
  std::string bytes(line);
  bytes += '\n';
  return platform::writeAll(out_, bytes);
}

std::optional<nlohmann::json> LineChannel::read(std::optional<std::chrono::milliseconds> timeout) {
  std::optional<std::string> line = readLine(timeout);
  if (!line) return std::nullopt;
  std::string problem;
  std::optional<nlohmann::json> message = parseMessage(*line, &problem);
  if (!message) return nlohmann::json{{"error", "a message " + problem}};
  return message;
}

std::optional<std::string> LineChannel::readBytes(std::size_t count,
                                                  std::optional<std::chrono::milliseconds> timeout) {
  timedOut_ = false;
  std::optional<std::chrono::steady_clock::time_point> deadline;
  if (timeout) deadline = std::chrono::steady_clock::now() + *timeout;
  while (buffer_.size() < count) {
    const platform::ReadResult read = platform::readSome(in_, buffer_, deadline);
    if (read == platform::ReadResult::TimedOut) timedOut_ = true;
    if (read != platform::ReadResult::Data) return std::nullopt;
  }
  std::string bytes = buffer_.substr(0, count);
  buffer_.erase(0, count);
  return bytes;
}

bool LineChannel::writeWithBytes(nlohmann::json message, std::string_view bytes) {
  message["bytes"] = bytes.size();
  return write(message) && platform::writeAll(out_, bytes);
}

std::optional<nlohmann::json> parseMessage(std::string_view text, std::string* problem) {
  if (auto limit = hostio::jsonLimitProblem(text, kWireJsonLimits)) {
    *problem = "is refused: " + *limit;
    return std::nullopt;
  }
  nlohmann::json message = nlohmann::json::parse(text, nullptr, false);
  if (message.is_discarded() || !message.is_object()) {
    *problem = message.is_discarded() ? "is not JSON" : "is not a JSON object";
    return std::nullopt;
  }
  return message;
}

bool LineChannel::write(const nlohmann::json& message) {
  // Invalid UTF-8 in a text becomes U+FFFD rather than ending the session.
  return writeLine(message.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
}

namespace {
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
}

std::string base64Encode(std::string_view bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) | (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                       static_cast<unsigned char>(bytes[i + 2]);
    out += kAlphabet[v >> 18];
    out += kAlphabet[(v >> 12) & 63];
    out += kAlphabet[(v >> 6) & 63];
    out += kAlphabet[v & 63];
  }
  if (i < bytes.size()) {
    unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    out += kAlphabet[v >> 18];
    out += kAlphabet[(v >> 12) & 63];
    out += i + 1 < bytes.size() ? kAlphabet[(v >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

std::optional<std::string> base64Decode(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  std::string out;
  unsigned v = 0;
  int bits = 0;
  std::size_t padding = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '=') {
      if (i + 2 < text.size()) return std::nullopt;
      ++padding;
      continue;
    }
    if (padding) return std::nullopt;
    const char* at = std::char_traits<char>::find(kAlphabet, 64, c);
    if (!at) return std::nullopt;
    v = (v << 6) | static_cast<unsigned>(at - kAlphabet);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      out += static_cast<char>((v >> bits) & 0xFF);
    }
  }
  return out;
}

}  // namespace server
