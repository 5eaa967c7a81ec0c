// Progress of `draw` on a terminal: after a delay, one line on stderr,
// rewritten in place, "spiral-host: 45 % drawing spiral 9 of 20", through
// drawing, rendering and writing, ending at 100 %. A batch of runs shares
// the one line.
#pragma once

#include <chrono>
#include <cstddef>
#include <ostream>
#include <string>

namespace cli {

class ProgressLine {
 public:
  // `on` false: the line never shows (stderr is no terminal).
  ProgressLine(bool on, std::chrono::milliseconds delay, std::ostream& err);
  ~ProgressLine() { finish(); }
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  // The run `index` of `runs` begins; `label` names it in the line ("3 of
  // 20, out-3.svg: "), empty for a single run.
  void beginRun(std::size_t index, std::size_t runs, std::string label);
  // Where the run is: `fraction` (0 to 1) of it done, `what` it is doing.
  // Shows the line when the delay has passed, at most ten times a second
  // unless `now` asks for it at once.
  void report(double fraction, const std::string& what, bool now = false);
  // Shows "100 % done" (when the last run has begun) and ends the line,
  // when it was shown.
  void finish();
  // Ends the line where it stands, when it was shown (a run that failed).
  void abandon();

 private:
  using Clock = std::chrono::steady_clock;
  bool on_;
  std::chrono::milliseconds delay_;
  std::ostream& err_;
  Clock::time_point start_;
  Clock::time_point lastShown_;
  bool shown_ = false;
  std::size_t lastWidth_ = 0;
  std::size_t index_ = 0;
  std::size_t runs_ = 1;
  std::string label_;
};

}  // namespace cli
