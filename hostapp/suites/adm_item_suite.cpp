#include <cmath>
#include <cstring>

#include "hostapp/suites/adapter_util.h"
#include "hostapp/suites/dialog_manager_suites.h"
#include "hostapp/suites/entry_barrier.h"

namespace host {
namespace {

constexpr const char* kSuite = kADMItemSuite;

// The gate, then the item behind the handle (null when either fails).
struct ItemCall {
  HostErr status;
  DialogManager* dialogs;
  DialogItem* item;
};

ItemCall enterItem(const char* operation, ItemHandle handle) {
  adm::Call call = adm::enter(kSuite, operation);
  if (call.status != kHostNoErr) return {call.status, nullptr, nullptr};
  DialogItem* item = call.dialogs->item(handle);
  return {item ? kHostNoErr : kHostBadParameterErr, call.dialogs, item};
}

DialogHandle GetDialog(ItemHandle handle) {
  ItemCall call = enterItem("GetDialog", handle);
  return call.item ? DialogManager::handle(call.item->dialog()) : nullptr;
}

int32_t GetID(ItemHandle handle) {
  ItemCall call = enterItem("GetID", handle);
  return call.item ? call.item->id() : 0;
}

HostErr SetNotifyProc(ItemHandle handle, ItemNotifyProc proc) {
  ItemCall call = enterItem("SetNotifyProc", handle);
  if (call.item) call.item->setNotifyProc(proc);
  return call.status;
}

HostErr SetTrackProc(ItemHandle handle, ItemTrackProc proc) {
  ItemCall call = enterItem("SetTrackProc", handle);
  if (call.item) call.item->setTrackProc(proc);
  return call.status;
}

HostErr DefaultNotify(ItemHandle handle, NotifierHandle notifierHandle) {
  ItemCall call = enterItem("DefaultNotify", handle);
  if (!call.item) return call.status;
  const Notifier* notifier = call.dialogs->notifier(notifierHandle);
  if (!notifier) return kHostBadParameterErr;
  call.dialogs->defaultNotify(*call.item, *notifier);
  return kHostNoErr;
}

HostBool DefaultTrack(ItemHandle handle, TrackerHandle trackerHandle) {
  ItemCall call = enterItem("DefaultTrack", handle);
  if (!call.item || !trackerHandle) return 0;
  Tracker* tracker = call.dialogs->tracker(trackerHandle);
  return tracker ? call.dialogs->defaultTrack(*tracker) : 0;
}

HostErr SendNotify(ItemHandle handle, const char* notifierType) {
  ItemCall call = enterItem("SendNotify", handle);
  if (!call.item) return call.status;
  if (!notifierType) return kHostBadParameterErr;
  try {
    call.dialogs->sendNotify(*call.item, notifierType);
    return kHostNoErr;
  } catch (...) {
    return kHostCantHappenErr;
  }
}

HostErr Show(ItemHandle handle, HostBool show) {
  ItemCall call = enterItem("Show", handle);
  if (call.item) call.item->setVisible(show != 0);
  return call.status;
}

HostErr Enable(ItemHandle handle, HostBool enable) {
  ItemCall call = enterItem("Enable", handle);
  if (call.item) call.item->setEnabled(enable != 0);
  return call.status;
}

HostBool IsVisible(ItemHandle handle) {
  ItemCall call = enterItem("IsVisible", handle);
  return call.item && call.item->visible();
}

HostBool IsEnabled(ItemHandle handle) {
  ItemCall call = enterItem("IsEnabled", handle);
  return call.item && call.item->enabled();
}

HostErr SetFont(ItemHandle handle, int32_t font) {
  ItemCall call = enterItem("SetFont", handle);
  if (call.item) call.item->setFont(font);
  return call.status;
}

HostErr SetText(ItemHandle handle, const char* text) {
  ItemCall call = enterItem("SetText", handle);
  if (!call.item) return call.status;
  if (!text) return kHostBadParameterErr;
  try {
    call.item->setText(text);
    return kHostNoErr;
  } catch (...) {
    return kHostCantHappenErr;
  }
}

HostErr GetText(ItemHandle handle, char* buf, int32_t size) {
  ItemCall call = enterItem("GetText", handle);
  if (!call.item) return call.status;
  if (!buf || size <= 0) return kHostBadParameterErr;
  try {
    const std::string text = call.item->text();
    copyBounded(text, buf, size);
    return kHostNoErr;
  } catch (...) {
    buf[0] = '\0';
    return kHostCantHappenErr;
  }
}

HostErr SetUnits(ItemHandle handle, int32_t units) {
  ItemCall call = enterItem("SetUnits", handle);
  if (call.item) call.item->setUnits(units);
  return call.status;
}

HostErr SetPrecision(ItemHandle handle, int32_t places) {
  ItemCall call = enterItem("SetPrecision", handle);
  if (!call.item) return call.status;
  if (places < 0) return kHostBadParameterErr;
  call.item->setPrecision(places);
  return kHostNoErr;
}

HostErr SetBooleanValue(ItemHandle handle, HostBool value) {
  ItemCall call = enterItem("SetBooleanValue", handle);
  if (call.item) call.item->setBooleanValue(value != 0);
  return call.status;
}

HostBool GetBooleanValue(ItemHandle handle) {
  ItemCall call = enterItem("GetBooleanValue", handle);
  return call.item && call.item->booleanValue();
}

HostErr SetIntValue(ItemHandle handle, int32_t value) {
  ItemCall call = enterItem("SetIntValue", handle);
  if (call.item) call.item->setIntValue(value);
  return call.status;
}

int32_t GetIntValue(ItemHandle handle) {
  ItemCall call = enterItem("GetIntValue", handle);
  return call.item ? call.item->intValue() : 0;
}

HostErr SetFloatValue(ItemHandle handle, HostReal value) {
  ItemCall call = enterItem("SetFloatValue", handle);
  if (!call.item) return call.status;
  if (!std::isfinite(value)) return kHostBadParameterErr;
  call.item->setFloatValue(value);
  return kHostNoErr;
}

HostReal GetFloatValue(ItemHandle handle) {
  ItemCall call = enterItem("GetFloatValue", handle);
  return call.item ? call.item->floatValue() : 0.0f;
}

HostErr SetMinIntValue(ItemHandle handle, int32_t value) {
  ItemCall call = enterItem("SetMinIntValue", handle);
  if (call.item) call.item->setMinimum(value);
  return call.status;
}

HostErr SetMaxIntValue(ItemHandle handle, int32_t value) {
  ItemCall call = enterItem("SetMaxIntValue", handle);
  if (call.item) call.item->setMaximum(value);
  return call.status;
}

HostErr SetMinFloatValue(ItemHandle handle, HostReal value) {
  ItemCall call = enterItem("SetMinFloatValue", handle);
  if (!call.item) return call.status;
  if (std::isnan(value)) return kHostBadParameterErr;
  call.item->setMinimum(value);
  return kHostNoErr;
}

HostErr SetMaxFloatValue(ItemHandle handle, HostReal value) {
  ItemCall call = enterItem("SetMaxFloatValue", handle);
  if (!call.item) return call.status;
  if (std::isnan(value)) return kHostBadParameterErr;
  call.item->setMaximum(value);
  return kHostNoErr;
}

ListHandle GetList(ItemHandle handle) {
  ItemCall call = enterItem("GetList", handle);
  DialogList* list = call.item ? call.item->list() : nullptr;
  return list ? DialogManager::handle(*list) : nullptr;
}

constexpr ADMItemSuiteV4 kTable{valueBarrier<GetDialog>, valueBarrier<GetID>, barrier<SetNotifyProc>,
    barrier<SetTrackProc>, barrier<DefaultNotify>, valueBarrier<DefaultTrack>, barrier<SendNotify>, barrier<Show>,
    barrier<Enable>, valueBarrier<IsVisible>, valueBarrier<IsEnabled>, barrier<SetFont>, barrier<SetText>,
    barrier<GetText>, barrier<SetUnits>, barrier<SetPrecision>, barrier<SetBooleanValue>, valueBarrier<GetBooleanValue>,
    barrier<SetIntValue>, valueBarrier<GetIntValue>, barrier<SetFloatValue>, valueBarrier<GetFloatValue>,
    barrier<SetMinIntValue>, barrier<SetMaxIntValue>, barrier<SetMinFloatValue>, barrier<SetMaxFloatValue>,
    valueBarrier<GetList>};

}  // namespace

const ADMItemSuiteV4& admItemSuite() { return kTable; }

}  // namespace host
