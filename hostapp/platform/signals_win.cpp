#include <windows.h>

#include <condition_variable>
#include <csignal>
#include <mutex>

#include "hostapp/platform/signals.h"

namespace host::platform {
namespace {

// Console events come on a thread of the system's; they and the waker only
// raise a flag the waiter sleeps on.
std::mutex gStopMutex;
std::condition_variable gStopWake;
bool gStopped = false;

void raiseStop() {
  {
    std::lock_guard lock(gStopMutex);
    gStopped = true;
  }
  gStopWake.notify_all();
}

BOOL WINAPI onConsoleEvent(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) return FALSE;
  raiseStop();
  return TRUE;
}

}  // namespace

// Windows has no SIGPIPE: a write to a closed pipe fails.
void ignoreBrokenPipes() {}

void holdStopSignals() { SetConsoleCtrlHandler(onConsoleEvent, TRUE); }

void waitForStopSignal() {
  std::unique_lock lock(gStopMutex);
  gStopWake.wait(lock, [] { return gStopped; });
  gStopped = false;
}

void wakeStopSignalWaiter(std::thread&) { raiseStop(); }

void onTerminatingSignal(void (*handler)(int)) {
  for (int signal : {SIGINT, SIGTERM, SIGABRT, SIGSEGV}) std::signal(signal, handler);
}

void dieOfSignal(int signal) {
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

// Windows has no file size limit signal.
void ignoreFileSizeLimitSignal() {}

}  // namespace host::platform
