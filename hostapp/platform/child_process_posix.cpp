#include <fcntl.h>
#include <signal.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <thread>

#include "hostapp/platform/child_process.h"

namespace host::platform {
namespace {

// A started program finds pipe k at descriptor kFirstChildPipe + k.
constexpr int kFirstChildPipe = 3;

// What is buffered would otherwise be written twice, by both processes.
void flushStreams() {
  std::cout.flush();
  std::cerr.flush();
  std::fflush(nullptr);
}

}  // namespace

std::string describeExit(const ChildExit& exit) {
  switch (exit.how) {
    case ChildExit::How::Exited: return "exited with status " + std::to_string(exit.code);
    case ChildExit::How::Signalled:
      return "died of signal " + std::to_string(exit.code) + " (" + strsignal(exit.code) + ")";
    case ChildExit::How::Killed: return "was stopped";
  }
  return "ended";
}

const char* abnormalExitMeaning() { return "a crash or sanitizer report"; }

bool canFork() { return true; }

bool ChildProcess::addPipe(PipeDirection direction, std::string& error) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) {
    error = std::strerror(errno);
    return false;
  }
  const bool toChild = direction == PipeDirection::ToChild;
  pipes_.push_back({direction, toChild ? fds[1] : fds[0], toChild ? fds[0] : fds[1]});
  return true;
}

PipeEnd ChildProcess::childName(std::size_t k) const { return kFirstChildPipe + static_cast<PipeEnd>(k); }

void ChildProcess::closeChildEnds() {
  for (Pipe& pipe : pipes_) closePipe(pipe.child);
}

bool ChildProcess::start(const std::string& program, const std::vector<std::string>& arguments, std::string& error) {
  // Everything the child needs is made before the fork: a forked copy of a
  // program with threads may only make async-signal-safe calls.
  std::vector<std::string> args{program};
  args.insert(args.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<int> ends;
  for (const Pipe& pipe : pipes_) ends.push_back(static_cast<int>(pipe.child));
  const int count = static_cast<int>(ends.size());

  const pid_t pid = ::fork();
  if (pid == 0) {
    // The pipe ends move above the numbers they are going to, then onto
    // them; every other descriptor (a server's socket, other children's
    // pipes) is closed.
    for (int& end : ends) {
      end = ::fcntl(end, F_DUPFD, kFirstChildPipe + count + 10);
      if (end < 0) ::_exit(127);
    }
    for (int k = 0; k < count; ++k) {
      if (::dup2(ends[k], kFirstChildPipe + k) < 0) ::_exit(127);
    }
    ::close_range(kFirstChildPipe + count, ~0U, 0);
    ::signal(SIGPIPE, SIG_DFL);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  closeChildEnds();
  if (pid < 0) {
    error = std::strerror(errno);
    return false;
  }
  process_ = pid;
  running_ = true;
  return true;
}

bool ChildProcess::startCopy(const std::function<int(const std::vector<PipeEnd>&)>& body, unsigned timeLimitSeconds,
                             std::string& error) {
  flushStreams();
  const pid_t parent = ::getpid();
  const pid_t pid = ::fork();
  if (pid == 0) {
    // A copy works for the process that made it: it ends with it, even when
    // that one is killed outright, rather than render on for nobody.
#ifdef __linux__
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
#endif
    if (::getppid() != parent) ::_exit(128 + SIGKILL);
    std::vector<PipeEnd> ends;
    for (Pipe& pipe : pipes_) {
      closePipe(pipe.parent);
      ends.push_back(pipe.child);
    }
    ::signal(SIGALRM, SIG_DFL);
    ::alarm(timeLimitSeconds);
    const int status = body(ends);
    closeChildEnds();
    std::exit(status);
  }
  closeChildEnds();
  if (pid < 0) {
    error = std::strerror(errno);
    return false;
  }
  process_ = pid;
  running_ = true;
  timesItself_ = timeLimitSeconds > 0;
  return true;
}

std::optional<ChildExit> ChildProcess::wait(std::optional<std::chrono::steady_clock::time_point> deadline) {
  if (!running_) return exit_;
  const pid_t pid = static_cast<pid_t>(process_);
  int status = 0;
  // With a deadline the child is looked at again and again, first soon (most
  // children that are asked to end do so at once), then every 10 ms.
  std::chrono::milliseconds pause(1);
  for (;;) {
    const pid_t done = ::waitpid(pid, &status, deadline ? WNOHANG : 0);
    if (done == pid) break;
    if (done < 0 && errno != EINTR) {
      status = 0;  // not ours to wait for any more: taken as a plain exit
      break;
    }
    if (done == 0) {
      if (std::chrono::steady_clock::now() >= *deadline) return std::nullopt;
      std::this_thread::sleep_for(pause);
      pause = std::min(pause * 2, std::chrono::milliseconds(10));
    }
  }
  running_ = false;
  process_ = -1;
  if (killed_ || (timesItself_ && WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM)) {
    exit_ = ChildExit{ChildExit::How::Killed, WIFSIGNALED(status) ? WTERMSIG(status) : 0};
  } else if (WIFSIGNALED(status)) {
    exit_ = ChildExit{ChildExit::How::Signalled, WTERMSIG(status)};
  } else {
    exit_ = ChildExit{ChildExit::How::Exited, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
  }
  return exit_;
}

void ChildProcess::kill() {
  if (!running_) return;
  ::kill(static_cast<pid_t>(process_), SIGKILL);
  killed_ = true;
}

}  // namespace host::platform
