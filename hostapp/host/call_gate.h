// The one gate every host operation passes at its start: it counts the call,
// appends it to the call log when logging is on, and answers with an
// injected failure when a test or validator configured one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shell/host/host_types.h"

namespace host {

// Suite and operation names are string literals of the adapters.
struct CallRecord {
  const char* suite;
  const char* operation;
};

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
  void clearFailures();

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
