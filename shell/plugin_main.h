// The plug-in's entry point, its message handlers and the globals block that
// lives from start-up to shut-down.
#pragma once

#include <cstdint>

#include "shell/host/host_interface.h"

// The plug-in's own result codes (first character in the most significant
// byte). Host codes pass through unchanged.
inline constexpr HostErr kUserCancelErr = 0x53544F50;      // 'STOP': never reported
inline constexpr HostErr kBadSelectionErr = 0x2173656C;    // '!sel'
inline constexpr HostErr kNoParameterMemErr = 0x214D454D;  // '!MEM'

// Allocated from the SP Blocks Suite under the name "globals" at start-up and
// handed to the host across unload and reload.
struct PluginGlobals {
  MenuItemHandle menuItem;    // reserved; never set
  FilterHandle filter;        // the registered filter
  int32_t filterCount;        // 1 after a successful start-up
  const BasicSuiteV4* basic;  // the basic suite of the start-up message
};

extern PluginGlobals* gPluginGlobals;

extern "C" __attribute__((visibility("default"))) HostErr PluginMain(const char* caller,
                                                                      const char* selector, void* message);

HostErr onStartup(MessageHeader* message);
HostErr onShutdown(MessageHeader* message);
HostErr onUnload(MessageHeader* message);
HostErr onReload(MessageHeader* message);
HostErr onMenuGo(MessageHeader* message);
HostErr onMenuUpdate(MessageHeader* message);
