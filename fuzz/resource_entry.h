// One input through the host's resource readers, shared by the libFuzzer
// target spiral_resource_fuzz and its corpus replay test. Input bytes that
// start like an ELF file are a plug-in library whose .rsrc section is read;
// any others are .res bytes. Every resource found is then parsed as its type
// says: the property list, dialog templates, string tables. Malformed bytes
// must end in a refusal (ResourceError), never a crash, a read out of
// bounds or another exception.
#pragma once

#include <cstddef>
#include <cstdint>

namespace fuzz {

struct ResourceOutcome {
  bool refused = false;         // the file or its table was refused
  std::size_t resources = 0;    // resources in the table
  std::size_t parsed = 0;       // property lists, dialogs and strings read whole
};

ResourceOutcome readResources(const std::uint8_t* data, std::size_t size);

}  // namespace fuzz
