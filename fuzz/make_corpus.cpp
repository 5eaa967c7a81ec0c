// Writes the fuzz target's seed corpus: the defaults, every preset, and for
// every field of the record its boundary values (the dialog's limits and
// just beyond them, the ends of its type, zero, NaN and the infinities) on a
// record that otherwise draws two small spirals, one input per line. Also
// unpacks a corpus folder into one file per input for libFuzzer, and turns
// an input the fuzzer found into a line for fuzz/corpus/found.txt:
//   spiral_make_corpus fuzz/corpus/seeds.txt
//   spiral_make_corpus --unpack fuzz/corpus DIRECTORY
//   spiral_make_corpus --line NAME INPUT_FILE >> fuzz/corpus/found.txt
// and writes the seeds of the resource readers' fuzz target (each resource
// of the plug-in's .res file alone, some inside small ELF files):
//   spiral_make_corpus --resources build/resources/spiral.res fuzz/resource-corpus/seeds.txt
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
#include "hostapp/model/page.h"
#include "hostapp/records/record_file.h"
#include "hostapp/resources/resource_file.h"
#include "params/record/default_parameters.h"
#include "params/record/parameter_fields.h"
#include "params/record/record_codec.h"

namespace {

namespace fs = std::filesystem;

// The centre of view 0 of a new document (the default page).
constexpr float kViewCentreH = host::kDefaultPageSize.x / 2;
constexpr float kViewCentreV = host::kDefaultPageSize.y / 2;

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
  const SpiralParameters defaults = defaultParameters(kViewCentreH, kViewCentreV);
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

// ---- Seeds of the resource readers ----------------------------------------

void putLittle(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint64_t value, std::size_t width) {
  if (bytes.size() < at + width) bytes.resize(at + width);
  for (std::size_t b = 0; b < width; ++b) bytes[at + b] = static_cast<std::uint8_t>(value >> (8 * b));
}

// A little-endian ELF file with a section name table and a .rsrc section
// holding `rsrc`, as a linker lays them out (the section table last).
std::vector<std::uint8_t> elfWith(const std::vector<std::uint8_t>& rsrc, bool is64) {
  const std::string names("\0.shstrtab\0.rsrc\0", 18);
  const std::size_t header = is64 ? 64 : 52, entry = is64 ? 64 : 40;
  std::vector<std::uint8_t> elf(header, 0);
  std::memcpy(elf.data(), "\x7f" "ELF", 4);
  elf[4] = is64 ? 2 : 1;
  elf[5] = 1;
  elf[6] = 1;
  const std::size_t namesAt = elf.size();
  elf.insert(elf.end(), names.begin(), names.end());
  const std::size_t rsrcAt = elf.size();
  elf.insert(elf.end(), rsrc.begin(), rsrc.end());
  while (elf.size() % 8) elf.push_back(0);
  const std::size_t table = elf.size();
  elf.resize(table + 3 * entry, 0);
  putLittle(elf, is64 ? 0x28 : 0x20, table, is64 ? 8 : 4);
  putLittle(elf, is64 ? 0x3A : 0x2E, entry, 2);
  putLittle(elf, is64 ? 0x3C : 0x30, 3, 2);
  putLittle(elf, is64 ? 0x3E : 0x32, 1, 2);
  const struct {
    std::uint32_t name, type;
    std::size_t offset, size;
  } sections[] = {{1, 3, namesAt, names.size()}, {11, 1, rsrcAt, rsrc.size()}};
  for (std::size_t k = 0; k < 2; ++k) {
    const std::size_t at = table + (k + 1) * entry;
    putLittle(elf, at, sections[k].name, 4);
    putLittle(elf, at + 4, sections[k].type, 4);
    putLittle(elf, at + (is64 ? 0x18 : 0x10), sections[k].offset, is64 ? 8 : 4);
    putLittle(elf, at + (is64 ? 0x20 : 0x14), sections[k].size, is64 ? 8 : 4);
  }
  return elf;
}

// One resource as a .res entry of its own, after the empty marker entry.
std::vector<std::uint8_t> resWith(const host::Resource& resource) {
  std::vector<std::uint8_t> res{0, 0, 0, 0, 32, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0};
  res.resize(32, 0);
  std::vector<std::uint8_t> header;
  auto name = [&](const host::ResourceName& n) {
    if (n.isNumber) {
      header.insert(header.end(), {0xFF, 0xFF, static_cast<std::uint8_t>(n.number), static_cast<std::uint8_t>(n.number >> 8)});
      return;
    }
    for (char c : n.text) header.insert(header.end(), {static_cast<std::uint8_t>(c), 0});
    header.insert(header.end(), {0, 0});
  };
  name(resource.type);
  name(resource.name);
  while (header.size() % 4) header.push_back(0);
  header.resize(header.size() + 16, 0);
  putLittle(header, header.size() - 10, resource.language, 2);
  const std::size_t at = res.size();
  putLittle(res, at, resource.data.size(), 4);
  putLittle(res, at + 4, header.size() + 8, 4);
  res.insert(res.end(), header.begin(), header.end());
  res.insert(res.end(), resource.data.begin(), resource.data.end());
  while (res.size() % 4) res.push_back(0);
  return res;
}

int writeResourceSeeds(const fs::path& resFile, const fs::path& file) {
  std::ifstream in(resFile, std::ios::binary);
  const std::vector<std::uint8_t> res{std::istreambuf_iterator<char>(in), {}};
  if (res.empty()) {
    std::fprintf(stderr, "spiral_make_corpus: cannot read %s\n", resFile.c_str());
    return 1;
  }
  const host::ResourceTable table = host::ResourceTable::parse(res);
  std::ofstream out(file);
  int inputs = 0;
  auto put = [&](const std::string& name, const std::vector<std::uint8_t>& bytes) {
    out << fuzz::corpusLine(name, bytes) << '\n';
    ++inputs;
  };
  // Each resource alone, and the kinds the readers parse inside an ELF file.
  for (std::size_t k = 0; k < table.all().size(); ++k) {
    const host::Resource& resource = table.all()[k];
    char name[64];
    std::snprintf(name, sizeof name, "res-%02zu-%s-%s", k, resource.type.describe().c_str(),
                  resource.name.describe().c_str());
    std::string plain(name);
    std::erase(plain, '"');
    put(plain, resWith(resource));
    if (k == 0 || resource.type == host::ResourceName::of(host::kDialogResource)) {
      put("elf64-" + plain, elfWith(resWith(resource), true));
      put("elf32-" + plain, elfWith(resWith(resource), false));
    }
  }
  // A section table offset near 2^64, whose bound checks must not wrap.
  std::vector<std::uint8_t> wrapped = elfWith(resWith(table.all().front()), true);
  putLittle(wrapped, 0x28, ~std::uint64_t{15}, 8);
  put("elf64-wrapped-offset", wrapped);
  if (!out.flush()) {
    std::fprintf(stderr, "spiral_make_corpus: cannot write %s\n", file.c_str());
    return 1;
  }
  std::printf("%d inputs written to %s\n", inputs, file.c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1) return writeSeeds(args[0]);
    if (args.size() == 3 && args[0] == "--unpack") return unpack(args[1], args[2]);
    if (args.size() == 3 && args[0] == "--line") return line(args[1], args[2]);
    if (args.size() == 3 && args[0] == "--resources") return writeResourceSeeds(args[1], args[2]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "spiral_make_corpus: %s\n", e.what());
    return 1;
  }
  std::fprintf(stderr,
               "usage: spiral_make_corpus FILE | --unpack CORPUS_FOLDER DIRECTORY | --line NAME INPUT_FILE | "
               "--resources RES_FILE FILE\n");
  return 2;
}
