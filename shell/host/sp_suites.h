/* Host plumbing suites: named memory blocks, library access, memory handles. */
#pragma once

#include "host_types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kBlocksSuite "SP Blocks Suite"
#define kBlocksSuiteVersion 2

typedef struct BlocksSuiteV2 {
  /* Allocates `size` zero-filled bytes under a debugging name into *block. */
  HostErr (*AllocateBlock)(size_t size, const char* debugName, void** block);
  /* Frees a block from AllocateBlock; null is accepted and ignored. */
  HostErr (*FreeBlock)(void* block);
} BlocksSuiteV2;

#define kAccessSuite "SP Access Suite"
#define kAccessSuiteVersion 3

typedef struct AccessSuiteV3 {
  /* Writes the file path of the plug-in's library into buf (size bytes). */
  HostErr (*GetPluginFilePath)(PluginRef plugin, char* buf, int32_t size);
} AccessSuiteV3;

#define kMdMemorySuite "AI MdMemory Suite"
#define kMdMemorySuiteVersion 1

typedef struct MdMemorySuiteV1 {
  /* Creates a handle to `size` zero-filled bytes. Over budget: -108. */
  HostErr (*NewHandle)(int32_t size, MemHandle* handle);
  /* Frees a handle from NewHandle. */
  HostErr (*DisposeHandle)(MemHandle handle);
  /* Size in bytes of the handle's block. */
  HostErr (*GetHandleSize)(MemHandle handle, int32_t* size);
} MdMemorySuiteV1;

#ifdef __cplusplus
}
#endif
