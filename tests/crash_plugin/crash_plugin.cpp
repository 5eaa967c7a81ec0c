// A plug-in for the server tests that misbehaves: it carries the real
// plug-in's resources and passes every message to the real plug-in (loaded
// from SPIRAL_PLUGIN_FILE), except that it crashes on "AI Go" and never
// returns from "About".
#include <dlfcn.h>
#include <signal.h>
#include <unistd.h>

#include <cstring>

#include "shell/host/basic_suite.h"

namespace {

PluginMainProc realEntry() {
  static PluginMainProc entry = [] {
    void* library = dlopen(SPIRAL_PLUGIN_FILE, RTLD_NOW | RTLD_LOCAL);
    return library ? reinterpret_cast<PluginMainProc>(dlsym(library, "PluginMain")) : nullptr;
  }();
  return entry;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) HostErr PluginMain(const char* caller, const char* selector,
                                                                      void* message) {
  if (std::strcmp(selector, kSelectorFilterGo) == 0) raise(SIGSEGV);
  if (std::strcmp(selector, kSelectorAbout) == 0) {
    for (;;) pause();
  }
  PluginMainProc entry = realEntry();
  return entry ? entry(caller, selector, message) : -1;
}
