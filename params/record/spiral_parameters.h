// The filter's parameter record: 77 little-endian fields of 4 bytes, 308
// bytes, stored by the host as raw bytes between runs. Field k lies at offset
// 4k; the record has no header and no padding. The fields are those of
// parameter_fields.h, in its order.
#pragma once

#include <cstddef>
#include <cstdint>

#include "params/record/parameter_fields.h"

struct SpiralParameters {
#define SPIRAL_FIELD_MEMBER(name, kind, initial, minimum, maximum, meaning) FieldType<FieldKind::kind>::type name;
  SPIRAL_PARAMETER_FIELDS(SPIRAL_FIELD_MEMBER)
#undef SPIRAL_FIELD_MEMBER
};

static_assert(sizeof(SpiralParameters) == kSpiralParametersSize);
static_assert(kSpiralParametersSize == 308);
static_assert(alignof(SpiralParameters) == 4);
#define SPIRAL_FIELD_CHECK(name, kind, initial, minimum, maximum, meaning)                            \
  static_assert(sizeof(SpiralParameters::name) == 4);                                      \
  static_assert(offsetof(SpiralParameters, name) == 4 * static_cast<std::size_t>(FieldIndex::name));
SPIRAL_PARAMETER_FIELDS(SPIRAL_FIELD_CHECK)
#undef SPIRAL_FIELD_CHECK
