// The barrier at every place the host calls into the plug-in: PluginMain and
// the procs the plug-in hands to the dialog manager (init, notify and track
// procs). The host calls them through C function pointers, from C frames that
// an exception must never unwind into, so each of them is noexcept and runs
// its work as a step of guarded(), which catches whatever the step throws:
// std::bad_alloc becomes kHostOutOfMemoryErr (-108), anything else
// kHostCantHappenErr ('CANT'). What the step did before it threw stays done.
#pragma once

#include <exception>
#include <utility>

#include "shell/host/host_types.h"

// The host code for a caught exception.
HostErr exceptionCode(std::exception_ptr exception) noexcept;

// Runs `step` and returns what it returns; when it throws, returns
// onThrow(code) instead, with the exception's host code.
template <typename Step, typename OnThrow>
auto guarded(Step&& step, OnThrow&& onThrow) noexcept -> decltype(step()) {
  try {
    return step();
  } catch (...) {
    return onThrow(exceptionCode(std::current_exception()));
  }
}

// A step that returns a status (PluginMain's steps, an init proc): a throw
// answers its host code.
template <typename Step>
HostErr guarded(Step&& step) noexcept {
  return guarded(std::forward<Step>(step), [](HostErr code) { return code; });
}

// The body of a notify proc: a throw ends the proc there, as if it had done
// nothing more, and the dialog goes on.
template <typename Step>
void guardedNotify(Step&& step) noexcept {
  guarded(std::forward<Step>(step), [](HostErr) {});
}
