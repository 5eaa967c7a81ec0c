#include "hostapp/host/host_memory.h"

namespace host {

HostMemory::~HostMemory() {
  for (const auto& [key, h] : handles_) budget_.release(h.size);
  for (const auto& [key, b] : blocks_) budget_.release(b.size);
}

HostErr HostMemory::newHandle(int32_t size, MemHandle* handle) {
  if (!handle || size < 0) return kHostBadParameterErr;
  const auto bytes = static_cast<std::size_t>(size);
  if (!budget_.reserve(bytes)) return kHostOutOfMemoryErr;
  Handle h{std::make_unique<void*>(nullptr), std::make_unique<char[]>(bytes > 0 ? bytes : 1), bytes};
  *h.master = h.data.get();
  MemHandle value = h.master.get();
  handles_.emplace(value, std::move(h));
  *handle = value;
  return kHostNoErr;
}

HostErr HostMemory::disposeHandle(MemHandle handle) {
  auto it = handles_.find(handle);
  if (it == handles_.end()) return kHostBadParameterErr;
  budget_.release(it->second.size);
  handles_.erase(it);
  return kHostNoErr;
}

HostErr HostMemory::handleSize(MemHandle handle, int32_t* size) const {
  auto it = handles_.find(handle);
  if (it == handles_.end() || !size) return kHostBadParameterErr;
  *size = static_cast<int32_t>(it->second.size);
  return kHostNoErr;
}

HostErr HostMemory::allocateBlock(std::size_t size, const char* name, void** block) {
  if (!block) return kHostBadParameterErr;
  if (!budget_.reserve(size)) return kHostOutOfMemoryErr;
  Block b{std::make_unique<char[]>(size > 0 ? size : 1), size, name ? name : ""};
  void* address = b.data.get();
  blocks_.emplace(address, std::move(b));
  *block = address;
  return kHostNoErr;
}

HostErr HostMemory::freeBlock(void* block) {
  if (!block) return kHostNoErr;
  auto it = blocks_.find(block);
  if (it == blocks_.end()) return kHostBadParameterErr;
  budget_.release(it->second.size);
  blocks_.erase(it);
  return kHostNoErr;
}

std::string HostMemory::blockName(const void* block) const {
  auto it = blocks_.find(block);
  return it == blocks_.end() ? std::string() : it->second.name;
}

}  // namespace host
