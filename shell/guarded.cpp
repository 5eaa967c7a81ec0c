#include "shell/guarded.h"

#include <new>

HostErr exceptionCode(std::exception_ptr exception) noexcept {
  try {
    std::rethrow_exception(exception);
  } catch (const std::bad_alloc&) {
    return kHostOutOfMemoryErr;
  } catch (...) {
    return kHostCantHappenErr;
  }
}
