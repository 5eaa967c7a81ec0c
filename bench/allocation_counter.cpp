#include "bench/allocation_counter.h"

#include <atomic>
#include <cstdlib>
#include <new>

#include <malloc.h>

namespace {

std::atomic<std::size_t> gCurrent{0};
std::atomic<std::size_t> gPeak{0};

void* take(std::size_t size) {
  void* p = std::malloc(size ? size : 1);
  if (!p) throw std::bad_alloc();
  const std::size_t now = gCurrent.fetch_add(malloc_usable_size(p), std::memory_order_relaxed) + malloc_usable_size(p);
  std::size_t peak = gPeak.load(std::memory_order_relaxed);
  while (now > peak && !gPeak.compare_exchange_weak(peak, now, std::memory_order_relaxed)) {
  }
  return p;
}

void give(void* p) noexcept {
  if (!p) return;
  gCurrent.fetch_sub(malloc_usable_size(p), std::memory_order_relaxed);
  std::free(p);
}

}  // namespace

namespace allocation {

std::size_t current() { return gCurrent.load(std::memory_order_relaxed); }
std::size_t peak() { return gPeak.load(std::memory_order_relaxed); }
std::size_t resetPeak() {
  const std::size_t now = current();
  gPeak.store(now, std::memory_order_relaxed);
  return now;
}

}  // namespace allocation

void* operator new(std::size_t size) { return take(size); }
void* operator new[](std::size_t size) { return take(size); }
void operator delete(void* p) noexcept { give(p); }
void operator delete[](void* p) noexcept { give(p); }
void operator delete(void* p, std::size_t) noexcept { give(p); }
void operator delete[](void* p, std::size_t) noexcept { give(p); }
