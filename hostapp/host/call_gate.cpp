#include "hostapp/host/call_gate.h"

#include <cstring>

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

HostErr CallGate::passWatched(const char* suite, const char* operation) {
  if (count_ == nextBeat_) {
    nextBeat_ += beatEvery_;
    beat_();
  }
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

void CallGate::setHeartbeat(std::uint64_t calls, std::function<void()> beat) {
  beatEvery_ = calls;
  beat_ = std::move(beat);
  nextBeat_ = calls && beat_ ? count_ + calls : 0;
}

void CallGate::refuse(std::uint32_t art, std::int32_t segment, std::string reason) {
  ++refusalCount_;
  if (refusals_.size() == kKeptRefusals) refusals_.erase(refusals_.begin());
  refusals_.push_back({lastSuite_, lastOperation_, art, segment, std::move(reason)});
}

void CallGate::failOperation(std::string suite, std::string operation, HostErr code) {
  named_.push_back({std::move(suite), std::move(operation), code});
  updateWatched();
}

void CallGate::failNthCall(std::uint64_t n, HostErr code, bool everyCallFromThenOn) {
  failAt_ = n;
  failAtCode_ = code;
  failFromThenOn_ = everyCallFromThenOn;
  updateWatched();
}

void CallGate::clearFailures() {
  named_.clear();
  failAt_ = 0;
  failFromThenOn_ = false;
  rule_ = nullptr;
  updateWatched();
}

}  // namespace host
