#include <cstring>

#include "hostapp/suites/adapter_util.h"
#include "hostapp/suites/dialog_manager_suites.h"
#include "hostapp/suites/entry_barrier.h"

namespace host {
namespace {

constexpr const char* kSuite = kADMEntrySuite;

struct EntryCall {
  HostErr status;
  DialogEntry* entry;
};

EntryCall enterEntry(const char* operation, EntryHandle handle) {
  adm::Call call = adm::enter(kSuite, operation);
  if (call.status != kHostNoErr) return {call.status, nullptr};
  DialogEntry* entry = call.dialogs->entry(handle);
  return {entry ? kHostNoErr : kHostBadParameterErr, entry};
}

HostErr SetText(EntryHandle handle, const char* text) {
  EntryCall call = enterEntry("SetText", handle);
  if (!call.entry) return call.status;
  if (!text) return kHostBadParameterErr;
  try {
    call.entry->setText(text);
    return kHostNoErr;
  } catch (...) {
    return kHostCantHappenErr;
  }
}

HostErr GetText(EntryHandle handle, char* buf, int32_t size) {
  EntryCall call = enterEntry("GetText", handle);
  if (!call.entry) return call.status;
  if (!buf || size <= 0) return kHostBadParameterErr;
  const std::string& text = call.entry->text();
  copyBounded(text, buf, size);
  return kHostNoErr;
}

HostErr SetID(EntryHandle handle, int32_t entryId) {
  EntryCall call = enterEntry("SetID", handle);
  if (call.entry) call.entry->setId(entryId);
  return call.status;
}

int32_t GetID(EntryHandle handle) {
  EntryCall call = enterEntry("GetID", handle);
  return call.entry ? call.entry->id() : 0;
}

HostErr Select(EntryHandle handle, HostBool select) {
  EntryCall call = enterEntry("Select", handle);
  if (call.entry) call.entry->list().select(*call.entry, select != 0);
  return call.status;
}

constexpr ADMEntrySuiteV2 kTable{barrier<SetText>, barrier<GetText>, barrier<SetID>, valueBarrier<GetID>,
    barrier<Select>};

}  // namespace

const ADMEntrySuiteV2& admEntrySuite() { return kTable; }

}  // namespace host
