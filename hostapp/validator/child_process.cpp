#include "hostapp/validator/child_process.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <iostream>

namespace validator {
namespace {

constexpr int kExitPassed = 0;
constexpr int kExitFailed = 3;
// The parent's own deadline lies a little after the child's alarm, for a
// child that blocks or ignores it.
constexpr int kGraceSeconds = 5;

void writeAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
}

void takeLine(const std::string& line, ChildOutcome& outcome) {
  if (line.size() < 2) return;
  const std::string text = line.substr(2);
  switch (line[0]) {
    case 'n': outcome.notes.push_back(text); break;
    case 'a': outcome.lastAt = text; break;
    case 'f': {
      const std::size_t blank = text.rfind(' ');
      if (blank == std::string::npos) break;
      outcome.figures.emplace_back(text.substr(0, blank), std::atoll(text.c_str() + blank + 1));
      break;
    }
    default: break;
  }
}

}  // namespace

void ChildReport::send(char kind, const std::string& text) {
  std::string line(1, kind);
  line += ' ';
  for (char c : text) line += c == '\n' ? ' ' : c;
  line += '\n';
  writeAll(fd_, line);
}

void ChildReport::note(const std::string& text) { send('n', text); }
void ChildReport::at(const std::string& text) { send('a', text); }
void ChildReport::figure(const std::string& name, long long value) { send('f', name + " " + std::to_string(value)); }

ChildOutcome runInChild(const std::function<bool(ChildReport&)>& check, unsigned timeoutSeconds) {
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
    ChildReport report(fds[1]);
    bool passed = false;
    try {
      passed = check(report);
    } catch (const std::exception& e) {
      report.note(std::string("exception: ") + e.what());
    } catch (...) {
      report.note("unknown exception");
    }
    ::close(fds[1]);
    std::exit(passed ? kExitPassed : kExitFailed);
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
    std::size_t newline;
    while ((newline = pending.find('\n')) != std::string::npos) {
      takeLine(pending.substr(0, newline), outcome);
      pending.erase(0, newline + 1);
    }
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
  } else if (WIFEXITED(status) && WEXITSTATUS(status) == kExitPassed) {
    outcome.ending = ChildOutcome::Ending::Passed;
  } else if (WIFEXITED(status) && WEXITSTATUS(status) == kExitFailed) {
    outcome.ending = ChildOutcome::Ending::Failed;
  } else {
    outcome.ending = ChildOutcome::Ending::Died;
    outcome.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  return outcome;
}

std::string describeEnding(const ChildOutcome& outcome) {
  switch (outcome.ending) {
    case ChildOutcome::Ending::Passed: return "passed";
    case ChildOutcome::Ending::Failed: return "failed";
    case ChildOutcome::Ending::TimedOut: return "timed out";
    case ChildOutcome::Ending::Died:
      if (outcome.signal != 0) return "died of signal " + std::to_string(outcome.signal) + " (" + strsignal(outcome.signal) + ")";
      return "exited with status " + std::to_string(outcome.exitStatus) + " (a crash or sanitizer report; see stderr)";
  }
  return "?";
}

}  // namespace validator
