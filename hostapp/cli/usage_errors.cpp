#include "hostapp/cli/usage_errors.h"

#include "hostapp/io/file_input.h"
#include "hostapp/io/suggestions.h"

namespace cli {
namespace {

// The names people type for the commands and options CLI11 knows: shown
// subcommands, and an app's long options ("--seed").
std::vector<std::string> subcommandNames(const CLI::App& app) {
  std::vector<std::string> names;
  for (const CLI::App* sub : app.get_subcommands([](const CLI::App* s) { return !s->get_group().empty(); }))
    names.push_back(sub->get_name());
  return names;
}

std::vector<std::string> optionNames(const CLI::App& app) {
  std::vector<std::string> names;
  for (const CLI::Option* option : app.get_options([](const CLI::Option* o) { return !o->get_group().empty(); })) {
    for (const std::string& name : option->get_lnames()) names.push_back("--" + name);
  }
  return names;
}

}  // namespace

std::string usageMessage(const CLI::App& app, const CLI::ParseError& error, const std::vector<std::string>& arguments) {
  // The subcommand is the first argument; anything else is not one.
  const CLI::App* command = nullptr;
  if (!arguments.empty() && !arguments[0].empty() && arguments[0][0] != '-') {
    const std::string& name = arguments[0];
    const auto named = app.get_subcommands([&](const CLI::App* s) { return s->check_name(name); });
    if (!named.empty()) command = named.front();
    if (!command || command->get_group().empty()) {
      return "unknown command '" + hostio::excerpt(arguments[0]) + "'" +
             hostio::didYouMean(hostio::nearestNames(arguments[0], subcommandNames(app))) +
             " (spiral-host --help lists the commands)";
    }
  }
  const std::string help = command ? "spiral-host " + command->get_name() + " --help" : "spiral-host --help";
  // An option this command does not have (CLI11 found arguments it did not
  // expect; other errors are about the values of known options).
  const CLI::App& scope = command ? *command : app;
  const bool unexpected = dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr;
  for (std::size_t k = command ? 1 : 0; unexpected && k < arguments.size(); ++k) {
    const std::string& argument = arguments[k];
    if (argument == "--") break;
    if (argument.size() < 3 || argument.compare(0, 2, "--") != 0) continue;
    const std::string name = argument.substr(0, argument.find('='));
    if (scope.get_option_no_throw(name) || (!command && app.get_option_no_throw(name))) continue;
    if (name == "--help") continue;
    return (command ? command->get_name() + ": " : std::string()) + "unknown option '" + hostio::excerpt(name) + "'" +
           hostio::didYouMean(hostio::nearestNames(name, optionNames(scope))) + " (" + help + " lists the options)";
  }
  if (!command && dynamic_cast<const CLI::RequiredError*>(&error))
    return "a command is required: " + [&] {
      std::string list;
      for (const std::string& name : subcommandNames(app)) list += (list.empty() ? "" : ", ") + name;
      return list;
    }() + " (spiral-host --help lists them)";
  return (command ? command->get_name() + ": " : std::string()) + hostio::printable(error.what()) + " (" + help +
         " lists the options)";
}

}  // namespace cli
