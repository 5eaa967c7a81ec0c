// spiral-host: the stand-in host's command line.
#include <CLI/CLI.hpp>

#include <iostream>

#include "hostapp/cli/dialog_options.h"
#include "hostapp/cli/draw_command.h"
#include "hostapp/validator/validator.h"

int main(int argc, char** argv) {
  CLI::App app{"spiral-host: loads the Spiral plug-in, runs it on a document and writes SVG and JSON"};
  app.require_subcommand(1);

  cli::DrawOptions draw;
  std::string page;
  std::string colorModel = "rgb";
  CLI::App* drawCommand = app.add_subcommand("draw", "draw spirals into a new document");
  drawCommand->add_option("--plugin", draw.pluginPath, "plug-in library (default: the one beside spiral-host)");
  drawCommand->add_option("--params", draw.paramsFile, "record file: 308-byte binary or JSON");
  drawCommand->add_option("--set", draw.assignments, "FIELD=VALUE, repeatable")->take_all();
  drawCommand->add_option("--save-params", draw.saveParams, "write the record after the run");
  drawCommand->add_option("--svg", draw.svgFile, "write the document as SVG");
  drawCommand->add_option("--json", draw.jsonFile, "write the document as JSON");
  drawCommand->add_option("--seed", draw.seed, "seed of the host's random service");
  drawCommand->add_option("--memory-budget", draw.memoryBudget, "bytes the host may hold (default 2 GiB)")
      ->check(CLI::PositiveNumber);
  drawCommand->add_option("--page", page, "page size W,H in points (default 612,792)");
  drawCommand->add_option("--color-model", colorModel, "gray, rgb or cmyk")
      ->check(CLI::IsMember({"gray", "rgb", "cmyk"}));
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
  validateCommand->add_option("--seed", validate.seed, "seed of the random records (printed; replays a run)");
  validateCommand->add_option("--records", validate.records, "random records through Go (default 1000)")
      ->check(CLI::NonNegativeNumber);
  validateCommand->add_option("--cycles", validate.cycles, "unload and reload cycles (default 100)")
      ->check(CLI::NonNegativeNumber);
  validateCommand->add_option("--timeout", validate.timeoutSeconds, "time limit of one check in seconds (default 600)")
      ->check(CLI::PositiveNumber);
  validateCommand->add_option("--memory-budget", validate.memoryBudget,
                              "host memory budget of the limits checks in bytes (default 2 GiB)")
      ->check(CLI::PositiveNumber);
  validateCommand->add_option("--fault-stride", validate.faultStride,
                              "fail every n-th host call (and the first two of each call site) instead of every one")
      ->check(CLI::PositiveNumber);
  validateCommand->add_option("--only", validate.only, "run only the checks whose name holds this text");
  validateCommand->add_flag("--quick", validate.quick,
                            "a short run: 256 MiB for the limits checks unless --memory-budget says otherwise");

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    // A usage error is bad input like any other: one line, status 2.
    std::cerr << "spiral-host: " << e.what() << " (spiral-host --help lists the options)\n";
    return 2;
  }

  if (drawCommand->parsed()) {
    if (!page.empty()) {
      const auto size = cli::parsePageSize(page);
      if (!size) {
        std::cerr << "spiral-host: --page needs W,H with positive numbers, got '" << page << "'\n";
        return 2;
      }
      draw.pageSize = *size;
    }
    draw.colorModel = colorModel == "gray"   ? host::ColorModel::Gray
                      : colorModel == "cmyk" ? host::ColorModel::Cmyk
                                             : host::ColorModel::Rgb;
    return cli::runDrawCommand(draw, std::cerr);
  }
  if (aboutCommand->parsed()) return cli::runAboutCommand(aboutPlugin, std::cout, std::cerr);
  if (presetsCommand->parsed()) return cli::runPresetsCommand(presetsPlugin, std::cout, std::cerr);
  if (validateCommand->parsed()) return validator::runValidator(validate, std::cout);
  return 0;
}
