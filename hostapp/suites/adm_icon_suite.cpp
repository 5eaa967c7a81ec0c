#include "hostapp/suites/dialog_manager_suites.h"
#include "hostapp/suites/entry_barrier.h"

namespace host {
namespace {

IconHandle GetFromResource(PluginRef plugin, int32_t iconId) {
  adm::Call call = adm::enter(kADMIconSuite, "GetFromResource");
  if (call.status != kHostNoErr) return nullptr;
  const ResourceTable* resources = call.plugins->resources(plugin);
  if (!resources || iconId < 0 || iconId > 0xFFFF) return nullptr;
  // The icon's handle is its group resource, which lives as long as the
  // plug-in's entry in the directory.
  const Resource* icon =
      resources->find(ResourceName::of(kGroupIconResource), ResourceName::of(static_cast<uint16_t>(iconId)));
  return icon ? reinterpret_cast<IconHandle>(const_cast<Resource*>(icon)) : nullptr;
}

constexpr ADMIconSuiteV1 kTable{valueBarrier<GetFromResource>};

}  // namespace

const ADMIconSuiteV1& admIconSuite() { return kTable; }

}  // namespace host
