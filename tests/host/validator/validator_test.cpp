// The validator's own parts: the call gate's failure rule and call budget,
// the table of tested calls and its site classifier, child processes, random
// records, and the fault injection run against the plug-in linked into this
// program, as it is and with faults put in on purpose.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <set>
#include <unistd.h>

#include "hostapp/host/host_context.h"
#include "hostapp/suites/suites.h"
#include "hostapp/validator/checks.h"
#include "hostapp/validator/random_records.h"
#include "params/record/parameter_fields.h"
#include "entry/errors.h"
#include "entry/plugin_main.h"
#include "shell/suite_table.h"

namespace {

using validator::ChildOutcome;
using validator::ChildReport;
using validator::Expectation;

// ---- Call gate ------------------------------------------------------------

TEST(CallGateRule, IsAskedWithEveryCallNumberAndClearedWithTheOtherFailures) {
  host::CallGate gate;
  std::vector<std::uint64_t> asked;
  gate.setFailureRule([&](std::uint64_t n, const char*, const char* operation) {
    asked.push_back(n);
    return std::strcmp(operation, "B") == 0 ? HostErr{42} : HostErr{0};
  });
  EXPECT_EQ(gate.pass("S", "A"), 0);
  EXPECT_EQ(gate.pass("S", "B"), 42);
  EXPECT_EQ(asked, (std::vector<std::uint64_t>{1, 2}));
  gate.clearFailures();
  EXPECT_EQ(gate.pass("S", "B"), 0);
}

TEST(CallGateBudget, RefusesDocumentCallsBeyondTheBudgetOfAMessageButNotBindingOrDialogs) {
  host::CallGate gate;
  gate.setCallBudget(3);
  gate.beginMessage();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(gate.pass(kArtSuite, "NewArt"), 0);
  EXPECT_EQ(gate.pass(kArtSuite, "NewArt"), kHostOutOfMemoryErr);
  EXPECT_EQ(gate.pass(kPathSuite, "SetPathSegments"), kHostOutOfMemoryErr);
  // Releasing the suites and reporting the failure still work.
  EXPECT_EQ(gate.pass(kBasicSuite, "ReleaseSuite"), 0);
  EXPECT_EQ(gate.pass(kADMDialogSuite, "Modal"), 0);
  EXPECT_EQ(gate.pass(kUserSuite, "NumberToText"), 0);
  // Random numbers cannot report a failure: a loop steered by them must go
  // on to a call that can.
  EXPECT_EQ(gate.pass(kRandomSuite, "FloatRnd"), 0);
  gate.beginMessage();
  EXPECT_EQ(gate.pass(kArtSuite, "NewArt"), 0);
}

TEST(CallGateBudget, HostOptionsSetItAndEveryMessageStartsAfresh) {
  host::HostOptions options;
  options.callBudget = 2;
  host::HostContext host(options);
  EXPECT_EQ(host.gate().callBudget(), 2u);
  host.beginMessage();
  host.gate().pass(kArtSuite, "NewArt");
  host.gate().pass(kArtSuite, "NewArt");
  EXPECT_EQ(host.gate().pass(kArtSuite, "NewArt"), kHostOutOfMemoryErr);
  host.beginMessage();
  EXPECT_EQ(host.gate().pass(kArtSuite, "NewArt"), 0);
}

// ---- The table and its sites ------------------------------------------------

std::vector<host::CallRecord> calls(std::initializer_list<std::pair<const char*, const char*>> list) {
  std::vector<host::CallRecord> log;
  for (const auto& [suite, operation] : list) log.push_back({suite, operation});
  return log;
}

TEST(FaultTable, PathSegmentCallsAreToldApartByThePartOfTheRun) {
  const auto log = calls({{kArtSuite, "NewArt"},
                          {kPathSuite, "SetPathSegmentCount"},
                          {kRandomSuite, "FloatRnd"},
                          {kPathSuite, "SetPathSegments"},  // 3: arm loop
                          {kRealMathSuite, "RealSin"},
                          {kPathSuite, "SetPathSegments"},  // 5: arm loop
                          {kPathSuite, "GetPathSegments"},  // 6..9: retraction
                          {kPathSuite, "SetPathSegments"},
                          {kPathSuite, "GetPathSegments"},
                          {kPathSuite, "SetPathSegments"},
                          {kRandomSuite, "FloatRnd"},
                          {kPathSuite, "GetPathSegments"},  // 11, 12: offset passes
                          {kPathSuite, "SetPathSegments"},
                          {kPathSuite, "SetPathClosed"},
                          {kArtSuite, "DuplicateArt"},
                          {kPathSuite, "GetPathSegmentCount"},
                          {kPathSuite, "GetPathSegments"},  // 16, 17: sketch shift
                          {kPathSuite, "SetPathSegments"},
                          {"AI Nobody Suite", "Anything"}});
  const auto sites = validator::classifyLog(log);
  ASSERT_EQ(sites.size(), log.size());
  auto siteOf = [&](std::size_t i) { return std::string(sites[i] ? sites[i]->site : "none"); };
  EXPECT_EQ(siteOf(3), "arm loop");
  EXPECT_EQ(siteOf(5), "arm loop");
  for (std::size_t i : {6u, 7u, 8u, 9u}) EXPECT_EQ(siteOf(i), "retraction of the end handles") << i;
  EXPECT_EQ(siteOf(11), "offset passes");
  EXPECT_EQ(sites[12]->expectation, Expectation::CarriesOn);
  EXPECT_EQ(siteOf(16), "sketch copy shift");
  EXPECT_EQ(sites[17]->expectation, Expectation::EndsRun);
  EXPECT_EQ(sites[18], nullptr);
}

TEST(FaultTable, StructuralCallsAreTheTestedOnesAndStringComparisonsAreNeverFailed) {
  EXPECT_TRUE(validator::isStructural({kTransformArtSuite, "TransformArt"}));
  EXPECT_TRUE(validator::isStructural({kPathSuite, "SetPathSegments"}));
  EXPECT_FALSE(validator::isStructural({kPathStyleSuite, "SetPathStyle"}));
  EXPECT_FALSE(validator::isStructural({kBasicSuite, "ReleaseSuite"}));
  const auto sites = validator::classifyLog(calls({{kBasicSuite, "IsEqual"}, {kADMItemSuite, "SetText"}}));
  EXPECT_EQ(sites[0]->expectation, Expectation::NotInjected);
  EXPECT_EQ(sites[1]->expectation, Expectation::CarriesOn);
}

// ---- Child processes ---------------------------------------------------------

TEST(ChildProcess, ReportsPassFailNotesAndFigures) {
  const ChildOutcome passed = validator::runInChild(
      [](ChildReport& r) {
        r.note("one");
        r.figure("records", 7);
        return true;
      },
      10);
  EXPECT_EQ(passed.ending, ChildOutcome::Ending::Passed);
  EXPECT_EQ(passed.notes, std::vector<std::string>{"one"});
  ASSERT_EQ(passed.figures.size(), 1u);
  EXPECT_EQ(passed.figures[0].second, 7);
  const ChildOutcome failed = validator::runInChild([](ChildReport&) { return false; }, 10);
  EXPECT_EQ(failed.ending, ChildOutcome::Ending::Failed);
}

TEST(ChildProcess, ACrashOrAHangFailsTheCheckAndKeepsWhereItWas) {
  const ChildOutcome crashed = validator::runInChild(
      [](ChildReport& r) {
        r.at("step 3");
        std::abort();
        return true;
      },
      10);
  EXPECT_EQ(crashed.ending, ChildOutcome::Ending::Died);
  EXPECT_EQ(crashed.signal, SIGABRT);
  EXPECT_EQ(crashed.lastAt, "step 3");
  const ChildOutcome hung = validator::runInChild(
      [](ChildReport&) {
        for (;;) ::pause();
        return true;
      },
      1);
  EXPECT_EQ(hung.ending, ChildOutcome::Ending::TimedOut);
}

// ---- Random records ------------------------------------------------------------

TEST(RandomRecords, RepeatForASeedAndReachEveryKindOfValue) {
  EXPECT_EQ(validator::recordHex(validator::randomRecord(5, 9)), validator::recordHex(validator::randomRecord(5, 9)));
  EXPECT_NE(validator::recordHex(validator::randomRecord(5, 9)), validator::recordHex(validator::randomRecord(5, 10)));
  bool nan = false, inf = false, huge = false, negative = false, small = false;
  for (std::uint64_t i = 0; i < 400; ++i) {
    const SpiralParameters r = validator::randomRecord(1, i);
    for (float v : {r.armGap, r.decay, r.centerX, r.scaleH, r.spiralOffsetX, r.sketchShift}) {
      nan = nan || std::isnan(v);
      inf = inf || std::isinf(v);
    }
    huge = huge || r.spiralCount > 1'000'000;
    negative = negative || r.armCount < 0;
    small = small || (r.spiralCount >= 1 && r.spiralCount <= 12);
  }
  EXPECT_TRUE(nan && inf && huge && negative && small);
}

// ---- Fault injection against the linked plug-in ------------------------------

void resetPluginState() {
  for (const SuiteTableEntry& entry : SuiteTable) *entry.pointer = nullptr;
  suiteUseCount = 0;
  gPluginGlobals = nullptr;
}

// Faults put into the plug-in on purpose, around the real PluginMain.
enum class Fault {
  None,
  SwallowsFailures,    // filter messages answer 0 whatever happened
  LeaksABlock,         // Startup takes a block it never frees
  KeepsASuite,         // Startup acquires a suite it never releases
  ReportsTwice,        // a failing Go shows the error dialog a second time
  DrawsAfterFailure,   // a failing Go makes new art afterwards
  SwallowsOutOfMemory  // Go answers 0 for -108
};
Fault gFault = Fault::None;

template <typename Suite>
const Suite* acquire(const MessageHeader* header, const char* name, int32_t version) {
  const Suite* suite = nullptr;
  header->basic->AcquireSuite(name, version, reinterpret_cast<const void**>(&suite));
  return suite;
}

HostErr faultyPluginMain(const char* caller, const char* selector, void* message) {
  const HostErr result = PluginMain(caller, selector, message);
  auto* header = static_cast<MessageHeader*>(message);
  const bool startup = std::strcmp(selector, kSelectorStartup) == 0;
  const bool failedGo = std::strcmp(caller, kCallerFilter) == 0 && std::strcmp(selector, kSelectorFilterGo) == 0 &&
                        result != 0;
  switch (gFault) {
    case Fault::None: break;
    case Fault::SwallowsFailures:
      if (std::strcmp(caller, kCallerFilter) == 0) return 0;
      break;
    case Fault::LeaksABlock:
      if (startup) {
        if (const auto* blocks = acquire<BlocksSuiteV2>(header, kBlocksSuite, kBlocksSuiteVersion)) {
          void* block = nullptr;
          blocks->AllocateBlock(8, "forgotten", &block);
          header->basic->ReleaseSuite(kBlocksSuite, kBlocksSuiteVersion);
        }
      }
      break;
    case Fault::KeepsASuite:
      if (startup) acquire<ArtSuiteV9>(header, kArtSuite, kArtSuiteVersion);
      break;
    case Fault::ReportsTwice:
      if (failedGo && bindSuites(header->basic) == 0) showHostError(header, result);
      if (failedGo) unbindSuites(header->basic);
      break;
    case Fault::DrawsAfterFailure:
      if (failedGo) {
        if (const auto* art = acquire<ArtSuiteV9>(header, kArtSuite, kArtSuiteVersion)) {
          ArtHandle path = nullptr;
          art->NewArt(kPathArt, kPlaceAboveAll, nullptr, &path);
          header->basic->ReleaseSuite(kArtSuite, kArtSuiteVersion);
        }
      }
      break;
    case Fault::SwallowsOutOfMemory:
      if (result == kHostOutOfMemoryErr) return 0;
      break;
  }
  return result;
}

class LinkedFaultInjection : public ::testing::Test {
 protected:
  void SetUp() override {
    resetPluginState();
    gFault = Fault::None;
    context_.plugin = host::scanPluginFile(SPIRAL_PLUGIN_FILE);
    context_.entry = &faultyPluginMain;
    context_.seed = 1;
  }
  void TearDown() override {
    gFault = Fault::None;
    resetPluginState();
  }
  // The scenario with the given name.
  validator::Scenario scenario(const std::string& name) {
    for (const validator::Scenario& s : validator::faultScenarios())
      if (s.name == name) return s;
    ADD_FAILURE() << "no scenario " << name;
    return {};
  }
  // Runs a pass in a child process (the plug-in's state stays in the child).
  ChildOutcome pass(const validator::Scenario& s, bool fromThenOn) {
    return validator::runInChild([&](ChildReport& report) { return validator::runFaultPass(context_, s, fromThenOn, report); },
                                 120);
  }
  validator::CheckContext context_;
};

TEST_F(LinkedFaultInjection, ThePlugInSurvivesEveryFailureOfAScenario) {
  const validator::Scenario s = scenario("symbols, warps, shadows, copies");
  for (bool fromThenOn : {false, true}) {
    const ChildOutcome outcome = pass(s, fromThenOn);
    EXPECT_EQ(outcome.ending, ChildOutcome::Ending::Passed) << (outcome.notes.empty() ? "" : outcome.notes.front());
  }
}

TEST_F(LinkedFaultInjection, APlugInThatSwallowsATestedFailureIsCaught) {
  gFault = Fault::SwallowsFailures;
  const ChildOutcome outcome = pass(scenario("transforms and styles"), false);
  EXPECT_EQ(outcome.ending, ChildOutcome::Ending::Failed);
  bool named = false;
  for (const std::string& note : outcome.notes) named = named || note.find("not the injected code") != std::string::npos;
  EXPECT_TRUE(named);
}

// The notes of a failing pass name what went wrong.
bool mentions(const ChildOutcome& outcome, const std::string& text) {
  for (const std::string& note : outcome.notes)
    if (note.find(text) != std::string::npos) return true;
  return false;
}

TEST_F(LinkedFaultInjection, APlugInThatLeavesSomethingBehindIsCaught) {
  gFault = Fault::LeaksABlock;
  const ChildOutcome leak = pass(scenario("life"), false);
  EXPECT_EQ(leak.ending, ChildOutcome::Ending::Failed);
  EXPECT_TRUE(mentions(leak, "memory block")) << (leak.notes.empty() ? "" : leak.notes.front());
  gFault = Fault::KeepsASuite;
  const ChildOutcome suite = pass(scenario("life"), false);
  EXPECT_EQ(suite.ending, ChildOutcome::Ending::Failed);
  EXPECT_TRUE(mentions(suite, "AI Art Suite still acquired")) << (suite.notes.empty() ? "" : suite.notes.front());
}

TEST_F(LinkedFaultInjection, AFailureReportedTwiceOrFollowedByNewArtIsCaught) {
  // The first two calls of every site (and every thousandth): the faulty
  // report binds the suites again, so failures while binding Go are left out.
  context_.options.faultStride = 1000;
  gFault = Fault::ReportsTwice;
  const ChildOutcome twice = pass(scenario("sketch opacity"), false);
  EXPECT_EQ(twice.ending, ChildOutcome::Ending::Failed);
  EXPECT_TRUE(mentions(twice, "showed the error dialog 2 times")) << (twice.notes.empty() ? "" : twice.notes.front());
  gFault = Fault::DrawsAfterFailure;
  const ChildOutcome after = pass(scenario("sketch opacity"), false);
  EXPECT_EQ(after.ending, ChildOutcome::Ending::Failed);
  EXPECT_TRUE(mentions(after, "came after the failure")) << (after.notes.empty() ? "" : after.notes.front());
}

// ---- What the runner holds a plug-in to after its last message -------------

class RunnerFinish : public LinkedFaultInjection {
 protected:
  // The call number of the first call of `operation` in `step`, from a run
  // without failures.
  std::uint64_t firstCall(const std::vector<validator::Step>& steps, std::size_t step, const char* operation) {
    validator::ScenarioRunner clean(context_.plugin, validator::validatorHostOptions(1),
                                    validator::ScenarioRunner::Mode::Observed, &PluginMain);
    clean.runAll(steps);
    const validator::StepOutcome& outcome = clean.outcomes()[step];
    for (std::uint64_t n = outcome.firstCall + 1; n <= outcome.endCall; ++n)
      if (std::strcmp(clean.log()[n - 1].operation, operation) == 0) return n;
    return 0;
  }
  std::vector<validator::Step> life() {
    return {validator::Step{validator::StepKind::Startup}, validator::Step{validator::StepKind::Shutdown}};
  }
};

TEST_F(RunnerFinish, ReleasesTheHostRefusedAreNotCountedAgainstThePlugIn) {
  const std::uint64_t release = firstCall(life(), 0, "ReleaseSuite");
  ASSERT_NE(release, 0u);
  resetPluginState();
  validator::ScenarioRunner runner(context_.plugin, validator::validatorHostOptions(1),
                                   validator::ScenarioRunner::Mode::Observed, &PluginMain);
  runner.inject({release, false, validator::kInjectedCode});
  runner.runAll(life());
  EXPECT_EQ(runner.refusedReleases(), 1);
  EXPECT_GT(runner.host().suites().totalRefCount(), 0);  // the plug-in keeps the rest bound, as it should
  EXPECT_TRUE(runner.finish().empty());
}

TEST_F(RunnerFinish, AFailedShutdownIsSentAgainBeforeTheBlocksAreCounted) {
  const std::uint64_t bind = firstCall(life(), 1, "AcquireSuite");
  ASSERT_NE(bind, 0u);
  resetPluginState();
  validator::ScenarioRunner runner(context_.plugin, validator::validatorHostOptions(1),
                                   validator::ScenarioRunner::Mode::Observed, &PluginMain);
  runner.inject({bind, false, validator::kInjectedCode});
  runner.runAll(life());
  EXPECT_EQ(runner.outcomes().back().result, validator::kInjectedCode);
  EXPECT_EQ(runner.host().memory().liveBlocks(), 1u);  // the globals, not freed by the failed Shutdown
  EXPECT_TRUE(runner.finish().empty());
  EXPECT_EQ(runner.host().memory().liveBlocks(), 0u);
}

// ---- The other checks against the linked plug-in ---------------------------

class LinkedChecks : public LinkedFaultInjection {
 protected:
  // Runs every check of the group whose name starts with `prefix`.
  std::vector<ChildOutcome> run(const std::vector<validator::Check>& group, const std::string& prefix = "") {
    std::vector<ChildOutcome> outcomes;
    for (const validator::Check& check : group)
      if (check.name.rfind(prefix, 0) == 0) outcomes.push_back(validator::runInChild(check.run, 120));
    return outcomes;
  }
};

TEST_F(LinkedChecks, MessageSequencesPassAndALeakFailsThem) {
  const auto group = validator::messageChecks(context_);
  for (const ChildOutcome& outcome : run(group, "messages")) {
    EXPECT_EQ(outcome.ending, ChildOutcome::Ending::Passed) << (outcome.notes.empty() ? "" : outcome.notes.front());
  }
  for (const ChildOutcome& outcome : run(group, "nested")) EXPECT_EQ(outcome.ending, ChildOutcome::Ending::Passed);
  gFault = Fault::LeaksABlock;
  for (const ChildOutcome& outcome : run(group, "messages")) EXPECT_EQ(outcome.ending, ChildOutcome::Ending::Failed);
}

TEST_F(LinkedChecks, RecordsBeyondTheBudgetMustEndWithTheMemoryCode) {
  context_.options.memoryBudget = std::size_t{1} << 20;
  const auto limits = validator::limitChecks(context_);
  for (const ChildOutcome& outcome : run(limits, "limits: 2^31-1 one-arm"))
    EXPECT_EQ(outcome.ending, ChildOutcome::Ending::Passed) << (outcome.notes.empty() ? "" : outcome.notes.front());
  gFault = Fault::SwallowsOutOfMemory;
  for (const ChildOutcome& outcome : run(limits, "limits: 2^31-1 one-arm")) {
    EXPECT_EQ(outcome.ending, ChildOutcome::Ending::Failed);
    EXPECT_TRUE(mentions(outcome, "expected -108"));
  }
}

TEST_F(LinkedChecks, RandomRecordsAndPresetsRunClean) {
  context_.options.records = 10;
  for (const ChildOutcome& outcome : run(validator::recordChecks(context_)))
    EXPECT_EQ(outcome.ending, ChildOutcome::Ending::Passed) << (outcome.notes.empty() ? "" : outcome.notes.front());
  for (const ChildOutcome& outcome : run(validator::presetChecks(context_)))
    EXPECT_EQ(outcome.ending, ChildOutcome::Ending::Passed) << (outcome.notes.empty() ? "" : outcome.notes.front());
}

}  // namespace
