// Runs one validator check in a child process with a time limit, so that a
// crash, a sanitizer report or a hang fails that check and not the
// validator. The child reports through a pipe, one line at a time, written
// as it goes: what it wrote before a crash still reaches the parent.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace validator {

// The child's end of the pipe.
class ChildReport {
 public:
  explicit ChildReport(int fd) : fd_(fd) {}
  // A line of the check's result text.
  void note(const std::string& text);
  // Where the check is now; only the last one is kept, and shown when the
  // child dies.
  void at(const std::string& text);
  // A named count the validator adds into its summary.
  void figure(const std::string& name, long long value);

 private:
  void send(char kind, const std::string& text);
  int fd_;
};

struct ChildOutcome {
  enum class Ending {
    Passed,    // the check returned true
    Failed,    // the check returned false
    Died,      // killed by a signal, or exited otherwise (sanitizer report)
    TimedOut,  // ran past its time limit
  };
  Ending ending = Ending::Died;
  std::vector<std::string> notes;
  std::string lastAt;
  std::vector<std::pair<std::string, long long>> figures;
  int signal = 0;      // Died by a signal
  int exitStatus = 0;  // Died by exiting
  double seconds = 0;
};

// Forks; the child runs `check` and exits (0 passed, 3 failed) with the
// normal exit path, so that a leak checker in the program still runs. The
// parent reads the child's report and ends it after `timeoutSeconds`.
ChildOutcome runInChild(const std::function<bool(ChildReport&)>& check, unsigned timeoutSeconds);

// "signal 11 (Segmentation fault)", "exit status 1", ... for a child that died.
std::string describeEnding(const ChildOutcome& outcome);

}  // namespace validator
