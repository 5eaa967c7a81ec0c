// The fuzz target's seed corpus, replayed through the same entry function
// with the normal compiler on every test run: the defaults, every preset and
// the boundary values of every field must draw (or fail) cleanly.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "fuzz/corpus_text.h"
#include "fuzz/fuzz_entry.h"
#include "params/record/parameter_fields.h"

namespace {

const std::vector<fuzz::CorpusInput>& corpus() {
  static const std::vector<fuzz::CorpusInput> inputs = fuzz::readCorpus(SPIRAL_FUZZ_CORPUS);
  return inputs;
}

TEST(FuzzCorpus, HoldsTheDefaultsEveryPresetAndEveryFieldsBoundaries) {
  auto has = [&](const std::string& name) {
    return std::any_of(corpus().begin(), corpus().end(), [&](const fuzz::CorpusInput& in) { return in.name == name; });
  };
  EXPECT_TRUE(has("defaults"));
  EXPECT_TRUE(has("preset-00") && has("preset-63"));
  for (const ParameterField& field : kParameterFields) {
    EXPECT_TRUE(has("field-" + std::string(field.name) + "-nan") || has("field-" + std::string(field.name) + "-int-max"))
        << field.name;
  }
}

TEST(FuzzCorpus, EveryInputRunsClean) {
  const host::PluginFile plugin = host::scanPluginFile(SPIRAL_PLUGIN_FILE);
  int drew = 0;
  for (const fuzz::CorpusInput& input : corpus()) {
    const fuzz::Outcome outcome = fuzz::runInput(plugin, input.bytes.data(), input.bytes.size());
    EXPECT_TRUE(outcome.problems.empty()) << input.name << ": " << outcome.problems.front();
    drew += outcome.art > 0 ? 1 : 0;
  }
  // Most inputs are drawings, not refusals.
  EXPECT_GT(drew, static_cast<int>(corpus().size()) / 2);
}

TEST(FuzzCorpus, TextLinesReadBackAndMalformedLinesAreNamed) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "spiral-corpus-text";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  const std::vector<std::uint8_t> bytes{0x00, 0x7f, 0x80, 0xff, 0x0a};
  std::ofstream(folder / "b.txt") << fuzz::corpusLine("second", bytes) << "\n\n";
  std::ofstream(folder / "a.txt") << fuzz::corpusLine("first", {}) << "\n";
  std::ofstream(folder / "ignored.bin") << "not a corpus line";
  const std::vector<fuzz::CorpusInput> inputs = fuzz::readCorpus(folder);
  ASSERT_EQ(inputs.size(), 2u);
  EXPECT_EQ(inputs[0].name, "first");
  EXPECT_TRUE(inputs[0].bytes.empty());
  EXPECT_EQ(inputs[1].name, "second");
  EXPECT_EQ(inputs[1].bytes, bytes);

  for (const char* bad : {"odd 0a1", "nohex", "digits 0g", " 00", "../up 00"}) {
    std::ofstream(folder / "c.txt") << "fine 00\n" << bad << "\n";
    try {
      fuzz::readCorpus(folder);
      ADD_FAILURE() << bad;
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find("c.txt:2"), std::string::npos) << e.what();
    }
  }
  std::filesystem::remove_all(folder);
}

TEST(FuzzCorpus, ShortAndLongInputsAreTakenAsTheirFirst317Bytes) {
  const host::PluginFile plugin = host::scanPluginFile(SPIRAL_PLUGIN_FILE);
  EXPECT_TRUE(fuzz::runInput(plugin, nullptr, 0).problems.empty());
  const auto seed = std::find_if(corpus().begin(), corpus().end(),
                                 [](const fuzz::CorpusInput& in) { return in.name == "defaults"; });
  ASSERT_NE(seed, corpus().end());
  const std::vector<std::uint8_t> defaults = seed->bytes;
  std::vector<std::uint8_t> longer = defaults;
  longer.resize(4000, 0xFF);
  const fuzz::Outcome a = fuzz::runInput(plugin, defaults.data(), defaults.size());
  const fuzz::Outcome b = fuzz::runInput(plugin, longer.data(), longer.size());
  EXPECT_EQ(a.go, 0);
  EXPECT_EQ(a.art, b.art);
}

}  // namespace
