// Runs one validator check in a child process with a time limit, so that a
// crash, a sanitizer report or a hang fails that check and not the
// validator. The child reports through a pipe, one line at a time, written
// as it goes: what it wrote before a crash still reaches the parent.
//
// Where the system can fork, the child is a copy of this process that runs
// the check. Elsewhere (Windows) the host starts its own executable again
// with arguments that make it run the same check, and hands it the pipe's
// write end by its name (see host::platform::ChildProcess).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace validator {

// The option that gives a re-run child its end of the pipe.
inline constexpr const char* kChildReportOption = "--child-report";

// The child's end of the pipe: a host::platform::PipeEnd.
class ChildReport {
 public:
  explicit ChildReport(std::intptr_t channel) : channel_(channel) {}
  // A line of the check's result text.
  void note(const std::string& text);
  // Where the check is now; only the last one is kept, and shown when the
  // child dies.
  void at(const std::string& text);
  // A named count the validator adds into its summary.
  void figure(const std::string& name, long long value);

 private:
  void send(char kind, const std::string& text);
  std::intptr_t channel_;
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

// Runs `check` in a child that exits (0 passed, 3 failed) with the normal
// exit path, so that a leak checker in the program still runs. The parent
// reads the child's report and ends it after `timeoutSeconds`. Where the
// host cannot fork, the child is this executable run with `rerun` followed
// by kChildReportOption and the pipe; `check` is then not used.
ChildOutcome runInChild(const std::function<bool(ChildReport&)>& check, unsigned timeoutSeconds,
                        const std::vector<std::string>& rerun = {});

// The child's side: runs `check`, reporting into `channel`, and returns the
// exit status for the parent.
int runChildCheck(const std::function<bool(ChildReport&)>& check, std::intptr_t channel);

// Exit statuses of a child whose check passed or failed.
inline constexpr int kChildPassed = 0;
inline constexpr int kChildFailed = 3;

// Parts of the parent's side: the report's lines as they arrive, and the
// ending that an exit status means.
void takeReportLines(std::string& pending, ChildOutcome& outcome);
void settleEnding(ChildOutcome& outcome, int exitStatus);

// "signal 11 (Segmentation fault)", "exit status 1", ... for a child that died.
std::string describeEnding(const ChildOutcome& outcome);

}  // namespace validator
