#include "hostapp/platform/allocator.h"

#include <cstdlib>  // defines __GLIBC__ where the C library is glibc

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace host::platform {

void keepFreedMemoryForRedraws() {
#if defined(__GLIBC__)
  constexpr int kKeep = 256 << 20;
  // Free memory at the top of the heap is trimmed only beyond kKeep, and
  // blocks below 32 MiB come from the heap (mmap'd blocks are unmapped at
  // every free). Setting these turns off glibc's own moving thresholds.
  mallopt(M_TRIM_THRESHOLD, kKeep);
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
#endif
}

void releaseFreedMemory() {
#if defined(__GLIBC__)
  malloc_trim(0);
#endif
}

}  // namespace host::platform
