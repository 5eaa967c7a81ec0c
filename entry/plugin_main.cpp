#include "entry/plugin_main.h"

#include "entry/errors.h"
#include "entry/filter_messages.h"
#include "entry/registration.h"
#include "shell/guarded.h"
#include "shell/suite_table.h"

PluginGlobals* gPluginGlobals = nullptr;

namespace {

HostErr dispatch(const BasicSuiteV4* basic, const char* caller, const char* selector, MessageHeader* message) {
  auto is = [basic](const char* a, const char* b) { return basic->IsEqual(a, b) != 0; };
  if (is(caller, kCallerInterface)) {
    if (is(selector, kSelectorStartup)) return onStartup(message);
    if (is(selector, kSelectorAbout)) return onAbout(message);
    if (is(selector, kSelectorShutdown)) return onShutdown(message);
    return kHostNoErr;
  }
  if (is(caller, kCallerMenu)) {
    if (is(selector, kSelectorMenuGo)) return onMenuGo(message);
    if (is(selector, kSelectorMenuUpdate)) return onMenuUpdate(message);
    return kHostNoErr;
  }
  if (is(caller, kCallerFilter)) {
    auto* filterMessage = reinterpret_cast<FilterMessage*>(message);
    if (is(selector, kSelectorGetParameters)) return onFilterParameters(filterMessage);
    if (is(selector, kSelectorFilterGo)) return onFilterGo(filterMessage);
  }
  return kHostNoErr;
}

HostErr accessMessage(const BasicSuiteV4* basic, const char* selector, MessageHeader* message) {
  if (basic->IsEqual(selector, kSelectorUnload)) return onUnload(message);
  if (basic->IsEqual(selector, kSelectorReload)) return onReload(message);
  return kHostNoErr;
}

}  // namespace

extern "C" HostErr PluginMain(const char* caller, const char* selector, void* message) noexcept {
  auto* header = static_cast<MessageHeader*>(message);
  const BasicSuiteV4* basic = header->basic;

  // Unload and reload bind nothing: the library may be on its way out, or
  // just back with every suite pointer null.
  bool access = false;
  HostErr result = guarded([&] {
    access = basic->IsEqual(caller, kCallerAccess) != 0;
    return access ? accessMessage(basic, selector, header) : kHostNoErr;
  });
  if (access || result != kHostNoErr) return result;

  // Each step is guarded on its own: the suites are unbound, and a failure is
  // shown, whatever the steps before threw.
  result = guarded([&] { return bindSuites(basic); });
  if (result == kHostNoErr) result = guarded([&] { return dispatch(basic, caller, selector, header); });
  if (result != kHostNoErr && result != kHostSuiteNotFoundErr) {
    guarded([&] {
      showHostError(header, result);
      return kHostNoErr;
    });
  }
  guarded([&] { return unbindSuites(basic); });
  return result;
}

HostErr onStartup(MessageHeader* message) {
  void* block = nullptr;
  HostErr result = gBlocksSuite->AllocateBlock(sizeof(PluginGlobals), "globals", &block);
  if (result != kHostNoErr) return result;
  gPluginGlobals = static_cast<PluginGlobals*>(block);
  gPluginGlobals->basic = message->basic;
  return registerSpiralFilter(message);
}

HostErr onShutdown(MessageHeader* message) {
  // Acquired on its own so that the block can be freed whatever the table
  // holds; the table's reference is released by the unbind that follows.
  HostErr result =
      message->basic->AcquireSuite(kBlocksSuite, kBlocksSuiteVersion, reinterpret_cast<const void**>(&gBlocksSuite));
  if (result == kHostNoErr) {
    if (gPluginGlobals) gBlocksSuite->FreeBlock(gPluginGlobals);
    gPluginGlobals = nullptr;
    message->basic->ReleaseSuite(kBlocksSuite, kBlocksSuiteVersion);
  }
  message->globals = nullptr;
  return result;
}

HostErr onUnload(MessageHeader* message) {
  message->globals = gPluginGlobals;
  return kHostNoErr;
}

HostErr onReload(MessageHeader* message) {
  gPluginGlobals = static_cast<PluginGlobals*>(message->globals);
  suiteUseCount = 0;
  return kHostNoErr;
}

HostErr onMenuGo(MessageHeader*) { return kBadSelectionErr; }

HostErr onMenuUpdate(MessageHeader*) { return kHostNoErr; }
