#include <cstring>

#include "hostapp/suites/adapter_util.h"
#include "hostapp/suites/entry_barrier.h"
#include "hostapp/suites/suites.h"

namespace host {
namespace {

HostErr AcquireSuite(const char* name, int32_t version, const void** suite) {
  HostCall call = enterHostCall(kBasicSuite, "AcquireSuite");
  if (call.status) return call.status;
  return call.host->suites().acquire(name, version, suite);
}

HostErr ReleaseSuite(const char* name, int32_t version) {
  HostCall call = enterHostCall(kBasicSuite, "ReleaseSuite");
  if (call.status) return call.status;
  return call.host->suites().release(name, version);
}

HostBool IsEqual(const char* a, const char* b) {
  HostCall call = enterHostCall(kBasicSuite, "IsEqual");
  if (call.status || !a || !b) return 0;
  return std::strcmp(a, b) == 0 ? 1 : 0;
}

constexpr BasicSuiteV4 kTable{barrier<AcquireSuite>, barrier<ReleaseSuite>, valueBarrier<IsEqual>};

}  // namespace

const BasicSuiteV4& basicSuite() { return kTable; }

}  // namespace host
