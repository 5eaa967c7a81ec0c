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

#include "params/parameter_fields.h"

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
  if (!field) throw RecordError("unknown field '" + std::string(name) + "'");
  return *field;
}

bool endsWith(const std::string& s, std::string_view suffix) {
  return s.size() >= suffix.size() && s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string readWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw RecordError("cannot open record file '" + path + "': " + std::strerror(errno));
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool looksLikeJson(const std::string& bytes) {
  for (char c : bytes) {
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r') continue;
    return c == '{';
  }
  return false;
}

int32_t parseInt(std::string_view name, std::string_view text) {
  int64_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value < std::numeric_limits<int32_t>::min() ||
      value > std::numeric_limits<int32_t>::max())
    throw RecordError("field '" + std::string(name) + "' needs a 32-bit integer, got '" + std::string(text) + "'");
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
    throw RecordError("field '" + std::string(name) + "' needs a number, got '" + s + "'");
  return toFloatField(name, value);
}

}  // namespace

SpiralParameters defaultRecord(float viewCentreH, float viewCentreV) {
  SpiralParameters r{};
  r.preview = 1;
  r.randomSketchShift = 1;
  r.randomSketchWidth = 1;
  r.activePage = 1;
  r.maxPoints = 9999;
  r.armCount = 10;
  r.spiralCount = 1;
  r.viewZoom = 100.0f;
  r.decayAccumulate = 100.0f;
  r.armCurveFactor1 = 100.0f;
  r.armCurveFactor2 = 100.0f;
  r.curvature1 = 33.0f;
  r.curvature2 = 33.0f;
  r.decay = 95.0f;
  r.armGap = 200.0f;
  r.centerX = static_cast<float>(static_cast<double>(viewCentreH) - 100.0);
  r.centerY = viewCentreV;
  r.scaleH = 100.0f;
  r.scaleV = 100.0f;
  r.pointFactor = 1000.0f;
  r.sketchShift = 5.0f;
  r.offsetCount = 1;
  return r;
}

SpiralParameters loadRecordFile(const std::string& path, const SpiralParameters& base) {
  const std::string bytes = readWholeFile(path);
  SpiralParameters record = base;
  if (endsWith(path, ".json") || looksLikeJson(bytes)) {
    nlohmann::json object;
    try {
      object = nlohmann::json::parse(bytes);
    } catch (const nlohmann::json::exception& e) {  // syntax, and numbers beyond a double
      throw RecordError("record file '" + path + "' is not valid JSON: " + e.what());
    }
    try {
      applyJson(record, object);
    } catch (const RecordError& e) {
      throw RecordError("record file '" + path + "': " + e.what());
    }
    return record;
  }
  if (bytes.size() != kSpiralParametersSize)
    throw RecordError("record file '" + path + "' holds " + std::to_string(bytes.size()) +
                      " bytes; a binary record is exactly " + std::to_string(kSpiralParametersSize));
  decodeParameters(reinterpret_cast<const unsigned char*>(bytes.data()), record);
  return record;
}

void saveRecordFile(const std::string& path, const SpiralParameters& record) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) throw RecordError("cannot write record file '" + path + "': " + std::strerror(errno));
  if (endsWith(path, ".json")) {
    out << recordToJson(record).dump(2) << '\n';
  } else {
    unsigned char bytes[kSpiralParametersSize];
    encodeParameters(record, bytes);
    out.write(reinterpret_cast<const char*>(bytes), sizeof bytes);
  }
  if (!out) throw RecordError("cannot write record file '" + path + "'");
}

void applyAssignment(SpiralParameters& record, std::string_view assignment) {
  const std::size_t eq = assignment.find('=');
  if (eq == std::string_view::npos || eq == 0)
    throw RecordError("expected FIELD=VALUE, got '" + std::string(assignment) + "'");
  const std::string_view name = assignment.substr(0, eq);
  const std::string_view text = assignment.substr(eq + 1);
  const ParameterField& field = requireField(name);
  switch (field.kind) {
    case FieldKind::Float: *floatField(record, field) = parseFloat(name, text); break;
    case FieldKind::Bool:
      if (text == "true" || text == "on") {
        *intField(record, field) = 1;
        break;
      }
      if (text == "false" || text == "off") {
        *intField(record, field) = 0;
        break;
      }
      [[fallthrough]];
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
    if (field.kind == FieldKind::Bool && value.is_boolean()) {
      *intField(record, field) = value.get<bool>() ? 1 : 0;
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
