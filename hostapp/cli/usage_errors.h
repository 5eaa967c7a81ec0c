// What the command line says about a line it cannot parse: one line, with
// the nearest known names for an unknown subcommand or option, and which
// help to read.
#pragma once

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

namespace cli {

// The message for `error` from parsing `arguments` (argv without the
// program's name) with `app`, without the "spiral-host: " prefix.
std::string usageMessage(const CLI::App& app, const CLI::ParseError& error, const std::vector<std::string>& arguments);

}  // namespace cli
