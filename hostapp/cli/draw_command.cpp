#include "hostapp/cli/draw_command.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "hostapp/cli/dialog_options.h"
#include "hostapp/cli/session_report.h"
#include "hostapp/host/host_context.h"
#include "hostapp/loader/plugin_loader.h"
#include "hostapp/model/resources.h"
#include "hostapp/records/record_file.h"
#include "hostapp/session/plugin_session.h"
#include "hostapp/writers/json_writer.h"
#include "hostapp/writers/svg_writer.h"

namespace cli {
namespace {

// The answer of a plug-in whose dialog the user cancelled; not a failure.
constexpr HostErr kUserCancel = static_cast<HostErr>(host::fourCharCode("STOP"));

// The plug-in of the command line, loaded; the reason goes to `err` when it
// is refused.
std::unique_ptr<host::PluginSession> loadPlugin(host::HostContext& hostContext, const std::string& path,
                                                std::ostream& err) {
  try {
    return std::make_unique<host::PluginSession>(
        hostContext, host::scanPluginFile(path.empty() ? host::defaultPluginPath() : path));
  } catch (const host::LoadError& e) {
    err << "spiral-host: " << e.what() << "\n";
    return nullptr;
  }
}

// True when the user's actions failed; the dialog was then cancelled.
bool reportDriverError(host::DialogManager& dialogs, std::ostream& err) {
  const std::string error = dialogs.takeDriverError();
  if (!error.empty()) err << "spiral-host: dialog script: " << error << "\n";
  return !error.empty();
}

bool writeFile(const std::string& path, const std::string& text, std::ostream& err) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (!out) {
    err << "spiral-host: cannot write '" << path << "'\n";
    return false;
  }
  return true;
}

}  // namespace

std::optional<host::Point> parsePageSize(const std::string& text) {
  std::istringstream in(text);
  in.imbue(std::locale::classic());
  double w = 0, h = 0;
  char comma = 0;
  in >> w >> comma >> h;
  if (in.fail() || comma != ',' || !(in >> std::ws).eof()) return std::nullopt;
  if (!std::isfinite(w) || !std::isfinite(h) || w <= 0 || h <= 0 || w > 1e7 || h > 1e7) return std::nullopt;
  return host::Point{static_cast<float>(w), static_cast<float>(h)};
}

int runDrawCommand(const DrawOptions& options, std::ostream& err) {
  host::HostOptions hostOptions;
  hostOptions.pageSize = options.pageSize;
  hostOptions.colorModel = options.colorModel;
  hostOptions.seed = options.seed;
  if (options.memoryBudget) hostOptions.memoryBudget = *options.memoryBudget;
  host::HostContext hostContext(hostOptions);
  auto active = hostContext.activate();

  // The document's swatches and graphic styles, from files when asked.
  const std::pair<const std::optional<std::string>*, decltype(&host::loadGimpPaletteFile)> loads[] = {
      {&options.swatchesFile, &host::loadGimpPaletteFile}, {&options.stylesFile, &host::loadGraphicStylesFile}};
  for (const auto& [file, load] : loads) {
    if (!*file) continue;
    if (const auto problem = load(**file, hostContext.document())) {
      err << "spiral-host: " << *problem << "\n";
      return 2;
    }
  }

  // The record: defaults of a new filter (centred on view 0), a record file,
  // then the assignments. Any problem stops here, before anything is drawn.
  SpiralParameters record{};
  try {
    const host::View& view = hostContext.document().views().front();
    record = records::defaultRecord(view.centre.x, view.centre.y);
    if (options.paramsFile) record = records::loadRecordFile(*options.paramsFile, record);
    for (const std::string& assignment : options.assignments) records::applyAssignment(record, assignment);
  } catch (const records::RecordError& e) {
    err << "spiral-host: " << e.what() << "\n";
    return 2;
  }

  if (const std::string problem = injectFailures(options.failures, hostContext.gate()); !problem.empty()) {
    err << "spiral-host: " << problem << "\n";
    return 2;
  }

  // The user's actions in the options dialog, read before anything runs.
  std::vector<host::ScriptAction> actions;
  if (options.noDialog && (options.dialogScript || options.preset)) {
    err << "spiral-host: --dialog and --preset act in the options dialog, which --no-dialog skips\n";
    return 2;
  }
  try {
    actions = dialogActions(options.preset, options.dialogScript);
  } catch (const host::ScriptError& e) {
    err << "spiral-host: " << e.what() << "\n";
    return 2;
  }

  // Startup, then the filter as the user chooses it (Get Parameters with the
  // options dialog, then Go) or repeats it (Go alone), then Shutdown. A
  // record given on the command line is the one the host kept from an
  // earlier run; without one the plug-in makes its defaults.
  std::unique_ptr<host::PluginSession> session = loadPlugin(hostContext, options.pluginPath, err);
  if (!session) return 2;
  host::DialogManager& dialogs = session->dialogs();
  auto script = std::make_shared<host::ScriptOutcome>();
  dialogs.setDriver(host::scriptDriver(std::move(actions), kOptionsDialogName, options.cancel, hostContext, script));
  const bool recordGiven = options.paramsFile || !options.assignments.empty();
  HostErr result = session->startup();
  if (result == kHostNoErr && (options.noDialog || recordGiven)) result = session->setRecord(record);
  if (result == kHostNoErr) result = options.noDialog ? session->repeatFilter() : session->chooseFilter();
  if (const SpiralParameters* kept = session->record()) {
    decodeParameters(reinterpret_cast<const unsigned char*>(kept), record);
  }
  session->shutdown();
  printShownDialogs(dialogs.shown(), err);
  // A script that failed cancelled the dialog: nothing is drawn or written.
  if (reportDriverError(dialogs, err)) return 2;

  if (options.svgFile && !writeFile(*options.svgFile, writers::svgString(hostContext.document()), err)) return 2;
  if (options.jsonFile) {
    nlohmann::json dump = writers::documentToJson(hostContext.document());
    dump["record"] = records::recordToJson(record);
    dump["result"] = result;
    dump["messages"] = messagesToJson(session->messages());
    dump["dialogs"] = dialogsToJson(dialogs.shown());
    dump["dialog"] = script->ran ? itemStatesToJson(script->closedItems) : nlohmann::json();
    dump["previews"] = hostContext.document().redrawCount();
    if (!writeFile(*options.jsonFile, dump.dump(1) + "\n", err)) return 2;
  }
  if (options.saveParams) {
    try {
      records::saveRecordFile(*options.saveParams, record);
    } catch (const records::RecordError& e) {
      err << "spiral-host: " << e.what() << "\n";
      return 2;
    }
  }
  if (result == kUserCancel) {
    err << "spiral-host: the options dialog was cancelled; nothing was drawn\n";
    return 0;
  }
  if (result != kHostNoErr) {
    printFailure(result, dialogs.shown(), err);
    return 1;
  }
  return 0;
}

std::string injectFailures(const std::vector<std::string>& specs, host::CallGate& gate) {
  for (const std::string& spec : specs) {
    const std::size_t slash = spec.find('/');
    const std::size_t equals = spec.rfind('=');
    if (slash == std::string::npos || equals == std::string::npos || equals < slash || slash == 0 ||
        equals == slash + 1 || equals + 1 == spec.size()) {
      return "--fail needs SUITE/OPERATION=CODE, got '" + spec + "'";
    }
    const std::string codeText = spec.substr(equals + 1);
    HostErr code = 0;
    char* end = nullptr;
    const long number = std::strtol(codeText.c_str(), &end, 10);
    if (*end == '\0' && number >= INT32_MIN && number <= INT32_MAX) {
      code = static_cast<HostErr>(number);
    } else if (codeText.size() == 4) {
      for (char c : codeText) code = static_cast<HostErr>((static_cast<uint32_t>(code) << 8) | static_cast<uint8_t>(c));
    } else {
      return "--fail needs a decimal or four-character code, got '" + codeText + "'";
    }
    gate.failOperation(spec.substr(0, slash), spec.substr(slash + 1, equals - slash - 1), code);
  }
  return "";
}

int runAboutCommand(const std::string& pluginPath, std::ostream& out, std::ostream& err) {
  host::HostContext hostContext;
  std::unique_ptr<host::PluginSession> session = loadPlugin(hostContext, pluginPath, err);
  if (!session) return 2;
  host::DialogManager& dialogs = session->dialogs();
  HostErr result = session->startup();
  if (result == kHostNoErr) result = session->about();
  session->shutdown();
  for (const host::ShownDialog& shown : dialogs.shown()) {
    if (shown.alert || shown.name != "About Dialog") continue;
    for (const auto& item : shown.items) {
      if (item.kind == std::string("static text")) out << item.text << "\n";
    }
  }
  if (result != kHostNoErr) {
    printShownDialogs(dialogs.shown(), err);
    printFailure(result, dialogs.shown(), err);
    return 1;
  }
  return 0;
}

}  // namespace cli
