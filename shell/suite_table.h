// The host suites the plug-in binds, one process-wide pointer each. They are
// bound from the start of the outermost PluginMain call to its end, so every
// piece of plug-in code that runs can use them.
#pragma once

#include <cstdint>

#include "shell/host/host_interface.h"

// g<id>Suite for every suite of HOST_PLUGIN_SUITES (shell/host/suite_list.h):
// gBlocksSuite, gArtSuite, gADMBasicSuite and so on.
#define SPIRAL_DECLARE_SUITE_POINTER(id, type, name, version) extern const type* g##id##Suite;
HOST_PLUGIN_SUITES(SPIRAL_DECLARE_SUITE_POINTER)
#undef SPIRAL_DECLARE_SUITE_POINTER

struct SuiteTableEntry {
  const char* name;
  int32_t version;
  const void** pointer;
};

#define SPIRAL_COUNT_SUITE(id, type, name, version) +1
inline constexpr int kSuiteTableSize = 0 HOST_PLUGIN_SUITES(SPIRAL_COUNT_SUITE);
#undef SPIRAL_COUNT_SUITE
// Every suite of HOST_PLUGIN_SUITES with its pointer, in binding order.
extern const SuiteTableEntry SuiteTable[kSuiteTableSize];

// Nesting depth of PluginMain calls that hold the suites.
extern int16_t suiteUseCount;

// Acquires the whole table when no outer call holds it, then counts this call.
// Returns 0 or the first failing acquisition's code.
HostErr bindSuites(const BasicSuiteV4* basic);
// Releases the table when this is the outermost call, then uncounts it.
HostErr unbindSuites(const BasicSuiteV4* basic);
