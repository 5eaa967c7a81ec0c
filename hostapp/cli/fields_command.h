// `spiral-host fields`: every field of the parameter record with its type,
// default, the limits the options dialog keeps it in, and what it means,
// all read from the record's one field table.
#pragma once

#include <ostream>
#include <string>

#include <nlohmann/json.hpp>

#include "params/record/parameter_fields.h"

namespace cli {

// "bool", "int", "index" or "float".
const char* fieldTypeName(FieldKind kind);

// The limits as people read them: "1 to 300", "0 or 1" for a check box,
// "an entry of its list (from 0)" for a list position, "none" otherwise.
std::string fieldLimitsText(const ParameterField& field);

// One object per field, in record order: "name", "type", "default",
// "minimum" and "maximum" (null without limits; 0 and 1 for bools),
// "relativeToView" (centerX, centerY), "meaning".
nlohmann::json fieldsToJson();

// Prints the fields as a table (or as JSON) to `out`; returns 0.
int runFieldsCommand(bool json, std::ostream& out);

}  // namespace cli
