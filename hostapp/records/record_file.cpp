#include "hostapp/records/record_file.h"

#include <bit>
#include <cerrno>
#include <charconv>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <optional>
#include <sstream>

#include "hostapp/io/bounded_json.h"
#include "hostapp/io/file_input.h"
#include "hostapp/io/suggestions.h"
#include "hostapp/io/output_set.h"
#include "params/record/parameter_fields.h"
#include "params/record/record_codec.h"

namespace records {
namespace {

int32_t* intField(SpiralParameters& r, const ParameterField& f) {
  return reinterpret_cast<int32_t*>(reinterpret_cast<unsigned char*>(&r) + f.offset);
}
float* floatField(SpiralParameters& r, const ParameterField& f) {
  return reinterpret_cast<float*>(reinterpret_cast<unsigned char*>(&r) + f.offset);
}
int32_t intField(const SpiralParameters& r, const ParameterField& f) {
  int32_t v;
  std::memcpy(&v, reinterpret_cast<const unsigned char*>(&r) + f.offset, 4);
  return v;
}
float floatField(const SpiralParameters& r, const ParameterField& f) {
  float v;
  std::memcpy(&v, reinterpret_cast<const unsigned char*>(&r) + f.offset, 4);
  return v;
}

const ParameterField& requireField(std::string_view name) {
  const ParameterField* field = findParameterField(name);
  if (!field) {
    std::vector<std::string> names;
    for (const ParameterField& known : kParameterFields) names.emplace_back(known.name);
    throw RecordError("unknown field '" + hostio::excerpt(name) + "'" +
                      hostio::didYouMean(hostio::nearestNames(name, names)));
  }
  return *field;
}

bool endsWith(const std::string& s, std::string_view suffix) {
  return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string readWholeFile(const std::string& path) {
  try {
    return hostio::readInputFile(path, hostio::kRecordInput);
  } catch (const hostio::InputError& e) {
    throw RecordError(e.what());
  }
}

std::string_view withoutBom(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  return bytes;
}

// Text that begins with '{' after blanks (and a byte order mark): no NUL or
// other control byte but blanks. A binary record holds small integers, so
// its bytes are never all text like this in practice.
bool isJsonText(std::string_view bytes) {
  bytes = withoutBom(bytes);
  const std::size_t first = bytes.find_first_not_of(" \t\n\r");
  if (first == std::string_view::npos || bytes[first] != '{') return false;
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if ((b < 0x20 && c != ' ' && c != '\t' && c != '\n' && c != '\r') || b == 0x7F) return false;
  }
  return true;
}

std::string_view trimBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

int32_t parseInt(std::string_view name, std::string_view text) {
  int64_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < std::numeric_limits<int32_t>::min() ||
      value > std::numeric_limits<int32_t>::max())
    throw RecordError("field '" + std::string(name) + "' needs a 32-bit integer, got '" + hostio::excerpt(text) +
                      "'");
  return static_cast<int32_t>(value);
}

// A number given for a float field: beyond the float range it cannot be
// stored (the conversion would be undefined), so it is refused.
float toFloatField(std::string_view name, double value) {
  if (std::isfinite(value) && std::fabs(value) > std::numeric_limits<float>::max())
    throw RecordError("field '" + std::string(name) + "' is out of the float range");
  return static_cast<float>(value);
}

constexpr uint32_t kQuietNanBits = 0x7FC00000u;

// JSON has no infinities or NaN: they are written as text, so that every
// record survives a round trip through JSON bit for bit.
nlohmann::json nonFiniteToJson(float v) {
  if (std::isinf(v)) return v > 0 ? "inf" : "-inf";
  const uint32_t bits = std::bit_cast<uint32_t>(v);
  if (bits == kQuietNanBits) return "nan";
  char text[24];
  std::snprintf(text, sizeof text, "nan:0x%08" PRIx32, bits);
  return text;
}

// "inf", "-inf", "nan" or "nan:0xBITS"; nullopt for any other text.
std::optional<float> nonFiniteFromText(const std::string& text) {
  if (text == "inf" || text == "+inf") return std::numeric_limits<float>::infinity();
  if (text == "-inf") return -std::numeric_limits<float>::infinity();
  if (text == "nan" || text == "NaN") return std::bit_cast<float>(kQuietNanBits);
  if (text.rfind("nan:0x", 0) == 0 && text.size() > 6 && text.size() <= 14) {
    uint32_t bits = 0;
    const auto [end, ec] = std::from_chars(text.data() + 6, text.data() + text.size(), bits, 16);
    const float v = std::bit_cast<float>(bits);
    if (ec == std::errc() && end == text.data() + text.size() && std::isnan(v)) return v;
  }
  return std::nullopt;
}

float parseFloat(std::string_view name, std::string_view text) {
  const std::string s(text);
  if (const std::optional<float> special = nonFiniteFromText(s)) return *special;
  std::istringstream in(s);
  in.imbue(std::locale::classic());
  double value = 0;
  in >> value;
  if (s.empty() || in.fail() || !in.eof())
    throw RecordError("field '" + std::string(name) + "' needs a number, got '" + hostio::excerpt(s) + "'");
  return toFloatField(name, value);
}

// A bool field takes what --set takes: true/false, 0/1, and the texts
// "on"/"off", "true"/"false", "0"/"1".
int32_t jsonBool(const std::string& name, const nlohmann::json& value) {
  if (value.is_boolean()) return value.get<bool>() ? 1 : 0;
  if (value.is_number_integer()) {
    if (value == 0) return 0;
    if (value == 1) return 1;
  } else if (value.is_string()) {
    const std::string& text = value.get_ref<const std::string&>();
    if (text == "1" || text == "true" || text == "on") return 1;
    if (text == "0" || text == "false" || text == "off") return 0;
  }
  throw RecordError("field '" + name + "' needs 0/1, on/off or true/false");
}

}  // namespace

std::vector<unsigned char> recordBytes(const SpiralParameters& record) {
  std::vector<unsigned char> bytes(kSpiralParametersSize);
  encodeParameters(record, bytes.data());
  return bytes;
}

SpiralParameters recordFromBytes(std::span<const unsigned char> bytes) {
  if (bytes.size() != kSpiralParametersSize)
    throw RecordError("a record is " + std::to_string(kSpiralParametersSize) + " bytes, not " +
                      std::to_string(bytes.size()));
  SpiralParameters record{};
  decodeParameters(bytes.data(), record);
  return record;
}

SpiralParameters loadRecordFile(const std::string& path, const SpiralParameters& base) {
  return readRecord(readWholeFile(path), path, base);
}

SpiralParameters readRecord(std::string_view bytes, const std::string& fileName, const SpiralParameters& base) {
  const std::string name = hostio::quotedPath(fileName);
  if (bytes.size() > hostio::kRecordInput.maxBytes) {
    throw RecordError("record file " + name + " holds " + std::to_string(bytes.size()) + " bytes, more than " +
                      std::to_string(hostio::kRecordInput.maxBytes));
  }
  // Reads `bytes` as a JSON record into `record`; the reason when they are not one.
  SpiralParameters record = base;
  auto readJson = [&]() -> std::optional<std::string> {
    nlohmann::json object;
    try {
      object = hostio::parseBoundedJson(bytes);
    } catch (const hostio::JsonLimitError& e) {
      return std::string(" is refused: ") + e.what();
    } catch (const nlohmann::json::exception& e) {  // syntax, and numbers beyond a double
      return " is not valid JSON: " + hostio::excerpt(e.what(), 400);
    }
    try {
      record = base;
      applyJson(record, object);
    } catch (const RecordError& e) {
      return std::string(": ") + e.what();
    }
    return std::nullopt;
  };
  // JSON is told from the binary form by content: text that begins with '{'
  // is JSON (a control byte, which JSON never holds, makes it binary), and
  // so is any file whose name ends in ".json". The binary form is exactly
  // 308 bytes of any other value.
  const bool json = isJsonRecordName(fileName) || isJsonText(bytes);
  if (!json && bytes.size() == kSpiralParametersSize) {
    decodeParameters(reinterpret_cast<const unsigned char*>(bytes.data()), record);
    return record;
  }
  if (json) {
    if (const auto problem = readJson()) {
      throw RecordError("record file " + name + *problem);
    }
    return record;
  }
  throw RecordError("record file " + name + " holds " + std::to_string(bytes.size()) +
                    " bytes; a binary record is exactly " + std::to_string(kSpiralParametersSize));
}

void writeRecord(std::ostream& out, std::span<const unsigned char> bytes, bool json) {
  if (json) {
    out << recordToJson(recordFromBytes(bytes)).dump(2) << '\n';
  } else {
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
}

bool isJsonRecordName(const std::string& path) { return endsWith(path, ".json"); }

void saveRecordFile(const std::string& path, std::span<const unsigned char> bytes) {
  try {
    hostio::OutputSet outputs;
    outputs.claim(path, "--save-params");
    writeRecord(outputs.open(path), bytes, isJsonRecordName(path));
    outputs.commit();
  } catch (const hostio::OutputError& e) {
    throw RecordError(e.what());
  }
}

void applyAssignment(SpiralParameters& record, std::string_view assignment) {
  const std::size_t eq = assignment.find('=');
  if (eq == std::string_view::npos || eq == 0)
    throw RecordError("expected FIELD=VALUE, got '" + hostio::excerpt(assignment) + "'");
  // Blanks around the name and the value are ignored alike for every kind.
  const std::string_view name = trimBlanks(assignment.substr(0, eq));
  const std::string_view text = trimBlanks(assignment.substr(eq + 1));
  const ParameterField& field = requireField(name);
  switch (field.kind) {
    case FieldKind::Float: *floatField(record, field) = parseFloat(name, text); break;
    case FieldKind::Bool:
      if (text == "1" || text == "true" || text == "on") {
        *intField(record, field) = 1;
      } else if (text == "0" || text == "false" || text == "off") {
        *intField(record, field) = 0;
      } else {
        throw RecordError("field '" + std::string(name) + "' needs 0/1, on/off or true/false, got '" +
                          hostio::excerpt(text) + "'");
      }
      break;
    case FieldKind::Int:
    case FieldKind::Index: *intField(record, field) = parseInt(name, text); break;
  }
}

nlohmann::json recordToJson(const SpiralParameters& record) {
  nlohmann::json object = nlohmann::json::object();
  for (const ParameterField& field : kParameterFields) {
    const std::string name(field.name);
    if (field.kind == FieldKind::Float) {
      const float v = floatField(record, field);
      object[name] = std::isfinite(v) ? nlohmann::json(v) : nonFiniteToJson(v);
    } else {
      object[name] = intField(record, field);
    }
  }
  return object;
}

void applyJson(SpiralParameters& record, const nlohmann::json& object) {
  if (!object.is_object()) throw RecordError("a record is a JSON object of fields");
  for (const auto& [name, value] : object.items()) {
    const ParameterField& field = requireField(name);
    if (field.kind == FieldKind::Float) {
      if (value.is_null()) {
        *floatField(record, field) = std::numeric_limits<float>::quiet_NaN();
      } else if (value.is_number()) {
        *floatField(record, field) = toFloatField(name, value.get<double>());
      } else if (value.is_string() && nonFiniteFromText(value.get<std::string>())) {
        *floatField(record, field) = *nonFiniteFromText(value.get<std::string>());
      } else {
        throw RecordError("field '" + name + "' needs a number");
      }
      continue;
    }
    if (field.kind == FieldKind::Bool) {
      *intField(record, field) = jsonBool(name, value);
      continue;
    }
    if (!value.is_number_integer())
      throw RecordError("field '" + name + "' needs an integer");
    // Unsigned numbers beyond int64 would wrap when read as signed.
    if (value.is_number_unsigned() && value.get<uint64_t>() > uint64_t{std::numeric_limits<int32_t>::max()})
      throw RecordError("field '" + name + "' is out of the 32-bit range");
    const int64_t v = value.get<int64_t>();
    if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
      throw RecordError("field '" + name + "' is out of the 32-bit range");
    *intField(record, field) = static_cast<int32_t>(v);
  }
}

}  // namespace records
