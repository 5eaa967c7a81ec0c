// spiral-host: the stand-in host's command line.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <cstdint>
#include <iostream>
#include <optional>
#include <limits>
#include <new>

#include "hostapp/cli/commands.h"
#include "hostapp/cli/option_checks.h"
#include "hostapp/cli/usage_errors.h"
#include "hostapp/inkscape/commands.h"
#include "hostapp/io/file_input.h"
#include "hostapp/model/color.h"
#include "hostapp/model/page.h"
#include "hostapp/platform/allocator.h"
#include "hostapp/platform/console.h"
#include "hostapp/validator/validator.h"
#ifdef SPIRAL_HAVE_SERVER
#include "hostapp/server/server_module.h"
#endif

namespace {

using cli::colorModelChoices;
using cli::colorModelNames;
using cli::wholeNumber;

int run(int argc, char** argv) {
  // What the host prints is the same bytes on every system: no \r\n.
  host::platform::useBinaryStandardStreams();
  CLI::App app{"spiral-host: loads the Spiral plug-in, runs it on a document and writes SVG and JSON"};
  app.require_subcommand(1);
  // "/path" is a path on every system, never a Windows-style "/option".
  app.allow_windows_style_options(false);

  cli::DrawingCommands drawing(app);

  validator::ValidateOptions validate;
  CLI::App* validateCommand =
      app.add_subcommand("validate", "load, cycle and stress the plug-in, each check in its own process");
  validateCommand->add_option("plugin", validate.pluginPath, "plug-in library (default: the one beside spiral-host)")
      ->type_name("FILE");
  validateCommand->add_option("--seed", validate.seed, "seed of the random records, 0 to 2^64-1 (printed; replays a run)")
      ->type_name("N")
      ->check(wholeNumber<std::uint64_t>(0));
  validateCommand->add_option("--records", validate.records, "random records through Go, 0 or more (default 1000)")
      ->type_name("N")
      ->check(wholeNumber<int>(0));
  validateCommand->add_option("--cycles", validate.cycles, "unload and reload cycles, 0 or more (default 100)")
      ->type_name("N")
      ->check(wholeNumber<int>(0));
  validateCommand->add_option("--timeout", validate.timeoutSeconds, "time limit of one check in seconds, 1 or more (default 600)")
      ->type_name("SECONDS")
      ->check(wholeNumber<unsigned>(1));
  validateCommand->add_option("--memory-budget", validate.memoryBudget,
                              "host memory budget of the limits checks in bytes, 1 or more (default 2 GiB)")
      ->type_name("BYTES")
      ->check(wholeNumber<std::size_t>(1));
  validateCommand->add_option("--fault-stride", validate.faultStride,
                              "fail every n-th host call (and the first two of each call site) instead of every one; 1 or more")
      ->type_name("N")
      ->check(wholeNumber<int>(1));
  validateCommand->add_option("--only", validate.only, "run only the checks whose name holds this text")->type_name("TEXT");
  validateCommand->add_flag("--quick", validate.quick,
                            "a short run: the limits checks with 256 MiB (unless --memory-budget says otherwise) and a sixty-fourth of the call budget");
  validateCommand->footer(
      "Examples:\n"
      "  spiral-host validate --quick\n"
      "  spiral-host validate --only limits --seed 7\n\n"
      "Exit status: 0 every check passed, 1 a check failed, 2 a usage error.");
  // A check's child process, started by the validator itself where it cannot fork.
  std::optional<std::size_t> childCheck;
  std::intptr_t childReport = -1;
  validateCommand->add_option(validator::kChildCheckOption, childCheck)->group("");
  validateCommand->add_option(validator::kChildReportOption, childReport)->group("");

  inkscape::Commands inkscapeCommands(app);

#ifdef SPIRAL_HAVE_SERVER
  server::ServeOptions serve;
  std::string servePage;
  std::string serveColorModel = "rgb";
  std::optional<std::string> serveSwatches, serveStyles;
  std::optional<std::uint64_t> serveSeed;
  CLI::App* serveCommand = app.add_subcommand("serve", "draw spirals in a browser: prints the URL to open");
  serveCommand->add_option("--port", serve.port, "port on 127.0.0.1, 0 to 65535 (default 0: any free port)")
      ->type_name("N")
      ->check(wholeNumber<int>(0, 65535));
  serveCommand->add_option("--page", servePage,
                           "page size of new documents, as for draw (default " +
                               host::pageSizeText(host::kDefaultPageSize) + ")")
      ->type_name("SIZE");
  serveCommand->add_option("--color-model", serveColorModel, "the documents' colour model: " + colorModelChoices() + " (default rgb)")
      ->type_name("MODEL")
      ->check(CLI::IsMember(colorModelNames()));
  serveCommand->add_option("--seed", serveSeed, "seed of each session's random service, 0 to 2^64-1")
      ->type_name("N")
      ->check(wholeNumber<std::uint64_t>(0));
  serveCommand->add_option("--plugin", serve.session.pluginPath, "plug-in library (default: the one beside spiral-host)")
      ->type_name("FILE");
  serveCommand->add_option("--swatches", serveSwatches, "GIMP palette (.gpl) for the documents' swatches")
      ->type_name("FILE");
  serveCommand->add_option("--styles", serveStyles, "JSON list of the documents' graphic styles")->type_name("FILE");
  serveCommand->add_option("--idle-timeout", serve.idleSeconds, "seconds after which an idle session closes, 1 or more (default 1800)")
      ->type_name("SECONDS")
      ->check(wholeNumber<unsigned>(1));
  serveCommand->add_option("--answer-timeout", serve.answerSeconds,
                           "seconds a plug-in may take on one request before its session is ended, 1 or more (default 60)")
      ->type_name("SECONDS")
      ->check(wholeNumber<unsigned>(1));
  serveCommand->add_option("--memory-budget", serve.session.memoryBudget,
                           "bytes each session's host may hold, 1 or more (default 2 GiB, as for draw)")
      ->type_name("BYTES")
      ->check(wholeNumber<std::size_t>(1));
  serveCommand->add_option("--heartbeat-timeout", serve.heartbeatSeconds,
                           "seconds after a page's last heartbeat before its session closes, 1 or more (default 60)")
      ->type_name("SECONDS")
      ->check(wholeNumber<unsigned>(1));

  serveCommand->footer(
      "Examples:\n"
      "  spiral-host serve                          # then open the URL it prints\n"
      "  spiral-host serve --port 8080 --page A4 --color-model cmyk\n\n"
      "Exit status: 0 stopped (Ctrl-C), 1 the server could not start, 2 a usage error.");

  // The hidden command a session's child process runs (see session_child.h).
  int childIn = -1, childOut = -1;
  server::SessionOptions child;
  std::string childPage = host::pageSizeText(host::kDefaultPageSize), childColorModel = "rgb";
  CLI::App* childCommand = app.add_subcommand("session-child", "");
  childCommand->group("");
  childCommand->add_option("--in", childIn)->required();
  childCommand->add_option("--out", childOut)->required();
  childCommand->add_option("--plugin", child.pluginPath);
  childCommand->add_option("--page", childPage);
  childCommand->add_option("--color-model", childColorModel);
  childCommand->add_option("--seed", child.seed);
  childCommand->add_option("--swatches", child.swatchesFile);
  childCommand->add_option("--styles", child.stylesFile);
  childCommand->add_option("--memory-budget", child.memoryBudget);
#endif

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    // A usage error is bad input like any other: one line, status 2, with
    // the nearest names for an unknown command or option.
    std::cerr << "spiral-host: " << cli::usageMessage(app, e, std::vector<std::string>(argv + 1, argv + argc)) << "\n";
    return 2;
  }

  if (const std::optional<int> status = drawing.runParsed()) return *status;
#ifdef SPIRAL_HAVE_SERVER
  if (serveCommand->parsed()) {
    if (!servePage.empty()) {
      const auto size = host::parsePageSize(servePage);
      if (!size) {
        std::cerr << "spiral-host: --page needs " << host::pageSizeForms() << ", got '" << hostio::excerpt(servePage)
                  << "'\n";
        return 2;
      }
      serve.session.pageSize = *size;
    }
    serve.session.colorModel = *host::colorModelFromName(serveColorModel);
    serve.session.seed = serveSeed;
    serve.session.swatchesFile = serveSwatches;
    serve.session.stylesFile = serveStyles;
    return server::serveThroughModule(serve, std::cout, std::cerr);
  }
  if (childCommand->parsed()) {
    const auto size = host::parsePageSize(childPage);
    const auto model = host::colorModelFromName(childColorModel);
    if (!size || !model) return 2;
    child.pageSize = *size;
    child.colorModel = *model;
    return server::sessionChildThroughModule(child, childIn, childOut);
  }
#endif
  if (const auto status = inkscapeCommands.run(std::cout, std::cerr)) return *status;
  if (validateCommand->parsed()) {
    if (childCheck) return validator::runValidatorChild(validate, *childCheck, childReport);
    return validator::runValidator(validate, std::cout);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  host::platform::keepFreedMemoryForRedraws();
  // Whatever escapes the commands is still one line and a failed status.
  try {
    return run(argc, argv);
  } catch (const std::bad_alloc&) {
    std::cerr << "spiral-host: not enough memory\n";
    return 1;
  } catch (const std::exception& e) {
    std::cerr << "spiral-host: " << hostio::printable(e.what()) << "\n";
    return 2;
  }
}
