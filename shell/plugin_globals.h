// The ground of the plug-in: the globals block that lives from start-up to
// shut-down and the plug-in's own result codes. Every floor may include it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "shell/host/host_interface.h"

// The plug-in's own result codes (first character in the most significant
// byte). Host codes pass through unchanged. kUserCancelErr ('STOP', never
// reported) is in params/record/plugin_facts.h, since the host must recognise
// it.
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
// The block's size is part of what the host keeps across unload and reload:
// 16 bytes with 4-byte pointers, 32 with 8-byte ones.
static_assert(sizeof(PluginGlobals) == (sizeof(void*) == 4 ? 16 : 32));
static_assert(offsetof(PluginGlobals, filterCount) == 2 * sizeof(void*));
static_assert(offsetof(PluginGlobals, basic) == 3 * sizeof(void*));

extern PluginGlobals* gPluginGlobals;
