#include "hostapp/resources/resource_file.h"

namespace host {

ResourceTable ResourceTable::fromLibrary(const std::string& path) {
  const std::vector<uint8_t> section = readElfSection(path, kResourceSectionName);
  return parse(section);
}

}  // namespace host
