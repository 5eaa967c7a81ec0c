#include "params/record/record_codec.h"

#include <cstring>

// Every field is 4 bytes, so the record is a run of little-endian words.
void encodeParameters(const SpiralParameters& record, unsigned char out[kSpiralParametersSize]) {
  unsigned char raw[kSpiralParametersSize];
  std::memcpy(raw, &record, sizeof raw);
  for (std::size_t k = 0; k < kSpiralParametersSize; k += 4) {
    uint32_t word;
    std::memcpy(&word, raw + k, 4);
    for (int b = 0; b < 4; ++b) out[k + b] = static_cast<unsigned char>(word >> (8 * b));
  }
}

void decodeParameters(const unsigned char in[kSpiralParametersSize], SpiralParameters& record) {
  unsigned char raw[kSpiralParametersSize];
  for (std::size_t k = 0; k < kSpiralParametersSize; k += 4) {
    uint32_t word = 0;
    for (int b = 0; b < 4; ++b) word |= static_cast<uint32_t>(in[k + b]) << (8 * b);
    std::memcpy(raw + k, &word, 4);
  }
  std::memcpy(&record, raw, sizeof raw);
}
