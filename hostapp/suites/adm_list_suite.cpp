#include "hostapp/suites/dialog_manager_suites.h"
#include "hostapp/suites/entry_barrier.h"

namespace host {
namespace {

constexpr const char* kSuite = kADMListSuite;

DialogList* enterList(const char* operation, ListHandle handle, DialogManager** dialogs = nullptr) {
  adm::Call call = adm::enter(kSuite, operation);
  if (call.status != kHostNoErr) return nullptr;
  if (dialogs) *dialogs = call.dialogs;
  return call.dialogs->list(handle);
}

EntryHandle InsertEntry(ListHandle handle, int32_t index) {
  DialogManager* dialogs = nullptr;
  DialogList* list = enterList("InsertEntry", handle, &dialogs);
  if (!list) return nullptr;
  try {
    return DialogManager::handle(dialogs->insertEntry(*list, index));
  } catch (...) {
    return nullptr;
  }
}

EntryHandle IndexEntry(ListHandle handle, int32_t index) {
  DialogList* list = enterList("IndexEntry", handle);
  DialogEntry* entry = list ? list->at(index) : nullptr;
  return entry ? DialogManager::handle(*entry) : nullptr;
}

EntryHandle GetActiveEntry(ListHandle handle) {
  DialogList* list = enterList("GetActiveEntry", handle);
  DialogEntry* entry = list ? list->active() : nullptr;
  return entry ? DialogManager::handle(*entry) : nullptr;
}

int32_t NumberOfEntries(ListHandle handle) {
  DialogList* list = enterList("NumberOfEntries", handle);
  return list ? list->size() : 0;
}

constexpr ADMListSuiteV1 kTable{valueBarrier<InsertEntry>, valueBarrier<IndexEntry>, valueBarrier<GetActiveEntry>,
    valueBarrier<NumberOfEntries>};

}  // namespace

const ADMListSuiteV1& admListSuite() { return kTable; }

}  // namespace host
