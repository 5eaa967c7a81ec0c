#include "hostapp/platform/signals.h"

#include <pthread.h>
#include <signal.h>

#include <cstddef>
#include <iterator>

namespace host::platform {
namespace {

sigset_t stopSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  return set;
}

constexpr int kTerminatingSignals[] = {SIGINT,  SIGTERM, SIGHUP,  SIGQUIT, SIGPIPE, SIGALRM,
                                      SIGUSR1, SIGUSR2, SIGABRT, SIGSEGV, SIGBUS};
// What each signal did before onTerminatingSignal, read by dieOfSignal.
struct sigaction gEarlierActions[std::size(kTerminatingSignals)];
bool gHaveEarlier[std::size(kTerminatingSignals)];

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
  for (std::size_t k = 0; k < std::size(kTerminatingSignals); ++k) {
    const int signal = kTerminatingSignals[k];
    struct sigaction action {};
    if (sigaction(signal, nullptr, &action) != 0 || action.sa_handler == SIG_IGN) continue;
    if (action.sa_handler != handler) gEarlierActions[k] = action, gHaveEarlier[k] = true;
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;
    sigaction(signal, &action, nullptr);
  }
}

// Inside the handler the signal is blocked: raised again, it comes when the
// handler returns, to the earlier disposition. A fault that returns to its
// instruction faults again the same way.
void dieOfSignal(int signal) {
  for (std::size_t k = 0; k < std::size(kTerminatingSignals); ++k) {
    if (kTerminatingSignals[k] == signal && gHaveEarlier[k]) {
      sigaction(signal, &gEarlierActions[k], nullptr);
      ::raise(signal);
      return;
    }
  }
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}

void ignoreFileSizeLimitSignal() { ::signal(SIGXFSZ, SIG_IGN); }

}  // namespace host::platform
