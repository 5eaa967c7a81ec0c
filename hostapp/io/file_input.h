// Reading the files a user names on the command line: each is opened, must
// be a regular file (not a folder, device or pipe) and is read with a size
// bound fit for its kind, so that /dev/zero or a huge file is refused before
// it is read rather than read until memory runs out.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace hostio {

// Its message is one line for the user: what, which file, why.
class InputError : public std::runtime_error {
 public:
  InputError(const std::string& message, std::string reason)
      : std::runtime_error(message), reason_(std::move(reason)) {}
  // Why alone: "Is a directory", "it is larger than 1 MiB", ...
  const std::string& reason() const { return reason_; }

 private:
  std::string reason_;
};

struct InputKind {
  const char* what;      // "record file", "palette", ...
  std::size_t maxBytes;  // larger files are refused
};

// A JSON record is under 8 KB; a binary one is 308 bytes.
inline constexpr InputKind kRecordInput{"record file", std::size_t{1} << 20};
inline constexpr InputKind kPaletteInput{"palette", std::size_t{16} << 20};
inline constexpr InputKind kStylesInput{"styles file", std::size_t{16} << 20};
// The plug-in library: its section table and resources are read whole.
inline constexpr InputKind kPluginInput{"plug-in", std::size_t{256} << 20};

// The whole file. Throws InputError when it cannot be opened, is not a
// regular file, or holds more than kind.maxBytes.
std::string readInputFile(const std::string& path, const InputKind& kind);

// At most the first `headBytes` bytes of the file, checked and read through
// one open descriptor as readInputFile does (so the file checked is the file
// read, whatever its name comes to name meanwhile).
std::string readInputHead(const std::string& path, const InputKind& kind, std::size_t headBytes);

// `text` with control characters written as \n, \t, \r or \xHH (each byte
// of C0 and C1 controls, DEL, NUL, line separators and bidi controls), and
// every byte that is not part of well-formed UTF-8 as \xHH, so that input
// echoed into a message stays on one line and cannot drive the terminal.
// Other UTF-8 is kept.
std::string printable(std::string_view text);

// How much of an input a message quotes.
inline constexpr std::size_t kExcerptBytes = 200;

// printable() of at most the first `maxBytes` bytes of `text` (ending at a
// whole character), with "..." when the rest was left out.
std::string excerpt(std::string_view text, std::size_t maxBytes = kExcerptBytes);

// "'path'" as an excerpt: how messages name a file.
std::string quotedPath(std::string_view path);

// A byte count the way messages write it: "1 MiB", "256 MiB", or bytes.
std::string byteCount(std::size_t bytes);

}  // namespace hostio
