// Suite functions as C entry points: whatever the C++ behind them throws
// stops at the barrier and reaches the caller as a status (-108 for
// std::bad_alloc, 'CANT' for anything else) or, for a value operation, as 0
// or null; nothing unwinds into the plug-in.
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>

#include "hostapp/suites/entry_barrier.h"
#include "params/record/default_parameters.h"
#include "support/host_fixture.h"
#include "support/session_fixture.h"

namespace {

// Makes every gate pass of `operation` (any suite) throw `exception`.
template <typename Exception>
void throwOn(host::CallGate& gate, std::string operation, Exception exception) {
  gate.setFailureRule([operation, exception](std::uint64_t, const char*, const char* op) -> HostErr {
    if (operation == op) throw exception;
    return kHostNoErr;
  });
}

// The function behind a barrier may also throw after it has started work.
int32_t gCalls = 0;
HostErr throwsBadAlloc(int32_t) {
  ++gCalls;
  throw std::bad_alloc();
}
int32_t countsThenThrows(int32_t n) {
  gCalls += n;
  throw std::logic_error("fault");
}
HostErr passesThrough(int32_t code) noexcept { return code; }

}  // namespace

TEST(EntryBarrier, MapsExceptionsToStatusesAndValuesToZero) {
  gCalls = 0;
  EXPECT_EQ(host::barrier<throwsBadAlloc>(1), kHostOutOfMemoryErr);
  EXPECT_EQ(host::valueBarrier<countsThenThrows>(4), 0);
  EXPECT_EQ(gCalls, 5);
  EXPECT_EQ(host::barrier<passesThrough>(271), 271);
  static_assert(noexcept(host::barrier<throwsBadAlloc>(1)));
  static_assert(noexcept(host::valueBarrier<countsThenThrows>(1)));
}

class SuiteBarrierTest : public HostFixture {};

TEST_F(SuiteBarrierTest, BadAllocInsideAnOperationIsOutOfMemoryAndChangesNothing) {
  ArtHandle art = nullptr;
  ASSERT_EQ(gArtSuite->NewArt(kPathArt, kPlaceAboveAll, nullptr, &art), kHostNoErr);
  const std::size_t live = document().liveArtCount();

  throwOn(host().gate(), "NewArt", std::bad_alloc());
  ArtHandle second = nullptr;
  EXPECT_EQ(gArtSuite->NewArt(kPathArt, kPlaceAboveAll, nullptr, &second), kHostOutOfMemoryErr);
  EXPECT_EQ(second, nullptr);
  EXPECT_EQ(document().liveArtCount(), live);

  throwOn(host().gate(), "SetPathSegments", std::bad_alloc());
  const PathSegment s{{1, 2}, {1, 2}, {1, 2}, 0};
  EXPECT_EQ(gPathSuite->SetPathSegments(art, 0, 1, &s), kHostOutOfMemoryErr);
  int16_t count = -1;
  ASSERT_EQ(gPathSuite->GetPathSegmentCount(art, &count), kHostNoErr);
  EXPECT_EQ(count, 0);
}

TEST_F(SuiteBarrierTest, OtherExceptionsAreCantHappenAndValueOperationsAnswerZero) {
  throwOn(host().gate(), "GetDocumentPageSize", std::runtime_error("model fault"));
  HostPoint size{};
  EXPECT_EQ(gDocumentSuite->GetDocumentPageSize(&size), kHostCantHappenErr);

  // Value operations of application and dialog-manager suites.
  throwOn(host().gate(), "FloatRnd", std::bad_alloc());
  EXPECT_EQ(gRandomSuite->FloatRnd(), 0.0f);
  throwOn(host().gate(), "IsEqual", 42);
  EXPECT_EQ(host().basicSuite()->IsEqual("a", "a"), 0);
  throwOn(host().gate(), "GetUserData", std::bad_alloc());
  EXPECT_EQ(gADMDialogSuite->GetUserData(nullptr), nullptr);

  host().gate().clearFailures();
  EXPECT_EQ(gDocumentSuite->GetDocumentPageSize(&size), kHostNoErr);
  EXPECT_EQ(host().basicSuite()->IsEqual("a", "a"), 1);
}

class PluginBarrierTest : public SessionFixture {
 protected:
  bool startsUp() const override { return true; }
  // Go with the defaults, as when the user repeats the filter.
  HostErr repeat() {
    EXPECT_EQ(keepRecord(defaultParameters(306, 396)), kHostNoErr);
    return session().repeatFilter();
  }
};

// The plug-in sees the out-of-memory code as it would from a host that ran
// out, ends the run with it and releases every suite.
TEST_F(PluginBarrierTest, PluginSeesMinus108AndEndsTheRunCleanly) {
  throwOn(host().gate(), "SetPathSegments", std::bad_alloc());
  EXPECT_EQ(repeat(), kHostOutOfMemoryErr);
  EXPECT_EQ(host().suites().totalRefCount(), 0);
  host().gate().clearFailures();
  EXPECT_EQ(repeat(), kHostNoErr);
  EXPECT_GT(host().document().liveArtCount(), 0u);
}

TEST_F(PluginBarrierTest, AnotherExceptionReachesThePluginAsCantHappen) {
  throwOn(host().gate(), "NewArt", std::logic_error("fault"));
  EXPECT_EQ(repeat(), kHostCantHappenErr);
  EXPECT_EQ(host().suites().totalRefCount(), 0);
}
