#include "hostapp/cli/fields_command.h"

#include <algorithm>
#include <sstream>
#include <vector>

namespace cli {
namespace {

std::string numberText(double value) {
  std::ostringstream text;
  text << value;
  return text.str();
}

// The defaults of the centre are offsets from the view's centre.
bool relativeToView(const ParameterField& field) { return field.name == "centerX" || field.name == "centerY"; }

std::string defaultText(const ParameterField& field) {
  const std::string number = numberText(field.initial);
  if (relativeToView(field)) return (field.initial >= 0 ? "view+" : "view") + number;
  return number;
}

}  // namespace

const char* fieldTypeName(FieldKind kind) {
  switch (kind) {
    case FieldKind::Bool: return "bool";
    case FieldKind::Int: return "int";
    case FieldKind::Index: return "index";
    case FieldKind::Float: return "float";
  }
  return "?";
}

std::string fieldLimitsText(const ParameterField& field) {
  if (field.kind == FieldKind::Bool) return "0 or 1";
  if (field.hasLimits()) return numberText(field.minimum) + " to " + numberText(field.maximum);
  if (field.kind == FieldKind::Index) return "a list entry, from 0";
  return "none";
}

nlohmann::json fieldsToJson() {
  nlohmann::json out = nlohmann::json::array();
  for (const ParameterField& field : kParameterFields) {
    nlohmann::json entry = {{"name", field.name}, {"type", fieldTypeName(field.kind)}};
    if (field.kind == FieldKind::Float) entry["default"] = field.initial;
    else entry["default"] = static_cast<int32_t>(field.initial);
    if (field.kind == FieldKind::Bool) {
      entry["minimum"] = 0;
      entry["maximum"] = 1;
    } else if (field.hasLimits()) {
      entry["minimum"] = field.minimum;
      entry["maximum"] = field.maximum;
    } else {
      entry["minimum"] = nullptr;
      entry["maximum"] = nullptr;
    }
    if (relativeToView(field)) entry["relativeToView"] = true;
    entry["meaning"] = field.meaning;
    out.push_back(std::move(entry));
  }
  return out;
}

int runFieldsCommand(bool json, std::ostream& out) {
  if (json) {
    out << fieldsToJson().dump(2) << "\n";
    return 0;
  }
  struct Row {
    std::string name, type, initial, limits, meaning;
  };
  std::vector<Row> rows{{"FIELD", "TYPE", "DEFAULT", "LIMITS", "MEANING"}};
  for (const ParameterField& field : kParameterFields)
    rows.push_back({std::string(field.name), fieldTypeName(field.kind), defaultText(field), fieldLimitsText(field),
                    std::string(field.meaning)});
  std::size_t widths[4] = {};
  for (const Row& row : rows) {
    widths[0] = std::max(widths[0], row.name.size());
    widths[1] = std::max(widths[1], row.type.size());
    widths[2] = std::max(widths[2], row.initial.size());
    widths[3] = std::max(widths[3], row.limits.size());
  }
  for (const Row& row : rows) {
    const std::string cells[4] = {row.name, row.type, row.initial, row.limits};
    for (int k = 0; k < 4; ++k) out << cells[k] << std::string(widths[k] - cells[k].size() + 2, ' ');
    out << row.meaning << "\n";
  }
  out << "\nview+N: N points from the centre of the view. Set a field with draw --set FIELD=VALUE.\n";
  return 0;
}

}  // namespace cli
