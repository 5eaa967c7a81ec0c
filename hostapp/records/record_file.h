// Parameter records as files and text: the 308-byte binary form the host
// stores, a JSON object keyed by field name, and FIELD=VALUE assignments.
// Every failure throws RecordError with a one-line message for the user.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "params/spiral_parameters.h"

namespace records {

class RecordError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The record a new filter instance starts with, centred 100 points left of
// the given view centre (what the plug-in writes on first use).
SpiralParameters defaultRecord(float viewCentreH, float viewCentreV);

// Reads a record file: JSON when the name ends in ".json" or the text starts
// with '{', else the binary form, which must be exactly 308 bytes. JSON
// fields not given keep their value in `base`.
SpiralParameters loadRecordFile(const std::string& path, const SpiralParameters& base);

// Writes JSON when the name ends in ".json", else the binary form.
void saveRecordFile(const std::string& path, const SpiralParameters& record);

// Applies "field=value" (bool fields take 0/1/true/false/on/off).
void applyAssignment(SpiralParameters& record, std::string_view assignment);

// Every field by name. Floats that are not finite become text: "inf",
// "-inf", "nan", or "nan:0xBITS" for a NaN of other bits, so that a record
// read back from its JSON is the same bit for bit.
nlohmann::json recordToJson(const SpiralParameters& record);

// Applies the fields of a JSON object; unknown names, wrong types and
// numbers out of their field's range throw. A float field also takes null
// (NaN) and the texts of recordToJson.
void applyJson(SpiralParameters& record, const nlohmann::json& object);

}  // namespace records
