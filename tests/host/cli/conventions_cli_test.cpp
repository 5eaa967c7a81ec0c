// spiral-host as people who use command-line picture tools expect it:
// --version, "did you mean", '-' for standard streams, the field list,
// --preset then --set, quiet success, a default output, plain --help,
// batches of seeds and presets, and errors that name the host call.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include <nlohmann/json.hpp>

#include "params/record/parameter_fields.h"
#include "support/run_host.h"
#include "support/scratch_folder.h"

namespace fs = std::filesystem;

namespace {

class Conventions : public testing_support::ScratchFolderTest {
 protected:
  Conventions() : ScratchFolderTest("spiral-conventions-") {}
  HostRun host(const std::string& arguments, const std::string& tag = "run") {
    return runSpiralHost(arguments, "conv-" + tag);
  }
  // Runs spiral-host in the scratch folder (for outputs named by the host).
  HostRun hostHere(const std::string& arguments, const std::string& tag = "here") {
    return runSpiralHost(arguments, "conv-" + tag, dir_.string());
  }
  std::string quoted(const std::string& name) const { return " '" + path(name) + "'"; }
};

TEST_F(Conventions, VersionNamesTheHostAndThePlugin) {
  const HostRun run = host("--version");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.rfind("spiral-host 1.", 0), 0u) << run.out;
  EXPECT_NE(run.out.find("\nplug-in: Spiral 1."), std::string::npos) << run.out;
  EXPECT_TRUE(run.err.empty()) << run.err;
}

TEST_F(Conventions, UnknownNamesGetTheNearestKnownOnes) {
  struct Case {
    std::string arguments, expected;
  };
  const Case cases[] = {
      {"drw", "spiral-host: unknown command 'drw' (did you mean 'draw'?) (spiral-host --help lists the commands)\n"},
      {"draw --sed 4", "'--sed' (did you mean '--set', '--seed' or '--svg'?) (spiral-host draw --help lists the options)"},
      {"draw --set armcount=3", "unknown field 'armcount' (did you mean 'armCount'?)"},
      {"draw --preset 'art skech 3'", "there is no preset \"art skech 3\" (did you mean 'Art sketch 3'"},
      {"draw --preset 64", "there is no preset 64: they are 0 to 63"},
      {"fields --jsn", "fields: unknown option '--jsn' (did you mean '--json'?)"},
      {"", "a command is required: draw, about, presets, fields"},
  };
  for (const Case& c : cases) {
    const HostRun run = host(c.arguments + (c.arguments.rfind("draw", 0) == 0 ? pluginOption() : ""), "suggest");
    EXPECT_EQ(run.status, 2) << c.arguments;
    EXPECT_NE(run.err.find(c.expected), std::string::npos) << c.arguments << ": " << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << c.arguments << ": " << run.err;
  }
}

TEST_F(Conventions, PresetNamesMatchWithoutRegardToCaseOrBlanks) {
  const HostRun byIndex = host("draw --seed 2 --preset 47 --svg" + quoted("index.svg") + pluginOption());
  const HostRun byName = host("draw --seed 2 --preset '  ART sketch 3 ' --svg" + quoted("name.svg") + pluginOption());
  ASSERT_EQ(byIndex.status, 0) << byIndex.err;
  ASSERT_EQ(byName.status, 0) << byName.err;
  EXPECT_EQ(slurp(path("index.svg")), slurp(path("name.svg")));
}

TEST_F(Conventions, OneOutputGoesToStandardOutputAndTheRecordMayComeFromStandardInput) {
  const std::string common = " --seed 9 --set spiralCount=3" + pluginOption();
  const HostRun file = host("draw" + common + " --svg" + quoted("a.svg") + " --json" + quoted("a.json"));
  ASSERT_EQ(file.status, 0) << file.err;
  const HostRun svg = host("draw" + common + " --svg - --json" + quoted("b.json"), "stdout-svg");
  ASSERT_EQ(svg.status, 0) << svg.err;
  EXPECT_EQ(svg.out, slurp(path("a.svg")));
  EXPECT_EQ(slurp(path("b.json")), slurp(path("a.json")));
  EXPECT_FALSE(fs::exists("-"));

  const HostRun two = host("draw" + common + " --svg - --json -", "stdout-two");
  EXPECT_EQ(two.status, 2);
  EXPECT_TRUE(two.out.empty());
  EXPECT_NE(two.err.find("--svg and --json both name standard output"), std::string::npos) << two.err;

#ifdef SPIRAL_HAVE_RSVG
  const HostRun png = host("draw" + common + " --png -", "stdout-png");
  ASSERT_EQ(png.status, 0) << png.err;
  EXPECT_EQ(png.out.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
#endif

  // The record the first run saved, read back from standard input.
  write("record.json", R"({"armCount": 5, "spiralCount": 2})");
  const HostRun piped = host("draw --no-dialog --seed 1 --params - --json -" + pluginOption() + " <" +
                                 quoted("record.json"),
                             "stdin");
  ASSERT_EQ(piped.status, 0) << piped.err;
  const nlohmann::json dump = nlohmann::json::parse(piped.out);
  EXPECT_EQ(dump.at("record").at("armCount"), 5);
  EXPECT_EQ(dump.at("record").at("spiralCount"), 2);
}

TEST_F(Conventions, FieldsListEveryFieldOfTheTable) {
  const HostRun run = host("fields --json", "fields-json");
  ASSERT_EQ(run.status, 0) << run.err;
  const nlohmann::json fields = nlohmann::json::parse(run.out);
  ASSERT_EQ(fields.size(), kParameterFields.size());
  for (std::size_t k = 0; k < kParameterFields.size(); ++k) {
    const ParameterField& field = kParameterFields[k];
    const nlohmann::json& entry = fields[k];
    EXPECT_EQ(entry.at("name"), field.name);
    EXPECT_EQ(entry.at("default").get<double>(), field.initial) << field.name;
    EXPECT_FALSE(entry.at("meaning").get<std::string>().empty()) << field.name;
    if (field.kind == FieldKind::Bool) {
      EXPECT_EQ(entry.at("type"), "bool");
      EXPECT_EQ(entry.at("minimum"), 0);
      EXPECT_EQ(entry.at("maximum"), 1);
    } else if (field.hasLimits()) {
      EXPECT_EQ(entry.at("minimum").get<double>(), field.minimum) << field.name;
      EXPECT_EQ(entry.at("maximum").get<double>(), field.maximum) << field.name;
    } else {
      EXPECT_TRUE(entry.at("minimum").is_null()) << field.name;
    }
  }
  // The table form: a heading, then one line per field with its limits.
  const HostRun table = host("fields", "fields-table");
  ASSERT_EQ(table.status, 0) << table.err;
  EXPECT_EQ(table.out.rfind("FIELD ", 0), 0u);
  for (const ParameterField& field : kParameterFields)
    EXPECT_NE(table.out.find("\n" + std::string(field.name) + " "), std::string::npos) << field.name;
  EXPECT_NE(table.out.find("\narmCount "), std::string::npos);
  const std::string armLine = table.out.substr(table.out.find("\narmCount "), 120);
  EXPECT_NE(armLine.find("1 to 300"), std::string::npos) << armLine;
}

TEST_F(Conventions, SetAfterPresetChangesThePresetsRecord) {
  const HostRun preset = host("draw --seed 3 --preset Loops --json -" + pluginOption(), "preset");
  const HostRun changed = host("draw --seed 3 --preset Loops --set armCount=3 --json -" + pluginOption(), "preset-set");
  ASSERT_EQ(preset.status, 0) << preset.err;
  ASSERT_EQ(changed.status, 0) << changed.err;
  nlohmann::json before = nlohmann::json::parse(preset.out).at("record");
  nlohmann::json after = nlohmann::json::parse(changed.out).at("record");
  ASSERT_NE(before.at("armCount"), 3) << "the preset must differ from what --set asks";
  EXPECT_EQ(after.at("armCount"), 3);
  EXPECT_EQ(after.at("presetIndex"), before.at("presetIndex"));
  before.erase("armCount");
  after.erase("armCount");
  EXPECT_EQ(after, before);
}

TEST_F(Conventions, SuccessIsQuietUnlessVerboseAndNoOutputMeansSpiralsSvg) {
  const HostRun quiet = host("draw --seed 1 --svg" + quoted("q.svg") + pluginOption(), "quiet");
  ASSERT_EQ(quiet.status, 0);
  EXPECT_EQ(quiet.err, "");
  const HostRun verbose = host("draw -v --seed 1 --svg" + quoted("v.svg") + pluginOption(), "verbose");
  ASSERT_EQ(verbose.status, 0);
  EXPECT_NE(verbose.err.find("dialog \"Vrix_Spiral\""), std::string::npos) << verbose.err;
  EXPECT_EQ(slurp(path("q.svg")), slurp(path("v.svg")));

  // Never over an existing file: the next free numbered name.
  const HostRun first = hostHere("draw --seed 1" + pluginOption(), "default-1");
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(first.err, "spiral-host: wrote spirals.svg (no output was named)\n");
  EXPECT_EQ(slurp(path("spirals.svg")), slurp(path("q.svg")));
  const HostRun second = hostHere("draw --seed 1" + pluginOption(), "default-2");
  ASSERT_EQ(second.status, 0) << second.err;
  EXPECT_EQ(second.err, "spiral-host: wrote spirals-2.svg (no output was named)\n");
  EXPECT_EQ(slurp(path("spirals-2.svg")), slurp(path("q.svg")));
}

TEST_F(Conventions, AStyleIndexBeyondTheDocumentsStylesIsExplained) {
  write("one-style.json", R"([{"name": "only"}])");
  const HostRun run = host("draw --seed 3 --set randomStyle=1 --styles" + quoted("one-style.json") + " --svg" +
                               quoted("s.svg") + pluginOption(),
                           "styles");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("spiral-host: the host refused AI Art Style Suite/GetNthArtStyle: style "),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("was asked for; the document has 1 graphic style (0 to 0)"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(path("s.svg")));
}

TEST_F(Conventions, HelpWritesRangesPlainlyWithExamplesExitStatusesAndEnvironment) {
  const HostRun top = host("--help", "help");
  ASSERT_EQ(top.status, 0);
  const HostRun draw = host("draw --help", "help-draw");
  ASSERT_EQ(draw.status, 0);
  for (const std::string* text : {&top.out, &draw.out}) {
    EXPECT_NE(text->find("Exit status:"), std::string::npos);
    EXPECT_NE(text->find("SPIRAL_PROGRESS_DELAY_MS"), std::string::npos);
    EXPECT_NE(text->find("Examples:"), std::string::npos);
  }
  EXPECT_NE(draw.out.find("1 to 2400"), std::string::npos);
  for (const char* note : {"UINT", "FLOAT", "INT in", "NUMBER in", "18446744073709551615]"})
    EXPECT_EQ(draw.out.find(note), std::string::npos) << note;
}

TEST_F(Conventions, BatchesDrawEachSeedAndPresetIntoItsOwnFile) {
  const HostRun batch = host("draw --seed 4..6 --set spiralCount=2 --svg" + quoted("out-{seed}.svg") + pluginOption(),
                             "batch");
  ASSERT_EQ(batch.status, 0) << batch.err;
  EXPECT_EQ(batch.err, "");
  for (int seed = 4; seed <= 6; ++seed) {
    const HostRun one = host("draw --seed " + std::to_string(seed) + " --set spiralCount=2 --svg" +
                                 quoted("one-" + std::to_string(seed) + ".svg") + pluginOption(),
                             "batch-one");
    ASSERT_EQ(one.status, 0);
    EXPECT_EQ(slurp(path("out-" + std::to_string(seed) + ".svg")), slurp(path("one-" + std::to_string(seed) + ".svg")))
        << seed;
  }
  EXPECT_FALSE(fs::exists(path("out-7.svg")));

  const HostRun presets =
      host("draw --seed 1 --preset Loops --preset 'art sketch 3' --json" + quoted("{preset}.json") + pluginOption(),
           "batch-presets");
  ASSERT_EQ(presets.status, 0) << presets.err;
  EXPECT_EQ(nlohmann::json::parse(slurp(path("Loops.json"))).at("record").at("presetIndex"), 21);
  EXPECT_EQ(nlohmann::json::parse(slurp(path("art sketch 3.json"))).at("record").at("presetIndex"), 47);

  // A record from standard input serves every drawing of the batch.
  write("record.json", R"({"armCount": 6})");
  const HostRun piped = host("draw --no-dialog --seed 1..2 --params - --json" + quoted("in-{seed}.json") +
                                 pluginOption() + " <" + quoted("record.json"),
                             "batch-stdin");
  ASSERT_EQ(piped.status, 0) << piped.err;
  for (const char* name : {"in-1.json", "in-2.json"})
    EXPECT_EQ(nlohmann::json::parse(slurp(path(name))).at("record").at("armCount"), 6) << name;

  // Several drawings into one name, or to standard output, are refused before any is drawn.
  for (const std::string& arguments : {std::string("--seed 1..2 --svg") + quoted("same.svg"),
                                       std::string("--seed 1..2 --svg -"),
                                       std::string("--preset 1 --preset 2 --svg") + quoted("{seed}.svg"),
                                       std::string("--preset 1 2 --svg") + quoted("{preset}.svg")}) {
    const HostRun run = host("draw " + arguments + pluginOption(), "batch-bad");
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << arguments << ": " << run.err;
    EXPECT_TRUE(run.out.empty());
  }
  EXPECT_FALSE(fs::exists(path("same.svg")));
  EXPECT_FALSE(fs::exists(path("1.svg")));
}

// On a terminal (script(1) gives one) the progress line runs through
// writing and ends at 100 %.
TEST_F(Conventions, ProgressOnATerminalEndsAtOneHundredPercent) {
  if (std::system("script -V >/dev/null 2>&1") != 0) GTEST_SKIP() << "script(1) is not installed";
  const std::string log = path("tty.txt");
  const std::string command = "SPIRAL_PROGRESS_DELAY_MS=0 script -qec \"'" + std::string(SPIRAL_HOST_EXE) +
                              "' draw --seed 3 --no-dialog --set spiralCount=30 --set armCount=2000 --svg '" +
                              path("p.svg") + "'" + pluginOption() + "\" /dev/null >'" + log + "' 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);
  const std::string shown = slurp(log);
  EXPECT_NE(shown.find("drawing spiral"), std::string::npos) << shown;
  EXPECT_NE(shown.find("100 % done"), std::string::npos) << shown;
  EXPECT_EQ(shown.find("100 % drawing"), std::string::npos) << shown;  // 100 % only once all is written
}

}  // namespace
