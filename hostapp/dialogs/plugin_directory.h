// The plug-ins a host knows by their PluginRef, each with the resources of
// its library file: the dialog manager reads string lists, dialog templates
// and icons through it. One per host (a HostContext service).
#pragma once

#include <memory>
#include <vector>

#include "hostapp/resources/resource_file.h"
#include "shell/host/host_types.h"

namespace host {

class PluginDirectory {
 public:
  // A fresh reference for a plug-in whose resources live as long as the
  // entry (the caller keeps `resources` alive until remove()).
  PluginRef add(const ResourceTable& resources);
  void remove(PluginRef plugin);
  // Null for a reference that is not (or no longer) this host's.
  const ResourceTable* resources(PluginRef plugin) const;

 private:
  struct Slot {
    const ResourceTable* resources;
  };
  std::vector<std::unique_ptr<Slot>> slots_;
};

}  // namespace host
