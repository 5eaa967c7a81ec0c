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

class CallGate {
 public:
  // Counts and logs the call; returns the injected failure or 0.
  HostErr pass(const char* suite, const char* operation);

  std::uint64_t callCount() const { return count_; }
  void setLogging(bool on) { logging_ = on; }
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
  void setFailureRule(FailureRule rule) { rule_ = std::move(rule); }
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
  struct NamedFailure {
    std::string suite;
    std::string operation;
    HostErr code;
  };
  std::uint64_t count_ = 0;
  bool logging_ = false;
  std::vector<CallRecord> log_;
  std::vector<NamedFailure> named_;
  std::uint64_t failAt_ = 0;  // 0: none
  HostErr failAtCode_ = 0;
  bool failFromThenOn_ = false;
  FailureRule rule_;
  std::uint64_t callBudget_ = kDefaultCallBudget;
  std::uint64_t messageStart_ = 0;
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

// Passes the active host's gate: the first line of every adapter.
HostCall enterHostCall(const char* suite, const char* operation);

}  // namespace host
