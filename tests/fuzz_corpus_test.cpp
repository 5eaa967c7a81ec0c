// The fuzz target's seed corpus, replayed through the same entry function
// with the normal compiler on every test run: the defaults, every preset and
// the boundary values of every field must draw (or fail) cleanly.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "fuzz/fuzz_entry.h"
#include "params/parameter_fields.h"

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> corpusFiles() {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(SPIRAL_FUZZ_CORPUS))
    if (entry.is_regular_file()) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

std::vector<std::uint8_t> bytesOf(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST(FuzzCorpus, HoldsTheDefaultsEveryPresetAndEveryFieldsBoundaries) {
  const std::vector<fs::path> files = corpusFiles();
  auto has = [&](const std::string& name) {
    return std::any_of(files.begin(), files.end(), [&](const fs::path& f) { return f.filename() == name; });
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
  for (const fs::path& file : corpusFiles()) {
    const std::vector<std::uint8_t> bytes = bytesOf(file);
    const fuzz::Outcome outcome = fuzz::runInput(plugin, bytes.data(), bytes.size());
    EXPECT_TRUE(outcome.problems.empty()) << file.filename() << ": " << outcome.problems.front();
    drew += outcome.art > 0 ? 1 : 0;
  }
  // Most inputs are drawings, not refusals.
  EXPECT_GT(drew, static_cast<int>(corpusFiles().size()) / 2);
}

TEST(FuzzCorpus, ShortAndLongInputsAreTakenAsTheirFirst317Bytes) {
  const host::PluginFile plugin = host::scanPluginFile(SPIRAL_PLUGIN_FILE);
  EXPECT_TRUE(fuzz::runInput(plugin, nullptr, 0).problems.empty());
  const std::vector<std::uint8_t> defaults = bytesOf(fs::path(SPIRAL_FUZZ_CORPUS) / "defaults");
  std::vector<std::uint8_t> longer = defaults;
  longer.resize(4000, 0xFF);
  const fuzz::Outcome a = fuzz::runInput(plugin, defaults.data(), defaults.size());
  const fuzz::Outcome b = fuzz::runInput(plugin, longer.data(), longer.size());
  EXPECT_EQ(a.go, 0);
  EXPECT_EQ(a.art, b.art);
}

}  // namespace
