// Random parameter records for the validator's record fuzzing: every field
// drawn over its whole type (any 32-bit pattern, so NaN, infinities and
// denormals for the floats), mixed with boundary values and with values a
// user could set, so that both the edges and real drawings are reached.
#pragma once

#include <cstdint>
#include <string>

#include "params/record/spiral_parameters.h"

namespace validator {

// Record `index` of the sequence `seed`: the same pair gives the same record.
SpiralParameters randomRecord(std::uint64_t seed, std::uint64_t index);

// The record's 308 bytes in hex, for a report that replays.
std::string recordHex(const SpiralParameters& record);

}  // namespace validator
