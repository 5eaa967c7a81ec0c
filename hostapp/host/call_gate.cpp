#include "hostapp/host/call_gate.h"

#include <cstring>

#include "hostapp/host/host_context.h"
#include "shell/host/host_interface.h"

namespace host {

namespace {

// Binding, the dialog manager and the text conversions stay open beyond the
// call budget, so that a plug-in stopped by it can still report the failure
// and release its suites. So do random numbers: they cannot report a
// failure, and a loop steered by them (arms drawn at random) must still come
// to a call that can.
bool outsideCallBudget(const char* suite) {
  return std::strncmp(suite, "ADM ", 4) == 0 || std::strcmp(suite, kBasicSuite) == 0 ||
         std::strcmp(suite, kUserSuite) == 0 || std::strcmp(suite, kRandomSuite) == 0;
}

}  // namespace

HostErr CallGate::pass(const char* suite, const char* operation) {
  ++count_;
  if (logging_) log_.push_back({suite, operation});
  if (failAt_ != 0 && (count_ == failAt_ || (failFromThenOn_ && count_ > failAt_))) return failAtCode_;
  for (const NamedFailure& f : named_)
    if (f.suite == suite && f.operation == operation) return f.code;
  if (rule_) {
    if (const HostErr code = rule_(count_, suite, operation)) return code;
  }
  if (count_ - messageStart_ > callBudget_ && !outsideCallBudget(suite)) return kHostOutOfMemoryErr;
  return kHostNoErr;
}

void CallGate::failOperation(std::string suite, std::string operation, HostErr code) {
  named_.push_back({std::move(suite), std::move(operation), code});
}

void CallGate::failNthCall(std::uint64_t n, HostErr code, bool everyCallFromThenOn) {
  failAt_ = n;
  failAtCode_ = code;
  failFromThenOn_ = everyCallFromThenOn;
}

void CallGate::clearFailures() {
  named_.clear();
  failAt_ = 0;
  failFromThenOn_ = false;
  rule_ = nullptr;
}

HostCall enterHostCall(const char* suite, const char* operation) {
  HostContext* host = HostContext::current();
  if (!host) return {nullptr, kNoActiveHostErr};
  return {host, host->gate().pass(suite, operation)};
}

}  // namespace host
