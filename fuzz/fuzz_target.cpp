// libFuzzer target: bytes to a record, a drawing run into the stand-in host
// and the SVG writer. A run that goes wrong stops the fuzzer (abort), as the
// sanitizers do for a crash or undefined behaviour.
#include <cstdio>
#include <cstdlib>

#include "fuzz/fuzz_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const host::PluginFile plugin = fuzz::pluginFromResourceFile(SPIRAL_RES_FILE);
  const fuzz::Outcome outcome = fuzz::runInput(plugin, data, size);
  if (!outcome.problems.empty()) {
    std::fprintf(stderr, "spiral_fuzz: %s\n", outcome.problems.front().c_str());
    std::abort();
  }
  return 0;
}
