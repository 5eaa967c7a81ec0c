// The editor extension's subcommands on spiral-host's command line:
// `install-inkscape [--uninstall] [--dir DIR] [--plugin FILE]` and the
// hidden effect the editor runs (`inkscape-effect --name=value... FILE`).
#pragma once

#include <memory>
#include <optional>
#include <ostream>

#include <CLI/CLI.hpp>

namespace inkscape {

inline constexpr const char* kEffectCommand = "inkscape-effect";

class Commands {
 public:
  // Adds the subcommands to `app`.
  explicit Commands(CLI::App& app);
  ~Commands();
  // After parsing: runs the subcommand chosen, if it is one of these, and
  // returns its exit status.
  std::optional<int> run(std::ostream& out, std::ostream& err) const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace inkscape
