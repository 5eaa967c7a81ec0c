// The record's persisted form: little-endian whatever the machine's byte
// order. Pure byte shuffling, shared with the host for record files.
#pragma once

#include "params/record/spiral_parameters.h"

void encodeParameters(const SpiralParameters& record, unsigned char out[kSpiralParametersSize]);
void decodeParameters(const unsigned char in[kSpiralParametersSize], SpiralParameters& record);
