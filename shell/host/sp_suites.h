/* Host plumbing suites: named memory blocks, library access, memory handles. */
#pragma once

#include "host_types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kBlocksSuite "SP Blocks Suite"
#define kBlocksSuiteVersion 2

typedef struct BlocksSuiteV2 {
  /* Allocates `size` zero-filled bytes under a debugging name into *block.
   * -108 over the memory budget, 'PAR?' for a null `block`. */
  HostErr (*AllocateBlock)(size_t size, const char* debugName, void** block);
  /* Frees a block from AllocateBlock; null is accepted and ignored. 'PAR?'
   * for a block this host did not allocate (or freed already). */
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
  /* Creates a handle to `size` zero-filled bytes. -108 over the memory
   * budget, 'PAR?' for a null `handle` or a negative size. */
  HostErr (*NewHandle)(int32_t size, MemHandle* handle);
  /* Frees a handle from NewHandle. 'PAR?' for any other handle. */
  HostErr (*DisposeHandle)(MemHandle handle);
  /* Size in bytes of the handle's block. 'PAR?' for an unknown handle or a
   * null `size`. */
  HostErr (*GetHandleSize)(MemHandle handle, int32_t* size);
} MdMemorySuiteV1;

#ifdef __cplusplus
}
#endif
