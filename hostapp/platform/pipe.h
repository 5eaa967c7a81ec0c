// One end of a pipe between the host and a child process, and reading and
// writing it. A pipe end is a file descriptor on POSIX and a HANDLE's value
// on Windows: either way a number that can be written on a command line.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace host::platform {

using PipeEnd = std::intptr_t;
inline constexpr PipeEnd kNoPipe = -1;

// Writes all of `bytes`; false when the other end is gone (or another error
// stops it first).
bool writeAll(PipeEnd end, std::string_view bytes);

enum class ReadResult {
  Data,      // bytes were appended
  End,       // the other end is closed (or the pipe failed)
  TimedOut,  // the deadline passed first
};

// Appends the next bytes that arrive on `end` to `into`, waiting for them
// until `deadline` (none: as long as it takes).
ReadResult readSome(PipeEnd end, std::string& into,
                    std::optional<std::chrono::steady_clock::time_point> deadline = std::nullopt);

// Closes `end` (unless it is kNoPipe) and sets it to kNoPipe.
void closePipe(PipeEnd& end);

}  // namespace host::platform
