// Memory the host hands to plug-ins: MdMemory handles and SP Blocks, zero
// filled and charged to the document's memory budget. Everything still
// allocated is freed with the host.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "hostapp/model/document.h"
#include "shell/host/host_types.h"

namespace host {

class HostMemory {
 public:
  explicit HostMemory(MemoryBudget& budget) : budget_(budget) {}
  ~HostMemory();
  HostMemory(const HostMemory&) = delete;
  HostMemory& operator=(const HostMemory&) = delete;

  // size >= 0; over budget: -108 (kHostOutOfMemoryErr).
  HostErr newHandle(int32_t size, MemHandle* handle);
  HostErr disposeHandle(MemHandle handle);  // unknown handle: kHostBadParameterErr
  HostErr handleSize(MemHandle handle, int32_t* size) const;
  HostErr allocateBlock(std::size_t size, const char* name, void** block);
  HostErr freeBlock(void* block);  // null is accepted; unknown: kHostBadParameterErr

  std::size_t liveHandles() const { return handles_.size(); }
  std::size_t liveBlocks() const { return blocks_.size(); }
  // The name a live block was allocated under (empty when unknown).
  std::string blockName(const void* block) const;

 private:
  struct Handle {
    std::unique_ptr<void*> master;  // the handle points here; *master is the data
    std::unique_ptr<char[]> data;
    std::size_t size;
  };
  struct Block {
    std::unique_ptr<char[]> data;
    std::size_t size;
    std::string name;
  };
  MemoryBudget& budget_;
  std::map<const void*, Handle> handles_;  // by the handle's value
  std::map<const void*, Block> blocks_;    // by the block's address
};

}  // namespace host
