// Failure rules for the call gate that find the call to fail by name, not by
// its number in the call order:
//
//   gate.setFailureRule(failNthCallOf("AcquireSuite", 31, kHostSuiteNotFoundErr));
//   gate.setFailureRule(failNextCallAfter("DuplicateArt", "GetArtBounds", code));
#pragma once

#include <cstring>
#include <memory>

#include "hostapp/host/call_gate.h"

// Fails the n-th call (from 1) of `operation` made after the rule is set.
inline host::CallGate::FailureRule failNthCallOf(const char* operation, int n, HostErr code) {
  auto seen = std::make_shared<int>(0);
  return [=](std::uint64_t, const char*, const char* op) -> HostErr {
    return std::strcmp(op, operation) == 0 && ++*seen == n ? code : 0;
  };
}

// Fails the first call of `operation` that follows a call of `after`.
inline host::CallGate::FailureRule failNextCallAfter(const char* after, const char* operation, HostErr code) {
  auto armed = std::make_shared<bool>(false);
  auto done = std::make_shared<bool>(false);
  return [=](std::uint64_t, const char*, const char* op) -> HostErr {
    if (*done) return 0;
    if (std::strcmp(op, after) == 0) *armed = true;
    if (!*armed || std::strcmp(op, operation) != 0) return 0;
    *done = true;
    return code;
  };
}
