// The host's dealings with signals (and Windows' console events): a broken
// pipe that must not end the program, a server stopped by Ctrl-C or
// SIGTERM, and files removed before an interrupted program dies.
#pragma once

#include <thread>

namespace host::platform {

// A write into a pipe whose reader is gone fails (EPIPE) instead of ending
// the program.
void ignoreBrokenPipes();

// Holds the stop signals (SIGINT, SIGTERM; Ctrl-C and Ctrl-Break on Windows)
// back from this thread and every thread it starts afterwards, so that only
// waitForStopSignal takes them. Call before starting threads.
void holdStopSignals();
// Waits until a stop signal comes (or wakeStopSignalWaiter is called).
void waitForStopSignal();
// Wakes `waiter`, a thread in waitForStopSignal, as a stop signal would.
void wakeStopSignalWaiter(std::thread& waiter);

// Calls `handler` with the signal's number when the program is told to end
// (SIGINT, SIGTERM and, on POSIX, SIGHUP, SIGQUIT, SIGPIPE, SIGALRM, SIGUSR1,
// SIGUSR2) or is ending by a fault (SIGABRT, SIGSEGV, SIGBUS), except for a
// signal the program was started with ignored. The handler may make
// async-signal-safe calls only, and should end with dieOfSignal.
void onTerminatingSignal(void (*handler)(int));
// Ends the program by `signal` as if `handler` had not taken it: the signal's
// earlier disposition (the default, or a sanitizer's handler) gets it again.
void dieOfSignal(int signal);

// A write beyond the file size limit (ulimit -f) fails with EFBIG instead of
// ending the program with SIGXFSZ (nothing on Windows).
void ignoreFileSizeLimitSignal();

}  // namespace host::platform
