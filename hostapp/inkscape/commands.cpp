#include "hostapp/inkscape/commands.h"

#include <string>
#include <vector>

#include "hostapp/inkscape/effect.h"
#include "hostapp/inkscape/install.h"

namespace inkscape {

struct Commands::State {
  CLI::App* install = nullptr;
  CLI::App* effect = nullptr;
  InstallOptions installOptions;
};

Commands::Commands(CLI::App& app) : state_(std::make_unique<State>()) {
  State& s = *state_;
  s.install = app.add_subcommand("install-inkscape",
                                 "install Spiral as an Inkscape extension (Extensions > TQV <Create> > Spiral...)");
  s.install->add_flag("--uninstall", s.installOptions.uninstall, "remove the extension instead");
  s.install->add_option("--dir", s.installOptions.folder,
                        "extensions folder (default: $XDG_CONFIG_HOME/inkscape/extensions, else "
                        "~/.config/inkscape/extensions)")
      ->type_name("FOLDER");
  s.install->add_option("--plugin", s.installOptions.pluginPath, "plug-in library (default: the one beside spiral-host)")
      ->type_name("FILE");
  s.install->add_option("--program", s.installOptions.programPath, "spiral-host the extension runs (default: this one)")
      ->type_name("FILE");
  s.install->footer(
      "Examples:\n"
      "  spiral-host install-inkscape              # then Extensions > TQV <Create> > Spiral... in Inkscape\n"
      "  spiral-host install-inkscape --uninstall\n\n"
      "Exit status: 0 done; 1 the plug-in did not start or its dialog could not be read; 2 a usage error, a\n"
      "plug-in that cannot be loaded, or a folder that cannot be written.");
  // The effect takes the editor's arguments as they come: --name=value for
  // each parameter, --id=ID for each selected object, the document last.
  s.effect = app.add_subcommand(kEffectCommand, "");
  s.effect->group("");
  s.effect->prefix_command();
}

Commands::~Commands() = default;

std::optional<int> Commands::run(std::ostream& out, std::ostream& err) const {
  const State& s = *state_;
  if (s.install->parsed()) return runInstall(s.installOptions, out, err);
  if (s.effect->parsed()) {
    EffectOptions options;
    if (const std::string problem = parseEffectArguments(s.effect->remaining(), options); !problem.empty()) {
      err << "spiral-host: " << problem << "\n";
      return 2;
    }
    return runEffect(options, out, err);
  }
  return std::nullopt;
}

}  // namespace inkscape
