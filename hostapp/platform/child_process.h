// Child processes of the host: a program started with arguments or, where
// the system can fork, a copy of this process that runs a function. The
// parent and the child speak through pipes made before the start; the parent
// waits for the child's end with a deadline and can kill it.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "hostapp/platform/pipe.h"

namespace host::platform {

// How a child ended.
struct ChildExit {
  enum class How {
    Exited,     // returned from main or called exit: `code` is its status
    Signalled,  // a signal ended it (POSIX): `code` is the signal
    Killed,     // ChildProcess::kill, or the copy's own time limit
  };
  How how = How::Exited;
  int code = 0;
};

// "died of signal 11 (Segmentation fault)", "exited with status 1"; on
// Windows the status is written in hex ("exited with status 0xC0000005"),
// as a crash ends with its exception code.
std::string describeExit(const ChildExit& exit);
// What an exit with an unexpected status may mean on this system: "a crash
// or sanitizer report" (POSIX), "a crash" (Windows).
const char* abnormalExitMeaning();

// Whether startCopy works here (not on Windows).
bool canFork();

enum class PipeDirection { ToChild, FromChild };

class ChildProcess {
 public:
  ChildProcess() = default;
  // Kills a child still running, waits for it and closes the pipes.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Makes a pipe for the child to come; false (with the system's reason in
  // `error`) when the system has none to give. Pipes are numbered from 0 in
  // the order they are added.
  bool addPipe(PipeDirection direction, std::string& error);
  // How a started program names its end of pipe `k`, to write on its command
  // line: descriptor 3 + k on POSIX, the inherited handle's value on Windows.
  PipeEnd childName(std::size_t k) const;
  // The parent's end of pipe `k` (kNoPipe once closed).
  PipeEnd parentEnd(std::size_t k) const { return pipes_[k].parent; }
  void closeParentEnd(std::size_t k) { closePipe(pipes_[k].parent); }

  // Starts `program` with `arguments`. The child keeps the standard streams
  // and its ends of the pipes, nothing else of this process's files, and
  // starts with the system's default handling of a broken pipe. A program
  // that cannot be run ends with status 127 (POSIX) or fails the start.
  bool start(const std::string& program, const std::vector<std::string>& arguments, std::string& error);
  // Where canFork(): runs `body` in a copy of this process, given the copy's
  // ends of the pipes; the copy then leaves through exit() with what `body`
  // returned, so that the program's exit handlers (a leak checker) run. After
  // `timeLimitSeconds` (0: none) the copy ends itself, as Killed. On Linux
  // the copy is killed when this process ends, however it ends; call it from
  // a thread that outlives the copy.
  bool startCopy(const std::function<int(const std::vector<PipeEnd>&)>& body, unsigned timeLimitSeconds,
                 std::string& error);

  // Started and not yet waited for.
  bool running() const { return running_; }
  // Waits for the child's end until `deadline` (none: as long as it takes);
  // nothing when the deadline passes first. Once ended, the exit is kept.
  std::optional<ChildExit> wait(std::optional<std::chrono::steady_clock::time_point> deadline = std::nullopt);
  // Ends the child at once; wait() then reports it Killed.
  void kill();

 private:
  struct Pipe {
    PipeDirection direction;
    PipeEnd parent = kNoPipe;
    PipeEnd child = kNoPipe;
  };
  void closeChildEnds();

  std::vector<Pipe> pipes_;
  std::intptr_t process_ = -1;  // the process id, or the process's handle
  bool running_ = false;
  bool killed_ = false;
  bool timesItself_ = false;  // a copy with a time limit of its own
  std::optional<ChildExit> exit_;
};

}  // namespace host::platform
