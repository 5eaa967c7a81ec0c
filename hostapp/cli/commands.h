// The command line's drawing commands on a CLI11 parser: `draw`, `about`,
// `presets` and `fields`, and --version. main.cpp adds them beside the
// other front ends' commands and, after parsing, lets them run the one
// chosen.
#pragma once

#include <CLI/CLI.hpp>

#include <optional>
#include <string>
#include <vector>

#include "hostapp/cli/draw_batch.h"
#include "hostapp/sheet/preset_sheet.h"

namespace cli {

// "spiral-host VERSION", then the plug-in's name and version (from its
// About box) when the plug-in beside the program loads, else why not.
std::string versionText();

// The top-level help's closing text: every command, exit statuses and
// environment variables.
std::string programFooter();

class DrawingCommands {
 public:
  // Adds the subcommands and their options, and --version, to `app`; the
  // options write into this object, which must outlive the parse.
  explicit DrawingCommands(CLI::App& app);
  DrawingCommands(const DrawingCommands&) = delete;
  DrawingCommands& operator=(const DrawingCommands&) = delete;

  // Runs the subcommand the parse chose, when it is one of these: its exit
  // status; nothing when the parse chose another.
  std::optional<int> runParsed();

 private:
  CLI::App* drawCommand_ = nullptr;
  CLI::App* aboutCommand_ = nullptr;
  CLI::App* presetsCommand_ = nullptr;
  CLI::App* fieldsCommand_ = nullptr;
  DrawBatch draw_;
  std::string page_;
  std::string colorModel_;
  std::string aboutPlugin_;
  std::string presetsPlugin_;
  bool fieldsJson_ = false;
  sheet::SheetOptions sheet_;
};

}  // namespace cli
