// HostContext plumbing: random service, call gate, basic suite and
// registry, activation and several hosts side by side.
#include <gtest/gtest.h>

#include <cstring>

#include "hostapp/host/host_context.h"
#include "hostapp/suites/suites.h"
#include "support/host_fixture.h"

using namespace host;

namespace {
constexpr HostErr kInjected = 0x54455354;  // 'TEST'
constexpr HostErr kLate = 0x4C415445;      // 'LATE'
}  // namespace

TEST(RandomService, IsSplitMix64FromTheSeed) {
  // Outputs computed independently of this code base; 1234567 is the
  // reference sequence published with SplitMix64.
  RandomService seeded(1234567);
  EXPECT_EQ(seeded.nextRaw(), 6457827717110365317ull);
  EXPECT_EQ(seeded.nextRaw(), 3203168211198807973ull);
  EXPECT_EQ(seeded.nextRaw(), 9817491932198370423ull);

  RandomService one(1);
  const std::uint64_t expected[] = {0x910a2dec89025cc1ull, 0xbeeb8da1658eec67ull, 0xf893a2eefb32555eull};
  for (std::uint64_t z : expected) EXPECT_EQ(one.next(), static_cast<float>(z >> 40) / 16777216.0f);
  EXPECT_EQ(one.drawCount(), 3u);

  one.seed(1);
  EXPECT_FLOAT_EQ(one.next(), 0.5665615200996399f);
}

TEST(RandomService, ScriptedValuesComeFirstThenTheSequenceGoesOn) {
  RandomService r(1);
  r.script({0.25f, 0.75f});
  EXPECT_TRUE(r.scripted());
  EXPECT_EQ(r.next(), 0.25f);
  EXPECT_EQ(r.next(), 0.75f);
  EXPECT_FALSE(r.scripted());
  EXPECT_EQ(r.next(), static_cast<float>(0x910a2dec89025cc1ull >> 40) / 16777216.0f);
  EXPECT_EQ(r.drawCount(), 3u);
  for (int i = 0; i < 10000; ++i) {
    const float v = r.next();
    ASSERT_GE(v, 0.0f);
    ASSERT_LT(v, 1.0f);
  }
}

class HostContextTest : public HostFixture {};

TEST_F(HostContextTest, BasicSuiteCountsReferencesAndRefusesUnknownSuites) {
  const BasicSuiteV4* basic = host().basicSuite();
  const int bound = host().suites().refCount(kPathSuite, kPathSuiteVersion);
  EXPECT_EQ(bound, 1);  // the fixture's binding
  const void* first = nullptr;
  const void* second = nullptr;
  ASSERT_EQ(basic->AcquireSuite(kPathSuite, kPathSuiteVersion, &first), kHostNoErr);
  ASSERT_EQ(basic->AcquireSuite(kPathSuite, kPathSuiteVersion, &second), kHostNoErr);
  EXPECT_EQ(first, second);
  EXPECT_EQ(first, gPathSuite);
  EXPECT_EQ(host().suites().refCount(kPathSuite, kPathSuiteVersion), 3);
  EXPECT_EQ(basic->ReleaseSuite(kPathSuite, kPathSuiteVersion), kHostNoErr);
  EXPECT_EQ(basic->ReleaseSuite(kPathSuite, kPathSuiteVersion), kHostNoErr);
  EXPECT_EQ(host().suites().refCount(kPathSuite, kPathSuiteVersion), 1);

  const void* untouched = &bound;
  EXPECT_EQ(basic->AcquireSuite("AI Nonsense Suite", 1, &untouched), kHostSuiteNotFoundErr);
  EXPECT_EQ(basic->AcquireSuite(kPathSuite, kPathSuiteVersion + 1, &untouched), kHostSuiteNotFoundErr);
  EXPECT_EQ(untouched, &bound);
  EXPECT_EQ(basic->ReleaseSuite("AI Nonsense Suite", 1), kHostSuiteNotFoundErr);
  EXPECT_TRUE(basic->IsEqual("AI Go", "AI Go"));
  EXPECT_FALSE(basic->IsEqual("AI Go", "AI Go "));
}

TEST_F(HostContextTest, EveryApplicationSuiteOfTheTableIsBound) {
  for (const SuiteTableEntry& e : SuiteTable) {
    if (std::strncmp(e.name, "ADM", 3) == 0) continue;
    EXPECT_NE(*e.pointer, nullptr) << e.name;
  }
}

TEST_F(HostContextTest, GateCountsLogsAndInjectsFailuresByName) {
  CallGate& gate = host().gate();
  gate.setLogging(true);
  const auto before = gate.callCount();
  gate.failOperation(kPathSuite, "SetPathSegmentCount", kInjected);
  gate.failOperation(kRandomSuite, "FloatRnd", kInjected);
  ArtHandle art = nullptr;
  ASSERT_EQ(gArtSuite->NewArt(kPathArt, kPlaceAboveAll, nullptr, &art), kHostNoErr);
  EXPECT_EQ(gPathSuite->SetPathSegmentCount(art, 0), kInjected);
  EXPECT_EQ(gRandomSuite->FloatRnd(), 0.0f);  // a failed value operation gives 0
  int16_t count = -1;
  EXPECT_EQ(gPathSuite->GetPathSegmentCount(art, &count), kHostNoErr);
  EXPECT_EQ(gate.callCount() - before, 4u);
  ASSERT_EQ(gate.log().size(), 4u);
  EXPECT_STREQ(gate.log()[1].suite, kPathSuite);
  EXPECT_STREQ(gate.log()[1].operation, "SetPathSegmentCount");
  gate.clearFailures();
  EXPECT_EQ(gPathSuite->SetPathSegmentCount(art, 0), kHostNoErr);
}

TEST_F(HostContextTest, GateFailsTheNthCallOnceOrFromThenOn) {
  CallGate& gate = host().gate();
  HostPoint size;
  gate.failNthCall(gate.callCount() + 2, -108);
  EXPECT_EQ(gDocumentSuite->GetDocumentPageSize(&size), kHostNoErr);
  EXPECT_EQ(gDocumentSuite->GetDocumentPageSize(&size), -108);
  EXPECT_EQ(gDocumentSuite->GetDocumentPageSize(&size), kHostNoErr);

  gate.failNthCall(gate.callCount() + 2, kLate, true);
  EXPECT_EQ(gDocumentSuite->GetDocumentPageSize(&size), kHostNoErr);
  EXPECT_EQ(gDocumentSuite->GetDocumentPageSize(&size), kLate);
  EXPECT_EQ(gUndoSuite->UndoChanges(), kLate);
  const void* suite = nullptr;
  EXPECT_EQ(host().basicSuite()->AcquireSuite(kPathSuite, kPathSuiteVersion, &suite), kLate);
  gate.clearFailures();
  EXPECT_EQ(gDocumentSuite->GetDocumentPageSize(&size), kHostNoErr);
}

TEST(HostContextActivation, WithoutAnActiveHostEveryOperationFails) {
  ASSERT_EQ(HostContext::current(), nullptr);
  ArtHandle art = nullptr;
  EXPECT_NE(artSuite().NewArt(kPathArt, kPlaceAboveAll, nullptr, &art), kHostNoErr);
  EXPECT_EQ(randomSuite().FloatRnd(), 0.0f);
  EXPECT_EQ(swatchListSuite().CountSwatches(nullptr), 0);
  const void* suite = nullptr;
  EXPECT_NE(basicSuite().AcquireSuite(kPathSuite, kPathSuiteVersion, &suite), kHostNoErr);
}

constexpr bool kHandlesCarryTheHostKey = sizeof(void*) >= 8;

TEST(HostContextActivation, TwoHostsKeepTheirOwnDocumentsAndRefuseEachOthersHandles) {
  HostOptions small;
  small.pageSize = {100, 200};
  HostContext a(small), b;
  ArtHandle fromA = nullptr, fromB = nullptr;
  {
    auto active = a.activate();
    ASSERT_EQ(artSuite().NewArt(kPathArt, kPlaceAboveAll, nullptr, &fromA), kHostNoErr);
    {
      auto inner = b.activate();
      EXPECT_EQ(HostContext::current(), &b);
      ASSERT_EQ(artSuite().NewArt(kPathArt, kPlaceAboveAll, nullptr, &fromB), kHostNoErr);
      int16_t n;
      // 32-bit handles carry no host key: only 64-bit hosts tell them apart.
      if constexpr (kHandlesCarryTheHostKey) {
        EXPECT_NE(pathSuite().GetPathSegmentCount(fromA, &n), kHostNoErr);
      }
      HostPoint size;
      ASSERT_EQ(documentSuite().GetDocumentPageSize(&size), kHostNoErr);
      EXPECT_EQ(size.h, 612);
    }
    EXPECT_EQ(HostContext::current(), &a);
    int16_t n;
    EXPECT_EQ(pathSuite().GetPathSegmentCount(fromA, &n), kHostNoErr);
    if constexpr (kHandlesCarryTheHostKey) {
      EXPECT_NE(pathSuite().GetPathSegmentCount(fromB, &n), kHostNoErr);
    }
  }
  EXPECT_EQ(HostContext::current(), nullptr);
  EXPECT_EQ(a.document().liveArtCount(), 1u);
  EXPECT_EQ(b.document().liveArtCount(), 1u);
}
