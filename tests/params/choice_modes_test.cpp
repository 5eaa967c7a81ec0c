// The mode tables of params/choice_modes.h: one enumerator and one entry
// text per row, and the conversion from a record field's number.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <set>
#include <string>
#include <string_view>

#include "params/choice_modes.h"

namespace {

template <typename Mode>
void expectWellFormed() {
  using Table = ChoiceTable<Mode>;
  const std::string list(Table::listName);
  ASSERT_GT(Table::count, 0) << list;
  EXPECT_EQ(std::size(Table::names), static_cast<std::size_t>(Table::count)) << list << ": enumerators and texts";
  EXPECT_EQ(Table::texts.size(), static_cast<std::size_t>(Table::count)) << list;
  std::set<std::string_view> names, texts;
  for (int32_t i = 0; i < Table::count; ++i) {
    const std::string_view text = Table::texts[static_cast<std::size_t>(i)];
    EXPECT_TRUE(names.insert(Table::names[i]).second) << list << ": " << Table::names[i] << " twice";
    EXPECT_TRUE(texts.insert(text).second) << list << ": \"" << text << "\" twice";
    // One leading blank, then the text proper.
    ASSERT_GE(text.size(), 2u) << list << " entry " << i;
    EXPECT_EQ(text[0], ' ') << list << " entry " << i;
    EXPECT_NE(text[1], ' ') << list << " entry " << i;
    EXPECT_TRUE(isListed(toMode<Mode>(i))) << list << " entry " << i;
    EXPECT_EQ(static_cast<int32_t>(toMode<Mode>(i)), i);
  }
  EXPECT_FALSE(isListed(toMode<Mode>(-1))) << list;
  EXPECT_FALSE(isListed(toMode<Mode>(Table::count))) << list;
  EXPECT_FALSE(isListed(toMode<Mode>(INT32_MIN))) << list;
  EXPECT_EQ(static_cast<int32_t>(toMode<Mode>(INT32_MAX)), INT32_MAX) << list << ": every number survives";
}

TEST(ChoiceModes, EveryListHasOneTextPerEnumerator) {
  expectWellFormed<PlacementMode>();
  expectWellFormed<SpiralStructure>();
  expectWellFormed<PointShiftMode>();
  expectWellFormed<OffsetMode>();
  expectWellFormed<SketchColourMode>();
  expectWellFormed<InterpolationMode>();
}

// Each structure's text carries its position counted from 1.
TEST(ChoiceModes, StructureTextsCountFromOne) {
  for (int32_t i = 0; i < ChoiceTable<SpiralStructure>::count; ++i) {
    char number[4];
    std::snprintf(number, sizeof number, "%02d", i + 1);
    EXPECT_EQ(StructureList[i].substr(18, 2), number) << StructureList[i];
  }
}

}  // namespace
