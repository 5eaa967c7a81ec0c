#include <cstring>

#include "hostapp/suites/adapter_util.h"
#include "hostapp/suites/dialog_manager_suites.h"
#include "hostapp/suites/entry_barrier.h"

namespace host {
namespace {

constexpr const char* kSuite = kADMBasicSuite;

HostErr GetIndexString(PluginRef plugin, int32_t listId, int32_t index, char* buf, int32_t size) {
  adm::Call call = adm::enter(kSuite, "GetIndexString");
  if (call.status != kHostNoErr) return call.status;
  const ResourceTable* resources = call.plugins->resources(plugin);
  if (!resources || !buf || size <= 0 || index < 0) return kHostBadParameterErr;
  try {
    std::string text;
    const int64_t id = int64_t{listId} + index;
    if (id >= 0 && id <= 0xFFFF) text = resources->string(static_cast<uint32_t>(id)).value_or("");
    copyBounded(text, buf, size);
    return kHostNoErr;
  } catch (...) {
    buf[0] = '\0';
    return kHostCantHappenErr;
  }
}

HostErr MessageAlert(const char* text) {
  adm::Call call = adm::enter(kSuite, "MessageAlert");
  if (call.status != kHostNoErr) return call.status;
  if (!text) return kHostBadParameterErr;
  try {
    call.dialogs->alert(text);
    return kHostNoErr;
  } catch (...) {
    return kHostCantHappenErr;
  }
}

constexpr ADMBasicSuiteV2 kTable{barrier<GetIndexString>, barrier<MessageAlert>};

}  // namespace

const ADMBasicSuiteV2& admBasicSuite() { return kTable; }

}  // namespace host
