#include "hostapp/suites/dialog_manager_suites.h"
#include "hostapp/suites/entry_barrier.h"

namespace host {
namespace {

constexpr const char* kSuite = kADMNotifierSuite;

HostBool IsNotifierType(NotifierHandle handle, const char* notifierType) {
  adm::Call call = adm::enter(kSuite, "IsNotifierType");
  if (call.status != kHostNoErr || !notifierType) return 0;
  const Notifier* notifier = call.dialogs->notifier(handle);
  return notifier && notifier->type == notifierType;
}

ItemHandle GetItem(NotifierHandle handle) {
  adm::Call call = adm::enter(kSuite, "GetItem");
  if (call.status != kHostNoErr) return nullptr;
  const Notifier* notifier = call.dialogs->notifier(handle);
  return notifier ? DialogManager::handle(*notifier->item) : nullptr;
}

constexpr ADMNotifierSuiteV1 kTable{valueBarrier<IsNotifierType>, valueBarrier<GetItem>};

}  // namespace

const ADMNotifierSuiteV1& admNotifierSuite() { return kTable; }

}  // namespace host
