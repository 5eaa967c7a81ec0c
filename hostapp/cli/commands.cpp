#include "hostapp/cli/commands.h"

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "hostapp/cli/dialog_options.h"
#include "hostapp/cli/option_checks.h"
#include "hostapp/io/file_input.h"
#include "hostapp/model/page.h"
#include "hostapp/platform/console.h"

namespace cli {

DrawingCommands::DrawingCommands(CLI::App& app) {
  DrawOptions& draw = draw_;
  drawCommand_ = app.add_subcommand("draw", "draw spirals into a new document");
  CLI::App* drawCommand = drawCommand_;
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
  drawCommand->add_option("--page", page_,
                          "page size W,H in points (default " + host::pageSizeText(host::kDefaultPageSize) + ")");
  drawCommand->add_option("--color-model", colorModel_, colorModelChoices())->check(CLI::IsMember(colorModelNames()));
  drawCommand->add_option("--swatches", draw.swatchesFile, "GIMP palette (.gpl) for the document's swatches");
  drawCommand->add_option("--styles", draw.stylesFile, "JSON list of the document's graphic styles");
  drawCommand->add_flag("--no-dialog", draw.noDialog, "repeat the filter: Go alone with the record, no dialog");
  drawCommand->add_flag("--cancel", draw.cancel, "cancel the options dialog instead of accepting it");
  drawCommand->add_option("--dialog", draw.dialogScript,
                          "user actions in the options dialog, e.g. \"page Create; set 19 3; press Tumble\"");
  drawCommand->add_option("--preset", draw.preset, "choose a preset in the options dialog: its name or index");
  drawCommand->add_option("--fail", draw.failures, "make a host operation fail: SUITE/OPERATION=CODE, repeatable")
      ->take_all();

  aboutCommand_ = app.add_subcommand("about", "print the texts of the plug-in's About box");
  aboutCommand_->add_option("--plugin", aboutPlugin_, "plug-in library (default: the one beside spiral-host)");

  presetsCommand_ = app.add_subcommand("presets", "list the presets of the options dialog");
  presetsCommand_->add_option("--plugin", presetsPlugin_, "plug-in library (default: the one beside spiral-host)");
}

std::optional<int> DrawingCommands::runParsed() {
  if (drawCommand_->parsed()) {
    if (!page_.empty()) {
      const auto size = host::parsePageSize(page_);
      if (!size) {
        std::cerr << "spiral-host: --page needs W,H in points, each side " << static_cast<long long>(host::kMinPageSide)
                  << " to " << static_cast<long long>(host::kMaxPageSide) << ", got '" << hostio::excerpt(page_)
                  << "'\n";
        return 2;
      }
      draw_.pageSize = *size;
    }
    if (!colorModel_.empty()) draw_.colorModel = host::colorModelFromName(colorModel_);
    draw_.progress = host::platform::standardErrorIsTerminal();
    // SPIRAL_PROGRESS_DELAY_MS: after how long progress shows (default 1000).
    if (const char* delay = std::getenv("SPIRAL_PROGRESS_DELAY_MS")) {
      unsigned ms = 0;
      const char* end = delay + std::strlen(delay);
      if (auto [p, ec] = std::from_chars(delay, end, ms); ec == std::errc{} && p == end && p != delay)
        draw_.progressDelay = std::chrono::milliseconds(ms);
    }
    return runDrawCommand(draw_, std::cerr);
  }
  if (aboutCommand_->parsed()) return runAboutCommand(aboutPlugin_, std::cout, std::cerr);
  if (presetsCommand_->parsed()) return runPresetsCommand(presetsPlugin_, std::cout, std::cerr);
  return std::nullopt;
}

}  // namespace cli
