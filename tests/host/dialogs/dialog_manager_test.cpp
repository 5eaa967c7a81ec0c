// The host's dialog manager: modal runs built from dialog templates, item
// values within limits and places, lists and entries, notifiers and their
// default handling, Enter and Escape, trackers, handle checks and the record
// of what was shown. Driven through the ADM suites as the plug-in uses them.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "hostapp/suites/dialog_manager_suites.h"

namespace {

const ADMDialogSuiteV3& D = host::admDialogSuite();
const ADMItemSuiteV4& I = host::admItemSuite();
const ADMListSuiteV1& L = host::admListSuite();
const ADMEntrySuiteV2& E = host::admEntrySuite();
const ADMTrackerSuiteV1& T = host::admTrackerSuite();
const ADMNotifierSuiteV1& N = host::admNotifierSuite();

// What the procs below saw; reset by the fixture.
struct Seen {
  int notifications = 0;
  std::string notifierType;
  int32_t modifiers = 0;
  ViewPoint point{0, 0};
  bool defaultTracked = false;
} gSeen;

void countingNotify(ItemHandle item, NotifierHandle notifier) {
  ++gSeen.notifications;
  gSeen.notifierType = N.IsNotifierType(notifier, kUserChangedNotifier) ? kUserChangedNotifier : "other";
  EXPECT_EQ(N.GetItem(notifier), item);
  I.DefaultNotify(item, notifier);
}

HostBool recordingTrack(ItemHandle item, TrackerHandle tracker) {
  gSeen.modifiers = T.GetModifiers(nullptr);
  T.GetPoint(nullptr, &gSeen.point);
  gSeen.defaultTracked = I.DefaultTrack(item, tracker) != 0;
  return 1;
}

host::DialogTemplate sampleTemplate() {
  host::DialogTemplate t;
  t.caption = "Sample";
  t.width = 100;
  t.height = 80;
  host::DialogItemTemplate ok;
  ok.id = 1;
  ok.windowClass = host::ResourceName::of(0x80);
  ok.title = host::ResourceName::of(std::string("&OK"));
  ok.x = 10;
  ok.y = 16;
  ok.width = 40;
  ok.height = 8;
  host::DialogItemTemplate text = ok;
  text.id = 2;
  text.windowClass = host::ResourceName::of(std::string("Static"));
  text.title = host::ResourceName::of(std::string("Message"));
  t.items = {ok, text};
  return t;
}

class DialogManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gSeen = {};
    active_ = std::make_unique<host::HostContext::Activation>(&host_);
  }
  void TearDown() override { active_.reset(); }

  host::DialogManager& manager() { return host_.service<host::DialogManager>(); }

  // Runs an empty modal dialog; `build` fills it through the suites, `drive`
  // acts as the user. Returns the modal result.
  template <typename Build, typename Drive>
  int32_t run(Build build, Drive drive, const host::DialogTemplate* resource = nullptr) {
    static Build* sBuild;
    sBuild = &build;
    manager().setDriver([&](host::DialogManager& m, host::Dialog& d) { drive(m, d); });
    return manager().runModal(
        resource, "Test", 100,
        [](DialogHandle dialog) -> HostErr {
          (*sBuild)(dialog);
          return kHostNoErr;
        },
        &gSeen);
  }

  static ItemHandle make(DialogHandle dialog, int32_t id, const char* type) {
    const DialogRect bounds{0, 0, 60, 20};
    return D.CreateItem(dialog, id, type, &bounds);
  }

  host::HostContext host_;
  std::unique_ptr<host::HostContext::Activation> active_;
};

TEST_F(DialogManagerTest, SpinEditShowsAndReturnsItsValueWithinLimitsAndPlaces) {
  run(
      [](DialogHandle dialog) {
        ItemHandle f = make(dialog, 5, kSpinEditType);
        // Value before limits and places: the item still keeps to them.
        I.SetFloatValue(f, 1234.5678f);
        I.SetMinFloatValue(f, 0.01f);
        I.SetMaxFloatValue(f, 1000.0f);
        I.SetPrecision(f, 2);
        EXPECT_FLOAT_EQ(I.GetFloatValue(f), 1000.0f);
        I.SetFloatValue(f, 33.456f);
        EXPECT_FLOAT_EQ(I.GetFloatValue(f), 33.46f);
        char text[32];
        I.GetText(f, text, sizeof text);
        EXPECT_STREQ(text, "33.46");
        I.SetFloatValue(f, 0.001f);
        EXPECT_FLOAT_EQ(I.GetFloatValue(f), 0.01f);

        ItemHandle n = make(dialog, 4, kSpinEditType);
        I.SetMinIntValue(n, 1);
        I.SetMaxIntValue(n, 300);
        I.SetIntValue(n, 0);  // below the limit, as Tumble may write
        EXPECT_EQ(I.GetIntValue(n), 1);
        I.SetIntValue(n, 301);
        EXPECT_EQ(I.GetIntValue(n), 300);
        EXPECT_EQ(I.SetFloatValue(n, std::numeric_limits<float>::quiet_NaN()), kHostBadParameterErr);
        EXPECT_EQ(I.GetIntValue(n), 300);
      },
      [](host::DialogManager& m, host::Dialog& d) { m.pressEnter(d); });
}

TEST_F(DialogManagerTest, PopupListsHoldEntriesWithTextIdAndSelection) {
  run(
      [](DialogHandle dialog) {
        ListHandle list = I.GetList(make(dialog, 161, kPopupListType));
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(I.GetList(make(dialog, 3, kTextCheckBoxType)), nullptr);
        EntryHandle b = L.InsertEntry(list, 0);
        EntryHandle a = L.InsertEntry(list, 0);  // before b
        EntryHandle c = L.InsertEntry(list, 99);  // past the end: appended
        E.SetText(a, " A");
        E.SetID(a, 10);
        E.SetID(c, 12);
        EXPECT_EQ(L.NumberOfEntries(list), 3);
        EXPECT_EQ(L.IndexEntry(list, 0), a);
        EXPECT_EQ(L.IndexEntry(list, 1), b);
        EXPECT_EQ(L.IndexEntry(list, 2), c);
        EXPECT_EQ(L.IndexEntry(list, 3), nullptr);
        EXPECT_EQ(L.GetActiveEntry(list), nullptr);
        E.Select(c, 1);
        EXPECT_EQ(E.GetID(L.GetActiveEntry(list)), 12);
        E.Select(b, 0);  // deselecting another entry changes nothing
        EXPECT_EQ(L.GetActiveEntry(list), c);
        char text[8];
        E.GetText(a, text, sizeof text);
        EXPECT_STREQ(text, " A");
      },
      [](host::DialogManager& m, host::Dialog& d) {
        // The user picks the first entry: the selection moves, then notifies.
        host::DialogItem* popup = d.item(161);
        m.userSelectEntry(*popup, 0);
        EXPECT_EQ(popup->list()->active()->id(), 10);
        EXPECT_THROW(m.userSelectEntry(*popup, 5), host::DialogError);
        m.pressEnter(d);
      });
}

TEST_F(DialogManagerTest, UserChangesNotifyTheItemAndDefaultHandlingEndsOnlyButtons1And2) {
  const int32_t result = run(
      [](DialogHandle dialog) {
        ItemHandle check = make(dialog, 1, kTextCheckBoxType);  // id 1, but no push button
        I.SetNotifyProc(check, countingNotify);
        I.SetNotifyProc(make(dialog, 90, kTextPushButtonType), countingNotify);
        I.SetNotifyProc(make(dialog, 2, kTextPushButtonType), countingNotify);
      },
      [](host::DialogManager& m, host::Dialog& d) {
        m.userSetBoolean(*d.item(1), true);
        EXPECT_EQ(gSeen.notifications, 1);
        EXPECT_EQ(gSeen.notifierType, kUserChangedNotifier);
        EXPECT_TRUE(d.item(1)->booleanValue());  // default handling left the value
        EXPECT_FALSE(d.ended());
        m.press(*d.item(90));
        EXPECT_FALSE(d.ended());
        m.pressEnter(d);  // item 1 is not a button: Enter ends with 1
        EXPECT_TRUE(d.ended());
        EXPECT_EQ(d.result(), 1);
      });
  EXPECT_EQ(result, 1);

  const int32_t cancelled = run(
      [](DialogHandle dialog) { I.SetNotifyProc(make(dialog, 2, kTextPushButtonType), countingNotify); },
      [](host::DialogManager& m, host::Dialog& d) { m.press(*d.item(2)); });
  EXPECT_EQ(cancelled, 2);
}

TEST_F(DialogManagerTest, HiddenOrDisabledItemsCannotBeUsed) {
  run(
      [](DialogHandle dialog) {
        I.Show(make(dialog, 4, kSpinEditType), 0);
        I.Enable(make(dialog, 5, kSpinEditType), 0);
      },
      [](host::DialogManager& m, host::Dialog& d) {
        EXPECT_THROW(m.userSetInt(*d.item(4), 3), host::DialogError);
        EXPECT_THROW(m.userSetFloat(*d.item(5), 3), host::DialogError);
        m.pressEnter(d);
      });
}

TEST_F(DialogManagerTest, TrackersCarryModifiersAndThePointToTheTrackProc) {
  run(
      [](DialogHandle dialog) { I.SetTrackProc(make(dialog, 170, kPicturePushButtonType), recordingTrack); },
      [](host::DialogManager& m, host::Dialog& d) {
        EXPECT_TRUE(m.track(*d.item(170), kPickModifier, ViewPoint{120, 45}));
        m.pressEnter(d);
      });
  EXPECT_EQ(gSeen.modifiers, kPickModifier);
  EXPECT_EQ(gSeen.point.h, 120);
  EXPECT_EQ(gSeen.point.v, 45);
  EXPECT_TRUE(gSeen.defaultTracked);
  // Outside a track there is no current tracker.
  EXPECT_EQ(T.GetModifiers(nullptr), 0);
  ViewPoint p;
  EXPECT_EQ(T.GetPoint(nullptr, &p), kHostBadParameterErr);
}

TEST_F(DialogManagerTest, TemplateItemsInitAndRecordOfWhatWasShown) {
  const host::DialogTemplate resource = sampleTemplate();
  ItemHandle kept = nullptr;
  const int32_t result = run(
      [&](DialogHandle dialog) {
        kept = D.GetItem(dialog, 2);
        I.SetText(kept, "Replaced");
        EXPECT_EQ(D.GetUserData(dialog), &gSeen);
        DialogRect bounds;
        D.GetBoundsRect(dialog, &bounds);
        EXPECT_EQ(bounds.right, 150);   // 100 units across
        EXPECT_EQ(bounds.bottom, 130);  // 80 units down
        D.SetSize(dialog, 440, 336);
        D.GetBoundsRect(dialog, &bounds);
        EXPECT_EQ(bounds.right - bounds.left, 440);
        EXPECT_EQ(D.CreateItem(dialog, 2, kTextStaticType, &bounds), nullptr);  // id taken
        EXPECT_EQ(D.CreateItem(dialog, 3, "ADM Dial Type", &bounds), nullptr);  // unknown type
      },
      [](host::DialogManager& m, host::Dialog& d) {
        host::DialogItem* ok = d.itemByText("OK");
        ASSERT_NE(ok, nullptr);
        EXPECT_EQ(ok->bounds().left, 15);
        EXPECT_EQ(ok->bounds().top, 26);
        m.press(*ok);  // no notify proc: the default handling ends the dialog
      },
      &resource);
  EXPECT_EQ(result, 1);
  const host::ShownDialog& shown = manager().shown().back();
  EXPECT_EQ(shown.caption, "Sample");
  ASSERT_EQ(shown.items.size(), 2u);
  EXPECT_EQ(shown.items[0].kind, "text button");
  EXPECT_EQ(shown.items[1].text, "Replaced");
  EXPECT_EQ(shown.result, 1);
  // The dialog is gone: its handles are refused.
  EXPECT_EQ(I.GetID(kept), 0);
  EXPECT_EQ(I.SetText(kept, "x"), kHostBadParameterErr);
}

TEST_F(DialogManagerTest, AFailingInitProcShowsNothingAndModalAnswers0) {
  static ItemHandle made = nullptr;
  manager().setDriver([](host::DialogManager&, host::Dialog&) { ADD_FAILURE() << "the dialog was shown"; });
  const int32_t result = manager().runModal(
      nullptr, "Test", 100,
      [](DialogHandle dialog) -> HostErr {
        made = make(dialog, 4, kSpinEditType);
        return kHostOutOfMemoryErr;
      },
      nullptr);
  EXPECT_EQ(result, 0);
  EXPECT_TRUE(manager().shown().empty());
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(I.SetIntValue(made, 1), kHostBadParameterErr);  // gone with its dialog
}

TEST_F(DialogManagerTest, FailingDriverEndsTheDialogAsEscape) {
  const int32_t result = run([](DialogHandle) {},
                             [](host::DialogManager&, host::Dialog&) { throw std::runtime_error("no such item 77"); });
  EXPECT_EQ(result, 2);
  EXPECT_EQ(manager().takeDriverError(), "no such item 77");
  EXPECT_EQ(manager().takeDriverError(), "");
}

TEST_F(DialogManagerTest, OperationsPassTheGate) {
  host_.gate().failOperation(kADMDialogSuite, "CreateItem", kHostOutOfMemoryErr);
  run([](DialogHandle dialog) { EXPECT_EQ(make(dialog, 4, kSpinEditType), nullptr); },
      [](host::DialogManager& m, host::Dialog& d) { m.pressEnter(d); });
  host_.gate().clearFailures();
  host_.gate().failOperation(kADMItemSuite, "SetText", 271);
  run([](DialogHandle dialog) { EXPECT_EQ(I.SetText(make(dialog, 4, kTextStaticType), "x"), 271); },
      [](host::DialogManager& m, host::Dialog& d) { m.pressEnter(d); });
}

}  // namespace
