// Art ids in the outputs follow the document, not the host's handle counter:
// a drawing made through any dialog history has the bytes of the same
// record drawn without a dialog.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "support/run_host.h"

namespace {

HostRun spiralHost(const std::string& arguments, const std::string& tag) {
  return runSpiralHost(arguments + pluginOption(), "art-numbers-" + tag);
}

std::string quoted(const std::string& path) { return " '" + path + "'"; }

// Random dialog scripts: arm counts and gaps set back and forth (each
// change a preview that is undone), some after a preset, some drawing into
// a new layer and making symbols (their ids too follow the document).
TEST(ArtNumbers, AnyDialogHistoryGivesTheBytesOfItsRecordDrawnAlone) {
  std::mt19937_64 rng(77);
  auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
  for (int c = 0; c < 24; ++c) {
    std::string script;
    for (int k = pick(1, 6); k > 0; --k) {
      if (!script.empty()) script += "; ";
      script += pick(0, 1) ? "set 4 " + std::to_string(pick(1, 12)) : "set 5 " + std::to_string(pick(20, 300));
    }
    const std::string seed = std::to_string(pick(1, 1000000));
    const std::string preset = c % 3 == 1 ? " --preset " + std::to_string(pick(1, 9)) : "";
    const std::string layered = c % 4 == 2 ? " --set newLayer=1 --set symbolize=1" : "";
    const std::string made = temp("art-numbers-" + std::to_string(c) + "-dialog.svg");
    const std::string record = temp("art-numbers-" + std::to_string(c) + ".json");
    const std::string alone = temp("art-numbers-" + std::to_string(c) + "-alone.svg");
    const HostRun a = spiralHost("draw --seed " + seed + " --set preview=1 --set spiralCount=2" + layered + preset +
                                     " --dialog '" + script + "' --svg" + quoted(made) + " --save-params" +
                                     quoted(record),
                                 "dialog");
    ASSERT_EQ(a.status, 0) << script << "\n" << a.err;
    const HostRun b = spiralHost("draw --no-dialog --seed " + seed + " --params" + quoted(record) + " --svg" +
                                     quoted(alone),
                                 "alone");
    ASSERT_EQ(b.status, 0) << b.err;
    const std::string text = slurp(made);
    EXPECT_NE(text.find("id=\"art-1\""), std::string::npos) << script;
    EXPECT_TRUE(text == slurp(alone)) << "case " << c << " '" << script << "'" << preset << ": " << made << " and "
                                      << alone << " differ";
  }
}

TEST(ArtNumbers, APresetDrawingIsRemadeFromItsSvg) {
  const std::string made = temp("art-numbers-preset.svg");
  const std::string again = temp("art-numbers-preset-again.svg");
  ASSERT_EQ(spiralHost("draw --seed 5 --set preview=1 --preset 3 --dialog 'set 4 9; set 4 4' --svg" + quoted(made),
                       "preset")
                .status,
            0);
  const HostRun b = spiralHost("draw --params" + quoted(made) + " --svg" + quoted(again), "preset-again");
  ASSERT_EQ(b.status, 0) << b.err;
  EXPECT_TRUE(slurp(made) == slurp(again));
}

}  // namespace
