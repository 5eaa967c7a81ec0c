// The resource readers' seed corpus replayed through the fuzz target's entry
// function on every test run, with every truncation and some byte flips of
// each seed: each must end in resources or a refusal.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "fuzz/corpus_text.h"
#include "fuzz/resource_entry.h"
#include "hostapp/loader/plugin_loader.h"

namespace {

const std::vector<fuzz::CorpusInput>& seeds() {
  static const std::vector<fuzz::CorpusInput> inputs = fuzz::readCorpus(SPIRAL_RESOURCE_CORPUS);
  return inputs;
}

TEST(ResourceFuzzCorpus, SeedsReadWholeAndDamagedOnesAreRefused) {
  ASSERT_GT(seeds().size(), 10u);
  int whole = 0;
  for (const fuzz::CorpusInput& seed : seeds()) {
    const fuzz::ResourceOutcome outcome = fuzz::readResources(seed.bytes.data(), seed.bytes.size());
    if (seed.name == "elf64-wrapped-offset") {
      EXPECT_TRUE(outcome.refused);
    } else {
      EXPECT_FALSE(outcome.refused) << seed.name;
      EXPECT_EQ(outcome.resources, 1u) << seed.name;
      whole += outcome.parsed > 0 ? 1 : 0;
    }
  }
  EXPECT_GT(whole, 5);
}

TEST(ResourceFuzzCorpus, EveryTruncationAndByteFlipEndsInResourcesOrARefusal) {
  for (const fuzz::CorpusInput& seed : seeds()) {
    std::vector<std::uint8_t> bytes = seed.bytes;
    for (std::size_t size = 0; size <= bytes.size(); ++size) fuzz::readResources(bytes.data(), size);
    for (std::size_t at = 0; at < bytes.size(); at += 3) {
      const std::uint8_t kept = bytes[at];
      for (const std::uint8_t value : {std::uint8_t{0x00}, std::uint8_t{0xFF}, static_cast<std::uint8_t>(kept ^ 0x80)}) {
        bytes[at] = value;
        fuzz::readResources(bytes.data(), bytes.size());
      }
      bytes[at] = kept;
    }
  }
}

// The plug-in library as built reads through the same entry.
TEST(ResourceFuzzCorpus, TheBuiltLibraryReadsThroughTheEntry) {
  std::ifstream in(SPIRAL_PLUGIN_FILE, std::ios::binary);
  const std::vector<std::uint8_t> library{std::istreambuf_iterator<char>(in), {}};
  const fuzz::ResourceOutcome outcome = fuzz::readResources(library.data(), library.size());
  EXPECT_FALSE(outcome.refused);
  EXPECT_EQ(outcome.resources, host::scanPluginFile(SPIRAL_PLUGIN_FILE).resources.all().size());
  EXPECT_GT(outcome.parsed, 2u);
}

}  // namespace
