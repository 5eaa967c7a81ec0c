// libFuzzer target of the resource readers: bytes in, resources or a refusal
// out. Any other ending (a crash, a sanitizer report, an exception that is
// not a refusal) stops the fuzzer.
#include "fuzz/resource_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::readResources(data, size);
  return 0;
}
