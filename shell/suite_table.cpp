#include "suite_table.h"

#include <cstdio>

#define SPIRAL_DEFINE_SUITE_POINTER(id, type, name, version) const type* g##id##Suite = nullptr;
HOST_PLUGIN_SUITES(SPIRAL_DEFINE_SUITE_POINTER)
#undef SPIRAL_DEFINE_SUITE_POINTER

int16_t suiteUseCount = 0;

namespace {
template <typename T>
constexpr const void** slot(const T** pointer) {
  return reinterpret_cast<const void**>(pointer);
}
}  // namespace

// The order is HOST_PLUGIN_SUITES's, and it matters: binding stops at the
// first failure, and the ADM Basic Suite (entry 25) must be bound to show the
// failure alert.
#define SPIRAL_SUITE_TABLE_ENTRY(id, type, name, version) {name, version, slot(&g##id##Suite)},
const SuiteTableEntry SuiteTable[kSuiteTableSize] = {HOST_PLUGIN_SUITES(SPIRAL_SUITE_TABLE_ENTRY)};
#undef SPIRAL_SUITE_TABLE_ENTRY

HostErr bindSuites(const BasicSuiteV4* basic) {
  HostErr result = kHostNoErr;
  // Counted first, so that the unbind that follows every bind balances it
  // even when an acquisition throws.
  if (suiteUseCount++ == 0) {
    for (const SuiteTableEntry& entry : SuiteTable) {
      result = basic->AcquireSuite(entry.name, entry.version, entry.pointer);
      if (result == kHostNoErr) continue;
      if (gADMBasicSuite) {
        char text[256];
        std::snprintf(text, sizeof text, "Suite Loading Error: %d, suite: %s, version: %d!",
                      static_cast<int>(result), entry.name, static_cast<int>(entry.version));
        gADMBasicSuite->MessageAlert(text);
      }
      break;
    }
  }
  return result;
}

HostErr unbindSuites(const BasicSuiteV4* basic) {
  HostErr result = kHostNoErr;
  // Uncounted first, for the same reason.
  if (suiteUseCount-- == 1) {
    for (const SuiteTableEntry& entry : SuiteTable) {
      if (*entry.pointer == nullptr) continue;
      result = basic->ReleaseSuite(entry.name, entry.version);
      if (result != kHostNoErr) break;
      *entry.pointer = nullptr;
    }
  }
  return result;
}
