#include "hostapp/validator/random_records.h"

#include <bit>
#include <cstring>
#include <limits>

#include "params/record/parameter_fields.h"
#include "params/record/record_codec.h"

namespace validator {
namespace {

class Draws {
 public:
  explicit Draws(std::uint64_t state) : state_(state) {}
  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // 0 .. n-1
  std::uint32_t below(std::uint32_t n) { return static_cast<std::uint32_t>(next() % n); }
  double unit() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }

 private:
  std::uint64_t state_;
};

constexpr int32_t kSpecialInts[] = {0,     1,     -1,    2,     3,     32766, 32767,
                                    32768, 65535, 65536, std::numeric_limits<int32_t>::min(),
                                    std::numeric_limits<int32_t>::min() + 1, std::numeric_limits<int32_t>::max(),
                                    std::numeric_limits<int32_t>::max() - 1};

const float kSpecialFloats[] = {0.0f,
                                -0.0f,
                                1.0f,
                                -1.0f,
                                0.5f,
                                100.0f,
                                1000.0f,
                                -1000.0f,
                                360.0f,
                                9999.0f,
                                1e-30f,
                                1e30f,
                                std::numeric_limits<float>::quiet_NaN(),
                                -std::numeric_limits<float>::quiet_NaN(),
                                std::numeric_limits<float>::signaling_NaN(),
                                std::numeric_limits<float>::infinity(),
                                -std::numeric_limits<float>::infinity(),
                                std::numeric_limits<float>::max(),
                                std::numeric_limits<float>::lowest(),
                                std::numeric_limits<float>::min(),
                                std::numeric_limits<float>::denorm_min()};

uint32_t drawBool(Draws& d) {
  const std::uint32_t pick = d.below(100);
  if (pick < 60) return d.below(2);
  if (pick < 85) return static_cast<uint32_t>(d.next());
  return static_cast<uint32_t>(kSpecialInts[d.below(std::size(kSpecialInts))]);
}

uint32_t drawInt(Draws& d) {
  const std::uint32_t pick = d.below(100);
  if (pick < 35) return static_cast<uint32_t>(static_cast<int32_t>(d.below(15)) - 2);
  if (pick < 50) return d.below(401);
  if (pick < 80) return static_cast<uint32_t>(d.next());
  return static_cast<uint32_t>(kSpecialInts[d.below(std::size(kSpecialInts))]);
}

uint32_t drawFloat(Draws& d) {
  const std::uint32_t pick = d.below(100);
  float value;
  if (pick < 35) {
    value = static_cast<float>(d.unit() * 600.0 - 300.0);
  } else if (pick < 50) {
    value = static_cast<float>(d.unit() * 20000.0 - 10000.0);
  } else if (pick < 80) {
    return static_cast<uint32_t>(d.next());
  } else {
    value = kSpecialFloats[d.below(std::size(kSpecialFloats))];
  }
  return std::bit_cast<uint32_t>(value);
}

}  // namespace

SpiralParameters randomRecord(std::uint64_t seed, std::uint64_t index) {
  Draws d(seed ^ (index * 0xD1B54A32D192ED03ull));
  d.next();
  unsigned char bytes[kSpiralParametersSize] = {};
  for (const ParameterField& field : kParameterFields) {
    uint32_t bits = 0;
    switch (field.kind) {
      case FieldKind::Bool: bits = drawBool(d); break;
      case FieldKind::Int:
      case FieldKind::Index: bits = drawInt(d); break;
      case FieldKind::Float: bits = drawFloat(d); break;
    }
    for (int k = 0; k < 4; ++k) bytes[field.offset + k] = static_cast<unsigned char>(bits >> (8 * k));
  }
  SpiralParameters record{};
  decodeParameters(bytes, record);
  // A drawn preview makes Go keep it and draw nothing; let most records draw.
  if (d.below(100) < 85) record.previewDrawn = 0;
  return record;
}

std::string recordHex(const SpiralParameters& record) {
  unsigned char bytes[kSpiralParametersSize];
  encodeParameters(record, bytes);
  static const char* digits = "0123456789abcdef";
  std::string hex;
  for (unsigned char b : bytes) {
    hex += digits[b >> 4];
    hex += digits[b & 15];
  }
  return hex;
}

}  // namespace validator
