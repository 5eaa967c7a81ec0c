#include "hostapp/platform/signals.h"

#include <pthread.h>
#include <signal.h>

namespace host::platform {
namespace {

sigset_t stopSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  return set;
}

}  // namespace

void ignoreBrokenPipes() { ::signal(SIGPIPE, SIG_IGN); }

void holdStopSignals() {
  const sigset_t set = stopSignals();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void waitForStopSignal() {
  const sigset_t set = stopSignals();
  int signal = 0;
  sigwait(&set, &signal);
}

void wakeStopSignalWaiter(std::thread& waiter) { pthread_kill(waiter.native_handle(), SIGTERM); }

void onTerminatingSignal(void (*handler)(int)) {
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction action {};
    if (sigaction(signal, nullptr, &action) == 0 && action.sa_handler == SIG_IGN) continue;
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;
    sigaction(signal, &action, nullptr);
  }
}

void dieOfSignal(int signal) {
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}

}  // namespace host::platform
