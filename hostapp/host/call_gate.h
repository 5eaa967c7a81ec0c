// The one gate every host operation passes at its start: it counts the call,
// appends it to the call log when logging is on, and answers with an
// injected failure when a test or validator configured one.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "shell/host/host_types.h"

namespace host {

// Suite and operation names are string literals of the adapters.
struct CallRecord {
  const char* suite;
  const char* operation;
};

// Host calls per message by default: far more than the largest drawing run
// the memory budget allows (about 1.5e8 calls), and still only seconds.
inline constexpr std::uint64_t kDefaultCallBudget = std::uint64_t{1} << 28;

// A call the host refused because of what the plug-in gave it: a handle
// naming no live art, a segment index out of range, a coordinate that is
// not finite. Kept so that the user learns which call failed and why.
struct Refusal {
  const char* suite;
  const char* operation;
  std::uint32_t art;     // 0: none, or the handle named none
  std::int32_t segment;  // -1: no segment
  std::string reason;
};

class CallGate {
 public:
  // Counts and logs the call; returns the injected failure or 0. Inline: it
  // runs at the start of every host call, and with nothing to log or inject
  // it only counts.
  HostErr pass(const char* suite, const char* operation) {
    ++count_;
    lastSuite_ = suite;
    lastOperation_ = operation;
    if (!watched_ && count_ - messageStart_ <= callBudget_ && count_ != nextBeat_) return kHostNoErr;
    return passWatched(suite, operation);
  }

  std::uint64_t callCount() const { return count_; }

  // Calls `beat` at every `calls`-th call (progress reports), before the
  // call goes on; calls = 0 stops it.
  void setHeartbeat(std::uint64_t calls, std::function<void()> beat);

  // Notes that the call passed last was refused; the latest kKeptRefusals
  // are kept, and refusalCount() counts them all.
  void refuse(std::uint32_t art, std::int32_t segment, std::string reason);
  static constexpr std::size_t kKeptRefusals = 4;
  const std::vector<Refusal>& refusals() const { return refusals_; }
  std::uint64_t refusalCount() const { return refusalCount_; }
  void setLogging(bool on) {
    logging_ = on;
    updateWatched();
  }
  const std::vector<CallRecord>& log() const { return log_; }
  void clearLog() { log_.clear(); }

  // Every call of this operation fails with `code` until clearFailures().
  void failOperation(std::string suite, std::string operation, HostErr code);
  // The call numbered n (1 = the next call counted from 0 at construction;
  // compare callCount()) fails with `code`; with everyCallFromThenOn, so
  // does every later call.
  void failNthCall(std::uint64_t n, HostErr code, bool everyCallFromThenOn = false);
  // A rule of the caller's own, asked about every call after the ones above
  // (call number, suite, operation): the code to fail it with, or 0.
  using FailureRule = std::function<HostErr(std::uint64_t call, const char* suite, const char* operation)>;
  void setFailureRule(FailureRule rule) {
    rule_ = std::move(rule);
    updateWatched();
  }
  // Also drops the rule.
  void clearFailures();

  // Calls one host message may make: beyond the budget every call fails with
  // -108, so a plug-in that loops without end (or without taking memory)
  // still comes to a stop. Binding (the basic suite), the dialog manager and
  // the text conversions stay open, so the failure can still be reported,
  // and so do random numbers, which cannot report a failure.
  // beginMessage() starts the count again.
  void setCallBudget(std::uint64_t calls) { callBudget_ = calls; }
  std::uint64_t callBudget() const { return callBudget_; }
  void beginMessage() { messageStart_ = count_; }

 private:
  HostErr passWatched(const char* suite, const char* operation);
  void updateWatched() { watched_ = logging_ || failAt_ != 0 || !named_.empty() || rule_ != nullptr; }

  struct NamedFailure {
    std::string suite;
    std::string operation;
    HostErr code;
  };
  std::uint64_t count_ = 0;
  const char* lastSuite_ = "";
  const char* lastOperation_ = "";
  std::vector<Refusal> refusals_;
  std::uint64_t refusalCount_ = 0;
  bool logging_ = false;
  std::vector<CallRecord> log_;
  std::vector<NamedFailure> named_;
  std::uint64_t failAt_ = 0;  // 0: none
  HostErr failAtCode_ = 0;
  bool failFromThenOn_ = false;
  FailureRule rule_;
  std::uint64_t callBudget_ = kDefaultCallBudget;
  std::uint64_t messageStart_ = 0;
  bool watched_ = false;  // logging, or a failure to inject
  std::uint64_t beatEvery_ = 0;
  std::uint64_t nextBeat_ = 0;  // 0: never (the count is at least 1 here)
  std::function<void()> beat_;
};

class HostContext;

// What an adapter gets at its start. `host` is null when no host is
// active; `status` is then non-zero, as it is for an injected failure.
struct HostCall {
  HostContext* host;
  HostErr status;
};

// Reported when an operation is called with no active host.
inline constexpr HostErr kNoActiveHostErr = kHostCantHappenErr;

// Passes the active host's gate: the first line of every adapter. Defined
// inline in host_context.h.
HostCall enterHostCall(const char* suite, const char* operation);

}  // namespace host
