// The plug-in's entry point and its message handlers.
#pragma once

#include <cstdint>

#include "shell/host/host_interface.h"
#include "shell/plugin_globals.h"

// The only export, in the C calling convention of PluginMainProc (cdecl on
// 32-bit x86); ELF builds export it by visibility, the Windows DLL by its
// module-definition file. Never throws: what the code inside throws becomes
// kHostOutOfMemoryErr (std::bad_alloc) or kHostCantHappenErr (anything else),
// shown in the error dialog like any failing code, and the suites are
// unbound as after any message.
#ifdef _WIN32
#define SPIRAL_EXPORT
#else
#define SPIRAL_EXPORT __attribute__((visibility("default")))
#endif
extern "C" SPIRAL_EXPORT HostErr PluginMain(const char* caller, const char* selector, void* message) noexcept;

HostErr onStartup(MessageHeader* message);
HostErr onShutdown(MessageHeader* message);
HostErr onUnload(MessageHeader* message);
HostErr onReload(MessageHeader* message);
HostErr onMenuGo(MessageHeader* message);
HostErr onMenuUpdate(MessageHeader* message);
