// Runs the built spiral-host as a user would, capturing what it prints.
#pragma once

#include <string>

struct HostRun {
  int status = -1;  // exit status; -1 when it did not exit normally
  std::string out;
  std::string err;
};

// A path in the temporary directory.
std::string temp(const std::string& name);
// The whole file, or "" when it cannot be read.
std::string slurp(const std::string& path);
// Runs spiral-host with `arguments` (shell words; quote paths with '...').
// `tag` names the files that capture its output.
HostRun runSpiralHost(const std::string& arguments, const std::string& tag);
// The same, run in the folder `workingFolder`.
HostRun runSpiralHost(const std::string& arguments, const std::string& tag, const std::string& workingFolder);
// " --plugin '<the built plug-in>'".
std::string pluginOption();
