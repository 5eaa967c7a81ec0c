#include <cstring>

#include "hostapp/suites/adapter_util.h"
#include "hostapp/suites/entry_barrier.h"
#include "hostapp/suites/suites.h"

namespace host {
namespace {

// ---- SP Blocks -------------------------------------------------------------

HostErr AllocateBlock(size_t size, const char* debugName, void** block) {
  HostCall call = enterHostCall(kBlocksSuite, "AllocateBlock");
  if (call.status) return call.status;
  return call.host->memory().allocateBlock(size, debugName, block);
}

HostErr FreeBlock(void* block) {
  HostCall call = enterHostCall(kBlocksSuite, "FreeBlock");
  if (call.status) return call.status;
  return call.host->memory().freeBlock(block);
}

constexpr BlocksSuiteV2 kBlocks{barrier<AllocateBlock>, barrier<FreeBlock>};

// ---- SP Access -------------------------------------------------------------

HostErr GetPluginFilePath(PluginRef, char* buf, int32_t size) {
  HostCall call = enterHostCall(kAccessSuite, "GetPluginFilePath");
  if (call.status) return call.status;
  const std::string& path = call.host->pluginFilePath;
  if (!buf || size < 1 || path.size() >= static_cast<std::size_t>(size)) return kHostBadParameterErr;
  std::memcpy(buf, path.c_str(), path.size() + 1);
  return kHostNoErr;
}

constexpr AccessSuiteV3 kAccess{barrier<GetPluginFilePath>};

// ---- AI MdMemory -----------------------------------------------------------

HostErr NewHandle(int32_t size, MemHandle* handle) {
  HostCall call = enterHostCall(kMdMemorySuite, "NewHandle");
  if (call.status) return call.status;
  return call.host->memory().newHandle(size, handle);
}

HostErr DisposeHandle(MemHandle handle) {
  HostCall call = enterHostCall(kMdMemorySuite, "DisposeHandle");
  if (call.status) return call.status;
  return call.host->memory().disposeHandle(handle);
}

HostErr GetHandleSize(MemHandle handle, int32_t* size) {
  HostCall call = enterHostCall(kMdMemorySuite, "GetHandleSize");
  if (call.status) return call.status;
  return call.host->memory().handleSize(handle, size);
}

constexpr MdMemorySuiteV1 kMdMemory{barrier<NewHandle>, barrier<DisposeHandle>, barrier<GetHandleSize>};

}  // namespace

const BlocksSuiteV2& blocksSuite() { return kBlocks; }
const AccessSuiteV3& accessSuite() { return kAccess; }
const MdMemorySuiteV1& mdMemorySuite() { return kMdMemory; }

}  // namespace host
