// The plug-in's suite table against the interface's suite list, and the
// stand-in host against both: every suite the plug-in binds is there under
// the listed name and version.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "shell/host/suite_list.h"
#include "shell/suite_table.h"
#include "support/host_fixture.h"

namespace {

struct ListedSuite {
  const char* name;
  int32_t version;
  const void** pointer;
};

std::vector<ListedSuite> pluginSuites() {
  std::vector<ListedSuite> suites;
#define LIST_SUITE(id, type, name, version) \
  suites.push_back({name, version, reinterpret_cast<const void**>(&g##id##Suite)});
  HOST_PLUGIN_SUITES(LIST_SUITE)
#undef LIST_SUITE
  return suites;
}

}  // namespace

TEST(SuiteTable, IsTheListsSuitesInItsOrderWithTheirPointers) {
  const std::vector<ListedSuite> listed = pluginSuites();
  ASSERT_EQ(static_cast<int>(listed.size()), kSuiteTableSize);
  for (int i = 0; i < kSuiteTableSize; ++i) {
    EXPECT_STREQ(SuiteTable[i].name, listed[i].name) << "entry " << i;
    EXPECT_EQ(SuiteTable[i].version, listed[i].version) << listed[i].name;
    EXPECT_EQ(SuiteTable[i].pointer, listed[i].pointer) << listed[i].name;
  }
  // Binding stops at the first failure, and only a bound ADM Basic Suite can
  // show it: every suite before it is one whose failure goes unreported.
  EXPECT_STREQ(SuiteTable[25].name, kADMBasicSuite);
  for (int i = 0; i < 25; ++i) EXPECT_NE(std::strncmp(SuiteTable[i].name, "ADM", 3), 0) << SuiteTable[i].name;
}

TEST(SuiteTable, NamesEverySuiteOnceAndNeverTheBasicSuite) {
  for (int i = 0; i < kSuiteTableSize; ++i) {
    EXPECT_STRNE(SuiteTable[i].name, kBasicSuite);
    for (int j = i + 1; j < kSuiteTableSize; ++j) EXPECT_STRNE(SuiteTable[i].name, SuiteTable[j].name);
  }
}

class SuiteTableHostTest : public HostFixture {};

TEST_F(SuiteTableHostTest, TheHostSuppliesEverySuiteOfTheTable) {
  for (const SuiteTableEntry& entry : SuiteTable) EXPECT_NE(*entry.pointer, nullptr) << entry.name;
}
