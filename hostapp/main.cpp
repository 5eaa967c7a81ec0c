// spiral-host: the stand-in host's command line.
#include <CLI/CLI.hpp>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <cstring>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <limits>
#include <new>

#include "hostapp/cli/dialog_options.h"
#include "hostapp/cli/draw_command.h"
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

// A check for a whole-number option: the whole text is a decimal number of
// type T in [low, high]. It runs before CLI11 converts the text, so a value
// out of range (a negative seed, one beyond 2^64-1) is refused, never
// wrapped, and the message writes the range plainly.
template <class T>
CLI::Validator wholeNumber(T low, T high = std::numeric_limits<T>::max()) {
  const std::string range = std::to_string(low) + " to " + std::to_string(high);
  return CLI::Validator(
      [low, high, range](const std::string& text) -> std::string {
        T value{};
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (ec == std::errc() && end == text.data() + text.size() && value >= low && value <= high) return "";
        return "needs a whole number from " + range + ", got '" + text + "'";
      },
      "INT in " + range, "");
}

// A check for a real-number option: the whole text is a finite decimal
// number in [low, high]. NaN compares false with both ends, so a range
// check alone would let it through; infinities and NaN are refused here.
CLI::Validator realNumber(double low, double high) {
  char text[64];
  std::snprintf(text, sizeof text, "%g to %g", low, high);
  const std::string range = text;
  return CLI::Validator(
      [low, high, range](const std::string& text) -> std::string {
        double value = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (ec == std::errc() && end == text.data() + text.size() && std::isfinite(value) && value >= low &&
            value <= high)
          return "";
        return "needs a number from " + range + ", got '" + text + "'";
      },
      "NUMBER in " + range, "");
}

// The colour models' names, for a CLI11 check.
std::vector<std::string> colorModelNames() { return {host::kColorModelNames.begin(), host::kColorModelNames.end()}; }

std::string colorModelChoices() {
  std::string text;
  for (std::size_t k = 0; k < host::kColorModelNames.size(); ++k)
    text += std::string(k == 0 ? "" : k + 1 == host::kColorModelNames.size() ? " or " : ", ") + host::kColorModelNames[k];
  return text;
}

int run(int argc, char** argv) {
  // What the host prints is the same bytes on every system: no \r\n.
  host::platform::useBinaryStandardStreams();
  CLI::App app{"spiral-host: loads the Spiral plug-in, runs it on a document and writes SVG and JSON"};
  app.require_subcommand(1);
  // "/path" is a path on every system, never a Windows-style "/option".
  app.allow_windows_style_options(false);

  cli::DrawOptions draw;
  std::string page;
  std::string colorModel;
  CLI::App* drawCommand = app.add_subcommand("draw", "draw spirals into a new document");
  drawCommand->add_option("--plugin", draw.pluginPath, "plug-in library (default: the one beside spiral-host)");
  drawCommand->add_option("--params", draw.paramsFile,
                          "record file: 308-byte binary or JSON, or a drawing (.svg) spiral-host wrote");
  drawCommand->add_option("--set", draw.assignments, "FIELD=VALUE, repeatable")->take_all();
  drawCommand->add_option("--save-params", draw.saveParams, "write the record after the run");
  drawCommand->add_option("--svg", draw.svgFile, "write the document as SVG");
  drawCommand->add_option("--json", draw.jsonFile, "write the document as JSON");
  drawCommand->add_option("--png", draw.pngFile, "write the drawing as a PNG picture");
  drawCommand->add_option("--dpi", draw.dpi, "resolution of --png in dots per inch (default 72: a pixel per point)")
      ->check(realNumber(1, 2400));
  drawCommand->add_option("--pdf", draw.pdfFile, "write the drawing as a one-page PDF");
  drawCommand->add_option("--seed", draw.seed, "seed of the host's random service")
      ->check(wholeNumber<std::uint64_t>(0));
  drawCommand->add_option("--memory-budget", draw.memoryBudget, "bytes the host may hold (default 2 GiB)")
      ->check(wholeNumber<std::size_t>(1));
  drawCommand->add_option("--page", page,
                          "page size W,H in points (default " + host::pageSizeText(host::kDefaultPageSize) + ")");
  drawCommand->add_option("--color-model", colorModel, colorModelChoices())->check(CLI::IsMember(colorModelNames()));
  drawCommand->add_option("--swatches", draw.swatchesFile, "GIMP palette (.gpl) for the document's swatches");
  drawCommand->add_option("--styles", draw.stylesFile, "JSON list of the document's graphic styles");
  drawCommand->add_flag("--no-dialog", draw.noDialog, "repeat the filter: Go alone with the record, no dialog");
  drawCommand->add_flag("--cancel", draw.cancel, "cancel the options dialog instead of accepting it");
  drawCommand->add_option("--dialog", draw.dialogScript,
                          "user actions in the options dialog, e.g. \"page Create; set 19 3; press Tumble\"");
  drawCommand->add_option("--preset", draw.preset, "choose a preset in the options dialog: its name or index");
  drawCommand->add_option("--fail", draw.failures, "make a host operation fail: SUITE/OPERATION=CODE, repeatable")
      ->take_all();

  std::string aboutPlugin;
  CLI::App* aboutCommand = app.add_subcommand("about", "print the texts of the plug-in's About box");
  aboutCommand->add_option("--plugin", aboutPlugin, "plug-in library (default: the one beside spiral-host)");

  std::string presetsPlugin;
  CLI::App* presetsCommand = app.add_subcommand("presets", "list the presets of the options dialog");
  presetsCommand->add_option("--plugin", presetsPlugin, "plug-in library (default: the one beside spiral-host)");

  validator::ValidateOptions validate;
  CLI::App* validateCommand =
      app.add_subcommand("validate", "load, cycle and stress the plug-in, each check in its own process");
  validateCommand->add_option("plugin", validate.pluginPath, "plug-in library (default: the one beside spiral-host)");
  validateCommand->add_option("--seed", validate.seed, "seed of the random records (printed; replays a run)")
      ->check(wholeNumber<std::uint64_t>(0));
  validateCommand->add_option("--records", validate.records, "random records through Go (default 1000)")
      ->check(wholeNumber<int>(0));
  validateCommand->add_option("--cycles", validate.cycles, "unload and reload cycles (default 100)")
      ->check(wholeNumber<int>(0));
  validateCommand->add_option("--timeout", validate.timeoutSeconds, "time limit of one check in seconds (default 600)")
      ->check(wholeNumber<unsigned>(1));
  validateCommand->add_option("--memory-budget", validate.memoryBudget,
                              "host memory budget of the limits checks in bytes (default 2 GiB)")
      ->check(wholeNumber<std::size_t>(1));
  validateCommand->add_option("--fault-stride", validate.faultStride,
                              "fail every n-th host call (and the first two of each call site) instead of every one")
      ->check(wholeNumber<int>(1));
  validateCommand->add_option("--only", validate.only, "run only the checks whose name holds this text");
  validateCommand->add_flag("--quick", validate.quick,
                            "a short run: the limits checks with 256 MiB (unless --memory-budget says otherwise) and a sixty-fourth of the call budget");
  // A check's child process, started by the validator itself where it cannot fork.
  std::optional<std::size_t> childCheck;
  std::intptr_t childReport = -1;
  validateCommand->add_option(validator::kChildCheckOption, childCheck)->group("");
  validateCommand->add_option(validator::kChildReportOption, childReport)->group("");

#ifdef SPIRAL_HAVE_SERVER
  server::ServeOptions serve;
  std::string servePage;
  std::string serveColorModel = "rgb";
  std::optional<std::string> serveSwatches, serveStyles;
  std::optional<std::uint64_t> serveSeed;
  CLI::App* serveCommand = app.add_subcommand("serve", "draw spirals in a browser: prints the URL to open");
  serveCommand->add_option("--port", serve.port, "port on 127.0.0.1 (default 0: any free port)")
      ->check(CLI::Range(0, 65535));
  serveCommand->add_option("--page", servePage,
                           "page size W,H in points of new documents (default " +
                               host::pageSizeText(host::kDefaultPageSize) + ")");
  serveCommand->add_option("--color-model", serveColorModel, colorModelChoices())
      ->check(CLI::IsMember(colorModelNames()));
  serveCommand->add_option("--seed", serveSeed, "seed of each session's random service");
  serveCommand->add_option("--plugin", serve.session.pluginPath, "plug-in library (default: the one beside spiral-host)");
  serveCommand->add_option("--swatches", serveSwatches, "GIMP palette (.gpl) for the documents' swatches");
  serveCommand->add_option("--styles", serveStyles, "JSON list of the documents' graphic styles");
  serveCommand->add_option("--idle-timeout", serve.idleSeconds, "seconds after which an idle session closes (default 1800)")
      ->check(CLI::PositiveNumber);
  serveCommand->add_option("--answer-timeout", serve.answerSeconds,
                           "seconds a plug-in may take on one request before its session is ended (default 60)")
      ->check(CLI::PositiveNumber);
  serveCommand->add_option("--memory-budget", serve.session.memoryBudget,
                           "bytes each session's host may hold (default 2 GiB, as for draw)")
      ->check(wholeNumber<std::size_t>(1));
  serveCommand->add_option("--heartbeat-timeout", serve.heartbeatSeconds,
                           "seconds after a page's last heartbeat before its session closes (default 60)")
      ->check(CLI::PositiveNumber);

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
  } catch (const CLI::ParseError& e) {
    // A usage error is bad input like any other: one line, status 2.
    std::cerr << "spiral-host: " << hostio::printable(e.what()) << " (spiral-host --help lists the options)\n";
    return 2;
  }

  if (drawCommand->parsed()) {
    if (!page.empty()) {
      const auto size = host::parsePageSize(page);
      if (!size) {
        std::cerr << "spiral-host: --page needs W,H in points, each side " << static_cast<long long>(host::kMinPageSide) << " to "
                  << static_cast<long long>(host::kMaxPageSide) << ", got '" << hostio::excerpt(page) << "'\n";
        return 2;
      }
      draw.pageSize = *size;
    }
    if (!colorModel.empty()) draw.colorModel = host::colorModelFromName(colorModel);
    draw.progress = host::platform::standardErrorIsTerminal();
    // SPIRAL_PROGRESS_DELAY_MS: after how long progress shows (default 1000).
    if (const char* delay = std::getenv("SPIRAL_PROGRESS_DELAY_MS")) {
      unsigned ms = 0;
      const char* end = delay + std::strlen(delay);
      if (auto [p, ec] = std::from_chars(delay, end, ms); ec == std::errc{} && p == end && p != delay)
        draw.progressDelay = std::chrono::milliseconds(ms);
    }
    return cli::runDrawCommand(draw, std::cerr);
  }
#ifdef SPIRAL_HAVE_SERVER
  if (serveCommand->parsed()) {
    if (!servePage.empty()) {
      const auto size = host::parsePageSize(servePage);
      if (!size) {
        std::cerr << "spiral-host: --page needs W,H in points, each side " << static_cast<long long>(host::kMinPageSide) << " to "
                  << static_cast<long long>(host::kMaxPageSide) << ", got '" << hostio::excerpt(servePage) << "'\n";
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
  if (aboutCommand->parsed()) return cli::runAboutCommand(aboutPlugin, std::cout, std::cerr);
  if (presetsCommand->parsed()) return cli::runPresetsCommand(presetsPlugin, std::cout, std::cerr);
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
