#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "hostapp/validator/child_process.h"

namespace validator {
namespace detail {

void writeAll(std::intptr_t channel, const std::string& bytes) {
  const int fd = static_cast<int>(channel);
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
}

std::string describeDeath(const ChildOutcome& outcome) {
  if (outcome.signal != 0)
    return "died of signal " + std::to_string(outcome.signal) + " (" + strsignal(outcome.signal) + ")";
  return "exited with status " + std::to_string(outcome.exitStatus) + " (a crash or sanitizer report; see stderr)";
}

}  // namespace detail

namespace {

// The parent's own deadline lies a little after the child's alarm, for a
// child that blocks or ignores it.
constexpr int kGraceSeconds = 5;

}  // namespace

ChildOutcome runInChild(const std::function<bool(ChildReport&)>& check, unsigned timeoutSeconds,
                        const std::vector<std::string>&) {
  ChildOutcome outcome;
  std::cout.flush();
  std::cerr.flush();
  std::fflush(nullptr);
  int fds[2];
  if (::pipe(fds) != 0) {
    outcome.notes.push_back(std::string("cannot make a pipe: ") + std::strerror(errno));
    return outcome;
  }
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = ::fork();
  if (pid < 0) {
    outcome.notes.push_back(std::string("cannot fork: ") + std::strerror(errno));
    ::close(fds[0]);
    ::close(fds[1]);
    return outcome;
  }
  if (pid == 0) {
    ::close(fds[0]);
    ::signal(SIGALRM, SIG_DFL);
    ::alarm(timeoutSeconds);
    const int status = runChildCheck(check, fds[1]);
    ::close(fds[1]);
    std::exit(status);
  }

  ::close(fds[1]);
  const auto deadline = start + std::chrono::seconds(timeoutSeconds + kGraceSeconds);
  std::string pending;
  bool killed = false;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      ::kill(pid, SIGKILL);
      killed = true;
      break;
    }
    pollfd p{fds[0], POLLIN, 0};
    const int ready = ::poll(&p, 1, static_cast<int>(std::min<long long>(left.count(), 1000)));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) continue;
    char buffer[4096];
    const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    pending.append(buffer, static_cast<std::size_t>(n));
    takeReportLines(pending, outcome);
  }
  ::close(fds[0]);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (killed || (WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM)) {
    outcome.ending = ChildOutcome::Ending::TimedOut;
  } else if (WIFSIGNALED(status)) {
    outcome.ending = ChildOutcome::Ending::Died;
    outcome.signal = WTERMSIG(status);
  } else {
    settleEnding(outcome, WIFEXITED(status) ? WEXITSTATUS(status) : -1);
  }
  return outcome;
}

}  // namespace validator
