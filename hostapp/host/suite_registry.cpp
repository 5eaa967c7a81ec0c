#include "hostapp/host/suite_registry.h"

namespace host {

void SuiteRegistry::registerSuite(std::string name, int32_t version, const void* table) {
  suites_[{std::move(name), version}] = Entry{table, 0};
}

bool SuiteRegistry::has(const std::string& name, int32_t version) const {
  return suites_.count({name, version}) != 0;
}

const void* SuiteRegistry::table(const std::string& name, int32_t version) const {
  auto it = suites_.find(std::pair<std::string, int32_t>{name, version});
  return it == suites_.end() ? nullptr : it->second.table;
}

HostErr SuiteRegistry::acquire(const char* name, int32_t version, const void** suite) {
  if (!name || !suite) return kHostBadParameterErr;
  auto it = suites_.find(std::pair<std::string, int32_t>{name, version});
  if (it == suites_.end()) return kHostSuiteNotFoundErr;
  ++it->second.refs;
  *suite = it->second.table;
  return kHostNoErr;
}

HostErr SuiteRegistry::release(const char* name, int32_t version) {
  if (!name) return kHostBadParameterErr;
  auto it = suites_.find(std::pair<std::string, int32_t>{name, version});
  if (it == suites_.end()) return kHostSuiteNotFoundErr;
  if (it->second.refs == 0) return kHostBadParameterErr;
  --it->second.refs;
  return kHostNoErr;
}

int SuiteRegistry::refCount(const std::string& name, int32_t version) const {
  auto it = suites_.find(std::pair<std::string, int32_t>{name, version});
  return it == suites_.end() ? 0 : it->second.refs;
}

int SuiteRegistry::totalRefCount() const {
  int total = 0;
  for (const auto& [key, entry] : suites_) total += entry.refs;
  return total;
}

}  // namespace host
