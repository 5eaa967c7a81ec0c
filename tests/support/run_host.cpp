#include "support/run_host.h"

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

std::string temp(const std::string& name) { return (std::filesystem::temp_directory_path() / name).string(); }

std::string slurp(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

HostRun runSpiralHost(const std::string& arguments, const std::string& tag) {
  return runSpiralHost(arguments, tag, "");
}

HostRun runSpiralHost(const std::string& arguments, const std::string& tag, const std::string& workingFolder) {
  const std::string out = temp("spiral-host-" + tag + ".out");
  const std::string err = temp("spiral-host-" + tag + ".err");
  const std::string command = (workingFolder.empty() ? std::string() : "cd '" + workingFolder + "' && ") + "'" +
                              SPIRAL_HOST_EXE + "' " + arguments + " >'" + out + "' 2>'" + err + "'";
  const int raw = std::system(command.c_str());
  HostRun run;
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.out = slurp(out);
  run.err = slurp(err);
  return run;
}

std::string pluginOption() { return std::string(" --plugin '") + SPIRAL_PLUGIN_FILE + "'"; }
