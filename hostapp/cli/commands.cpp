#include "hostapp/cli/commands.h"

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "hostapp/cli/dialog_options.h"
#include "hostapp/cli/fields_command.h"
#include "hostapp/cli/option_checks.h"
#include "hostapp/io/file_input.h"
#include "hostapp/loader/plugin_loader.h"
#include "hostapp/model/page.h"
#include "hostapp/platform/console.h"
#include "hostapp/render/svg_render.h"
#include "hostapp/session/session_json.h"

#ifndef SPIRAL_HOST_VERSION
#define SPIRAL_HOST_VERSION "unknown"
#endif

namespace cli {
namespace {

constexpr const char* kPluginHelp = "plug-in library (default: spiral.spx beside spiral-host)";

constexpr const char* kExitStatuses =
    "Exit status:\n"
    "  0  success (and a cancelled options dialog)\n"
    "  1  the plug-in reported a failure (its message is on stderr)\n"
    "  2  a usage error, bad input, or an output that could not be written\n";

constexpr const char* kEnvironment =
    "Environment:\n"
    "  SPIRAL_PROGRESS_DELAY_MS  after how many milliseconds draw shows its progress on a\n"
    "                            terminal (default 1000)\n";

std::string drawFooter() {
  return std::string(
             "Examples:\n"
             "  spiral-host draw                      draw the defaults to spirals.svg here\n"
             "  spiral-host draw --svg out.svg --set armCount=12 --set threePoints=1 --seed 7\n"
             "  spiral-host draw --preset \"art sketch 3\" --set spiralCount=5 --png out.png --dpi 150\n"
             "  spiral-host draw --seed 1..20 --svg 'out-{seed}.svg'\n"
             "  spiral-host draw --preset Loops --preset Star --svg '{preset}.svg'\n"
             "  spiral-host draw --params drawing.svg --svg - > again.svg\n"
             "  spiral-host fields                    the fields --set takes, their limits and meanings\n"
             "\n"
             "An output named - goes to standard output (one at most); --params - reads the\n"
             "record from standard input. Messages go to stderr: nothing on success unless\n"
             "--verbose.\n\n") +
         kExitStatuses + "\n" + kEnvironment;
}

}  // namespace

std::string versionText() {
  std::string text = std::string("spiral-host ") + SPIRAL_HOST_VERSION;
  try {
    const host::PluginFile file = host::scanPluginFile(host::defaultPluginPath());
    const auto [name, version] = host::pluginNameAndVersion(file);
    text += "\nplug-in: " + (name.empty() ? std::string("(no name)") : name) + " " +
            (version.empty() ? std::string("(no version)") : version) + " (" + file.path + ")";
  } catch (const host::LoadError& e) {
    text += "\nplug-in: not loaded: " + hostio::printable(e.what());
  }
  return text;
}

std::string programFooter() {
  return std::string(
             "Run 'spiral-host COMMAND --help' for a command's options and examples.\n"
             "\n"
             "Examples:\n"
             "  spiral-host draw --svg out.svg --seed 7\n"
             "  spiral-host presets\n"
             "  spiral-host fields --json\n"
             "  spiral-host serve\n"
             "\n") +
         kExitStatuses + "\n" + kEnvironment;
}

DrawingCommands::DrawingCommands(CLI::App& app) {
  app.set_version_flag("--version", versionText, "print the version of spiral-host and of the plug-in, and exit");
  app.footer(programFooter());

  DrawOptions& draw = draw_.base;
  drawCommand_ = app.add_subcommand("draw", "draw spirals into a new document");
  CLI::App* drawCommand = drawCommand_;
  drawCommand->footer(drawFooter());
  drawCommand->add_option("--plugin", draw.pluginPath, kPluginHelp)->type_name("FILE");
  drawCommand
      ->add_option("--params", draw.paramsFile,
                   "start from a record file (308-byte binary or JSON) or a drawing (.svg) spiral-host wrote; "
                   "- reads standard input")
      ->type_name("FILE");
  drawCommand
      ->add_option("--set", draw.assignments,
                   "set one field of the record, after --params and --preset (repeatable; "
                   "'spiral-host fields' lists them)")
      ->type_name("FIELD=VALUE")
      ->take_all();
  drawCommand->add_option("--save-params", draw.saveParams, "write the record after the run (JSON for *.json)")
      ->type_name("FILE");
  drawCommand->add_option("--svg", draw.svgFile, "write the document as SVG (- for standard output)")
      ->type_name("FILE");
  drawCommand->add_option("--json", draw.jsonFile, "write the document as JSON (- for standard output)")
      ->type_name("FILE");
  drawCommand->add_option("--png", draw.pngFile, "write the drawing as a PNG picture (- for standard output)")
      ->type_name("FILE");
  CLI::Option* dpiOption =
      drawCommand
          ->add_option("--dpi", draw.dpi, "resolution of --png, 1 to 2400 dots per inch (default 72: a pixel per point)")
          ->type_name("N")
          ->check(realNumber(1, 2400));
  const std::string pixels = "1 to " + std::to_string(render::kMaxPixels);
  drawCommand
      ->add_option("--width", draw.pngWidth,
                   "width of --png in pixels, " + pixels + ", the height following the page (not with --dpi)")
      ->type_name("PX")
      ->check(wholeNumber<int>(1, render::kMaxPixels))
      ->excludes(dpiOption);
  drawCommand
      ->add_option("--height", draw.pngHeight,
                   "height of --png in pixels, " + pixels + "; with --width: the largest picture of the page that fits")
      ->type_name("PX")
      ->check(wholeNumber<int>(1, render::kMaxPixels))
      ->excludes(dpiOption);
  drawCommand
      ->add_option("--background", draw.background,
                   "none, white or #rrggbb under --png and --pdf (default white), and under --svg when given")
      ->type_name("none|white|#rrggbb")
      ->check(CLI::Validator(
          [](const std::string& text) -> std::string {
            return render::parseBackground(text) ? "" : "needs none, white or #rrggbb, got '" + text + "'";
          },
          "", ""));
  drawCommand->add_option("--pdf", draw.pdfFile, "write the drawing as a one-page PDF (- for standard output)")
      ->type_name("FILE");
  drawCommand
      ->add_option("--seed", draw_.seeds,
                   "seed of the host's random service, 0 to 18446744073709551615 (default: from the clock); "
                   "FIRST..LAST draws once per seed")
      ->type_name("N|FIRST..LAST")
      ->check(CLI::Validator(
          [](const std::string& text) {
            std::string problem;
            return parseSeeds(text, problem) ? std::string() : problem;
          },
          "", ""));
  drawCommand
      ->add_option("--memory-budget", draw.memoryBudget, "bytes the host may hold, 1 or more (default 2 GiB)")
      ->type_name("BYTES")
      ->check(wholeNumber<std::size_t>(1));
  drawCommand
      ->add_option("--page", page_,
                   "page size: W,H in pt, mm, cm, in or px (\"210mm,297mm\"), or A5, A4, A3, Letter, Legal, "
                   "Tabloid, with \",landscape\"; each side " +
                       std::to_string(static_cast<long long>(host::kMinPageSide)) + " to " +
                       std::to_string(static_cast<long long>(host::kMaxPageSide)) + " points (default " +
                       host::pageSizeText(host::kDefaultPageSize) + ")")
      ->type_name("SIZE");
  drawCommand->add_option("--color-model", colorModel_, "the document's colour model: " + colorModelChoices() + " (default rgb)")
      ->type_name("MODEL")
      ->check(CLI::IsMember(colorModelNames()));
  drawCommand->add_option("--swatches", draw.swatchesFile, "GIMP palette (.gpl) for the document's swatches")
      ->type_name("FILE");
  drawCommand->add_option("--styles", draw.stylesFile, "JSON list of the document's graphic styles")
      ->type_name("FILE");
  drawCommand->add_flag("--no-dialog", draw.noDialog, "repeat the filter: Go alone with the record, no dialog");
  drawCommand->add_flag("--cancel", draw.cancel, "cancel the options dialog instead of accepting it");
  drawCommand
      ->add_option("--dialog", draw.dialogScript,
                   "user actions in the options dialog, e.g. \"page Create; set 19 3; press Tumble\"")
      ->type_name("SCRIPT");
  drawCommand
      ->add_option("--preset", draw_.presets,
                   "choose a preset in the options dialog: its name (any case) or index; "
                   "given several times, draws each ('spiral-host presets' lists them)")
      ->type_name("NAME|INDEX")
      ->allow_extra_args(false);  // one name each time: --preset Loops Star is a usage error
  drawCommand
      ->add_option("--fail", draw.failures, "make a host operation fail: SUITE/OPERATION=CODE, repeatable")
      ->type_name("SPEC")
      ->take_all();
  drawCommand->add_flag("-v,--verbose", draw.verbose, "print the dialogs shown and the host's messages on stderr");

  aboutCommand_ = app.add_subcommand("about", "print the texts of the plug-in's About box");
  aboutCommand_->add_option("--plugin", aboutPlugin_, kPluginHelp)->type_name("FILE");
  aboutCommand_->footer(std::string("Example:\n  spiral-host about\n\n") + kExitStatuses);

  presetsCommand_ = app.add_subcommand("presets", "list the presets of the options dialog: INDEX<TAB>NAME");
  presetsCommand_->add_option("--plugin", presetsPlugin_, kPluginHelp)->type_name("FILE");
  CLI::Option* sheetOption =
      presetsCommand_
          ->add_option("--sheet", sheet_.file,
                       "draw the presets (all, or those named) in a labelled grid: FILE.png or FILE.pdf")
          ->type_name("FILE");
  presetsCommand_->add_option("--seed", sheet_.seed, "seed of every drawing of --sheet (default 1)")
      ->type_name("N")
      ->check(wholeNumber<std::uint64_t>(0))
      ->needs(sheetOption);
  presetsCommand_->add_option("names", sheet_.names, "presets of --sheet by name (any case) or index")
      ->type_name("NAME|INDEX")
      ->needs(sheetOption);
  presetsCommand_->footer(std::string("Examples:\n"
                                      "  spiral-host presets\n"
                                      "  spiral-host presets --sheet presets.png\n"
                                      "  spiral-host presets --sheet some.pdf 0 \"art sketch 3\" --seed 5\n"
                                      "  spiral-host draw --preset \"Art sketch 3\" --svg out.svg\n\n") +
                          kExitStatuses);

  fieldsCommand_ = app.add_subcommand("fields", "list the record's fields: type, default, limits and meaning");
  fieldsCommand_->add_flag("--json", fieldsJson_, "print them as a JSON array");
  fieldsCommand_->footer(std::string("Examples:\n"
                                     "  spiral-host fields\n"
                                     "  spiral-host fields --json\n"
                                     "  spiral-host draw --set armCount=3 --set spiralAngle=45 --svg out.svg\n\n") +
                         kExitStatuses);
}

std::optional<int> DrawingCommands::runParsed() {
  if (drawCommand_->parsed()) {
    DrawOptions& draw = draw_.base;
    if (!page_.empty()) {
      const auto size = host::parsePageSize(page_);
      if (!size) {
        std::cerr << "spiral-host: --page needs " << host::pageSizeForms() << ", got '" << hostio::excerpt(page_)
                  << "'\n";
        return 2;
      }
      draw.pageSize = *size;
    }
    if (!colorModel_.empty()) draw.colorModel = host::colorModelFromName(colorModel_);
    draw.progress = host::platform::standardErrorIsTerminal();
    // SPIRAL_PROGRESS_DELAY_MS: after how long progress shows (default 1000).
    if (const char* delay = std::getenv("SPIRAL_PROGRESS_DELAY_MS")) {
      unsigned ms = 0;
      const char* end = delay + std::strlen(delay);
      if (auto [p, ec] = std::from_chars(delay, end, ms); ec == std::errc{} && p == end && p != delay)
        draw.progressDelay = std::chrono::milliseconds(ms);
    }
    return runDrawBatch(draw_, std::cout, std::cerr);
  }
  if (aboutCommand_->parsed()) return runAboutCommand(aboutPlugin_, std::cout, std::cerr);
  if (presetsCommand_->parsed() && !sheet_.file.empty()) {
    sheet_.pluginPath = presetsPlugin_;
    sheet_.progress = host::platform::standardErrorIsTerminal();
    return sheet::runSheetCommand(sheet_, std::cerr);
  }
  if (presetsCommand_->parsed()) return runPresetsCommand(presetsPlugin_, std::cout, std::cerr);
  if (fieldsCommand_->parsed()) return runFieldsCommand(fieldsJson_, std::cout);
  return std::nullopt;
}

}  // namespace cli
