// Installing the extension for the editor: the .inx made from the plug-in's
// dialog and a launcher script that runs this spiral-host's effect with
// this plug-in (both by absolute path), in the editor's user extensions
// folder ($XDG_CONFIG_HOME/inkscape/extensions, else
// ~/.config/inkscape/extensions) or a folder given.
#pragma once

#include <ostream>
#include <string>

namespace inkscape {

struct InstallOptions {
  std::string pluginPath;  // empty: the plug-in beside the program
  std::string folder;      // empty: the user's extensions folder
  bool uninstall = false;
  // The spiral-host the launcher runs; empty: this program.
  std::string programPath;
};

// The user's extensions folder from the environment; empty when neither
// XDG_CONFIG_HOME nor HOME is set.
std::string userExtensionsFolder();

// The launcher: a POSIX shell script running the effect subcommand.
std::string launcherText(const std::string& program, const std::string& plugin);

// Installs (or removes) the files; reports on `out`, problems on `err`.
// Returns the exit status.
int runInstall(const InstallOptions& options, std::ostream& out, std::ostream& err);

}  // namespace inkscape
