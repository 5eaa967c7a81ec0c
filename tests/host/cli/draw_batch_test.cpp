// The seeds and file name patterns of a batch of drawings.
#include <gtest/gtest.h>

#include "hostapp/cli/draw_batch.h"

namespace {

TEST(DrawBatch, SeedsAreOneNumberOrARangeWithinBounds) {
  std::string problem;
  EXPECT_EQ(cli::parseSeeds("7", problem), (std::vector<std::uint64_t>{7}));
  EXPECT_EQ(cli::parseSeeds("3..5", problem), (std::vector<std::uint64_t>{3, 4, 5}));
  EXPECT_EQ(cli::parseSeeds("4..4", problem), (std::vector<std::uint64_t>{4}));
  // The top of the range ends the loop without wrapping to 0.
  EXPECT_EQ(cli::parseSeeds("18446744073709551614..18446744073709551615", problem)->size(), 2u);
  for (const char* bad : {"", "-1", "5..3", "1..", "..4", "1...4", "x", "1..2..3", "18446744073709551616"}) {
    problem.clear();
    EXPECT_FALSE(cli::parseSeeds(bad, problem)) << bad;
    EXPECT_NE(problem.find("needs"), std::string::npos) << bad << ": " << problem;
  }
  problem.clear();
  EXPECT_FALSE(cli::parseSeeds("1..10001", problem));  // more drawings than a batch may ask for
  EXPECT_NE(problem.find("10000"), std::string::npos) << problem;
  EXPECT_EQ(cli::parseSeeds("1..10000", problem)->size(), 10000u);
}

TEST(DrawBatch, PatternsReplaceEveryPlaceholderAndLeaveOtherBracesAlone) {
  EXPECT_EQ(cli::expandPattern("out-{seed}.svg", "12", "Loops"), "out-12.svg");
  EXPECT_EQ(cli::expandPattern("{preset}/{seed}-{seed}.png", "3", "Art sketch 3"), "Art sketch 3/3-3.png");
  EXPECT_EQ(cli::expandPattern("{seed}}{seeds}{x}{preset", "1", "p"), "1}{seeds}{x}{preset");
  EXPECT_EQ(cli::expandPattern("plain.svg", "1", "p"), "plain.svg");
}

}  // namespace
