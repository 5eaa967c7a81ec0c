// Parameter records as files and text: the 308-byte binary form the host
// stores, a JSON object keyed by field name, and FIELD=VALUE assignments.
// Every failure throws RecordError with a one-line message for the user.
#pragma once

#include <ostream>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "params/record/spiral_parameters.h"

namespace records {

class RecordError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The record's byte form (what the host keeps in the parameters handle and
// writes to a binary record file), and back; bytes of another size than a
// record's throw.
std::vector<unsigned char> recordBytes(const SpiralParameters& record);
SpiralParameters recordFromBytes(std::span<const unsigned char> bytes);

// Reads a record file (at most 1 MiB, a regular file). A name ending in
// ".json" is JSON, and so is text (no control bytes but blanks) beginning
// with '{' after blanks or a byte order mark: a parse error is reported as
// one. Otherwise a file of exactly 308 bytes is the binary form, and any
// other size is refused. JSON is bounded in size and nesting and names no
// field twice; fields not given keep their value in `base`.
SpiralParameters loadRecordFile(const std::string& path, const SpiralParameters& base);

// The same reading, of a record file's bytes that came by other means (a
// file opened in the browser) under the file's name.
SpiralParameters readRecord(std::string_view bytes, const std::string& fileName, const SpiralParameters& base);

// True when a record file of this name is written as JSON (".json").
bool isJsonRecordName(const std::string& path);

// The record as JSON text, or its bytes as they are.
void writeRecord(std::ostream& out, std::span<const unsigned char> bytes, bool json);

// Writes JSON when the name ends in ".json", else the bytes as they are; the
// file is replaced whole or not at all.
void saveRecordFile(const std::string& path, std::span<const unsigned char> bytes);

// Applies "field=value" (bool fields take 0/1/true/false/on/off only;
// blanks around the name and the value are ignored).
void applyAssignment(SpiralParameters& record, std::string_view assignment);

// Every field by name. Floats that are not finite become text: "inf",
// "-inf", "nan", or "nan:0xBITS" for a NaN of other bits, so that a record
// read back from its JSON is the same bit for bit.
nlohmann::json recordToJson(const SpiralParameters& record);

// Applies the fields of a JSON object; unknown names, wrong types and
// numbers out of their field's range throw. A bool field takes what
// applyAssignment takes: true/false, 0/1 or the texts "on", "off", "true",
// "false", "0", "1". A float field also takes null
// (NaN) and the texts of recordToJson.
void applyJson(SpiralParameters& record, const nlohmann::json& object);

}  // namespace records
