#include "hostapp/dialogs/plugin_directory.h"

#include <algorithm>

namespace host {

PluginRef PluginDirectory::add(const ResourceTable& resources) {
  slots_.push_back(std::make_unique<Slot>(Slot{&resources}));
  return reinterpret_cast<PluginRef>(slots_.back().get());
}

void PluginDirectory::remove(PluginRef plugin) {
  std::erase_if(slots_, [plugin](const auto& slot) { return reinterpret_cast<PluginRef>(slot.get()) == plugin; });
}

const ResourceTable* PluginDirectory::resources(PluginRef plugin) const {
  for (const auto& slot : slots_) {
    if (reinterpret_cast<PluginRef>(slot.get()) == plugin) return slot->resources;
  }
  return nullptr;
}

}  // namespace host
