#include "hostapp/host/host_context.h"

#include <random>

namespace host {

namespace {

DocumentSettings settingsFrom(const HostOptions& o) {
  DocumentSettings s;
  s.pageSize = o.pageSize;
  s.colorModel = o.colorModel;
  s.memoryBudget = o.memoryBudget;
  s.viewCentre = o.viewCentre;
  s.viewZoom = o.viewZoom;
  s.viewWidth = o.viewWidth;
  s.viewHeight = o.viewHeight;
  return s;
}

std::uint16_t freshHandleKey() {
  std::random_device device;
  std::uint16_t key = 0;
  while (key == 0) key = static_cast<std::uint16_t>(device());
  return key;
}

}  // namespace

HostContext::HostContext(const HostOptions& options)
    : document_(settingsFrom(options)),
      random_(options.seed ? RandomService(*options.seed) : RandomService()),
      memory_(document_.memory()),
      handleKey_(freshHandleKey()) {
  gate_.setCallBudget(options.callBudget);
}

HostContext::~HostContext() {
  if (active_ == this) active_ = nullptr;
}

HostContext::Activation::Activation(HostContext* host) : previous_(active_) { active_ = host; }

HostContext::Activation::~Activation() { active_ = previous_; }

const BasicSuiteV4* HostContext::basicSuite() const {
  return static_cast<const BasicSuiteV4*>(suites_.table(kBasicSuite, kBasicSuiteVersion));
}

}  // namespace host
