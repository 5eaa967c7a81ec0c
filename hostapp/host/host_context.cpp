#include "hostapp/host/host_context.h"

#include <random>

#include "hostapp/suites/suites.h"

namespace host {

namespace {

thread_local HostContext* tActiveHost = nullptr;

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
  registerApplicationSuites(suites_);
  registerDialogManagerSuites(suites_);
}

HostContext::~HostContext() {
  if (tActiveHost == this) tActiveHost = nullptr;
}

HostContext* HostContext::current() { return tActiveHost; }

HostContext::Activation::Activation(HostContext* host) : previous_(tActiveHost) { tActiveHost = host; }

HostContext::Activation::~Activation() { tActiveHost = previous_; }

const BasicSuiteV4* HostContext::basicSuite() const { return &host::basicSuite(); }

}  // namespace host
