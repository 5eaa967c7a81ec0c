// `spiral-host presets --sheet FILE`: every preset of the options dialog (or
// those named), each drawn in its own drawing session with one seed, laid
// out as a labelled contact sheet (PNG or PDF, by the file's name).
#pragma once

#include <cstdint>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace sheet {

struct SheetOptions {
  std::string pluginPath;          // empty: the plug-in beside the program
  std::string file;                // ends in .png or .pdf
  std::vector<std::string> names;  // presets by name (any case) or position; empty: all
  std::uint64_t seed = 1;
  bool progress = false;           // a line per preset drawn on `err`
};

// The presets as the options dialog lists them, by position.
// Throws SheetError.
std::vector<std::string> presetNames(const std::string& pluginPath);

class SheetError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Draws the sheet; messages go to `err`. Returns the exit status: 0, 1
// when a preset's drawing fails, 2 for a usage error or an output that
// cannot be written.
int runSheetCommand(const SheetOptions& options, std::ostream& err);

}  // namespace sheet
