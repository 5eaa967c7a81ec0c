/*
 * The entry point's message records and the basic suite every message carries.
 *
 * The host calls PluginMain(caller, selector, message) on its user-interface
 * thread. Every message starts with MessageHeader; filter messages continue
 * with the filter handle and the parameters handle. The plug-in reads these
 * fields and writes only `globals`.
 *
 * PluginMain returns 0, a host code the plug-in met (shown to the user by the
 * plug-in itself before it returns) or a code of the plug-in's own; 'STOP'
 * answers a cancelled dialog and is not a failure. It never lets an
 * exception out: one becomes -108 (out of memory) or 'CANT'.
 */
#pragma once

#include "host_types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kBasicSuite "SP Basic Suite"
#define kBasicSuiteVersion 4

typedef struct BasicSuiteV4 {
  /* Binds the suite `name` of `version` into *suite. Unknown name or version:
   * 'S!Fd' and *suite untouched. Each success counts one reference. */
  HostErr (*AcquireSuite)(const char* name, int32_t version, const void** suite);
  /* Drops one reference taken by AcquireSuite. */
  HostErr (*ReleaseSuite)(const char* name, int32_t version);
  /* (value) Non-zero when the two strings are equal. */
  HostBool (*IsEqual)(const char* a, const char* b);
} BasicSuiteV4;

#define kMessageCheckWord 0x53504D47 /* 'SPMG' */

typedef struct MessageHeader {
  int32_t checkWord;
  PluginRef self;      /* passed back wherever the host asks which plug-in calls */
  void* globals;       /* kept by the host while the library is unloaded */
  const BasicSuiteV4* basic;
} MessageHeader;

typedef struct FilterMessage {
  MessageHeader d;
  FilterHandle filter;
  MemHandle parameters; /* null the first time; kept by the host between runs */
} FilterMessage;

/* Callers and selectors. */
#define kCallerAccess "SP Access"
#define kSelectorUnload "Unload"
#define kSelectorReload "Reload"
#define kCallerInterface "SP Interface"
#define kSelectorStartup "Startup"
#define kSelectorShutdown "Shutdown"
#define kSelectorAbout "About"
#define kCallerMenu "AI Menu"
#define kSelectorMenuGo "AI Go"
#define kSelectorMenuUpdate "AI Update"
#define kCallerFilter "AI Filter"
#define kSelectorGetParameters "AI Get Parameters"
#define kSelectorFilterGo "AI Go"

typedef HostErr (*PluginMainProc)(const char* caller, const char* selector, void* message);

#ifdef __cplusplus
}
#endif
