#include "hostapp/suites/dialog_manager_suites.h"
#include "hostapp/suites/entry_barrier.h"

namespace host {
namespace {

constexpr const char* kSuite = kADMTrackerSuite;

int32_t GetModifiers(TrackerHandle handle) {
  adm::Call call = adm::enter(kSuite, "GetModifiers");
  if (call.status != kHostNoErr) return 0;
  const Tracker* tracker = call.dialogs->tracker(handle);
  return tracker ? tracker->modifiers : 0;
}

HostErr GetPoint(TrackerHandle handle, ViewPoint* point) {
  adm::Call call = adm::enter(kSuite, "GetPoint");
  if (call.status != kHostNoErr) return call.status;
  const Tracker* tracker = call.dialogs->tracker(handle);
  if (!tracker || !point) return kHostBadParameterErr;
  *point = tracker->point;
  return kHostNoErr;
}

constexpr ADMTrackerSuiteV1 kTable{valueBarrier<GetModifiers>, barrier<GetPoint>};

}  // namespace

const ADMTrackerSuiteV1& admTrackerSuite() { return kTable; }

}  // namespace host
