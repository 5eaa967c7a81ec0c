// One fuzz input through the stand-in host, shared by the libFuzzer target
// and the corpus replay test. The input's first 308 bytes are the parameter
// record (missing bytes are zero), the next 8 the seed of the host's random
// service (little-endian) and the next one the document's colour model
// (0 gray, 1 RGB, 2 CMYK; taken modulo 3); more bytes are ignored. The
// plug-in linked into the program gets Startup, the record as the one kept
// from an earlier run, Go and Shutdown; then the document is checked, and
// written as SVG for one input in 16 (by a hash of its bytes).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "hostapp/loader/plugin_loader.h"
#include "shell/host/host_types.h"

namespace fuzz {

inline constexpr std::size_t kSeedOffset = 308;
inline constexpr std::size_t kColourModelOffset = kSeedOffset + 8;
inline constexpr std::size_t kInputSize = kColourModelOffset + 1;

// A small host, so that every input ends quickly: records beyond it end
// with -108 like records beyond the default budget. Nearly all the time went
// to the few inputs that ran into the budget, so it is kept just above what
// nearly all of the corpus's clean drawings need (99 % take at most 17 660
// calls in Go, most 100 to 700); larger records draw until a budget ends
// them with -108. The memory budget shrinks with it (most clean drawings take under
// 50 KB), so that running out of document memory still ends some corpus
// inputs before the call budget does.
inline constexpr std::size_t kMemoryBudget = std::size_t{128} << 10;
inline constexpr std::uint64_t kCallBudget = 20'000;

struct Outcome {
  HostErr go = 0;                     // what Go returned
  std::size_t art = 0;                // art in the document afterwards
  std::vector<std::string> problems;  // what the run did wrong; empty when sound
};

// Runs one input. Problems: Startup or Shutdown failing, -108 without the
// memory message, the error dialog more than once, memory or suites not
// given back, a dialog left open, a number that is not finite in the
// document (or in its SVG, when written).
Outcome runInput(const host::PluginFile& plugin, const std::uint8_t* data, std::size_t size);

// The plug-in's resources from its compiled resource file, for a program
// that links the plug-in and has no library file to scan.
host::PluginFile pluginFromResourceFile(const std::string& resPath);

}  // namespace fuzz
