#include "hostapp/cli/draw_command.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <climits>
#include <limits>
#include <tuple>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "hostapp/cli/dialog_options.h"
#include "hostapp/cli/progress_line.h"
#include "hostapp/cli/session_report.h"
#include "hostapp/host/host_operations.h"
#include "hostapp/io/file_input.h"
#include "hostapp/io/output_set.h"
#include "hostapp/platform/child_process.h"
#include "hostapp/records/record_file.h"
#include "hostapp/render/svg_render.h"
#include "hostapp/session/drawing_session.h"

namespace cli {
namespace {

// Loads the plug-in of the command line into `session`; the reason goes to
// `err` when it is refused.
bool loadPlugin(host::DrawingSession& session, const std::string& path, std::ostream& err) {
  try {
    session.loadPlugin(path);
    return true;
  } catch (const host::LoadError& e) {
    err << "spiral-host: " << hostio::printable(e.what()) << "\n";
    return false;
  }
}

// True when the user's actions failed; the dialog was then cancelled.
bool reportDriverError(host::DialogManager& dialogs, std::ostream& err) {
  const std::string error = dialogs.takeDriverError();
  if (!error.empty()) err << "spiral-host: dialog script: " << hostio::printable(error) << "\n";
  return !error.empty();
}

}  // namespace

namespace {

// Feeds the progress line while the plug-in draws: every so many host
// calls, the spirals started of spiralCount (read from the record the
// plug-in holds, which the dialog may change).
class DrawingProgress {
 public:
  DrawingProgress(ProgressLine* line, double share, host::HostContext& host, host::PluginSession& session,
                  int32_t spiralCount)
      : host_(host) {
    if (!line) return;
    host.gate().setHeartbeat(kCallsPerBeat, [line, share, &host, &session, spiralCount, lastStarted = ~std::uint64_t{0},
                                             quietBeats = std::uint64_t{0}]() mutable {
      // A look when a spiral has started since the last one, or after
      // kBeatsPerLook beats without: the plug-in writes a whole path with a
      // few calls, so a run of large spirals makes few calls.
      if (host.document().newPathsSinceUndo() == lastStarted && ++quietBeats < kBeatsPerLook) return;
      quietBeats = 0;
      lastStarted = host.document().newPathsSinceUndo();
      int32_t total = spiralCount;
      if (const std::vector<unsigned char> kept = session.recordBytes(); kept.size() == kSpiralParametersSize)
        total = records::recordFromBytes(kept).spiralCount;
      const std::uint64_t started = host.document().newPathsSinceUndo();
      const std::uint64_t drawn = total > 0 ? std::min<std::uint64_t>(started, static_cast<std::uint64_t>(total)) : 0;
      const double fraction = total > 0 ? static_cast<double>(drawn) / total : 0;
      line->report(share * fraction, "drawing spiral " + std::to_string(drawn) + " of " + std::to_string(total));
    });
  }
  ~DrawingProgress() { stop(); }
  void stop() { host_.gate().setHeartbeat(0, nullptr); }

 private:
  static constexpr std::uint64_t kCallsPerBeat = 1 << 6;
  static constexpr std::uint64_t kBeatsPerLook = 1 << 10;
  host::HostContext& host_;
};

// The outputs asked for, in the order of the output table: each kind and
// its file. --save-params writes the JSON record to a file named *.json.
std::vector<std::pair<const host::OutputKindInfo*, std::string>> requestedOutputs(const DrawOptions& options) {
  using host::OutputKind;
  std::optional<OutputKind> recordKind;
  if (options.saveParams)
    recordKind = records::isJsonRecordName(*options.saveParams) ? OutputKind::RecordJson : OutputKind::Record;
  const std::pair<OutputKind, const std::optional<std::string>*> files[] = {
      {OutputKind::Svg, &options.svgFile}, {OutputKind::Json, &options.jsonFile},
      {OutputKind::Record, recordKind == OutputKind::Record ? &options.saveParams : nullptr},
      {OutputKind::RecordJson, recordKind == OutputKind::RecordJson ? &options.saveParams : nullptr},
      {OutputKind::Png, &options.pngFile}, {OutputKind::Pdf, &options.pdfFile}};
  std::vector<std::pair<const host::OutputKindInfo*, std::string>> out;
  for (const host::OutputKindInfo& info : host::outputKinds()) {
    for (const auto& [kind, file] : files) {
      if (kind == info.kind && file && *file) out.emplace_back(&info, **file);
    }
  }
  return out;
}

bool isPicture(host::OutputKind kind) { return kind == host::OutputKind::Png || kind == host::OutputKind::Pdf; }

// A picture's bytes, rendered in memory. Where the system can fork, the
// rendering runs in a copy of this process: librsvg ends its process when
// an allocation fails, and then only the copy ends, which becomes a
// message. Elsewhere it runs here, guarded by the budget checks alone.
std::string renderPicture(host::DrawingSession& session, host::OutputKind kind, const host::ExportOptions& options) {
  auto renderHere = [&] {
    std::ostringstream out;
    session.write(kind, out, options);
    return std::move(out).str();
  };
  namespace platform = host::platform;
  const std::string what = host::outputKind(kind).option;
  if (!platform::canFork()) {
    try {
      return renderHere();
    } catch (const render::RenderError& e) {
      throw render::RenderError(what + ": " + e.what());
    }
  }
  platform::ChildProcess child;
  std::string error;
  if (!child.addPipe(platform::PipeDirection::FromChild, error))
    throw render::RenderError(what + ": cannot start the renderer: " + error);
  // The copy answers 'P' and the picture, or 'E' and the reason it has none.
  const bool started = child.startCopy(
      [&](const std::vector<platform::PipeEnd>& ends) {
        std::string answer;
        try {
          answer = "P" + renderHere();
        } catch (const render::RenderError& e) {
          answer = std::string("E") + e.what();
        } catch (const std::bad_alloc&) {
          answer = "Enot enough memory to render the picture";
        }
        return platform::writeAll(ends[0], answer) ? 0 : 1;
      },
      0, error);
  if (!started) throw render::RenderError(what + ": cannot start the renderer: " + error);
  std::string answer;
  while (platform::readSome(child.parentEnd(0), answer) == platform::ReadResult::Data) {
  }
  child.closeParentEnd(0);
  const std::optional<platform::ChildExit> exit = child.wait();
  if (!answer.empty() && answer[0] == 'E') throw render::RenderError(what + ": " + answer.substr(1));
  if (!exit || exit->how != platform::ChildExit::How::Exited || exit->code != 0 || answer.empty() || answer[0] != 'P')
    throw render::RenderError(what + ": the renderer " + (exit ? platform::describeExit(*exit) : "vanished") +
                              " (the picture may need more memory than the system gives)");
  answer.erase(0, 1);
  return answer;
}

}  // namespace

namespace {

// The standard output's name as an output file.
constexpr const char* kStandardStream = "-";

// The first free name of spirals.svg, spirals-2.svg, ... in the current
// folder: a drawing without a named output never replaces a file.
std::string freeDefaultName() {
  for (int n = 1;; ++n) {
    const std::string name = n == 1 ? "spirals.svg" : "spirals-" + std::to_string(n) + ".svg";
    std::error_code error;
    if (std::filesystem::symlink_status(name, error).type() == std::filesystem::file_type::not_found) return name;
  }
}


// The record the options dialog holds once the preset is chosen in it, on
// the record of `source` (assignments aside), and the dialog accepted: what
// --set then changes. Runs in a session of its own, so the drawing's seed
// and document stay untouched. Returns the exit status of a failure.
std::optional<int> presetRecord(const DrawOptions& options, const host::SessionSettings& settings,
                                host::RecordSource source, SpiralParameters& record, std::ostream& err) {
  source.assignments.clear();
  host::DrawingSession session(settings);
  auto active = session.activate();
  session.stageRecord(source);
  if (!loadPlugin(session, options.pluginPath, err)) return 2;
  host::PluginSession& plugin = session.plugin();
  auto script = std::make_shared<host::ScriptOutcome>();
  plugin.dialogs().setDriver(host::scriptDriver(dialogActions(options.preset, std::nullopt), kOptionsDialogName,
                                                false, session.document(), script));
  HostErr result = plugin.startup();
  if (result == kHostNoErr && (source.drawing || source.recordFile || source.recordBytes))
    result = session.handOverRecord();
  if (result == kHostNoErr) result = plugin.getParameters();
  plugin.shutdown();
  if (reportDriverError(plugin.dialogs(), err)) return 2;
  if (result != kHostNoErr) {
    printShownDialogs(plugin.dialogs().shown(), err);
    printFailure(result, plugin.dialogs().shown(), err);
    return 1;
  }
  record = session.record();
  return std::nullopt;
}

}  // namespace

int runDrawCommand(const DrawOptions& options, std::ostream& err) {
  if (!options.progress) return runDrawCommand(options, std::cout, err, nullptr);
  ProgressLine line(true, options.progressDelay, err);
  const int status = runDrawCommand(options, std::cout, err, &line);
  if (status != 0) line.abandon();
  return status;
}

int runDrawCommand(const DrawOptions& options, std::ostream& out, std::ostream& err, ProgressLine* progressLine) {
  // A drawing given to --params brings its record, seed, page and colour
  // model; the command line's own values come first. "-" reads the record
  // from standard input.
  host::RecordSource source;
  try {
    if (options.paramsFile && *options.paramsFile == kStandardStream) {
      source.recordBytes = options.standardInput ? *options.standardInput : readStandardInput();
    } else if (options.paramsFile && host::isDrawingName(*options.paramsFile)) {
      source.drawing = host::readDrawingFile(*options.paramsFile);
    } else {
      source.recordFile = options.paramsFile;
    }
  } catch (const records::RecordError& e) {
    err << "spiral-host: " << hostio::printable(e.what()) << "\n";
    return 2;
  } catch (const hostio::InputError& e) {
    err << "spiral-host: " << hostio::printable(e.what()) << "\n";
    return 2;
  }
  source.assignments = options.assignments;
  const std::optional<records::DrawingMetadata>& drawing = source.drawing;
  host::SessionSettings settings;
  settings.host.pageSize = options.pageSize ? *options.pageSize : drawing ? drawing->page : host::kDefaultPageSize;
  settings.host.colorModel = options.colorModel ? *options.colorModel
                             : drawing          ? drawing->colorModel
                                                : host::ColorModel::Rgb;
  if (options.seed) settings.host.seed = *options.seed;
  else if (drawing) settings.host.seed = drawing->seed;
  if (options.memoryBudget) settings.host.memoryBudget = *options.memoryBudget;
  settings.swatchesFile = options.swatchesFile;
  settings.stylesFile = options.stylesFile;

  // The outputs are named before anything runs: two naming one file, or one
  // that cannot be a file or may not be written, is a usage error. They are
  // written at the end of a drawing that succeeded, each to a temporary
  // file, and replace the old files only when all were written. One output
  // may go to standard output ("-"); without any, the drawing goes to the
  // first free spirals.svg, spirals-2.svg, ... here.
  auto requested = requestedOutputs(options);
  bool defaultName = false;
  if (requested.empty() && !options.cancel) {
    requested.emplace_back(&host::outputKind(host::OutputKind::Svg), freeDefaultName());
    defaultName = true;
  }
  const std::pair<const host::OutputKindInfo*, std::string>* toStandardOutput = nullptr;
  hostio::OutputSet outputs;
  try {
    for (const auto& entry : requested) {
      if (entry.second != kStandardStream) {
        outputs.claim(entry.second, entry.first->option);
      } else if (toStandardOutput) {
        err << "spiral-host: " << toStandardOutput->first->option << " and " << entry.first->option
            << " both name standard output ('-'); only one output may go there\n";
        return 2;
      } else {
        toStandardOutput = &entry;
      }
    }
  } catch (const hostio::OutputError& e) {
    err << "spiral-host: " << hostio::printable(e.what()) << "\n";
    return 2;
  }

  const bool pictures = options.pngFile || options.pdfFile;
  if (pictures && !render::available()) {
    err << "spiral-host: " << render::unavailableReason() << ": --png and --pdf are not available\n";
    return 2;
  }
  // A picture the page cannot have (too many pixels, a PDF page cairo
  // cannot draw, an image beyond the memory budget) is refused before
  // anything is drawn.
  const std::uint64_t budget = settings.host.memoryBudget;
  const std::string pictureProblem =
      options.pngFile ? render::pngProblem(settings.host.pageSize.x, settings.host.pageSize.y,
                                           render::PngSize{options.dpi, options.pngWidth, options.pngHeight}, budget)
                      : "";
  if (!pictureProblem.empty()) {
    err << "spiral-host: --png: " << pictureProblem << "\n";
    return 2;
  }
  if (options.pdfFile) {
    if (const std::string problem = render::pdfProblem(settings.host.pageSize.x, settings.host.pageSize.y, budget);
        !problem.empty()) {
      err << "spiral-host: --pdf: " << problem << "\n";
      return 2;
    }
  }

  if (options.noDialog && (options.dialogScript || options.preset)) {
    err << "spiral-host: --dialog and --preset act in the options dialog, which --no-dialog skips\n";
    return 2;
  }
  // A preset with --set: the preset is chosen first, as a person would, and
  // each --set then changes its record. The drawing's dialog opens on that
  // record, the preset already chosen.
  const bool presetThenSet = options.preset && !options.assignments.empty();
  if (presetThenSet) {
    SpiralParameters record{};
    try {
      if (const std::optional<int> status = presetRecord(options, settings, source, record, err)) return *status;
    } catch (const host::SessionError& e) {
      err << "spiral-host: " << hostio::printable(e.what()) << "\n";
      return 2;
    } catch (const records::RecordError& e) {
      err << "spiral-host: " << hostio::printable(e.what()) << "\n";
      return 2;
    } catch (const host::ScriptError& e) {
      err << "spiral-host: " << hostio::printable(e.what()) << "\n";
      return 2;
    }
    source.drawing.reset();
    source.recordFile.reset();
    source.recordBytes.reset();
    source.record = record;
  }

  // The host, with the document's swatches and graphic styles from files
  // when asked.
  std::optional<host::DrawingSession> drawingSession;
  try {
    drawingSession.emplace(settings);
  } catch (const host::SessionError& e) {
    err << "spiral-host: " << hostio::printable(e.what()) << "\n";
    return 2;
  }
  host::DrawingSession& session = *drawingSession;
  auto active = session.activate();

  // The record: defaults of a new filter (centred on view 0), a drawing's or
  // a record file's, then the assignments. Any problem stops here, before
  // anything is drawn. From here on the record travels as the bytes the
  // host keeps.
  int32_t spiralCount = 0;
  try {
    session.stageRecord(source);
    spiralCount = records::recordFromBytes(session.stagedRecord()).spiralCount;
  } catch (const records::RecordError& e) {
    err << "spiral-host: " << hostio::printable(e.what()) << "\n";
    return 2;
  }

  if (const std::string problem = injectFailures(options.failures, session.host().gate()); !problem.empty()) {
    err << "spiral-host: " << hostio::printable(problem) << "\n";
    return 2;
  }

  // The user's actions in the options dialog, read before anything runs.
  std::vector<host::ScriptAction> actions;
  try {
    actions = dialogActions(presetThenSet ? std::nullopt : options.preset, options.dialogScript);
  } catch (const host::ScriptError& e) {
    err << "spiral-host: " << hostio::printable(e.what()) << "\n";
    return 2;
  }

  // Startup, then the filter as the user chooses it (Get Parameters with the
  // options dialog, then Go) or repeats it (Go alone), then Shutdown. A
  // record given on the command line is the one the host kept from an
  // earlier run; without one the plug-in makes its defaults.
  if (!loadPlugin(session, options.pluginPath, err)) return 2;
  host::PluginSession& plugin = session.plugin();
  host::DialogManager& dialogs = plugin.dialogs();
  auto script = std::make_shared<host::ScriptOutcome>();
  dialogs.setDriver(
      host::scriptDriver(std::move(actions), kOptionsDialogName, options.cancel, session.document(), script));
  const bool recordGiven = options.paramsFile || !options.assignments.empty();
  // Drawing takes most of the progress line; rendering pictures and writing
  // the rest.
  const double drawingShare = pictures ? 0.6 : 0.9;
  DrawingProgress progress(progressLine, drawingShare, session.host(), plugin, spiralCount);
  HostErr result = plugin.startup();
  if (result == kHostNoErr && (options.noDialog || recordGiven)) result = session.handOverRecord();
  if (result == kHostNoErr) result = options.noDialog ? plugin.repeatFilter() : plugin.chooseFilter();
  progress.stop();
  plugin.shutdown();
  // The dialogs shown are told with --verbose, or when the run failed.
  const bool failed = result != kHostNoErr && result != kUserCancelErr;
  if (options.verbose || failed) printShownDialogs(dialogs.shown(), err);
  // A script that failed cancelled the dialog: nothing is drawn or written.
  if (reportDriverError(dialogs, err)) return 2;

  session.setResult(result);
  session.reportClosedDialog(script->ran ? std::optional(script->closedItems) : std::nullopt);
  // A failed or cancelled drawing writes nothing: the old files stay.
  if (result == kUserCancelErr) {  // the user cancelled the dialog: not a failure
    err << "spiral-host: the options dialog was cancelled; nothing was drawn\n";
    return 0;
  }
  if (result != kHostNoErr) {
    printRefusals(session.host().gate(), err);
    printFailure(result, dialogs.shown(), err);
    return 1;
  }
  std::string standardOutputBytes;
  try {
    host::ExportOptions exportOptions;
    exportOptions.dpi = options.dpi;
    double done = drawingShare;
    const double step = (1 - drawingShare) / static_cast<double>(requested.size());
    exportOptions.pngWidth = options.pngWidth;
    exportOptions.pngHeight = options.pngHeight;
    exportOptions.background = options.background;
    for (const auto& [info, file] : requested) {
      const bool toStandard = file == kStandardStream;
      const std::string shown = toStandard ? "standard output" : file;
      std::ostringstream standard;
      if (isPicture(info->kind)) {
        if (progressLine) progressLine->report(done, "rendering " + shown, true);
        // Rendered first: the picture's temporary is made when its bytes are ready.
        const std::string bytes = renderPicture(session, info->kind, exportOptions);
        if (toStandard) standardOutputBytes = bytes;
        else outputs.open(file).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      } else {
        if (progressLine) progressLine->report(done, "writing " + shown, true);
        session.write(info->kind, toStandard ? standard : outputs.open(file), exportOptions);
        if (toStandard) standardOutputBytes = std::move(standard).str();
      }
      done += step;
    }
    outputs.commit();
  } catch (const hostio::OutputError& e) {
    err << "spiral-host: " << hostio::printable(e.what()) << "\n";
    return 2;
  } catch (const records::RecordError& e) {
    err << "spiral-host: the kept parameters: " << hostio::printable(e.what()) << "\n";
    return 2;
  } catch (const render::RenderError& e) {
    err << "spiral-host: " << hostio::printable(e.what()) << "\n";
    return 2;
  }
  if (toStandardOutput) {
    out.write(standardOutputBytes.data(), static_cast<std::streamsize>(standardOutputBytes.size()));
    out.flush();
    if (!out) {
      err << "spiral-host: cannot write to standard output\n";
      return 2;
    }
  }
  if (progressLine) progressLine->report(1, "written", true);
  if (defaultName) {
    if (progressLine) progressLine->finish();
    err << "spiral-host: wrote " << requested.front().second << " (no output was named)\n";
  }
  return 0;
}

std::string readStandardInput() {
  std::string bytes;
  char buffer[65536];
  while (std::cin.read(buffer, sizeof buffer) || std::cin.gcount() > 0) {
    bytes.append(buffer, static_cast<std::size_t>(std::cin.gcount()));
    if (bytes.size() > hostio::kRecordInput.maxBytes)
      throw hostio::InputError("--params -: standard input holds more than " +
                                   hostio::byteCount(hostio::kRecordInput.maxBytes) + " (the bound of a record file)",
                               "too large");
  }
  return bytes;
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
    const std::string suite = spec.substr(0, slash);
    const std::string operation = spec.substr(slash + 1, equals - slash - 1);
    if (!host::isHostSuite(suite)) return "--fail: the host has no suite '" + suite + "'";
    if (!host::isHostOperation(suite, operation))
      return "--fail: the host's suite '" + suite + "' has no operation '" + operation + "'";
    gate.failOperation(suite, operation, code);
  }
  return "";
}

int runAboutCommand(const std::string& pluginPath, std::ostream& out, std::ostream& err) {
  host::DrawingSession drawing;
  if (!loadPlugin(drawing, pluginPath, err)) return 2;
  host::PluginSession* session = &drawing.plugin();
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
