// Dialog scripts: reading them, running them on the options dialog through
// PluginMain as a user would, and spiral-host's --dialog, --preset and
// presets on the built plug-in library.
#include <gtest/gtest.h>

#include "support/run_host.h"
#include "support/session_fixture.h"

#include <sys/wait.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "dialog/choice_lists.h"
#include "hostapp/cli/dialog_options.h"
#include "hostapp/dialogs/script_driver.h"
#include "hostapp/session/plugin_session.h"
#include "entry/plugin_main.h"
#include "shell/suite_table.h"

namespace {

using Verb = host::ScriptAction::Verb;

TEST(DialogScript, ReadsEveryAction) {
  const auto actions = host::parseDialogScript(
      "set 4 12; toggle \"Drop shadow\"\ncheck 3 off;choose 164 25; choose 163 \"Use random color\";"
      "  press Tumble ; page Settings; pick 179 250.5 -4; enter; choose 164 \"3\"; escape");
  ASSERT_EQ(actions.size(), 11u);
  EXPECT_EQ(actions[0].verb, Verb::Set);
  EXPECT_EQ(actions[0].itemId, 4);
  EXPECT_EQ(actions[0].number, "12");
  EXPECT_EQ(actions[1].verb, Verb::Toggle);
  EXPECT_FALSE(actions[1].itemId);
  EXPECT_EQ(actions[1].itemText, "Drop shadow");
  EXPECT_EQ(actions[2].verb, Verb::Check);
  EXPECT_FALSE(actions[2].on);
  EXPECT_EQ(actions[3].position, 25);
  EXPECT_FALSE(actions[4].position);
  EXPECT_EQ(actions[4].entryText, "Use random color");
  EXPECT_EQ(actions[5].verb, Verb::Press);
  EXPECT_EQ(actions[5].itemText, "Tumble");
  EXPECT_EQ(actions[6].verb, Verb::Page);
  EXPECT_EQ(actions[6].itemText, "Settings");
  EXPECT_EQ(actions[7].verb, Verb::Pick);
  EXPECT_FLOAT_EQ(actions[7].x, 250.5f);
  EXPECT_FLOAT_EQ(actions[7].y, -4.0f);
  EXPECT_EQ(actions[8].verb, Verb::Enter);
  // A quoted number is an entry text, not a position.
  EXPECT_FALSE(actions[9].position);
  EXPECT_EQ(actions[9].entryText, "3");
  EXPECT_EQ(actions[10].verb, Verb::Escape);
  EXPECT_TRUE(host::parseDialogScript(" ;\n; ").empty());
}

TEST(DialogScript, RefusesMalformedScriptsNamingTheAction) {
  struct Case {
    const char* script;
    const char* message;
  };
  for (const Case c : {Case{"set 4", "action 1 'set 4'"}, Case{"enter; set 4 x", "'x' is not a number"},
                       Case{"set 4 1e3", "not a number"}, Case{"toggle", "toggle ITEM"},
                       Case{"check 3 yes", "on or off"}, Case{"choose 164", "choose ITEM"},
                       Case{"pick 179 1", "pick ITEM X Y"}, Case{"pick 179 a b", "two numbers"},
                       Case{"enter now", "write it as 'enter'"}, Case{"jump 4", "unknown action 'jump'"},
                       Case{"press \"Cancel", "quote is not closed"}, Case{"\"set\" 4 1", "begins with its verb"}}) {
    try {
      host::parseDialogScript(c.script);
      ADD_FAILURE() << "accepted: " << c.script;
    } catch (const host::ScriptError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << c.script << " -> " << e.what();
    }
  }
}

TEST(DialogScript, PresetComesFirstByPositionOrName) {
  auto actions = cli::dialogActions(std::string("12"), std::string("enter"));
  ASSERT_EQ(actions.size(), 2u);
  EXPECT_EQ(actions[0].itemId, kPresetListId);
  EXPECT_EQ(actions[0].position, 12);
  EXPECT_EQ(actions[1].verb, Verb::Enter);
  actions = cli::dialogActions(std::string("Art sketch 3"), std::nullopt);
  ASSERT_EQ(actions.size(), 1u);
  EXPECT_EQ(actions[0].entryText, "Art sketch 3");
}

class ScriptRunTest : public SessionFixture {
 protected:
  host::HostOptions options() const override {
    host::HostOptions o = SessionFixture::options();
    o.seed = 11;
    o.viewCentre = host::Point{300, 400};
    return o;
  }
  bool startsUp() const override { return true; }

  // Get Parameters with the script as the user; the driver's error, if any,
  // goes to `error`.
  // With `thenGo` the user chooses the filter: Go follows an accepted dialog.
  HostErr run(const std::string& script, bool cancelAtEnd = false, bool thenGo = false) {
    outcome_ = std::make_shared<host::ScriptOutcome>();
    session_->dialogs().setDriver(
        host::scriptDriver(host::parseDialogScript(script), kOptionsDialogName, cancelAtEnd, host_->document(),
                           outcome_));
    const HostErr result = thenGo ? session_->chooseFilter() : session_->getParameters();
    error = session_->dialogs().takeDriverError();
    return result;
  }

  const host::ItemState& closed(int32_t id) const {
    for (const host::ItemState& item : outcome_->closedItems)
      if (item.id == id) return item;
    throw std::runtime_error("no item " + std::to_string(id));
  }

  std::size_t art() const { return host_->document().liveArtCount(); }
  std::uint64_t previews() const { return host_->document().redrawCount(); }
  SpiralParameters record() const { return *keptRecord(); }
  std::string error;

 private:
  std::shared_ptr<host::ScriptOutcome> outcome_;
};

TEST_F(ScriptRunTest, DrivesEveryItemKindAndButton) {
  ASSERT_EQ(run("set 4 12; set 5 150.5; choose 164 \" Rounding\"; page Create; set 19 2; choose 161 1;"
                "pick 179 250 400; page Tweak; choose 162 \"Spiral structure 29 - Gap [R]\"; page Offset;"
                "toggle \"Close spiral\"; page Settings; check \"Drop shadow\" on; toggle 137; press Shuffle;"
                "page Spiral; press Boost; press Jitter; press Tweak; pick 172 45 0; set 28 250; enter"),
            kHostNoErr)
      << error;
  EXPECT_EQ(error, "");
  // The preset reset the earlier values; Boost and Jitter keep the gap
  // within 3 of the base and at most 200.
  EXPECT_GE(record().armGap, 197.0f);
  EXPECT_LE(record().armGap, 200.0f);
  EXPECT_EQ(record().presetIndex, 3);
  EXPECT_EQ(record().spiralCount, 2);
  EXPECT_EQ(record().placementMode, 1);
  EXPECT_FLOAT_EQ(record().centerX, 250.0f);
  EXPECT_EQ(record().spiralStructure, 28);
  EXPECT_EQ(record().closeSpiral, 1);
  EXPECT_EQ(record().dropShadow, 1);
  EXPECT_EQ(record().threePoints, 1);
  EXPECT_FLOAT_EQ(record().viewZoom, 250.0f);
  EXPECT_FLOAT_EQ(record().curvature1, 9.0f);
  EXPECT_EQ(record().activePage, 1);
  EXPECT_EQ(closed(kPresetListId).entries.size(), std::size(PresetList));
  EXPECT_EQ(closed(kPresetListId).text, " Rounding");
  EXPECT_EQ(*closed(162).value, 28);
  EXPECT_EQ(closed(8).text, "9.00");
  EXPECT_TRUE(closed(143).enabled);
  EXPECT_FALSE(closed(143).visible);
  EXPECT_EQ(closed(105).font, kBoldDialogFont);
  EXPECT_EQ(*closed(4).minimum, 1);
  EXPECT_EQ(*closed(4).maximum, 300);
  // Opening, and every action but the page switches and the zoom, drew.
  EXPECT_EQ(previews(), 16u);

  const std::size_t drawn = art();
  ASSERT_EQ(session().go(), kHostNoErr);
  EXPECT_EQ(art(), drawn);  // Go kept what the preview drew
}

TEST_F(ScriptRunTest, EveryPresetByItsName) {
  for (int32_t index = 0; index < static_cast<int32_t>(std::size(PresetList)); ++index) {
    const std::string name(PresetList[index].substr(1));
    ASSERT_EQ(run("choose " + std::to_string(kPresetListId) + " \"" + name + "\"", true), kUserCancelErr)
        << name << ": " << error;
    EXPECT_EQ(error, "");
    EXPECT_EQ(*closed(kPresetListId).value, index) << name;
    EXPECT_EQ(art(), 0u) << name;
  }
  ASSERT_EQ(run("choose 164 \" Gap2\""), kHostNoErr);
  EXPECT_EQ(record().presetIndex, 62);
  EXPECT_EQ(record().spiralStructure, 24);
}

TEST_F(ScriptRunTest, ActionsTheUserCannotDoCancelAndDrawNothing) {
  struct Case {
    const char* script;
    const char* message;
  };
  for (const Case c : {Case{"set 23 5", "item 23 is hidden"}, Case{"page Create; set 23 5", "item 23 is disabled"},
                       Case{"set 404 1", "no item 404"}, Case{"press Boots", "no push button \"Boots\""},
                       Case{"toggle 4", "spin edit 4 is not a check box"},
                       Case{"choose 164 \"Nothing\"", "has no entry \"Nothing\""},
                       Case{"choose 164 64", "has no entry 64"}, Case{"pick 179 1 1", "picture button 179 is hidden"},
                       Case{"page Cover", "no page caption \"Cover\""},
                       Case{"press Cancel; enter", "'enter': the dialog has already closed"}}) {
    EXPECT_EQ(run(std::string("set 4 20; ") + c.script), kUserCancelErr) << c.script;
    EXPECT_NE(error.find(c.message), std::string::npos) << c.script << " -> " << error;
    EXPECT_EQ(art(), 0u) << c.script;
    EXPECT_EQ(record().armCount, 10) << c.script;
  }
}

TEST_F(ScriptRunTest, CheckLeavesABoxThatIsAlreadySoAlone) {
  ASSERT_EQ(run("check Preview on; check Preview on; page Settings; check 130 off"), kHostNoErr) << error;
  EXPECT_EQ(previews(), 1u);  // the opening one only
  ASSERT_EQ(run("check Preview off; page Spiral; set 4 3; check 3 on"), kHostNoErr) << error;
  EXPECT_EQ(previews(), 3u);  // opening, then ticking it again
  EXPECT_EQ(record().armCount, 3);
}

TEST_F(ScriptRunTest, AScriptLeftOpenIsAcceptedOrCancelled) {
  ASSERT_EQ(run("set 4 7", true), kUserCancelErr);
  EXPECT_EQ(record().armCount, 10);
  // Escape cancels where it stands: the preview is taken back.
  ASSERT_EQ(run("set 4 7; escape"), kUserCancelErr) << error;
  EXPECT_EQ(record().armCount, 10);
  EXPECT_EQ(art(), 0u);
  ASSERT_EQ(run("escape; set 4 7"), kUserCancelErr);
  EXPECT_NE(error.find("'set 4 7': the dialog has already closed"), std::string::npos) << error;
  ASSERT_EQ(run("set 4 7"), kHostNoErr);
  EXPECT_EQ(record().armCount, 7);
  EXPECT_GT(art(), 0u);
}

// Choosing the filter is one user action: a preview left in the document
// after "Preview" was cleared is taken back when Go draws.
TEST_F(ScriptRunTest, GoAfterThePreviewWasClearedDrawsOneSpiral) {
  ASSERT_EQ(run("set 4 5; check Preview off", false, true), kHostNoErr) << error;
  const host::Document& doc = host_->document();
  const std::vector<host::ArtId> order = doc.paintOrder(doc.currentLayer());
  ASSERT_EQ(order.size(), 1u);
  int32_t segments = 0;
  ASSERT_EQ(doc.segmentCount(order.front(), &segments), host::Status::Ok);
  EXPECT_EQ(segments, 20) << "the spiral Go drew, with 5 arms";
  // A repeat is a message of its own and adds a second spiral.
  ASSERT_EQ(session_->repeatFilter(), kHostNoErr);
  EXPECT_EQ(art(), 2u);
}

// ---- spiral-host ------------------------------------------------------------------

HostRun spiralHost(const std::string& arguments, const std::string& tag) {
  return runSpiralHost(arguments + pluginOption(), "script-" + tag);
}

const nlohmann::json& dumpedItem(const nlohmann::json& dump, int id) {
  for (const auto& item : dump.at("dialog"))
    if (item.at("id") == id) return item;
  throw std::runtime_error("no item " + std::to_string(id));
}

TEST(SpiralHostDialog, PresetsListsTheSixtyFour) {
  const HostRun run = spiralHost("presets", "presets");
  ASSERT_EQ(run.status, 0) << run.err;
  std::istringstream lines(run.out);
  std::string line;
  int n = 0;
  while (std::getline(lines, line)) {
    EXPECT_EQ(line, std::to_string(n) + "\t" + std::string(PresetList[n].substr(1)));
    ++n;
  }
  EXPECT_EQ(n, 64);
}

TEST(SpiralHostDialog, ScriptAndPresetDriveTheDialogAndTheDumpShowsIt) {
  const std::string json = temp("spiral-script-run.json");
  const std::string byName = temp("spiral-script-name.json");
  const HostRun run = spiralHost("draw --seed 9 --preset 60 --dialog 'page Create; set 19 2; toggle Preview; "
                                 "toggle Preview; set 28 50' --json '" + json + "'",
                                 "run");
  ASSERT_EQ(run.status, 0) << run.err;
  const nlohmann::json dump = nlohmann::json::parse(slurp(json));
  EXPECT_EQ(dump.at("record").at("presetIndex"), 60);
  EXPECT_EQ(dump.at("record").at("basicPattern"), 1);
  EXPECT_EQ(dump.at("record").at("spiralCount"), 2);
  EXPECT_EQ(dump.at("previews"), 4);  // opening, preset, count, preview on again
  ASSERT_EQ(dump.at("dialog").size(), 115u);
  const nlohmann::json& presets = dumpedItem(dump, 164);
  EXPECT_EQ(presets.at("kind"), "popup list");
  EXPECT_EQ(presets.at("selected"), " Pattern");
  EXPECT_EQ(presets.at("value"), 60);
  EXPECT_EQ(presets.at("entries").size(), 64u);
  const nlohmann::json& zoom = dumpedItem(dump, 28);
  EXPECT_EQ(zoom.at("value"), 50);
  EXPECT_EQ(zoom.at("text"), "50.00");
  EXPECT_EQ(zoom.at("limits"), nlohmann::json::array({1, 500}));
  EXPECT_EQ(dumpedItem(dump, 5).at("limits"), nlohmann::json::array({0.01, 1000}));
  EXPECT_EQ(dumpedItem(dump, 106).at("font"), kBoldDialogFont);
  EXPECT_EQ(dumpedItem(dump, 4).at("visible"), false);
  EXPECT_EQ(dumpedItem(dump, 165).at("enabled"), false);
  EXPECT_EQ(dumpedItem(dump, 3).at("value"), 1);

  // The same preset by name draws the same document.
  const HostRun named = spiralHost("draw --seed 9 --preset Pattern --dialog 'page Create; set 19 2; toggle Preview; "
                                   "toggle Preview; set 28 50' --json '" + byName + "'",
                                   "name");
  ASSERT_EQ(named.status, 0) << named.err;
  const nlohmann::json other = nlohmann::json::parse(slurp(byName));
  EXPECT_EQ(other.at("record"), dump.at("record"));
  EXPECT_EQ(other.at("dialog"), dump.at("dialog"));
}

TEST(SpiralHostDialog, FailingScriptsWriteNothing) {
  for (const char* script : {"set 23 5", "set 4", "press Cancel; enter"}) {
    const std::string json = temp("spiral-script-fail.json");
    const std::string svg = temp("spiral-script-fail.svg");
    std::filesystem::remove(json);
    std::filesystem::remove(svg);
    const HostRun run = spiralHost(std::string("draw --dialog '") + script + "' --json '" + json + "' --svg '" + svg + "'",
                                   "fail");
    EXPECT_EQ(run.status, 2) << script;
    EXPECT_NE(run.err.find("spiral-host: dialog script: "), std::string::npos) << run.err;
    EXPECT_FALSE(std::filesystem::exists(json)) << script;
    EXPECT_FALSE(std::filesystem::exists(svg)) << script;
  }
  const HostRun both = spiralHost("draw --no-dialog --preset 3", "both");
  EXPECT_EQ(both.status, 2);
  EXPECT_NE(both.err.find("--no-dialog"), std::string::npos) << both.err;
}

}  // namespace
