// Writes the fuzz target's seed corpus: the defaults, every preset, and for
// every field of the record its boundary values (the dialog's limits and
// just beyond them, the ends of its type, zero, NaN and the infinities) on a
// record that otherwise draws two small spirals, one input per line. Also
// unpacks a corpus folder into one file per input for libFuzzer, and turns
// an input the fuzzer found into a line for fuzz/corpus/found.txt:
//   spiral_make_corpus fuzz/corpus/seeds.txt
//   spiral_make_corpus --unpack fuzz/corpus DIRECTORY
//   spiral_make_corpus --line NAME INPUT_FILE >> fuzz/corpus/found.txt
#include <bit>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "dialog/item_table.h"
#include "dialog/record_actions.h"
#include "fuzz/corpus_text.h"
#include "fuzz/fuzz_entry.h"
#include "hostapp/records/record_file.h"
#include "params/parameter_fields.h"

namespace {

namespace fs = std::filesystem;

// The centre of view 0 of a new document (a 612 x 792 page).
constexpr float kViewCentreH = 306.0f;
constexpr float kViewCentreV = 396.0f;

void writeInput(std::ostream& out, const std::string& name, const SpiralParameters& record, std::uint64_t seed,
                int colourModel) {
  std::vector<std::uint8_t> bytes(fuzz::kInputSize, 0);
  encodeParameters(record, bytes.data());
  for (int k = 0; k < 8; ++k) bytes[fuzz::kSeedOffset + k] = static_cast<std::uint8_t>(seed >> (8 * k));
  bytes[fuzz::kColourModelOffset] = static_cast<std::uint8_t>(colourModel);
  out << fuzz::corpusLine(name, bytes) << '\n';
}

void setWord(SpiralParameters& record, std::size_t offset, std::uint32_t bits) {
  unsigned char bytes[kSpiralParametersSize];
  encodeParameters(record, bytes);
  for (int k = 0; k < 4; ++k) bytes[offset + k] = static_cast<unsigned char>(bits >> (8 * k));
  decodeParameters(bytes, record);
}

// The dialog limits of the field at `offset`, when an item edits it.
const ItemSpec* itemFor(std::size_t offset) {
  SpiralParameters r{};
  const auto* base = reinterpret_cast<const char*>(&r);
  for (const ItemSpec& spec : kOptionItems) {
    if (spec.kind != ItemKind::IntSpinEdit && spec.kind != ItemKind::FloatSpinEdit) continue;
    const char* field = spec.intField ? reinterpret_cast<const char*>(&(r.*spec.intField))
                                      : reinterpret_cast<const char*>(&(r.*spec.floatField));
    if (static_cast<std::size_t>(field - base) == offset) return &spec;
  }
  return nullptr;
}

struct Value {
  std::string name;
  std::uint32_t bits;
};

std::uint32_t intBits(long long v) { return static_cast<std::uint32_t>(static_cast<std::int32_t>(v)); }
std::uint32_t floatBits(float v) { return std::bit_cast<std::uint32_t>(v); }

std::vector<Value> boundaryValues(const ParameterField& field) {
  std::vector<Value> values;
  const ItemSpec* spec = itemFor(field.offset);
  if (field.kind == FieldKind::Float) {
    using L = std::numeric_limits<float>;
    values = {{"nan", floatBits(L::quiet_NaN())},   {"neg-nan", floatBits(-L::quiet_NaN())},
              {"inf", floatBits(L::infinity())},    {"neg-inf", floatBits(-L::infinity())},
              {"max", floatBits(L::max())},         {"lowest", floatBits(L::lowest())},
              {"denorm", floatBits(L::denorm_min())}, {"zero", floatBits(0.0f)},
              {"neg-zero", floatBits(-0.0f)}};
    if (spec) {
      const auto lo = static_cast<float>(spec->minimum), hi = static_cast<float>(spec->maximum);
      values.push_back({"min", floatBits(lo)});
      values.push_back({"max-limit", floatBits(hi)});
      values.push_back({"below-min", floatBits(lo - 1.0f)});
      values.push_back({"above-max", floatBits(hi + 1.0f)});
    }
  } else {
    using L = std::numeric_limits<std::int32_t>;
    values = {{"int-min", intBits(L::min())}, {"minus-one", intBits(-1)}, {"zero", 0u},
              {"one", 1u},                    {"int-max", intBits(L::max())}};
    if (field.kind != FieldKind::Bool) {
      values.push_back({"32767", 32767u});
      values.push_back({"32768", 32768u});
    } else {
      values.push_back({"two", 2u});
    }
    if (spec) {
      const auto lo = static_cast<long long>(spec->minimum), hi = static_cast<long long>(spec->maximum);
      values.push_back({"min", intBits(lo)});
      values.push_back({"max-limit", intBits(hi)});
      values.push_back({"below-min", intBits(lo - 1)});
      values.push_back({"above-max", intBits(hi + 1)});
    }
  }
  return values;
}

int writeSeeds(const fs::path& file) {
  std::ofstream out(file);
  const SpiralParameters defaults = records::defaultRecord(kViewCentreH, kViewCentreV);
  int inputs = 0;
  writeInput(out, "defaults", defaults, 1, 1);
  ++inputs;
  for (int32_t i = 0; i < kPresetCount; ++i) {
    SpiralParameters record = defaults;
    writePresetBase(record, i, defaults);
    applyPresetRow(record, i);
    char name[32];
    std::snprintf(name, sizeof name, "preset-%02d", i);
    writeInput(out, name, record, static_cast<std::uint64_t>(i) + 1, i % 3);
    ++inputs;
  }
  SpiralParameters small = defaults;
  small.spiralCount = 2;
  small.armCount = 4;
  small.armGap = 40.0f;
  for (const ParameterField& field : kParameterFields) {
    for (const Value& value : boundaryValues(field)) {
      SpiralParameters record = small;
      setWord(record, field.offset, value.bits);
      writeInput(out, "field-" + std::string(field.name) + "-" + value.name, record, field.offset + 1, 1);
      ++inputs;
    }
  }
  if (!out.flush()) {
    std::fprintf(stderr, "spiral_make_corpus: cannot write %s\n", file.c_str());
    return 1;
  }
  std::printf("%d inputs written to %s\n", inputs, file.c_str());
  return 0;
}

int unpack(const fs::path& corpus, const fs::path& dir) {
  fs::create_directories(dir);
  const std::vector<fuzz::CorpusInput> inputs = fuzz::readCorpus(corpus);
  for (const fuzz::CorpusInput& input : inputs) {
    std::ofstream out(dir / input.name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(input.bytes.data()), static_cast<std::streamsize>(input.bytes.size()));
    if (!out.flush()) {
      std::fprintf(stderr, "spiral_make_corpus: cannot write %s\n", (dir / input.name).c_str());
      return 1;
    }
  }
  std::printf("%zu inputs unpacked to %s\n", inputs.size(), dir.c_str());
  return 0;
}

int line(const std::string& name, const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "spiral_make_corpus: cannot read %s\n", file.c_str());
    return 1;
  }
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
  std::cout << fuzz::corpusLine(name, bytes) << '\n';
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1) return writeSeeds(args[0]);
    if (args.size() == 3 && args[0] == "--unpack") return unpack(args[1], args[2]);
    if (args.size() == 3 && args[0] == "--line") return line(args[1], args[2]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "spiral_make_corpus: %s\n", e.what());
    return 1;
  }
  std::fprintf(stderr,
               "usage: spiral_make_corpus FILE | --unpack CORPUS_FOLDER DIRECTORY | --line NAME INPUT_FILE\n");
  return 2;
}
