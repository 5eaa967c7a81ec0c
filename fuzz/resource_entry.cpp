#include "fuzz/resource_entry.h"

#include <cstring>
#include <span>

#include "hostapp/resources/resource_file.h"

namespace fuzz {

ResourceOutcome readResources(const std::uint8_t* data, std::size_t size) {
  ResourceOutcome outcome;
  const std::span<const std::uint8_t> bytes(data, size);
  host::ResourceTable table;
  try {
    const bool elf = size >= 4 && std::memcmp(data, "\x7f" "ELF", 4) == 0;
    table = elf ? host::ResourceTable::parse(host::elfSection(bytes, host::kResourceSectionName))
                : host::ResourceTable::parse(bytes);
  } catch (const host::ResourceError&) {
    outcome.refused = true;
    return outcome;
  }
  outcome.resources = table.all().size();
  for (const host::Resource& resource : table.all()) {
    try {
      if (resource.type == host::ResourceName::of("PIPL")) {
        host::parsePipl(resource.data);
      } else if (resource.type == host::ResourceName::of(host::kDialogResource)) {
        host::parseDialogTemplate(resource.data);
      } else if (resource.type == host::ResourceName::of(host::kStringResource) && resource.name.isNumber &&
                 resource.name.number > 0) {
        // The 16 strings of this block (ids of block n are 16 (n - 1) on).
        const std::uint32_t first = (std::uint32_t{resource.name.number} - 1) * 16;
        for (std::uint32_t id = first; id < first + 16; ++id) table.string(id, resource.language);
      } else {
        continue;
      }
      ++outcome.parsed;
    } catch (const host::ResourceError&) {
    }
  }
  return outcome;
}

}  // namespace fuzz
