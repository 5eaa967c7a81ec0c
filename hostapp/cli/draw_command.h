// `spiral-host draw`: set up a document and a record, run the filter, write
// the document.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "hostapp/model/color.h"
#include "hostapp/model/geometry.h"

namespace cli {

struct DrawOptions {
  std::string pluginPath;                // empty: the plug-in beside the executable
  std::optional<std::string> paramsFile;
  std::vector<std::string> assignments;  // FIELD=VALUE
  std::optional<std::string> saveParams;
  std::optional<std::string> svgFile;
  std::optional<std::string> jsonFile;
  std::optional<std::uint64_t> seed;
  host::Point pageSize{612, 792};
  host::ColorModel colorModel = host::ColorModel::Rgb;
};

// Runs the command; messages for the user go to `err`. Returns the process
// exit status.
int runDrawCommand(const DrawOptions& options, std::ostream& err);

// "W,H" with both positive and finite; nullopt otherwise.
std::optional<host::Point> parsePageSize(const std::string& text);

}  // namespace cli
