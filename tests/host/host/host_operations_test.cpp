// What --fail may name: every operation of every suite of the interface's
// suite list, by the names the host's call gate is passed, and nothing else.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "hostapp/cli/draw_command.h"
#include "hostapp/host/call_gate.h"
#include "hostapp/host/host_operations.h"
#include "shell/host/suite_list.h"

namespace {

constexpr HostErr kInjected = 0x54455354;  // 'TEST'

std::vector<std::pair<std::string, std::string>> listedOperations() {
  std::vector<std::pair<std::string, std::string>> operations;
#define LIST_OPERATION(suite, operation) operations.emplace_back(suite, #operation);
#define LIST_SUITE(id, type, name, version) HOST_SUITE_OPERATIONS(id, LIST_OPERATION, name)
  HOST_SUITES(LIST_SUITE)
#undef LIST_SUITE
#undef LIST_OPERATION
  return operations;
}

}  // namespace

TEST(FailOption, AcceptsEveryListedOperationAndFailsItsCalls) {
  const auto operations = listedOperations();
  ASSERT_FALSE(operations.empty());
  for (const auto& [suite, operation] : operations) {
    host::CallGate gate;
    EXPECT_EQ(cli::injectFailures({suite + "/" + operation + "=TEST"}, gate), "") << suite << "/" << operation;
    EXPECT_EQ(gate.pass(suite.c_str(), operation.c_str()), kInjected) << suite << "/" << operation;
    EXPECT_EQ(gate.pass(suite.c_str(), "Unlisted"), kHostNoErr) << suite;
  }
}

TEST(FailOption, RefusesNamesTheListLacks) {
  host::CallGate gate;
  EXPECT_EQ(cli::injectFailures({"AI Art Suite/NewArts=-108"}, gate),
            "--fail: the host's suite 'AI Art Suite' has no operation 'NewArts'");
  EXPECT_EQ(cli::injectFailures({"AI Art Suite/newArt=-108"}, gate),
            "--fail: the host's suite 'AI Art Suite' has no operation 'newArt'");
  // An operation of another suite.
  EXPECT_EQ(cli::injectFailures({"AI Art Suite/AllocateBlock=-108"}, gate),
            "--fail: the host's suite 'AI Art Suite' has no operation 'AllocateBlock'");
  EXPECT_EQ(cli::injectFailures({"AI Art Suit/NewArt=-108"}, gate), "--fail: the host has no suite 'AI Art Suit'");
  EXPECT_FALSE(host::isHostSuite(""));
  EXPECT_FALSE(host::isHostOperation("SP Basic Suite", ""));
  EXPECT_EQ(gate.pass("AI Art Suite", "NewArt"), kHostNoErr);
}

TEST(FailOption, KnowsTheBasicSuiteThatNoPluginBinds) {
  EXPECT_TRUE(host::isHostSuite(kBasicSuite));
  EXPECT_TRUE(host::isHostOperation(kBasicSuite, "AcquireSuite"));
  EXPECT_TRUE(host::isHostOperation(kBasicSuite, "IsEqual"));
}
