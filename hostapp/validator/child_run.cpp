#include "hostapp/validator/child_run.h"

#include <chrono>
#include <cstdlib>
#include <exception>

#include "hostapp/platform/child_process.h"
#include "hostapp/platform/library.h"

namespace validator {

namespace platform = host::platform;

void ChildReport::send(char kind, const std::string& text) {
  std::string line(1, kind);
  line += ' ';
  for (char c : text) line += c == '\n' ? ' ' : c;
  line += '\n';
  platform::writeAll(channel_, line);
}

void ChildReport::note(const std::string& text) { send('n', text); }
void ChildReport::at(const std::string& text) { send('a', text); }
void ChildReport::figure(const std::string& name, long long value) { send('f', name + " " + std::to_string(value)); }

int runChildCheck(const std::function<bool(ChildReport&)>& check, std::intptr_t channel) {
  ChildReport report(channel);
  bool passed = false;
  try {
    passed = check(report);
  } catch (const std::exception& e) {
    report.note(std::string("exception: ") + e.what());
  } catch (...) {
    report.note("unknown exception");
  }
  return passed ? kChildPassed : kChildFailed;
}

namespace {

void takeReportLine(const std::string& line, ChildOutcome& outcome) {
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

// A forked check's own alarm ends it first; the parent's deadline lies a
// little after, for a child that blocks or ignores it.
constexpr int kGraceSeconds = 5;

}  // namespace

ChildOutcome runInChild(const std::function<bool(ChildReport&)>& check, unsigned timeoutSeconds,
                        const std::vector<std::string>& rerun) {
  ChildOutcome outcome;
  const bool copy = platform::canFork();
  const std::string exe = copy ? std::string() : platform::executablePath();
  if (!copy && (rerun.empty() || exe.empty())) {
    outcome.notes.push_back("cannot run the check in a child: no command line to run it again");
    return outcome;
  }
  platform::ChildProcess child;
  std::string error;
  if (!child.addPipe(platform::PipeDirection::FromChild, error)) {
    outcome.notes.push_back("cannot make a pipe: " + error);
    return outcome;
  }
  const auto start = std::chrono::steady_clock::now();
  bool started = false;
  if (copy) {
    started = child.startCopy(
        [&](const std::vector<platform::PipeEnd>& ends) { return runChildCheck(check, ends[0]); }, timeoutSeconds,
        error);
  } else {
    std::vector<std::string> arguments = rerun;
    arguments.push_back(kChildReportOption);
    arguments.push_back(std::to_string(child.childName(0)));
    started = child.start(exe, arguments, error);
  }
  if (!started) {
    outcome.notes.push_back((copy ? "cannot fork: " : "cannot start a child: ") + error);
    return outcome;
  }

  const auto deadline = start + std::chrono::seconds(timeoutSeconds + (copy ? kGraceSeconds : 0));
  std::string pending;
  for (;;) {
    const platform::ReadResult read = platform::readSome(child.parentEnd(0), pending, deadline);
    if (read == platform::ReadResult::TimedOut) child.kill();
    if (read != platform::ReadResult::Data) break;
    takeReportLines(pending, outcome);
  }
  child.closeParentEnd(0);
  std::optional<platform::ChildExit> exit = child.wait(deadline);
  if (!exit) {
    child.kill();
    exit = child.wait();
  }
  outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  switch (exit->how) {
    case platform::ChildExit::How::Killed: outcome.ending = ChildOutcome::Ending::TimedOut; break;
    case platform::ChildExit::How::Signalled:
      outcome.ending = ChildOutcome::Ending::Died;
      outcome.signal = exit->code;
      break;
    case platform::ChildExit::How::Exited: settleEnding(outcome, exit->code); break;
  }
  return outcome;
}

void takeReportLines(std::string& pending, ChildOutcome& outcome) {
  std::size_t newline;
  while ((newline = pending.find('\n')) != std::string::npos) {
    takeReportLine(pending.substr(0, newline), outcome);
    pending.erase(0, newline + 1);
  }
}

void settleEnding(ChildOutcome& outcome, int exitStatus) {
  if (exitStatus == kChildPassed) {
    outcome.ending = ChildOutcome::Ending::Passed;
  } else if (exitStatus == kChildFailed) {
    outcome.ending = ChildOutcome::Ending::Failed;
  } else {
    outcome.ending = ChildOutcome::Ending::Died;
    outcome.exitStatus = exitStatus;
  }
}

std::string describeEnding(const ChildOutcome& outcome) {
  switch (outcome.ending) {
    case ChildOutcome::Ending::Passed: return "passed";
    case ChildOutcome::Ending::Failed: return "failed";
    case ChildOutcome::Ending::TimedOut: return "timed out";
    case ChildOutcome::Ending::Died:
      if (outcome.signal != 0) return platform::describeExit({platform::ChildExit::How::Signalled, outcome.signal});
      return platform::describeExit({platform::ChildExit::How::Exited, outcome.exitStatus}) + " (" +
             platform::abnormalExitMeaning() + "; see stderr)";
  }
  return "?";
}

}  // namespace validator
