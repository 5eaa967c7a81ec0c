#include "hostapp/cli/progress_line.h"

#include <algorithm>
#include <cmath>

namespace cli {

ProgressLine::ProgressLine(bool on, std::chrono::milliseconds delay, std::ostream& err)
    : on_(on), delay_(delay), err_(err), start_(Clock::now()), lastShown_(start_) {}

void ProgressLine::beginRun(std::size_t index, std::size_t runs, std::string label) {
  index_ = index;
  runs_ = std::max<std::size_t>(runs, 1);
  label_ = std::move(label);
}

void ProgressLine::report(double fraction, const std::string& what, bool now) {
  if (!on_) return;
  const auto time = Clock::now();
  if (time - start_ < delay_) return;
  if (shown_ && !now && time - lastShown_ < std::chrono::milliseconds(100)) return;
  const double done = (static_cast<double>(index_) + std::clamp(fraction, 0.0, 1.0)) / static_cast<double>(runs_);
  // Never 100 % before the end: the last step shows it.
  const int percent = std::min(99, static_cast<int>(std::floor(done * 100)));
  std::string line = "spiral-host: " + std::to_string(percent) + " % " + label_ + what;
  const std::size_t width = line.size();
  if (width < lastWidth_) line.append(lastWidth_ - width, ' ');
  err_ << "\r" << line << std::flush;
  lastWidth_ = width;
  shown_ = true;
  lastShown_ = time;
}

void ProgressLine::finish() {
  if (!shown_) return;
  if (index_ + 1 < runs_) return abandon();  // runs are still to come
  std::string line = "spiral-host: 100 % done";
  if (line.size() < lastWidth_) line.append(lastWidth_ - line.size(), ' ');
  err_ << "\r" << line << "\n" << std::flush;
  shown_ = false;
  lastWidth_ = 0;
}

void ProgressLine::abandon() {
  if (shown_) err_ << "\n" << std::flush;
  shown_ = false;
  lastWidth_ = 0;
}

}  // namespace cli
