// The suites a host hands out through its basic suite, by name and version,
// with a reference count per suite.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "shell/host/host_types.h"

namespace host {

class SuiteRegistry {
 public:
  // Registers (or replaces) the table of suite `name` at `version`.
  void registerSuite(std::string name, int32_t version, const void* table);
  bool has(const std::string& name, int32_t version) const;
  // The table registered as `name` at `version`, or null; counts nothing.
  const void* table(const std::string& name, int32_t version) const;

  // Gives the same table every time and counts a reference; unknown name or
  // version: 'S!Fd' and *suite untouched.
  HostErr acquire(const char* name, int32_t version, const void** suite);
  // Drops a reference; unknown: 'S!Fd'; none held: kHostBadParameterErr.
  HostErr release(const char* name, int32_t version);
  // References currently held (0 for an unknown suite).
  int refCount(const std::string& name, int32_t version) const;
  // References held over all suites.
  int totalRefCount() const;

 private:
  struct Entry {
    const void* table;
    int refs;
  };
  std::map<std::pair<std::string, int32_t>, Entry, std::less<>> suites_;
};

}  // namespace host
