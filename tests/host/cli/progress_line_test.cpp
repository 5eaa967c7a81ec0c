// The progress line: silent off a terminal and before its delay, percent of
// all runs, 100 % only at the very end, and a shorter line clears a longer.
#include <gtest/gtest.h>

#include <sstream>

#include "hostapp/cli/progress_line.h"

namespace {

using std::chrono::milliseconds;

TEST(ProgressLine, SilentWhenOffOrBeforeTheDelay) {
  std::ostringstream err;
  {
    cli::ProgressLine off(false, milliseconds(0), err);
    off.report(0.5, "drawing", true);
    off.finish();
  }
  {
    cli::ProgressLine waiting(true, milliseconds(60000), err);
    waiting.report(0.5, "drawing", true);
  }
  EXPECT_EQ(err.str(), "");
}

TEST(ProgressLine, PercentCoversEveryRunAndReachesOneHundredOnlyAtTheEnd) {
  std::ostringstream err;
  cli::ProgressLine line(true, milliseconds(0), err);
  line.beginRun(1, 4, "2 of 4: ");
  line.report(0.5, "drawing spiral 1 of 2", true);
  EXPECT_EQ(err.str(), "\rspiral-host: 37 % 2 of 4: drawing spiral 1 of 2");
  line.beginRun(3, 4, "");
  line.report(1.0, "written", true);  // the last run wholly done is still 99 % until finished
  EXPECT_NE(err.str().find("\rspiral-host: 99 % written"), std::string::npos) << err.str();
  line.finish();
  const std::string text = err.str();
  const std::string last = text.substr(text.rfind('\r') + 1);
  EXPECT_EQ(last.rfind("spiral-host: 100 % done", 0), 0u) << last;
  EXPECT_EQ(text.back(), '\n');
  line.finish();  // once only
  EXPECT_EQ(err.str(), text);
}

TEST(ProgressLine, AShorterLineClearsWhatTheLongerOneShowedAndEarlyEndsDoNotClaimDone) {
  std::ostringstream err;
  cli::ProgressLine line(true, milliseconds(0), err);
  line.beginRun(0, 2, "");
  line.report(0.1, "a rather long description", true);
  line.report(0.2, "short", true);
  const std::string text = err.str();
  const std::string second = text.substr(text.rfind('\r') + 1);
  EXPECT_EQ(second.rfind("spiral-host: 10 % short", 0), 0u) << second;
  EXPECT_EQ(second.size(), std::string("spiral-host: 5 % a rather long description").size());
  // Finishing before the last run ends the line without 100 %.
  line.finish();
  EXPECT_EQ(err.str(), text + "\n");
  line.abandon();  // nothing more to end
  EXPECT_EQ(err.str(), text + "\n");
}

}  // namespace
