#include "hostapp/validator/child_process.h"

#include <cstdlib>
#include <exception>

namespace validator {

namespace detail {
// Writes all of `bytes` into the channel, or as much as it takes.
void writeAll(std::intptr_t channel, const std::string& bytes);
// The reason a child died of `signal` or with `exitStatus`.
std::string describeDeath(const ChildOutcome& outcome);
}  // namespace detail

void ChildReport::send(char kind, const std::string& text) {
  std::string line(1, kind);
  line += ' ';
  for (char c : text) line += c == '\n' ? ' ' : c;
  line += '\n';
  detail::writeAll(channel_, line);
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

}  // namespace

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
    case ChildOutcome::Ending::Died: return detail::describeDeath(outcome);
  }
  return "?";
}

}  // namespace validator
