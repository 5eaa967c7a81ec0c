// The nearest names offered for a name that was not found.
#include <gtest/gtest.h>

#include "hostapp/io/suggestions.h"

namespace {

TEST(Suggestions, EditDistanceCountsTyposLikePeopleMakeThem) {
  EXPECT_EQ(hostio::editDistance("draw", "draw"), 0u);
  EXPECT_EQ(hostio::editDistance("drw", "draw"), 1u);        // a letter left out
  EXPECT_EQ(hostio::editDistance("darw", "draw"), 1u);       // two letters swapped
  EXPECT_EQ(hostio::editDistance("armcount", "armCount"), 0u);  // case does not count
  EXPECT_EQ(hostio::editDistance("", "seed"), 4u);
  EXPECT_EQ(hostio::editDistance("kitten", "sitting"), 3u);
}

TEST(Suggestions, NearestNamesComeNearestFirstAndOnlyWhenClose) {
  const std::vector<std::string> commands{"draw", "about", "presets", "fields", "validate", "serve"};
  EXPECT_EQ(hostio::nearestNames("drw", commands), std::vector<std::string>{"draw"});
  EXPECT_EQ(hostio::nearestNames("preset", commands), std::vector<std::string>{"presets"});
  EXPECT_TRUE(hostio::nearestNames("zzzzzz", commands).empty());

  const std::vector<std::string> options{"--seed", "--set", "--svg", "--save-params"};
  const auto near = hostio::nearestNames("--sed", options);
  ASSERT_GE(near.size(), 2u);
  EXPECT_EQ(near[0], "--seed");  // distance 1, before --set (also 1, later in the list) and --svg
  EXPECT_EQ(near[1], "--set");
  EXPECT_LE(hostio::nearestNames("--s", options, 2).size(), 2u);  // at most as many as asked for
  // A name that holds what was typed is close however long it is.
  EXPECT_EQ(hostio::nearestNames("sketch 3", {"Art sketch 3", "Loops"}), std::vector<std::string>{"Art sketch 3"});
}

TEST(Suggestions, DidYouMeanListsNamesInOneSentence) {
  EXPECT_EQ(hostio::didYouMean({}), "");
  EXPECT_EQ(hostio::didYouMean({"draw"}), " (did you mean 'draw'?)");
  EXPECT_EQ(hostio::didYouMean({"a", "b", "c"}), " (did you mean 'a', 'b' or 'c'?)");
}

}  // namespace
