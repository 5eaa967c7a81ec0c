#include "hostapp/inkscape/install.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "hostapp/inkscape/commands.h"
#include "hostapp/inkscape/dialog_model.h"
#include "hostapp/inkscape/inx_file.h"
#include "hostapp/loader/plugin_loader.h"
#include "hostapp/platform/library.h"
#include "hostapp/session/drawing_session.h"

namespace inkscape {
namespace {

namespace fs = std::filesystem;

// Single quotes for the shell: ' becomes '\''.
std::string shellQuoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

void writeFile(const fs::path& path, const std::string& text) {
  const fs::path temporary = path.string() + ".tmp";
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    file << text;
    file.flush();
    if (!file) throw fs::filesystem_error("cannot write", temporary, std::make_error_code(std::errc::io_error));
  }
  fs::rename(temporary, path);
}

}  // namespace

std::string userExtensionsFolder() {
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config)
    return (fs::path(config) / "inkscape" / "extensions").string();
  if (const char* home = std::getenv("HOME"); home && *home)
    return (fs::path(home) / ".config" / "inkscape" / "extensions").string();
  return "";
}

std::string launcherText(const std::string& program, const std::string& plugin) {
  return "#!/bin/sh\n"
         "# Runs the Spiral effect for Inkscape; made by spiral-host install-inkscape.\n"
         "exec " +
         shellQuoted(program) + " " + kEffectCommand + " --plugin=" + shellQuoted(plugin) + " \"$@\"\n";
}

int runInstall(const InstallOptions& options, std::ostream& out, std::ostream& err) {
  const std::string folder = options.folder.empty() ? userExtensionsFolder() : options.folder;
  if (folder.empty()) {
    err << "spiral-host: neither XDG_CONFIG_HOME nor HOME is set: give the folder with --dir\n";
    return 2;
  }
  const fs::path inx = fs::path(folder) / kInxFileName;
  const fs::path launcher = fs::path(folder) / kLauncherFileName;
  std::error_code ec;
  if (options.uninstall) {
    for (const fs::path& file : {inx, launcher}) {
      if (fs::remove(file, ec)) out << "removed " << file.string() << "\n";
      else if (ec) err << "spiral-host: cannot remove " << file.string() << ": " << ec.message() << "\n";
    }
    return ec ? 2 : 0;
  }

  // The dialog, read from the plug-in itself.
  const std::string program =
      fs::absolute(options.programPath.empty() ? host::platform::executablePath() : options.programPath).string();
  const std::string plugin =
      fs::absolute(options.pluginPath.empty() ? host::defaultPluginPath() : options.pluginPath).string();
  DialogModel model;
  try {
    host::DrawingSession session;
    auto active = session.activate();
    session.loadPlugin(plugin);
    if (const HostErr result = session.plugin().startup(); result != kHostNoErr) {
      err << "spiral-host: the plug-in did not start (" << host::resultCodeText(result) << ")\n";
      return 1;
    }
    model = readDialogModel(session);
    session.plugin().shutdown();
  } catch (const host::LoadError& e) {
    err << "spiral-host: cannot load the plug-in: " << e.what() << "\n";
    return 2;
  } catch (const std::runtime_error& e) {
    err << "spiral-host: cannot read the plug-in's options dialog: " << e.what() << "\n";
    return 1;
  }
  try {
    fs::create_directories(folder);
    writeFile(launcher, launcherText(program, plugin));
    fs::permissions(launcher, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec);
    writeFile(inx, inxText(model, kLauncherFileName));
  } catch (const fs::filesystem_error& e) {
    err << "spiral-host: cannot install into " << folder << ": " << e.code().message() << "\n";
    return 2;
  }
  out << "installed " << inx.string() << " and " << launcher.string() << "\n";
  return 0;
}

}  // namespace inkscape
