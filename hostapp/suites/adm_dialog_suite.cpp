#include <cstdint>

#include "hostapp/suites/dialog_manager_suites.h"
#include "hostapp/suites/entry_barrier.h"

namespace host {
namespace {

constexpr const char* kSuite = kADMDialogSuite;

int32_t Modal(PluginRef plugin, const char* name, int32_t dialogId, int32_t, DialogInitProc initProc,
              void* userData) {
  adm::Call call = adm::enter(kSuite, "Modal");
  if (call.status != kHostNoErr) return 0;
  const ResourceTable* resources = call.plugins->resources(plugin);
  if (!resources || !name || dialogId < 0 || dialogId > 0xFFFF) return 0;
  try {
    std::optional<DialogTemplate> resource = resources->dialog(static_cast<uint16_t>(dialogId));
    if (!resource) return 0;
    return call.dialogs->runModal(&*resource, name, dialogId, initProc, userData);
  } catch (...) {
    return 0;
  }
}

void* GetUserData(DialogHandle handle) {
  adm::Call call = adm::enter(kSuite, "GetUserData");
  if (call.status != kHostNoErr) return nullptr;
  Dialog* dialog = call.dialogs->dialog(handle);
  return dialog ? dialog->userData() : nullptr;
}

HostErr SetBoundsRect(DialogHandle handle, const DialogRect* bounds) {
  adm::Call call = adm::enter(kSuite, "SetBoundsRect");
  if (call.status != kHostNoErr) return call.status;
  Dialog* dialog = call.dialogs->dialog(handle);
  if (!dialog || !bounds) return kHostBadParameterErr;
  dialog->setBounds(*bounds);
  return kHostNoErr;
}

HostErr GetBoundsRect(DialogHandle handle, DialogRect* bounds) {
  adm::Call call = adm::enter(kSuite, "GetBoundsRect");
  if (call.status != kHostNoErr) return call.status;
  Dialog* dialog = call.dialogs->dialog(handle);
  if (!dialog || !bounds) return kHostBadParameterErr;
  *bounds = dialog->bounds();
  return kHostNoErr;
}

HostErr SetSize(DialogHandle handle, int32_t width, int32_t height) {
  adm::Call call = adm::enter(kSuite, "SetSize");
  if (call.status != kHostNoErr) return call.status;
  Dialog* dialog = call.dialogs->dialog(handle);
  if (!dialog || width < 0 || height < 0) return kHostBadParameterErr;
  // The far edges must stay within int32 from the corner the dialog keeps
  // (remembered bounds can put it anywhere).
  const DialogRect& at = dialog->bounds();
  if (int64_t{at.left} + width > INT32_MAX || int64_t{at.top} + height > INT32_MAX) return kHostBadParameterErr;
  dialog->setSize(width, height);
  return kHostNoErr;
}

ItemHandle CreateItem(DialogHandle handle, int32_t itemId, const char* itemType, const DialogRect* bounds) {
  adm::Call call = adm::enter(kSuite, "CreateItem");
  if (call.status != kHostNoErr) return nullptr;
  Dialog* dialog = call.dialogs->dialog(handle);
  if (!dialog || !itemType || !bounds) return nullptr;
  std::optional<ItemKind> kind = itemKindFromTypeName(itemType);
  if (!kind) return nullptr;
  try {
    DialogItem* item = call.dialogs->createItem(*dialog, itemId, *kind, *bounds);
    return item ? DialogManager::handle(*item) : nullptr;
  } catch (...) {
    return nullptr;
  }
}

ItemHandle GetItem(DialogHandle handle, int32_t itemId) {
  adm::Call call = adm::enter(kSuite, "GetItem");
  if (call.status != kHostNoErr) return nullptr;
  Dialog* dialog = call.dialogs->dialog(handle);
  DialogItem* item = dialog ? dialog->item(itemId) : nullptr;
  return item ? DialogManager::handle(*item) : nullptr;
}

HostErr EndModal(DialogHandle handle, int32_t result) {
  adm::Call call = adm::enter(kSuite, "EndModal");
  if (call.status != kHostNoErr) return call.status;
  Dialog* dialog = call.dialogs->dialog(handle);
  if (!dialog) return kHostBadParameterErr;
  dialog->end(result);
  return kHostNoErr;
}

constexpr ADMDialogSuiteV3 kTable{valueBarrier<Modal>, valueBarrier<GetUserData>, barrier<SetBoundsRect>,
    barrier<GetBoundsRect>, barrier<SetSize>, valueBarrier<CreateItem>, valueBarrier<GetItem>, barrier<EndModal>};

}  // namespace

const ADMDialogSuiteV3& admDialogSuite() { return kTable; }

}  // namespace host
