// The drawing session: where its record comes from, the seed it records,
// and its outputs through the one table, compared with the writers' own
// bytes.
#include <gtest/gtest.h>

#include <sstream>

#include "hostapp/dialogs/dialog_json.h"
#include "hostapp/records/record_file.h"
#include "hostapp/render/svg_render.h"
#include "hostapp/session/drawing_session.h"
#include "hostapp/session/session_json.h"
#include "hostapp/writers/json_writer.h"
#include "hostapp/writers/svg_writer.h"
#include "params/record/default_parameters.h"
#include "entry/plugin_main.h"
#include "support/session_fixture.h"

namespace {

class DrawingSessionTest : public SessionFixture {
 protected:
  static host::SessionSettings seeded(std::uint64_t seed) {
    host::SessionSettings s;
    s.host.seed = seed;
    s.host.pageSize = {400, 300};
    s.host.colorModel = host::ColorModel::Cmyk;
    return s;
  }
  static host::PluginSession& load(host::DrawingSession& session) {
    return session.loadPlugin(host::scanPluginFile(SPIRAL_PLUGIN_FILE), &PluginMain);
  }
  static std::string written(host::DrawingSession& session, host::OutputKind kind) {
    std::ostringstream out;
    session.write(kind, out);
    return out.str();
  }
};

TEST_F(DrawingSessionTest, WithoutARecordTheDefaultsOfViewZero) {
  host::DrawingSession session(seeded(11));
  EXPECT_EQ(session.seed(), 11u);
  EXPECT_EQ(session.record().spiralCount, defaultParameters(200, 150).spiralCount);
  EXPECT_EQ(session.recordBytes(), records::recordBytes(defaultParameters(200, 150)));
  const records::DrawingMetadata m = session.metadata();
  EXPECT_EQ(m.seed, 11u);
  EXPECT_EQ(m.page, (host::Point{400, 300}));
  EXPECT_EQ(m.colorModel, host::ColorModel::Cmyk);
  EXPECT_TRUE(m.pluginName.empty());  // no plug-in loaded
}

TEST_F(DrawingSessionTest, AClockSeedIsStillKnownAndRecorded) {
  host::DrawingSession session;
  EXPECT_EQ(session.metadata().seed, session.seed());
  EXPECT_EQ(session.host().document().pageSize(), host::kDefaultPageSize);
}

TEST_F(DrawingSessionTest, StagedRecordFromAssignmentsOrADrawing) {
  host::DrawingSession session(seeded(1));
  host::RecordSource source;
  source.assignments = {"spiralCount=3"};
  session.stageRecord(source);
  EXPECT_EQ(session.record().spiralCount, 3);
  EXPECT_EQ(session.record().armCount, defaultParameters(200, 150).armCount);

  // A drawing's record replaces the defaults; assignments still come last.
  records::DrawingMetadata drawing;
  drawing.record = defaultParameters(10, 20);
  drawing.record.armCount = 77;
  source.drawing = drawing;
  source.assignments = {"spiralCount=4"};
  session.stageRecord(source);
  EXPECT_EQ(session.record().armCount, 77);
  EXPECT_EQ(session.record().spiralCount, 4);

  source.assignments = {"noSuchField=1"};
  EXPECT_THROW(session.stageRecord(source), records::RecordError);
}

TEST_F(DrawingSessionTest, ThePluginsKeptRecordComesFirst) {
  host::DrawingSession session(seeded(2));
  host::PluginSession& plugin = load(session);
  host::RecordSource source;
  source.assignments = {"spiralCount=2"};
  session.stageRecord(source);
  ASSERT_EQ(plugin.startup(), kHostNoErr);
  ASSERT_EQ(session.handOverRecord(), kHostNoErr);
  EXPECT_EQ(plugin.recordBytes(), session.stagedRecord());
  SpiralParameters other = session.record();
  other.spiralCount = 5;
  ASSERT_EQ(plugin.setRecordBytes(records::recordBytes(other)), kHostNoErr);
  EXPECT_EQ(session.record().spiralCount, 5);
  plugin.shutdown();
}

TEST_F(DrawingSessionTest, EachOutputKindWritesWhatItsWriterWrites) {
  host::DrawingSession session(seeded(3));
  host::PluginSession& plugin = load(session);
  host::RecordSource source;
  source.assignments = {"spiralCount=2", "armCount=20"};
  session.stageRecord(source);
  auto active = session.activate();
  ASSERT_EQ(plugin.startup(), kHostNoErr);
  ASSERT_EQ(session.handOverRecord(), kHostNoErr);
  ASSERT_EQ(plugin.repeatFilter(), kHostNoErr);
  plugin.shutdown();
  session.setResult(kHostNoErr);
  ASSERT_GT(session.document().liveArtCount(), 0u);

  const std::vector<unsigned char> bytes = plugin.recordBytes();
  records::DrawingMetadata m;
  m.record = records::recordFromBytes(bytes);
  m.seed = 3;
  m.page = {400, 300};
  m.colorModel = host::ColorModel::Cmyk;
  std::tie(m.pluginName, m.pluginVersion) = host::pluginNameAndVersion(plugin.file());
  EXPECT_FALSE(m.pluginName.empty());
  const std::string svg = writers::svgString(session.document(), records::metadataText(m));
  EXPECT_EQ(written(session, host::OutputKind::Svg), svg);

  nlohmann::json extra;
  extra["record"] = records::recordToJson(m.record);
  extra["result"] = kHostNoErr;
  extra["messages"] = host::messagesToJson(plugin.messages());
  extra["dialogs"] = host::shownDialogsToJson(plugin.dialogs().shown());
  extra["previews"] = session.document().redrawCount();
  std::ostringstream dump;
  writers::writeDocumentJson(session.document(), extra, dump);
  EXPECT_EQ(written(session, host::OutputKind::Json), dump.str() + "\n");
  // A front end that reports the options dialog adds "dialog" (null when
  // none ran).
  session.reportClosedDialog(std::nullopt);
  EXPECT_EQ(nlohmann::json::parse(written(session, host::OutputKind::Json)).at("dialog"), nullptr);

  EXPECT_EQ(written(session, host::OutputKind::Record), std::string(bytes.begin(), bytes.end()));
  EXPECT_EQ(written(session, host::OutputKind::RecordJson), records::recordToJson(m.record).dump(2) + "\n");

  if (render::available()) {
    std::ostringstream png;
    render::svgToPng(svg, 72, std::uint64_t{1} << 40, png);  // its paths all on the page
    EXPECT_EQ(written(session, host::OutputKind::Png), png.str());
  } else {
    EXPECT_THROW(written(session, host::OutputKind::Png), render::RenderError);
  }
}

TEST(OutputKinds, OneRowPerKindFoundByName) {
  for (const host::OutputKindInfo& info : host::outputKinds()) {
    EXPECT_EQ(host::findOutputKind(info.name), &info);
    EXPECT_EQ(&host::outputKind(info.kind), &info);
  }
  EXPECT_EQ(host::findOutputKind("gif"), nullptr);
  EXPECT_EQ(host::findOutputKind("SVG"), nullptr);
  EXPECT_FALSE(host::findOutputKind("png")->served);
  EXPECT_EQ(host::servedKindNames(), "svg, json, record or record-json");
}

TEST(DrawingSessionSetup, AMissingSwatchesFileIsRefused) {
  host::SessionSettings settings;
  settings.swatchesFile = "/nonexistent/palette.gpl";
  EXPECT_THROW(host::DrawingSession session(settings), host::SessionError);
}

TEST(DialogItemJson, LimitsAndSelectionAsTheDumpWritesThem) {
  host::ItemState spin;
  spin.id = 5;
  spin.kind = host::itemKindName(host::ItemKind::SpinEdit);
  spin.value = 200;
  spin.minimum = 0.01f;  // through float32
  nlohmann::json j = host::itemStateToJson(spin);
  EXPECT_EQ(j["kind"], "spin edit");
  EXPECT_EQ(j["limits"], nlohmann::json({0.01, nullptr}));
  EXPECT_TRUE(j["value"].is_number_integer());
  spin.minimum.reset();
  EXPECT_FALSE(host::itemStateToJson(spin).contains("limits"));

  host::ItemState popup;
  popup.kind = host::itemKindName(host::ItemKind::PopupList);
  popup.entries = {"a", "b"};
  popup.value = 1;
  EXPECT_EQ(host::itemStateToJson(popup)["selected"], "b");
  popup.value = 2;
  EXPECT_EQ(host::itemStateToJson(popup)["selected"], nullptr);
  popup.value = -1;
  EXPECT_EQ(host::itemStateToJson(popup)["selected"], nullptr);
}

}  // namespace
