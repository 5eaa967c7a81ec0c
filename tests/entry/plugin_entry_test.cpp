// The plug-in driven through PluginMain by the stand-in host's session, with
// the plug-in linked into the test program (so its globals can be looked
// at): suite binding and nesting, failures while binding, unload and reload,
// start-up and shut-down, the error dialog's texts, and the parameter
// record's life around Get Parameters and Go.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "entry/errors.h"
#include "entry/plugin_main.h"
#include "hostapp/session/plugin_session.h"
#include "hostapp/suites/adapter_util.h"
#include "params/record/plugin_facts.h"
#include "shell/suite_table.h"
#include "support/call_rules.h"
#include "support/session_fixture.h"

namespace {

constexpr HostErr kCode(const char (&text)[5]) { return static_cast<HostErr>(host::fourCharCode(text)); }

const host::ShownDialog::ItemText* shownItem(const host::ShownDialog& shown, int32_t id) {
  for (const auto& item : shown.items) {
    if (item.id == id) return &item;
  }
  return nullptr;
}

int countAlerts(const std::vector<host::ShownDialog>& shown) {
  int alerts = 0;
  for (const auto& s : shown) alerts += s.alert ? 1 : 0;
  return alerts;
}

int countCalls(const host::CallGate& gate, const char* operation) {
  int n = 0;
  for (const host::CallRecord& call : gate.log()) n += std::strcmp(call.operation, operation) == 0 ? 1 : 0;
  return n;
}

class PluginShellTest : public SessionFixture {
 protected:
  // Makes the next message's binding fail at the suite named `suite`, which
  // binding acquires (and unbinding releases) in SuiteTable order.
  void failBinding(const char* operation, const char* suite, HostErr code) {
    host_->gate().setFailureRule(failNthCallOf(operation, suiteTableIndex(suite) + 1, code));
  }
  static int suiteTableIndex(const char* suite) {
    for (int i = 0; i < kSuiteTableSize; ++i)
      if (std::strcmp(SuiteTable[i].name, suite) == 0) return i;
    ADD_FAILURE() << suite << " is not in the suite table";
    return 0;
  }

  // Runs `f` with the plug-in's suites bound as PluginMain binds them.
  template <typename F>
  void withBoundSuites(F&& f) {
    auto active = host_->activate();
    ASSERT_EQ(bindSuites(host_->basicSuite()), kHostNoErr);
    f();
    unbindSuites(host_->basicSuite());
  }

  MessageHeader header() const {
    return MessageHeader{kMessageCheckWord, session_->ref(), nullptr, host_->basicSuite()};
  }

  host::DialogManager& dialogs() { return session_->dialogs(); }
};

// ---- Binding --------------------------------------------------------------

TEST_F(PluginShellTest, NestedCallsAcquireAndReleaseEachSuiteOnce) {
  ASSERT_EQ(session().startup(), kHostNoErr);
  host().gate().setLogging(true);
  host().gate().clearLog();

  bool innerRan = false;
  dialogs().setDriver([&](host::DialogManager& manager, host::Dialog& dialog) {
    // Inside the About message: every suite is held once.
    for (const SuiteTableEntry& entry : SuiteTable) {
      EXPECT_EQ(host().suites().refCount(entry.name, entry.version), 1) << entry.name;
    }
    EXPECT_EQ(session().send(kCallerMenu, kSelectorMenuUpdate), kHostNoErr);
    innerRan = true;
    // The inner call neither released nor rebound anything.
    EXPECT_EQ(suiteUseCount, 1);
    for (const SuiteTableEntry& entry : SuiteTable) {
      EXPECT_NE(*entry.pointer, nullptr) << entry.name;
      EXPECT_EQ(host().suites().refCount(entry.name, entry.version), 1) << entry.name;
    }
    host::acceptDriver(manager, dialog);
  });
  EXPECT_EQ(session().about(), kHostNoErr);
  EXPECT_TRUE(innerRan);
  EXPECT_EQ(countCalls(host().gate(), "AcquireSuite"), kSuiteTableSize);
  EXPECT_EQ(countCalls(host().gate(), "ReleaseSuite"), kSuiteTableSize);
  EXPECT_EQ(host().suites().totalRefCount(), 0);
  EXPECT_EQ(suiteUseCount, 0);
  for (const SuiteTableEntry& entry : SuiteTable) EXPECT_EQ(*entry.pointer, nullptr) << entry.name;
}

TEST_F(PluginShellTest, FailureToBindTheListSuiteShowsTheAlertOnceAndReleasesOnlyWhatWasAcquired) {
  ASSERT_EQ(session().startup(), kHostNoErr);
  dialogs().clearShown();
  host().gate().setLogging(true);
  host().gate().clearLog();
  failBinding("AcquireSuite", kADMListSuite, kHostSuiteNotFoundErr);

  EXPECT_EQ(session().about(), kHostSuiteNotFoundErr);

  ASSERT_EQ(dialogs().shown().size(), 1u);  // the alert, and neither About nor the error dialog
  EXPECT_EQ(countAlerts(dialogs().shown()), 1);
  EXPECT_EQ(dialogs().shown()[0].items.at(0).text,
            "Suite Loading Error: " + std::to_string(kHostSuiteNotFoundErr) + ", suite: ADM List Suite, version: 1!");
  // The entries up to the list suite's are asked for, the later ones never.
  const int listEntry = suiteTableIndex(kADMListSuite);
  EXPECT_EQ(countCalls(host().gate(), "AcquireSuite"), listEntry + 1);
  EXPECT_EQ(countCalls(host().gate(), "ReleaseSuite"), listEntry);
  EXPECT_EQ(host().suites().totalRefCount(), 0);
  EXPECT_EQ(suiteUseCount, 0);
}

TEST_F(PluginShellTest, FailureToBindTheUserSuiteShowsNothingAndRunsNoHandler) {
  ASSERT_EQ(session().startup(), kHostNoErr);
  dialogs().clearShown();
  // Not 'S!Fd': even a code that would be reported finds no dialog manager.
  failBinding("AcquireSuite", kUserSuite, kHostOutOfMemoryErr);

  EXPECT_EQ(session().about(), kHostOutOfMemoryErr);
  EXPECT_TRUE(dialogs().shown().empty());
  EXPECT_EQ(host().suites().totalRefCount(), 0);
  EXPECT_EQ(suiteUseCount, 0);
}

TEST_F(PluginShellTest, ReportableFailureToBindTheItemSuiteShowsOnlyTheAlert) {
  ASSERT_EQ(session().startup(), kHostNoErr);
  dialogs().clearShown();
  // ADM Basic and ADM Dialog are bound, ADM Item is not: the error dialog
  // cannot be filled in.
  failBinding("AcquireSuite", kADMItemSuite, kHostOutOfMemoryErr);

  EXPECT_EQ(session().about(), kHostOutOfMemoryErr);
  ASSERT_EQ(dialogs().shown().size(), 1u);
  EXPECT_TRUE(dialogs().shown()[0].alert);
  EXPECT_EQ(host().suites().totalRefCount(), 0);
  EXPECT_EQ(suiteUseCount, 0);
}

TEST_F(PluginShellTest, FailedBindAfterAFailedReleaseReportsNothingWithoutTheUserSuite) {
  ASSERT_EQ(session().startup(), kHostNoErr);
  // "AI Menu"/"AI Update" binds everything; releasing the path style suite
  // fails.
  failBinding("ReleaseSuite", kPathStyleSuite, 271);
  EXPECT_EQ(session().send(kCallerMenu, kSelectorMenuUpdate), kHostNoErr);
  EXPECT_EQ(gUserSuite, nullptr);  // released before the path style suite
  ASSERT_NE(gPathStyleSuite, nullptr);  // it and the later entries stay bound
  ASSERT_NE(gADMDialogSuite, nullptr);

  dialogs().clearShown();
  failBinding("AcquireSuite", kRealMathSuite, kHostOutOfMemoryErr);
  EXPECT_EQ(session().send(kCallerMenu, kSelectorMenuUpdate), kHostOutOfMemoryErr);
  for (const host::ShownDialog& shown : dialogs().shown()) EXPECT_NE(shown.name, "Error Dialog");
  EXPECT_EQ(suiteUseCount, 0);
}

TEST_F(PluginShellTest, AccessMessagesBindNothingAndSucceedWithoutSuites) {
  ASSERT_EQ(session().startup(), kHostNoErr);
  host().gate().setLogging(true);
  host().gate().clearLog();
  host().gate().failOperation(kBasicSuite, "AcquireSuite", kHostSuiteNotFoundErr);
  EXPECT_EQ(session().send(kCallerAccess, "Flush"), kHostNoErr);
  EXPECT_EQ(session().unload(), kHostNoErr);
  EXPECT_EQ(session().reload(), kHostNoErr);
  EXPECT_EQ(countCalls(host().gate(), "AcquireSuite"), 0);
}

// ---- Dispatch, unload and reload, start-up and shut-down ------------------------

TEST_F(PluginShellTest, UnknownCallersAndSelectorsGiveZeroAndShowNothing) {
  ASSERT_EQ(session().startup(), kHostNoErr);
  dialogs().clearShown();
  EXPECT_EQ(session().send("AI Tool", "AI Go"), kHostNoErr);
  EXPECT_EQ(session().send(kCallerInterface, "Purge"), kHostNoErr);
  EXPECT_EQ(session().send(kCallerMenu, "AI Select"), kHostNoErr);
  EXPECT_EQ(session().sendFilter("AI Preview", session().filter()), kHostNoErr);
  EXPECT_TRUE(dialogs().shown().empty());
}

TEST_F(PluginShellTest, StartupRegistersTheFilterFromStringList16000) {
  ASSERT_EQ(session().startup(), kHostNoErr);
  ASSERT_EQ(host().filters().size(), 1u);
  const host::FilterRecord& filter = host().filters()[0];
  EXPECT_EQ(filter.name, "Vrix_Spiral");
  EXPECT_EQ(filter.category, "TQV <Create>");
  EXPECT_EQ(filter.title, "Spiral...");
  EXPECT_EQ(filter.options, 0);
  ASSERT_NE(gPluginGlobals, nullptr);
  EXPECT_EQ(gPluginGlobals->filter, session().filter());
  EXPECT_EQ(gPluginGlobals->filterCount, 1);
  EXPECT_EQ(gPluginGlobals->basic, host().basicSuite());
  const host::MenuItemRecord& menu = host().menuItems().at(0);
  EXPECT_TRUE(menu.automaticUpdate);
  EXPECT_EQ(menu.action, 1);
  const int32_t conditions[6] = {0, 0, 0, 0, 1, 0};
  for (int k = 0; k < 6; ++k) EXPECT_EQ(menu.conditions[k], conditions[k]) << k;
}

TEST_F(PluginShellTest, ReloadResetsTheCountAndHandsBackTheSameGlobals) {
  ASSERT_EQ(session().startup(), kHostNoErr);
  PluginGlobals* globals = gPluginGlobals;
  suiteUseCount = 3;  // as if unloaded in the middle of nested calls

  EXPECT_EQ(session().unload(), kHostNoErr);
  EXPECT_EQ(session().globals(), globals);
  gPluginGlobals = nullptr;  // what leaving memory does to the plug-in's statics

  EXPECT_EQ(session().reload(), kHostNoErr);
  EXPECT_EQ(gPluginGlobals, globals);
  EXPECT_EQ(suiteUseCount, 0);

  // The next call binds afresh and finds its filter again.
  dialogs().setDriver(host::cancelDriver);
  EXPECT_EQ(session().getParameters(), kUserCancelErr);
  EXPECT_EQ(host().suites().totalRefCount(), 0);
}

TEST_F(PluginShellTest, ShutdownAfterAFailedAllocationClearsTheSlotAndSucceeds) {
  host().gate().failOperation(kBlocksSuite, "AllocateBlock", kHostOutOfMemoryErr);
  EXPECT_EQ(session().startup(), kHostOutOfMemoryErr);
  EXPECT_EQ(gPluginGlobals, nullptr);
  EXPECT_TRUE(host().filters().empty());
  host().gate().clearFailures();

  EXPECT_EQ(session().shutdown(), kHostNoErr);
  EXPECT_EQ(session().globals(), nullptr);
  EXPECT_EQ(host().memory().liveBlocks(), 0u);
  EXPECT_EQ(host().suites().totalRefCount(), 0);
}

TEST_F(PluginShellTest, ShutdownFreesTheGlobalsAndClearsTheSlot) {
  ASSERT_EQ(session().startup(), kHostNoErr);
  EXPECT_EQ(host().memory().liveBlocks(), 1u);
  ASSERT_EQ(session().unload(), kHostNoErr);
  ASSERT_EQ(session().reload(), kHostNoErr);
  EXPECT_NE(session().globals(), nullptr);

  EXPECT_EQ(session().shutdown(), kHostNoErr);
  EXPECT_EQ(session().globals(), nullptr);
  EXPECT_EQ(gPluginGlobals, nullptr);
  EXPECT_EQ(host().memory().liveBlocks(), 0u);
  EXPECT_EQ(host().suites().totalRefCount(), 0);
}

TEST_F(PluginShellTest, RegistrationFailureIsReportedAndKeepsTheGlobals) {
  host().gate().failOperation(kFilterSuite, "AddFilter", kHostOutOfMemoryErr);
  EXPECT_EQ(session().startup(), kHostOutOfMemoryErr);
  EXPECT_NE(gPluginGlobals, nullptr);
  ASSERT_EQ(dialogs().shown().size(), 1u);
  EXPECT_EQ(dialogs().shown()[0].name, "Error Dialog");
}

// ---- Error dialog and About box ---------------------------------------------------

struct ErrorCase {
  HostErr code;
  const char* message;
  const char* codeText;
};

TEST_F(PluginShellTest, ErrorDialogShowsTheListsMessageAndTheCodeText) {
  const char* memory = "The filter cannot complete because there isn't enough memory (RAM) available.";
  const ErrorCase cases[] = {
      {-108, memory, "-108"},
      {271, memory, "271"},
      {kCode("!sel"), "The selection is not valid for this filter.", "!sel"},
      {kCode("!MEM"), "The filter cannot complete because of an unknown error.", "!MEM"},
      {kCode("SEGM"), "The filter cannot complete because a layer is locked or invisible.", "SEGM"},
      {-65536, "The filter cannot complete because of an unknown error.", "-65536"},
  };
  for (const ErrorCase& c : cases) {
    dialogs().clearShown();
    MessageHeader message = header();
    withBoundSuites([&] { showHostError(&message, c.code); });
    ASSERT_EQ(dialogs().shown().size(), 1u) << c.codeText;
    const host::ShownDialog& shown = dialogs().shown()[0];
    EXPECT_EQ(shown.name, "Error Dialog");
    EXPECT_EQ(shown.resourceId, 16051);
    EXPECT_EQ(shown.caption, "Plug-in Error");
    EXPECT_EQ(shownItem(shown, 2)->text, c.message) << c.codeText;
    EXPECT_EQ(shownItem(shown, 3)->text, c.codeText);
    EXPECT_EQ(shown.result, 1);  // "OK" closed it
  }
}

TEST_F(PluginShellTest, StopAndZeroShowNothing) {
  MessageHeader message = header();
  withBoundSuites([&] {
    showHostError(&message, kUserCancelErr);
    showHostError(&message, kHostNoErr);
  });
  EXPECT_TRUE(dialogs().shown().empty());
}

TEST_F(PluginShellTest, MenuGoIsReportedThenReturned) {
  ASSERT_EQ(session().startup(), kHostNoErr);
  EXPECT_EQ(session().send(kCallerMenu, kSelectorMenuGo), kCode("!sel"));
  ASSERT_EQ(dialogs().shown().size(), 1u);
  EXPECT_EQ(shownItem(dialogs().shown()[0], 3)->text, "!sel");
}

TEST_F(PluginShellTest, AboutShowsTheAboutBoxAndReturnsZero) {
  ASSERT_EQ(session().startup(), kHostNoErr);
  dialogs().setDriver(host::cancelDriver);  // whatever ends it, About answers 0
  EXPECT_EQ(session().about(), kHostNoErr);
  ASSERT_EQ(dialogs().shown().size(), 1u);
  const host::ShownDialog& about = dialogs().shown()[0];
  EXPECT_EQ(about.name, "About Dialog");
  EXPECT_EQ(about.caption, "Spiral Plug-in About");
  EXPECT_EQ(shownItem(about, 1)->text, "&OK");
  EXPECT_EQ(shownItem(about, 2)->text, "Spiral");
  EXPECT_EQ(about.result, 1);
}

TEST(LengthPrefixedText, ConvertsInPlaceBothWays) {
  char text[300] = "Spiral...";
  toLengthPrefixed(text);
  EXPECT_EQ(static_cast<unsigned char>(text[0]), 9);
  EXPECT_EQ(std::string(text + 1, 9), "Spiral...");
  toZeroTerminated(reinterpret_cast<unsigned char*>(text));
  EXPECT_STREQ(text, "Spiral...");

  std::string longText(256, 'x');
  std::strcpy(text, longText.c_str());
  toLengthPrefixed(text);  // too long for a length byte: left as it is
  EXPECT_EQ(std::string(text), longText);

  std::string longest(255, 'y');
  std::strcpy(text, longest.c_str());
  toLengthPrefixed(text);
  EXPECT_EQ(static_cast<unsigned char>(text[0]), 255);
}

// ---- Parameter lifecycle ------------------------------------------------------------

class ParameterLifecycleTest : public PluginShellTest {
 protected:
  host::HostOptions options() const override {
    host::HostOptions o = PluginShellTest::options();
    o.viewCentre = host::Point{500, 300};
    return o;
  }
  void SetUp() override {
    PluginShellTest::SetUp();
    ASSERT_EQ(session().startup(), kHostNoErr);
  }
  std::size_t art() const { return const_cast<ParameterLifecycleTest*>(this)->host().document().liveArtCount(); }
};

TEST_F(ParameterLifecycleTest, FirstGetParametersTakesTheViewCentre) {
  dialogs().setDriver(host::acceptDriver);
  EXPECT_EQ(session().parameters(), nullptr);
  ASSERT_EQ(session().getParameters(), kHostNoErr);
  ASSERT_TRUE(keptRecord());
  EXPECT_EQ(keptRecord()->centerX, 400.0f);
  EXPECT_EQ(keptRecord()->centerY, 300.0f);
  EXPECT_EQ(keptRecord()->armCount, 10);
}

TEST_F(ParameterLifecycleTest, ConfirmWithPreviewOnAddsTheArtOnce) {
  dialogs().setDriver(host::acceptDriver);
  ASSERT_EQ(session().getParameters(), kHostNoErr);
  ASSERT_EQ(keptRecord()->preview, 1);
  const std::size_t previewArt = art();
  EXPECT_GT(previewArt, 0u);
  EXPECT_EQ(keptRecord()->previewDrawn, 1);

  ASSERT_EQ(session().go(), kHostNoErr);
  EXPECT_EQ(art(), previewArt);
  EXPECT_EQ(keptRecord()->previewDrawn, 0);
  EXPECT_EQ(keptRecord()->fromGo, 1);

  // A repeat draws anew, once.
  ASSERT_EQ(session().repeatFilter(), kHostNoErr);
  EXPECT_EQ(art(), 2 * previewArt);
}

TEST_F(ParameterLifecycleTest, ConfirmWithPreviewOffDrawsOnGo) {
  SpiralParameters record{};
  {
    dialogs().setDriver(host::cancelDriver);
    ASSERT_EQ(session().getParameters(), kUserCancelErr);  // creates the record
    record = *keptRecord();
  }
  record.preview = 0;
  ASSERT_EQ(keepRecord(record), kHostNoErr);
  dialogs().setDriver(host::acceptDriver);
  ASSERT_EQ(session().chooseFilter(), kHostNoErr);
  EXPECT_GT(art(), 0u);
  EXPECT_EQ(session().messages().back().selector, kSelectorFilterGo);
}

TEST_F(ParameterLifecycleTest, CancelAfterPreviewsRestoresDocumentAndRecord) {
  dialogs().setDriver(host::acceptDriver);
  ASSERT_EQ(session().chooseFilter(), kHostNoErr);
  const std::size_t artBefore = art();
  SpiralParameters before = *keptRecord();

  int previews = 0;
  dialogs().setDriver([&](host::DialogManager& manager, host::Dialog& dialog) {
    host::DialogItem* arms = dialog.item(4);
    ASSERT_NE(arms, nullptr);
    for (int value : {3, 5, 7}) {
      manager.userSetInt(*arms, value);
      ++previews;
    }
    EXPECT_GT(art(), artBefore);
    manager.press(*dialog.item(kDialogCancel));
  });
  EXPECT_EQ(session().chooseFilter(), kUserCancelErr);
  EXPECT_EQ(previews, 3);
  EXPECT_EQ(art(), artBefore);
  // Byte for byte as it was, but previewDrawn.
  SpiralParameters after = *keptRecord();
  EXPECT_EQ(after.previewDrawn, 0);
  after.previewDrawn = before.previewDrawn;
  EXPECT_EQ(std::memcmp(&after, &before, sizeof after), 0);
  // Cancel is never reported, and Go did not run.
  EXPECT_EQ(session().messages().back().selector, kSelectorGetParameters);
  EXPECT_EQ(dialogs().shown().back().name, "Vrix_Spiral");
}

TEST_F(ParameterLifecycleTest, SecondGetParametersShowsTheLastConfirmedValues) {
  dialogs().setDriver([](host::DialogManager& manager, host::Dialog& dialog) {
    manager.userSetInt(*dialog.item(4), 12);
    manager.pressEnter(dialog);
  });
  ASSERT_EQ(session().chooseFilter(), kHostNoErr);
  EXPECT_EQ(keptRecord()->armCount, 12);

  int32_t shown = 0;
  dialogs().setDriver([&](host::DialogManager& manager, host::Dialog& dialog) {
    shown = dialog.item(4)->intValue();
    manager.pressEscape(dialog);
  });
  EXPECT_EQ(session().getParameters(), kUserCancelErr);
  EXPECT_EQ(shown, 12);
}

TEST_F(ParameterLifecycleTest, ForeignFilterHandleReturnsZeroAndShowsNothing) {
  FilterHandle foreign = host::makeHandle<FilterHandle>(host(), host::HandleKind::Filter, 999);
  EXPECT_EQ(session().sendFilter(kSelectorGetParameters, foreign), kHostNoErr);
  EXPECT_TRUE(dialogs().shown().empty());
  EXPECT_EQ(session().parameters(), nullptr);
}

TEST_F(ParameterLifecycleTest, NoMemoryForTheRecordIsReported) {
  host().gate().failOperation(kMdMemorySuite, "NewHandle", kHostOutOfMemoryErr);
  EXPECT_EQ(session().getParameters(), kHostOutOfMemoryErr);
  EXPECT_EQ(session().parameters(), nullptr);
  ASSERT_EQ(dialogs().shown().size(), 1u);
  EXPECT_EQ(shownItem(dialogs().shown()[0], 3)->text, "-108");
}

TEST_F(ParameterLifecycleTest, UndoFailureOnCancelKeepsTheEditsAndIsReported) {
  dialogs().setDriver([](host::DialogManager& manager, host::Dialog& dialog) {
    manager.userSetInt(*dialog.item(4), 20);
    manager.pressEscape(dialog);
  });
  host().gate().failOperation(kUndoSuite, "UndoChanges", 271);
  // The preview's own undo fails too; it is dropped, as preview results are.
  EXPECT_EQ(session().getParameters(), 271);
  EXPECT_EQ(keptRecord()->armCount, 20);
  EXPECT_EQ(shownItem(dialogs().shown().back(), 3)->text, "271");
}

TEST_F(ParameterLifecycleTest, GoWithoutARecordFailsInsteadOfReadingThroughNull) {
  const HostErr result = session().go();
  EXPECT_EQ(result, kHostBadParameterErr);
  EXPECT_EQ(art(), 0u);
}

}  // namespace
