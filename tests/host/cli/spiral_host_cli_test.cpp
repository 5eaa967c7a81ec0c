// The built spiral-host on the built plug-in library: the whole message flow
// through PluginMain, the repeat and cancel flows, the About box, a forced
// failure and a refused plug-in, as a user runs them.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "support/run_host.h"

namespace {

HostRun spiralHost(const std::string& arguments, const std::string& tag) {
  return runSpiralHost(arguments, "cli-" + tag);
}

std::string plugin() { return pluginOption(); }

std::vector<std::string> selectors(const nlohmann::json& dump) {
  std::vector<std::string> out;
  for (const auto& m : dump.at("messages")) out.push_back(m.at("caller").get<std::string>() + "/" + m.at("selector").get<std::string>());
  return out;
}

TEST(SpiralHostCommandLine, DrawRunsTheMessageFlowThroughTheLoadedLibrary) {
  const std::string svg = temp("spiral-cli-draw.svg");
  const std::string json = temp("spiral-cli-draw.json");
  const HostRun run =
      spiralHost("draw --verbose --seed 5" + plugin() + " --svg '" + svg + "' --json '" + json + "'", "draw");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(slurp(svg).find("<path"), std::string::npos);
  const nlohmann::json dump = nlohmann::json::parse(slurp(json));
  EXPECT_EQ(selectors(dump), (std::vector<std::string>{"SP Interface/Startup", "AI Filter/AI Get Parameters",
                                                       "AI Filter/AI Go", "SP Interface/Shutdown"}));
  for (const auto& m : dump.at("messages")) EXPECT_EQ(m.at("result"), 0);
  ASSERT_EQ(dump.at("dialogs").size(), 1u);
  EXPECT_EQ(dump.at("dialogs")[0].at("name"), "Vrix_Spiral");
  EXPECT_EQ(dump.at("dialogs")[0].at("result"), 1);
  EXPECT_EQ(dump.at("record").at("previewDrawn"), 0);  // Go kept the preview's art
  EXPECT_NE(run.err.find("dialog \"Vrix_Spiral\""), std::string::npos);
}

TEST(SpiralHostCommandLine, NoDialogRepeatsWithTheGivenRecordAndCancelDrawsNothing) {
  const std::string json = temp("spiral-cli-repeat.json");
  const HostRun repeat = spiralHost("draw --no-dialog --set armCount=4" + plugin() + " --json '" + json + "'", "repeat");
  ASSERT_EQ(repeat.status, 0) << repeat.err;
  nlohmann::json dump = nlohmann::json::parse(slurp(json));
  EXPECT_EQ(selectors(dump),
            (std::vector<std::string>{"SP Interface/Startup", "AI Filter/AI Go", "SP Interface/Shutdown"}));
  EXPECT_TRUE(dump.at("dialogs").empty());
  EXPECT_EQ(dump.at("record").at("armCount"), 4);

  // Nothing drawn, nothing written: the files of the run before stay.
  const std::string svg = temp("spiral-cli-cancel.svg");
  std::ofstream(svg) << "old svg";
  const std::string kept = slurp(json);
  const HostRun cancel = spiralHost("draw --cancel" + plugin() + " --svg '" + svg + "' --json '" + json + "'", "cancel");
  ASSERT_EQ(cancel.status, 0) << cancel.err;
  EXPECT_EQ(slurp(svg), "old svg");
  EXPECT_EQ(slurp(json), kept);
  EXPECT_NE(cancel.err.find("cancelled"), std::string::npos);
}

TEST(SpiralHostCommandLine, AboutPrintsTheAboutBoxTexts) {
  const HostRun run = spiralHost("about" + plugin(), "about");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "Spiral");
  EXPECT_NE(run.out.find("Version 1.0.0"), std::string::npos);
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 8);
}

TEST(SpiralHostCommandLine, ForcedFailureShowsTheErrorTextAndCode) {
  const HostRun run = spiralHost("draw" + plugin() + " --fail 'AI MdMemory Suite/NewHandle=-108'", "fail");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("The filter cannot complete because there isn't enough memory (RAM) available. (code -108)"),
            std::string::npos)
      << run.err;

  const HostRun segm = spiralHost("draw --no-dialog" + plugin() + " --fail 'AI Art Suite/NewArt=SEGM'", "segm");
  EXPECT_EQ(segm.status, 1);
  EXPECT_NE(segm.err.find("a layer is locked or invisible. (code SEGM)"), std::string::npos) << segm.err;
}

TEST(SpiralHostCommandLine, RefusedPluginGivesOneLineAndStatus2) {
  const std::string bogus = temp("spiral-cli-bogus.spx");
  std::ofstream(bogus) << "no library";
  const HostRun run = spiralHost("draw --plugin '" + bogus + "'", "bogus");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err, "spiral-host: refused " + bogus + ": it is not an ELF file\n");
}

}  // namespace

// The drawing contract scripts rely on: the default spiral centred on the
// origin, its first arm where the kernel puts it, read back exactly.
TEST(SpiralHostCommandLine, DefaultSpiralAtTheOriginInTheJsonDump) {
  const std::string json = temp("spiral-cli-origin.json");
  std::filesystem::remove(json);
  const HostRun run = spiralHost("draw --set centerX=0 --set centerY=0" + plugin() + " --json '" + json + "'", "origin");
  ASSERT_EQ(run.status, 0) << run.err;
  const nlohmann::json dump = nlohmann::json::parse(slurp(json));
  EXPECT_EQ(dump.at("page"), nlohmann::json::array({612, 792}));
  EXPECT_EQ(dump.at("colorModel"), "rgb");
  EXPECT_EQ(dump.at("result"), 0);
  ASSERT_EQ(dump.at("art").size(), 1u);
  const nlohmann::json& path = dump.at("art")[0];
  EXPECT_EQ(path.at("type"), "path");
  EXPECT_EQ(path.at("closed"), false);
  ASSERT_EQ(path.at("segments").size(), 40u);
  const double expected[4][6] = {{200, 0, 200, 0, 200, 108.93},
                                 {0, 190, 103.48, 190, -103.48, 190},
                                 {-180.5, 0, -180.5, 98.31, -180.5, -98.31},
                                 {0, -171.475, -93.39, -171.475, 93.39, -171.475}};
  for (int a = 0; a < 4; ++a)
    for (int c = 0; c < 6; ++c)
      EXPECT_NEAR(path.at("segments")[a][c].get<double>(), expected[a][c], 0.01) << "anchor " << a << " value " << c;
  EXPECT_EQ(dump.at("record").at("armCount"), 10);
  EXPECT_EQ(path.at("fill").at("color").at("kind"), 5);
}

TEST(SpiralHostCommandLine, BadInputIsRefusedBeforeAnythingIsWritten) {
  const std::string svg = temp("spiral-cli-bad.svg");
  const std::string shortRecord = temp("spiral-cli-short.bin");
  std::ofstream(shortRecord, std::ios::binary) << std::string(300, '\0');
  const std::string badJson = temp("spiral-cli-bad.json");
  std::ofstream(badJson) << "{\"armCount\": }";
  const std::pair<std::string, std::string> cases[] = {
      {"--set bogus=1", "unknown field 'bogus'"},
      {"--set armCount=ten", "'armCount' needs a 32-bit integer"},
      {"--params '" + shortRecord + "'", "holds 300 bytes"},
      {"--params '" + badJson + "'", "not valid JSON"},
      {"--page 10", "--page"},
      {"--swatches /nonexistent.gpl", "/nonexistent.gpl"},
      {"--color-model purple", "purple"},
      {"--bogus", "--bogus"},
  };
  for (const auto& [arguments, message] : cases) {
    std::filesystem::remove(svg);
    const HostRun run = spiralHost("draw" + plugin() + " " + arguments + " --svg '" + svg + "'", "bad");
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_NE(run.err.find(message), std::string::npos) << arguments << ": " << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << "one line: " << run.err;
    EXPECT_FALSE(std::filesystem::exists(svg)) << arguments;
  }
}

TEST(SpiralHostCommandLine, SwatchesComeFromAPalette) {
  const std::string palette = temp("spiral-cli.gpl");
  std::ofstream(palette) << "GIMP Palette\nName: two\n#\n255 0 0 Red\n0 0 255 Blue\n";
  const std::string json = temp("spiral-cli-swatch.json");
  const HostRun run = spiralHost("draw --seed 4 --no-dialog --set randomFillSwatch=1 --set spiralCount=6 --swatches '" +
                                     palette + "'" + plugin() + " --json '" + json + "'",
                                 "swatch");
  ASSERT_EQ(run.status, 0) << run.err;
  // The document must outlive the loop: a temporary in the range expression
  // would die before the first iteration.
  const nlohmann::json document = nlohmann::json::parse(slurp(json));
  ASSERT_EQ(document.at("art").size(), 6u);
  // Picks land on index 2 or 3 of the four swatches, or on index 4 past the
  // list, which keeps the new path's white fill.
  int fromPalette = 0;
  for (const auto& art : document.at("art")) {
    const auto& c = art.at("fill").at("color").at("c");
    const bool picked = c == nlohmann::json::array({1, 0, 0}) || c == nlohmann::json::array({0, 0, 1});
    fromPalette += picked ? 1 : 0;
    EXPECT_TRUE(picked || c == nlohmann::json::array({1, 1, 1})) << c;
  }
  EXPECT_GT(fromPalette, 0);
}
