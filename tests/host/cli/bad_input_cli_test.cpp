// spiral-host given what an adversarial user gives it: folders, devices,
// outputs that collide or cannot be written, numbers out of range, control
// characters. Every case is one line on stderr and a status, never a crash,
// and never a damaged old output.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include <nlohmann/json.hpp>

#include "support/run_host.h"
#include "support/scratch_folder.h"

namespace fs = std::filesystem;

namespace {

HostRun host(const std::string& arguments, const std::string& tag) {
  return runSpiralHost(arguments, "bad-" + tag);
}

bool oneLine(const std::string& text) {
  return !text.empty() && text.back() == '\n' && std::count(text.begin(), text.end(), '\n') == 1;
}

class BadInput : public testing_support::ScratchFolderTest {
 protected:
  BadInput() : ScratchFolderTest("spiral-bad-input-") {}
};

TEST_F(BadInput, FoldersAndDevicesGivenAsInputsAreRefusedInOneLine) {
  const std::string folder = "'" + dir_.string() + "'";
  for (const std::string option : {"--params", "--plugin", "--swatches", "--styles"}) {
    for (const std::string& file : {folder, std::string("/dev/zero")}) {
      const HostRun run = host("draw " + option + " " + file + (option == "--plugin" ? "" : pluginOption()), "dir");
      EXPECT_EQ(run.status, 2) << option << " " << file << ": " << run.err;
      EXPECT_TRUE(oneLine(run.err)) << run.err;
      EXPECT_EQ(run.err.find("empty file"), std::string::npos) << run.err;
      const bool named = run.err.find("Is a directory") != std::string::npos ||
                         run.err.find("not a regular file") != std::string::npos;
      EXPECT_TRUE(named) << run.err;
    }
  }
}

TEST_F(BadInput, OutputsNamingOneFileAreAUsageError) {
  const std::string svg = write("one.svg", "old");
  const HostRun run =
      host("draw" + pluginOption() + " --svg '" + svg + "' --json '" + dir_.string() + "/./one.svg'", "same");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err, "spiral-host: --svg and --json name one file, '" + dir_.string() +
                         "/./one.svg'; give each output its own file\n");
  EXPECT_EQ(slurp(svg), "old");
}

// One output that cannot be written: the others keep their old bytes, no
// temporary is left, and the message gives the system's reason.
TEST_F(BadInput, AFailedOutputLeavesTheOtherOldFilesUntouched) {
  const std::string svg = write("kept.svg", "old svg");
  const std::string json = write("kept.json", "old json");
  const HostRun run = host("draw --seed 3" + pluginOption() + " --svg '" + svg + "' --json '" + json +
                               "' --save-params /dev/full",
                           "full");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("spiral-host: cannot write '/dev/full': No space left on device\n"), std::string::npos)
      << run.err;
  EXPECT_EQ(slurp(svg), "old svg");
  EXPECT_EQ(slurp(json), "old json");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2);

  // The same run with every output writable replaces them all.
  const HostRun good = host("draw --seed 3" + pluginOption() + " --svg '" + svg + "' --json '" + json +
                                "' --save-params '" + path("r.rec") + "'",
                            "full-ok");
  ASSERT_EQ(good.status, 0) << good.err;
  EXPECT_NE(slurp(svg).find("<svg"), std::string::npos);
  EXPECT_EQ(nlohmann::json::parse(slurp(json)).at("result"), 0);
  EXPECT_EQ(fs::file_size(path("r.rec")), 308u);
}

// A preview that failed used to stand as Go's result: a plain draw (through
// the options dialog) exited 0 with no art.
TEST_F(BadInput, AFailedDrawingThroughTheDialogExits1WithThePluginsMessage) {
  const std::string json = path("failed.json");
  const HostRun run = host("draw" + pluginOption() + " --fail 'AI Art Suite/NewArt=-108' --json '" + json + "'", "fail");
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_NE(run.err.find("there isn't enough memory (RAM) available. (code -108)"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(json)) << "a failed drawing writes nothing";
}

TEST_F(BadInput, NumbersOutOfRangeAreRefusedWithPlainBounds) {
  struct Case {
    std::string arguments, expected;
  };
  const std::string styles = write("big.json", R"([{"strokeWidth": 1e39}])");
  const std::string colour = write("colour.json", R"([{"fill": {"color": {"kind": 5, "c": [1, -1e39, 0]}}}])");
  const Case cases[] = {
      {"draw --seed -1", "--seed: needs a whole number from 0 to 18446744073709551615, got '-1'"},
      {"draw --seed 18446744073709551616", "from 0 to 18446744073709551615"},
      {"draw --memory-budget 1e400", "--memory-budget: needs a whole number from 1 to"},
      {"draw --memory-budget 0", "--memory-budget: needs a whole number from 1 to"},
      {"validate --records -5", "--records: needs a whole number from 0 to 2147483647"},
      {"draw --set closeSpiral=2", "field 'closeSpiral' needs 0/1, on/off or true/false, got '2'"},
      {"draw --styles '" + styles + "'", "\"strokeWidth\" is out of the float range"},
      {"draw --styles '" + colour + "'", "colour component 1 is out of the float range"},
  };
  for (const Case& c : cases) {
    const HostRun run = host(c.arguments + pluginOption(), "range");
    EXPECT_EQ(run.status, 2) << c.arguments << ": " << run.err;
    EXPECT_TRUE(oneLine(run.err)) << run.err;
    EXPECT_NE(run.err.find(c.expected), std::string::npos) << c.arguments << ": " << run.err;
    EXPECT_LT(run.err.size(), 200u) << run.err;
  }
  const HostRun top = host("draw --cancel --seed 18446744073709551615" + pluginOption(), "seed-max");
  EXPECT_EQ(top.status, 0) << top.err;
}

TEST_F(BadInput, ControlCharactersFromInputAreEscaped) {
  const HostRun field = host("draw --set \"$(printf 'arm\\033[2JCount\\nx=1')\"" + pluginOption(), "ctl");
  EXPECT_EQ(field.status, 2);
  EXPECT_EQ(field.err, "spiral-host: unknown field 'arm\\x1B[2JCount\\nx'\n");
  const HostRun file = host("draw --params \"$(printf '/no\\tsuch')\"" + pluginOption(), "ctl-file");
  EXPECT_EQ(file.status, 2);
  EXPECT_EQ(file.err, "spiral-host: cannot read record file '/no\\tsuch': No such file or directory\n");
}

// --plugin NAME without a folder: the library loaded must be ./NAME, the
// file whose resources were checked, not one of that name on the system's
// library path.
TEST_F(BadInput, APluginNamedWithoutAFolderLoadsTheCheckedFile) {
  fs::create_directories(path("cwd"));
  fs::create_directories(path("lib"));
  fs::copy_file(SPIRAL_PLUGIN_FILE, path("cwd/spiral-copy.spx"));
  // Another library of the same name, without the entry point.
  std::string other;
  for (const char* candidate : {"/lib/x86_64-linux-gnu/libm.so.6", "/usr/lib/x86_64-linux-gnu/libm.so.6",
                                "/lib/i386-linux-gnu/libm.so.6", "/lib64/libm.so.6"})
    if (fs::exists(candidate)) other = candidate;
  if (other.empty()) GTEST_SKIP() << "no libm to stand in for another library";
  fs::copy_file(other, path("lib/spiral-copy.spx"));
  const std::string out = path("about.out");
  const std::string command = "cd '" + path("cwd") + "' && LD_LIBRARY_PATH='" + path("lib") + "' '" +
                              SPIRAL_HOST_EXE + "' about --plugin spiral-copy.spx >'" + out + "' 2>&1";
  EXPECT_EQ(std::system(command.c_str()), 0) << slurp(out);
  EXPECT_EQ(slurp(out).substr(0, 7), "Spiral\n");
}

TEST_F(BadInput, ValidateOnlyThatMatchesNothingIsAnError) {
  const HostRun run = runSpiralHost("validate '" + std::string(SPIRAL_PLUGIN_FILE) + "' --only no-such-check", "only");
  EXPECT_EQ(run.status, 2) << run.out;
  EXPECT_NE(run.out.find("--only 'no-such-check' matches no check"), std::string::npos) << run.out;
}

}  // namespace
