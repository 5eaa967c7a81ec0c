// One browser session in its own process: the host re-runs itself with a
// hidden command and serves one document with the plug-in loaded, taking
// requests from the server over a pipe and answering each with one line
// (see wire.h). The child owns the host, the plug-in session and the
// document; a plug-in that crashes or hangs takes only this process down.
//
// While the options dialog is open the child's call stack is inside the
// plug-in's "AI Get Parameters": the dialog manager's modal run takes the
// user's actions from the pipe until the dialog ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "hostapp/model/color.h"
#include "hostapp/model/geometry.h"
#include "hostapp/model/page.h"

namespace server {

struct SessionOptions {
  std::string pluginPath;  // empty: the plug-in beside the executable
  host::Point pageSize = host::kDefaultPageSize;
  host::ColorModel colorModel = host::ColorModel::Rgb;
  std::optional<std::uint64_t> seed;
  std::optional<std::string> swatchesFile;
  std::optional<std::string> stylesFile;
  std::optional<std::size_t> memoryBudget;  // bytes; unset: the host's default, as for draw
};

// Serves requests from `inFd`, answers on `outFd`, until "close" or the end
// of input. Returns the process exit status.
int runSessionChild(const SessionOptions& options, int inFd, int outFd);

// The command-line arguments that make a child of `options` (after the
// program and the hidden command's name).
std::vector<std::string> sessionArguments(const SessionOptions& options);

}  // namespace server
