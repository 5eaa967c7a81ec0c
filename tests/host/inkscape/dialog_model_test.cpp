// The extension's .inx against the plug-in's own dialog: every field the
// dialog shows is reachable once, with the dialog's limits, decimal places
// and entries.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "hostapp/dialogs/script_driver.h"
#include "hostapp/inkscape/dialog_model.h"
#include "hostapp/inkscape/effect.h"
#include "hostapp/inkscape/inx_file.h"
#include "hostapp/io/xml_scan.h"
#include "hostapp/loader/plugin_loader.h"
#include "params/record/plugin_facts.h"

namespace {

struct InxParam {
  std::map<std::string, std::string> attributes;
  std::vector<std::string> options;
  std::string text;
};

// Every <param> of the .inx by name (the notebook's pages included).
std::map<std::string, InxParam> inxParams(const std::string& inx) {
  std::map<std::string, InxParam> params;
  hostio::XmlScanner xml(inx);
  std::vector<InxParam*> open;
  for (hostio::XmlToken t = xml.next(); t.kind != hostio::XmlToken::Kind::End; t = xml.next()) {
    if (t.kind == hostio::XmlToken::Kind::StartTag && t.name == "param") {
      InxParam& p = params[*t.attribute("name")];
      for (const auto& a : t.attributes) p.attributes[a.name] = a.value;
      if (!t.empty) open.push_back(&p);
    } else if (t.kind == hostio::XmlToken::Kind::EndTag && t.name == "param") {
      open.pop_back();
    } else if (t.kind == hostio::XmlToken::Kind::StartTag && t.name == "option" && !open.empty()) {
      open.back()->options.push_back(*t.attribute("value"));
    } else if (t.kind == hostio::XmlToken::Kind::Text && !open.empty()) {
      open.back()->text += t.text;
    }
  }
  return params;
}

class DialogModelTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    host::DrawingSession session;
    auto active = session.activate();
    session.loadPlugin(std::string(SPIRAL_PLUGIN_FILE));
    ASSERT_EQ(session.plugin().startup(), kHostNoErr);
    model_ = new inkscape::DialogModel(inkscape::readDialogModel(session));
    // The dialog as a user sees it, through the same host: its items as
    // it closes.
    auto outcome = std::make_shared<host::ScriptOutcome>();
    session.plugin().dialogs().setDriver(
        host::scriptDriver({}, kOptionsDialogName, true, session.document(), outcome));
    session.plugin().getParameters();
    session.plugin().shutdown();
    items_ = new std::vector<host::ItemState>(outcome->closedItems);
  }
  static void TearDownTestSuite() {
    delete model_;
    delete items_;
  }
  static const host::ItemState* item(int32_t id) {
    for (const auto& i : *items_)
      if (i.id == id) return &i;
    return nullptr;
  }
  static inkscape::DialogModel* model_;
  static std::vector<host::ItemState>* items_;
};
inkscape::DialogModel* DialogModelTest::model_ = nullptr;
std::vector<host::ItemState>* DialogModelTest::items_ = nullptr;

TEST_F(DialogModelTest, EveryFieldTheDialogSetsIsReachableOnceWithTheDialogsLimits) {
  ASSERT_FALSE(model_->pages.empty());
  std::map<std::string, const inkscape::FieldItem*> shown;
  for (const auto& page : model_->pages) {
    EXPECT_FALSE(page.caption.empty());
    for (const auto& field : page.items) {
      EXPECT_TRUE(shown.emplace(field.field, &field).second) << field.field << " shown twice";
      const host::ItemState* live = item(field.itemId);
      ASSERT_NE(live, nullptr) << field.field;
      if (field.kind == inkscape::FieldItem::Kind::Int || field.kind == inkscape::FieldItem::Kind::Float) {
        ASSERT_TRUE(live->minimum && live->maximum) << field.field;
        EXPECT_EQ(field.minimum, *live->minimum) << field.field;
        EXPECT_EQ(field.maximum, *live->maximum) << field.field;
        const ParameterField* record = findParameterField(field.field);
        EXPECT_EQ(static_cast<float>(record->minimum), static_cast<float>(field.minimum)) << field.field;
        EXPECT_EQ(static_cast<float>(record->maximum), static_cast<float>(field.maximum)) << field.field;
      }
      if (field.kind == inkscape::FieldItem::Kind::Choice) EXPECT_EQ(field.entries.size(), live->entries.size());
      EXPECT_FALSE(field.label.empty() && field.kind != inkscape::FieldItem::Kind::Choice) << field.field;
    }
  }
  // Every field a user can set in the dialog: each with limits (a spin
  // edit), each list but the preset list, and each check box but Preview
  // (the editor has its own).
  for (const ParameterField& field : kParameterFields) {
    const bool settable = field.hasLimits() ||
                          (field.kind == FieldKind::Index && field.name != "presetIndex") ||
                          (field.kind == FieldKind::Bool && field.name != "preview" && field.name != "fromGo" &&
                           field.name != "previewDrawn" && field.name != "dialogBoundsValid");
    EXPECT_EQ(shown.count(std::string(field.name)), settable ? 1u : 0u) << field.name;
  }
  EXPECT_EQ(model_->presets.size(), item(kPresetListId)->entries.size());
  EXPECT_EQ(model_->recordButtons.size(), 5u);
}

TEST_F(DialogModelTest, TheInxHoldsEachItemWithItsLimitsDecimalsAndDefault) {
  const std::string inx = inkscape::inxText(*model_, "launcher");
  const auto params = inxParams(inx);
  std::size_t count = 0;
  for (const auto& page : model_->pages) {
    for (const auto& field : page.items) {
      ++count;
      const auto it = params.find(field.field);
      ASSERT_NE(it, params.end()) << field.field;
      const InxParam& p = it->second;
      switch (field.kind) {
        case inkscape::FieldItem::Kind::Float:
          EXPECT_FLOAT_EQ(std::stof(p.attributes.at("min")), static_cast<float>(field.minimum));
          EXPECT_FLOAT_EQ(std::stof(p.attributes.at("max")), static_cast<float>(field.maximum));
          EXPECT_EQ(std::stoi(p.attributes.at("precision")), field.decimals);
          break;
        case inkscape::FieldItem::Kind::Int:
          EXPECT_FLOAT_EQ(std::stof(p.attributes.at("min")), static_cast<float>(field.minimum));
          EXPECT_FLOAT_EQ(std::stof(p.attributes.at("max")), static_cast<float>(field.maximum));
          EXPECT_EQ(std::stod(p.text), field.initial) << field.field;
          break;
        case inkscape::FieldItem::Kind::Bool:
          EXPECT_EQ(p.text, field.initial ? "true" : "false") << field.field;
          break;
        case inkscape::FieldItem::Kind::Choice:
          EXPECT_EQ(p.options.size(), field.entries.size());
          break;
      }
    }
  }
  EXPECT_EQ(params.size(), count + 5);  // the notebook, preset, button, seed, colour model
  // The centre is an offset from the page centre: the record's default.
  EXPECT_EQ(std::stod(params.at("centerX").text), kParameterFields[static_cast<int>(FieldIndex::centerX)].initial);
  EXPECT_EQ(params.at(inkscape::kPresetParam).options.size(), model_->presets.size() + 1);
  EXPECT_EQ(params.at(inkscape::kColorModelParam).options.front(), "rgb");
  EXPECT_NE(inx.find("<submenu name=\"TQV &lt;Create&gt;\"/>"), std::string::npos);
  EXPECT_NE(inx.find("<command location=\"inx\">launcher</command>"), std::string::npos);
}

}  // namespace
