// The options dialog in the stand-in host's dialog manager, opened by Get
// Parameters through PluginMain and driven as a user would: construction,
// lists, pages, read-back and enabling, presets, randomisers, picks, zoom,
// cancel and accept.
#include <gtest/gtest.h>

#include "support/session_fixture.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <new>
#include <set>
#include <string>
#include <vector>

#include "dialog/choice_lists.h"
#include "dialog/item_table.h"
#include "dialog/options_dialog.h"
#include "hostapp/session/plugin_session.h"
#include "entry/plugin_main.h"
#include "shell/suite_table.h"

namespace {

using Act = std::function<void(host::DialogManager&, host::Dialog&)>;

SpiralParameters& recordOf(host::Dialog& dialog) { return *static_cast<SpiralParameters*>(dialog.userData()); }

host::DialogItem& item(host::Dialog& dialog, int32_t id) {
  host::DialogItem* found = dialog.item(id);
  if (found == nullptr) throw std::runtime_error("no item " + std::to_string(id));
  return *found;
}

std::set<int32_t> visibleIds(const host::Dialog& dialog) {
  std::set<int32_t> ids;
  for (const auto& it : dialog.items())
    if (it->visible()) ids.insert(it->id());
  return ids;
}

// The items a page shows, with those on every page.
std::set<int32_t> shownOnPage(int32_t page) {
  std::set<int32_t> ids;
  for (const ItemSpec& spec : kOptionItems)
    if (spec.page == kEveryPage || spec.page == page) ids.insert(spec.id);
  return ids;
}

std::vector<int32_t> boldCaptions(host::Dialog& dialog) {
  std::vector<int32_t> bold;
  for (const PageSpec& page : kPages) {
    const int32_t font = item(dialog, page.captionId).font();
    EXPECT_TRUE(font == kDialogFont || font == kBoldDialogFont) << page.captionId;
    if (font == kBoldDialogFont) bold.push_back(page.captionId);
  }
  return bold;
}

void expectOnPage(host::Dialog& dialog, int32_t page) {
  EXPECT_EQ(recordOf(dialog).activePage, page);
  EXPECT_EQ(visibleIds(dialog), shownOnPage(page)) << "page " << page;
  EXPECT_EQ(boldCaptions(dialog), std::vector<int32_t>{kPages[page - 1].captionId});
}

const char* kindName(ItemKind kind) {
  switch (kind) {
    case ItemKind::IntSpinEdit:
    case ItemKind::FloatSpinEdit: return "spin edit";
    case ItemKind::StaticText: return "static text";
    case ItemKind::PopupList: return "popup list";
    case ItemKind::TextButton: return "text button";
    case ItemKind::CheckBox: return "check box";
    case ItemKind::PictureButton: return "picture button";
  }
  return "";
}

class OptionsDialogTest : public SessionFixture {
 protected:
  host::HostOptions options() const override {
    host::HostOptions o = SessionFixture::options();
    o.seed = 7;
    o.viewCentre = host::Point{300, 400};
    return o;
  }
  bool startsUp() const override { return true; }

  // Get Parameters with `act` as the user; a dialog `act` leaves open is
  // accepted with Enter. A failing expectation inside `act` fails the test.
  HostErr runDialog(const Act& act) {
    session_->dialogs().setDriver([&](host::DialogManager& manager, host::Dialog& dialog) {
      act(manager, dialog);
      if (!dialog.ended()) manager.pressEnter(dialog);
    });
    const HostErr result = session_->getParameters();
    const std::string driverError = session_->dialogs().takeDriverError();
    EXPECT_EQ(driverError, "");
    return result;
  }
  // Starts from `record` as kept from an earlier run.
  HostErr runDialog(const SpiralParameters& record, const Act& act) {
    EXPECT_EQ(keepRecord(record), kHostNoErr);
    return runDialog(act);
  }

  // A new record, as the first Get Parameters makes it (view centre 300, 400).
  SpiralParameters newRecord() {
    SpiralParameters r{};
    auto active = host_->activate();
    EXPECT_EQ(bindSuites(host_->basicSuite()), kHostNoErr);
    setDefaultParameters(r);
    unbindSuites(host_->basicSuite());
    return r;
  }

  std::size_t art() const { return host_->document().liveArtCount(); }
  std::uint64_t redraws() const { return host_->document().redrawCount(); }
  // The view point of document view 0 that shows `p`.
  ViewPoint viewPointOf(float x, float y) const {
    ViewPoint vp{};
    host_->document().views().at(0).toView(host::Point{x, y}, &vp.h, &vp.v);
    return vp;
  }

};

TEST_F(OptionsDialogTest, BuildsTheItemsInOrderAndOpensANewRecordOnPage1) {
  ASSERT_EQ(runDialog([&](host::DialogManager&, host::Dialog& dialog) {
              EXPECT_EQ(dialog.name(), "Vrix_Spiral");
              EXPECT_EQ(dialog.bounds().right - dialog.bounds().left, 440);
              EXPECT_EQ(dialog.bounds().bottom - dialog.bounds().top, 336);
              ASSERT_EQ(dialog.items().size(), 115u);
              for (int i = 0; i < kOptionItemCount; ++i) {
                const ItemSpec& spec = kOptionItems[i];
                const host::DialogItem& it = *dialog.items()[static_cast<std::size_t>(i)];
                SCOPED_TRACE("item " + std::to_string(spec.id));
                EXPECT_EQ(it.id(), spec.id);
                EXPECT_EQ(std::string(host::itemKindName(it.kind())), kindName(spec.kind));
                EXPECT_EQ(it.bounds().left, spec.bounds.left);
                EXPECT_EQ(it.bounds().top, spec.bounds.top);
                EXPECT_EQ(it.bounds().right, spec.bounds.right);
                EXPECT_EQ(it.bounds().bottom, spec.bounds.bottom);
                if (spec.text != nullptr && spec.kind != ItemKind::PopupList) {
                  EXPECT_EQ(it.text(), spec.text);
                }
                if (spec.kind == ItemKind::IntSpinEdit || spec.kind == ItemKind::FloatSpinEdit) {
                  EXPECT_EQ(it.units(), kNoUnits);
                  EXPECT_FLOAT_EQ(it.minimum(), static_cast<float>(spec.minimum));
                  EXPECT_FLOAT_EQ(it.maximum(), static_cast<float>(spec.maximum));
                  EXPECT_EQ(it.precision(), spec.kind == ItemKind::FloatSpinEdit ? 2 : 0);
                }
                EXPECT_EQ(it.trackProc() != nullptr, spec.proc == ItemProc::Pick);
                EXPECT_EQ(it.notifyProc() != nullptr, spec.proc != ItemProc::Pick && spec.proc != ItemProc::None);
              }
              EXPECT_EQ(item(dialog, 2).notifyProc(), nullptr);
              EXPECT_EQ(item(dialog, 161).notifyProc(), &readBackValues);
              EXPECT_EQ(item(dialog, 164).notifyProc(), &applyPreset);
              EXPECT_EQ(item(dialog, 28).notifyProc(), &applyViewZoom);
              EXPECT_EQ(item(dialog, 93).notifyProc(), &nudgeParameters);
              EXPECT_EQ(item(dialog, 104).notifyProc(), &switchPage);
              EXPECT_EQ(item(dialog, 180).trackProc(), &pickFromDocument);

              EXPECT_EQ(item(dialog, 4).text(), "10");
              EXPECT_EQ(item(dialog, 5).text(), "200.00");
              EXPECT_EQ(item(dialog, 8).text(), "33.00");
              EXPECT_EQ(item(dialog, 9).text(), "33.00");
              EXPECT_EQ(item(dialog, 10).text(), "95.00");
              EXPECT_EQ(item(dialog, 6).text(), "200.00");  // view centre less 100
              EXPECT_EQ(item(dialog, 28).text(), "100.00");
              EXPECT_TRUE(item(dialog, 3).booleanValue());
              EXPECT_EQ(item(dialog, 164).text(), " Reset");
              expectOnPage(dialog, 1);
              // Opening read the record back and drew the preview.
              EXPECT_EQ(recordOf(dialog).fromGo, 0);
              EXPECT_EQ(recordOf(dialog).previewDrawn, 1);
              EXPECT_GT(art(), 0u);
            }),
            kHostNoErr);
}

TEST_F(OptionsDialogTest, BeforeThePageOpensOnlyPage1AndEveryPageItemsAreVisible) {
  SpiralParameters record = newRecord();
  record.activePage = 4;
  auto active = host().activate();
  ASSERT_EQ(bindSuites(host().basicSuite()), kHostNoErr);
  std::set<int32_t> visible;
  host::DialogManager& manager = session().dialogs();
  manager.setDriver([&](host::DialogManager&, host::Dialog& dialog) { visible = visibleIds(dialog); });
  const DialogInitProc buildOnly = [](DialogHandle dialog) -> HostErr {
    buildOptionsItems(dialog, *static_cast<SpiralParameters*>(gADMDialogSuite->GetUserData(dialog)));
    return kHostNoErr;
  };
  manager.runModal(nullptr, kOptionsDialogName, kOptionsDialogResource, buildOnly, &record);
  unbindSuites(host().basicSuite());
  EXPECT_EQ(visible, shownOnPage(1));
  EXPECT_EQ(art(), 0u);  // nothing was read back, so nothing was drawn
}

TEST_F(OptionsDialogTest, OpensTheStoredPageAndStoresPage1ForAnythingElse) {
  struct Case {
    int32_t stored;
    int32_t opened;
  };
  for (const Case c : {Case{0, 1}, Case{7, 1}, Case{-2, 1}, Case{3, 3}, Case{5, 5}}) {
    SpiralParameters record = newRecord();
    record.activePage = c.stored;
    record.preview = 0;
    runDialog(record, [&](host::DialogManager&, host::Dialog& dialog) { expectOnPage(dialog, c.opened); });
    EXPECT_EQ(keptRecord()->activePage, c.opened) << c.stored;
  }
}

TEST_F(OptionsDialogTest, RememberedBoundsPlaceTheDialogBeforeItIsSized) {
  SpiralParameters record = newRecord();
  record.dialogBoundsValid = 1;
  record.dialogBoundsLeft = 40;
  record.dialogBoundsTop = 30;
  record.dialogBoundsRight = 100;
  record.dialogBoundsBottom = 90;
  runDialog(record, [&](host::DialogManager&, host::Dialog& dialog) {
    EXPECT_EQ(dialog.bounds().left, 40);
    EXPECT_EQ(dialog.bounds().top, 30);
    EXPECT_EQ(dialog.bounds().right, 480);
    EXPECT_EQ(dialog.bounds().bottom, 366);
  });
  // At the far end of int32 the dialog cannot be sized from its corner: the
  // host refuses the size and the dialog keeps the remembered bounds.
  record.dialogBoundsLeft = INT32_MAX - 100;
  record.dialogBoundsTop = 0;
  record.dialogBoundsRight = INT32_MAX;
  record.dialogBoundsBottom = 336;
  runDialog(record, [&](host::DialogManager&, host::Dialog& dialog) {
    EXPECT_EQ(dialog.bounds().left, INT32_MAX - 100);
    EXPECT_EQ(dialog.bounds().right, INT32_MAX);
  });
  record.dialogBoundsValid = 0;
  runDialog(record, [&](host::DialogManager&, host::Dialog& dialog) {
    EXPECT_NE(dialog.bounds().left, 40);
    EXPECT_EQ(dialog.bounds().right - dialog.bounds().left, 440);
  });
}

TEST_F(OptionsDialogTest, ListsCarryTheirTextsIdsAndStoredEntries) {
  SpiralParameters record = newRecord();
  record.presetIndex = 60;
  record.spiralStructure = 28;
  record.offsetMode = 4;
  record.placementMode = 9;  // outside the list
  runDialog(record, [&](host::DialogManager&, host::Dialog& dialog) {
    for (const ChoiceList& choices : kChoiceLists) {
      const host::DialogList* list = item(dialog, choices.itemId).list();
      ASSERT_NE(list, nullptr);
      ASSERT_EQ(list->size(), static_cast<int32_t>(choices.entries.size())) << choices.name;
      for (int32_t i = 0; i < list->size(); ++i) {
        EXPECT_EQ(list->at(i)->text(), choices.entries[static_cast<std::size_t>(i)]) << choices.name;
        EXPECT_EQ(list->at(i)->id(), i) << choices.name;
      }
    }
    // The stored positions select their entries.
    EXPECT_EQ(item(dialog, 164).text(), PresetList[60]);
    EXPECT_EQ(item(dialog, 162).text(), StructureList[28]);
    EXPECT_EQ(item(dialog, 165).text(), OffsetModeList[4]);
    EXPECT_EQ(item(dialog, 163).text(), SketchColorList[0]);
    // A position outside the list selects nothing, and the read-back keeps it.
    EXPECT_EQ(item(dialog, 161).list()->active(), nullptr);
    EXPECT_EQ(recordOf(dialog).placementMode, 9);
  });
}

// Page and pick buttons are told apart by comparing the item with the
// dialog's buttons: a host need not answer an item's id.
TEST_F(OptionsDialogTest, PageButtonsShowTheirPageAndBoldTheirCaption) {
  runDialog([&](host::DialogManager& manager, host::Dialog& dialog) {
    host().gate().setLogging(true);
    for (int32_t page : {5, 2, 4, 3, 1, 5}) {
      manager.press(item(dialog, kPages[page - 1].buttonId));
      expectOnPage(dialog, page);
    }
    manager.press(item(dialog, 101));
    EXPECT_TRUE(manager.track(item(dialog, 179), kPickModifier, viewPointOf(250, 400)));
    EXPECT_FLOAT_EQ(recordOf(dialog).centerX, 250.0f);
  });
  EXPECT_EQ(keptRecord()->activePage, 2);
  for (const host::CallRecord& call : host().gate().log())
    EXPECT_FALSE(std::string(call.suite) == "ADM Item Suite" && std::string(call.operation) == "GetID");
}

TEST_F(OptionsDialogTest, ReadBackStoresEveryItemAsShown) {
  const std::size_t before = art();
  runDialog([&](host::DialogManager& manager, host::Dialog& dialog) {
    SpiralParameters& r = recordOf(dialog);
    // Distinct values straight into the items, hidden pages included, with
    // no notification; then "Shuffle".
    int n = 0;
    for (const ItemSpec& spec : kOptionItems) {
      if (!isReadBackItem(spec) || spec.id == 3) continue;
      host::DialogItem& it = item(dialog, spec.id);
      ++n;
      switch (spec.kind) {
        case ItemKind::CheckBox: it.setBooleanValue(r.*spec.intField == 0); break;
        case ItemKind::IntSpinEdit: it.setIntValue(static_cast<int32_t>(spec.minimum) + n); break;
        case ItemKind::FloatSpinEdit: it.setFloatValue(static_cast<float>(spec.minimum + 0.25 + n)); break;
        case ItemKind::PopupList: it.setIntValue(it.list()->size() - 1); break;
        default: break;
      }
    }
    item(dialog, 28).setFloatValue(250.0f);  // not read back
    item(dialog, 164).setIntValue(5);        // not read back
    const SpiralParameters opened = r;
    r.fromGo = 1;
    manager.press(item(dialog, 90));

    int read = 0;
    for (const ItemSpec& spec : kOptionItems) {
      if (!isReadBackItem(spec)) continue;
      ++read;
      const host::DialogItem& it = item(dialog, spec.id);
      switch (spec.kind) {
        case ItemKind::CheckBox:
          EXPECT_EQ(r.*spec.intField, spec.id == 3 ? 1 : 1 - (opened.*spec.intField)) << spec.id;
          break;
        case ItemKind::IntSpinEdit: EXPECT_EQ(r.*spec.intField, it.intValue()) << spec.id; break;
        case ItemKind::FloatSpinEdit: EXPECT_EQ(r.*spec.floatField, it.floatValue()) << spec.id; break;
        case ItemKind::PopupList: EXPECT_EQ(r.*spec.intField, it.list()->size() - 1) << spec.id; break;
        default: break;
      }
      if (spec.kind == ItemKind::FloatSpinEdit) {
        EXPECT_NE(r.*spec.floatField, opened.*spec.floatField) << spec.id;
      }
      if (spec.kind == ItemKind::IntSpinEdit) {
        EXPECT_NE(r.*spec.intField, opened.*spec.intField) << spec.id;
      }
    }
    EXPECT_EQ(read, 67);
    EXPECT_FLOAT_EQ(r.viewZoom, 100.0f);
    EXPECT_EQ(r.presetIndex, 0);
    EXPECT_EQ(r.fromGo, 0);
    // These values make a preview run that fails: it is not kept for Go.
    EXPECT_EQ(r.previewDrawn, 0);
    manager.press(item(dialog, kDialogCancel));
  });
  EXPECT_EQ(art(), before);
}

TEST_F(OptionsDialogTest, PreviewOffStoresPreviewDrawnZeroAndDrawsNothing) {
  runDialog([&](host::DialogManager& manager, host::Dialog& dialog) {
    const std::uint64_t drawn = redraws();
    const std::size_t shown = art();
    manager.userSetBoolean(item(dialog, 3), false);
    EXPECT_EQ(recordOf(dialog).previewDrawn, 0);
    manager.userSetInt(item(dialog, 4), 20);
    EXPECT_EQ(recordOf(dialog).armCount, 20);
    EXPECT_EQ(recordOf(dialog).fromGo, 0);
    EXPECT_EQ(redraws(), drawn);
    EXPECT_EQ(art(), shown);  // the last preview stays
    manager.userSetBoolean(item(dialog, 3), true);
    EXPECT_EQ(recordOf(dialog).previewDrawn, 1);
    EXPECT_EQ(redraws(), drawn + 1);
  });
}

TEST_F(OptionsDialogTest, EnablingRulesFollowTheirFields) {
  runDialog([&](host::DialogManager& manager, host::Dialog& dialog) {
    auto enabled = [&](std::initializer_list<int32_t> ids) {
      std::vector<bool> out;
      for (int32_t id : ids) out.push_back(item(dialog, id).enabled());
      return out;
    };
    const std::vector<bool> off3(3, false), on3(3, true);
    EXPECT_EQ(enabled({165, 30, 29}), off3);
    EXPECT_EQ(enabled({143, 144, 146, 145}), std::vector<bool>(4, false));
    EXPECT_EQ(enabled({23, 22, 163, 141, 142}), std::vector<bool>(5, false));
    EXPECT_EQ(enabled({160, 149}), std::vector<bool>(2, false));

    manager.press(item(dialog, 103));
    manager.userSetFloat(item(dialog, 26), -0.01f);
    EXPECT_EQ(enabled({165, 30, 29}), on3);
    manager.userSetFloat(item(dialog, 26), 0.0f);
    EXPECT_EQ(enabled({165, 30, 29}), off3);
    manager.userSetFloat(item(dialog, 27), 0.01f);
    EXPECT_EQ(enabled({165, 30, 29}), on3);

    manager.press(item(dialog, 104));
    manager.userSetBoolean(item(dialog, 147), true);
    EXPECT_EQ(enabled({143, 144, 146, 145}), std::vector<bool>(4, true));

    // A disabled item keeps its value and is still read back.
    manager.press(item(dialog, 101));
    item(dialog, 23).setFloatValue(12.5f);
    manager.press(item(dialog, 90));
    EXPECT_FALSE(item(dialog, 23).enabled());
    EXPECT_FLOAT_EQ(recordOf(dialog).sketchWeight, 12.5f);
    manager.userSetInt(item(dialog, 24), 1);
    EXPECT_EQ(enabled({23, 22, 163, 141, 142}), std::vector<bool>(5, true));
    EXPECT_FLOAT_EQ(item(dialog, 23).floatValue(), 12.5f);

    manager.press(item(dialog, 102));
    manager.userSetFloat(item(dialog, 25), -0.01f);
    EXPECT_EQ(enabled({160, 149}), std::vector<bool>(2, true));
    manager.userSetFloat(item(dialog, 25), 0.0f);
    EXPECT_EQ(enabled({160, 149}), std::vector<bool>(2, false));
  });
}

TEST_F(OptionsDialogTest, PresetsResetToTheBaseAndKeepThePage) {
  runDialog([&](host::DialogManager& manager, host::Dialog& dialog) {
    SpiralParameters& r = recordOf(dialog);
    manager.press(item(dialog, 101));
    manager.userSetInt(item(dialog, 19), 5);
    manager.userSelectEntry(item(dialog, 164), 4);  // " Rounded"
    EXPECT_EQ(item(dialog, 8).text(), "90.00");
    EXPECT_EQ(r.spiralCount, 1);
    manager.userSelectEntry(item(dialog, 164), 25);  // " Star"
    EXPECT_FLOAT_EQ(r.curvature1, 33.0f);
    EXPECT_FLOAT_EQ(r.curvature2, 33.0f);
    EXPECT_FLOAT_EQ(r.starAdditionX, 15.0f);
    EXPECT_EQ(item(dialog, 11).text(), "15.00");
    EXPECT_EQ(r.presetIndex, 25);
    expectOnPage(dialog, 2);

    manager.userSelectEntry(item(dialog, 164), 60);  // " Pattern"
    EXPECT_FLOAT_EQ(r.centerX, 100.0f);
    EXPECT_FLOAT_EQ(r.centerY, 100.0f);
    EXPECT_EQ(item(dialog, 6).text(), "100.00");
    EXPECT_TRUE(item(dialog, 151).booleanValue());
    manager.userSelectEntry(item(dialog, 164), 1);
    EXPECT_FLOAT_EQ(r.centerX, 200.0f);
    EXPECT_FLOAT_EQ(r.centerY, 400.0f);
    EXPECT_FALSE(item(dialog, 151).booleanValue());

    manager.press(item(dialog, 104));
    manager.userSelectEntry(item(dialog, 164), 38);  // " Shadow 2"
    expectOnPage(dialog, 5);
    EXPECT_TRUE(item(dialog, 147).booleanValue());
    EXPECT_TRUE(item(dialog, 146).enabled());
    EXPECT_EQ(r.randomShadowScale, 1);
    EXPECT_EQ(r.previewDrawn, 1);
  });
  EXPECT_EQ(keptRecord()->presetIndex, 38);
  // The dialog reopens with the preset's name.
  runDialog([&](host::DialogManager&, host::Dialog& dialog) { EXPECT_EQ(item(dialog, 164).text(), " Shadow 2"); });
}

TEST_F(OptionsDialogTest, PresetWithPreviewOffDrawsNothing) {
  runDialog([&](host::DialogManager& manager, host::Dialog& dialog) {
    manager.userSetBoolean(item(dialog, 3), false);
    const std::uint64_t drawn = redraws();
    manager.userSelectEntry(item(dialog, 164), 13);  // " Intense"
    EXPECT_EQ(recordOf(dialog).armCount, 30);
    EXPECT_EQ(recordOf(dialog).previewDrawn, 0);
    EXPECT_EQ(recordOf(dialog).preview, 0);
    EXPECT_EQ(redraws(), drawn);
  });
}

TEST_F(OptionsDialogTest, BoostAndJitterKeepTheirLimits) {
  runDialog([&](host::DialogManager& manager, host::Dialog& dialog) {
    SpiralParameters& r = recordOf(dialog);
    manager.userSetInt(item(dialog, 4), 100);
    manager.userSetFloat(item(dialog, 5), 500.0f);
    manager.userSetFloat(item(dialog, 10), 120.0f);
    manager.press(item(dialog, 94));
    EXPECT_EQ(item(dialog, 4).text(), "30");
    EXPECT_EQ(item(dialog, 5).text(), "200.00");
    EXPECT_EQ(item(dialog, 10).text(), "110.00");
    EXPECT_EQ(r.armCount, 30);
    manager.press(item(dialog, 94));
    EXPECT_EQ(r.armCount, 30);

    manager.userSetFloat(item(dialog, 5), 100.0f);
    manager.userSetFloat(item(dialog, 10), 95.0f);
    for (int i = 0; i < 20; ++i) {
      const SpiralParameters before = r;
      manager.press(item(dialog, 93));
      EXPECT_LE(std::abs(r.armCount - before.armCount), 2);
      EXPECT_LE(std::fabs(r.armGap - before.armGap), 3.01f);
      EXPECT_LE(std::fabs(r.curvature1 - before.curvature1), 1.01f);
      EXPECT_LE(std::fabs(r.decay - before.decay), 0.51f);
    }
    manager.press(item(dialog, 92));
    EXPECT_GE(r.armCount, 1);
    EXPECT_LE(r.armCount, 29);
  });
}

TEST_F(OptionsDialogTest, TumbleDrawsFromTheHostAndTheItemsCorrectWhatTheyCannotShow) {
  runDialog([&](host::DialogManager& manager, host::Dialog& dialog) {
    SpiralParameters& r = recordOf(dialog);
    manager.press(item(dialog, 104));
    manager.userSetBoolean(item(dialog, 132), true);  // "New layer"
    manager.press(item(dialog, 101));
    manager.userSetInt(item(dialog, 19), 3);
    manager.userSetFloat(item(dialog, 6), 123.0f);
    // Every draw 0: no chance passes and armCount comes out 0.
    host().random().script(std::vector<float>(29, 0.0f));
    manager.press(item(dialog, 91));
    EXPECT_GE(host().random().drawCount(), 29u);
    EXPECT_EQ(item(dialog, 4).intValue(), 1);
    EXPECT_EQ(r.armCount, 1);  // read back from the item
    EXPECT_FLOAT_EQ(r.armGap, 40.0f);
    EXPECT_FLOAT_EQ(r.curvature1, 0.0f);
    EXPECT_EQ(r.spiralCount, 3);
    EXPECT_FLOAT_EQ(r.centerX, 123.0f);
    EXPECT_EQ(r.newLayer, 1);
    expectOnPage(dialog, 2);
    EXPECT_EQ(r.previewDrawn, 1);
  });
}

// The procs are the plug-in's entry points from the dialog manager's C
// frames: nothing thrown inside one may leave it.
static_assert(noexcept(initOptionsDialog(nullptr)) && noexcept(switchPage(nullptr, nullptr)) &&
              noexcept(readBackValues(nullptr, nullptr)) && noexcept(applyViewZoom(nullptr, nullptr)) &&
              noexcept(applyPreset(nullptr, nullptr)) && noexcept(tumbleParameters(nullptr, nullptr)) &&
              noexcept(nudgeParameters(nullptr, nullptr)) && noexcept(pickFromDocument(nullptr, nullptr)));

HostReal throwingDraw() { throw std::bad_alloc(); }

TEST_F(OptionsDialogTest, ANotifyProcThatThrowsLeavesTheRecordAndTheDialogAsTheyWere) {
  ASSERT_EQ(runDialog([&](host::DialogManager& manager, host::Dialog& dialog) {
              SpiralParameters& r = recordOf(dialog);
              manager.userSetInt(item(dialog, 4), 7);
              const SpiralParameters before = r;
              // The random service bound for the plug-in throws from Tumble's
              // first draw, inside its notify proc.
              RandomSuiteV3 throwing = *gRandomSuite;
              throwing.FloatRnd = throwingDraw;
              const RandomSuiteV3* bound = gRandomSuite;
              gRandomSuite = &throwing;
              host::DialogItem* tumble = dialog.itemByText("Tumble");
              ASSERT_NE(tumble, nullptr);
              EXPECT_NO_THROW(manager.press(*tumble));
              gRandomSuite = bound;

              EXPECT_FALSE(dialog.ended());
              EXPECT_EQ(std::memcmp(&r, &before, sizeof r), 0);
              EXPECT_EQ(item(dialog, 4).intValue(), 7);
              // The dialog goes on: the next press tumbles, the next edit is read back.
              manager.press(*tumble);
              EXPECT_NE(std::memcmp(&r, &before, sizeof r), 0);
              manager.userSetInt(item(dialog, 4), 12);
              EXPECT_EQ(r.armCount, 12);
            }),
            kHostNoErr);
  EXPECT_EQ(keptRecord()->armCount, 12);
}

TEST_F(OptionsDialogTest, PicksTakeTheirFieldFromTheDocumentPoint) {
  runDialog([&](host::DialogManager& manager, host::Dialog& dialog) {
    SpiralParameters& r = recordOf(dialog);
    manager.press(item(dialog, 101));
    EXPECT_TRUE(manager.track(item(dialog, 179), kPickModifier, viewPointOf(250, 400)));
    EXPECT_FLOAT_EQ(r.centerX, 250.0f);
    EXPECT_EQ(item(dialog, 6).text(), "250.00");
    EXPECT_TRUE(manager.track(item(dialog, 180), kPickModifier, viewPointOf(250, 380)));
    EXPECT_FLOAT_EQ(r.centerY, 380.0f);
    expectOnPage(dialog, 2);

    manager.press(item(dialog, 100));
    EXPECT_TRUE(manager.track(item(dialog, 172), kPickModifier, viewPointOf(45, 10)));
    EXPECT_FLOAT_EQ(r.curvature1, 9.0f);
    EXPECT_TRUE(manager.track(item(dialog, 170), kPickModifier, viewPointOf(255, 10)));
    EXPECT_EQ(r.armCount, 25);

    // Without the pick modifier nothing is picked, but the preview redraws.
    const std::uint64_t drawn = redraws();
    EXPECT_TRUE(manager.track(item(dialog, 171), 0, viewPointOf(77, 10)));
    EXPECT_FLOAT_EQ(r.armGap, 200.0f);
    EXPECT_EQ(redraws(), drawn + 1);
    expectOnPage(dialog, 1);
  });
}

TEST_F(OptionsDialogTest, ZoomSetsTheViewZoomWithoutAPreview) {
  runDialog([&](host::DialogManager& manager, host::Dialog& dialog) {
    const std::uint64_t drawn = redraws();
    manager.userSetFloat(item(dialog, 28), 250.0f);
    EXPECT_FLOAT_EQ(recordOf(dialog).viewZoom, 250.0f);
    EXPECT_FLOAT_EQ(host().document().views().at(0).zoom, 2.5f);
    EXPECT_EQ(redraws(), drawn);
  });
}

TEST_F(OptionsDialogTest, CancelRestoresTheRecordAndUndoesEveryPreview) {
  SpiralParameters start = newRecord();
  start.presetIndex = 12;
  start.activePage = 3;
  const std::size_t before = art();
  const HostErr result = runDialog(start, [&](host::DialogManager& manager, host::Dialog& dialog) {
    manager.userSelectEntry(item(dialog, 164), 45);
    manager.press(item(dialog, 91));
    manager.press(item(dialog, 94));
    manager.press(item(dialog, 101));
    manager.track(item(dialog, 179), kPickModifier, viewPointOf(20, 30));
    manager.userSetFloat(item(dialog, 28), 50.0f);
    EXPECT_GT(art(), before);
    manager.press(item(dialog, kDialogCancel));
  });
  EXPECT_EQ(result, kUserCancelErr);
  EXPECT_EQ(art(), before);
  SpiralParameters after = *keptRecord();
  EXPECT_EQ(after.previewDrawn, 0);
  after.previewDrawn = start.previewDrawn;
  after.fromGo = start.fromGo;
  EXPECT_EQ(std::memcmp(&after, &start, sizeof after), 0);
}

TEST_F(OptionsDialogTest, GoKeepsWhatThePreviewDrew) {
  ASSERT_EQ(runDialog([&](host::DialogManager& manager, host::Dialog& dialog) {
              manager.userSelectEntry(item(dialog, 164), 1);
              manager.userSetInt(item(dialog, 4), 6);
            }),
            kHostNoErr);
  const std::size_t drawn = art();
  EXPECT_EQ(keptRecord()->armCount, 6);
  EXPECT_EQ(keptRecord()->previewDrawn, 1);
  ASSERT_EQ(session().go(), kHostNoErr);
  EXPECT_EQ(art(), drawn);
  EXPECT_EQ(keptRecord()->previewDrawn, 0);
}

}  // namespace
