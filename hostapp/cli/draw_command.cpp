#include "hostapp/cli/draw_command.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <climits>
#include <limits>
#include <tuple>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "hostapp/cli/dialog_options.h"
#include "hostapp/cli/session_report.h"
#include "hostapp/composition/suite_installation.h"
#include "hostapp/host/host_context.h"
#include "hostapp/host/host_operations.h"
#include "hostapp/io/file_input.h"
#include "hostapp/io/output_set.h"
#include "hostapp/loader/plugin_loader.h"
#include "hostapp/model/resources.h"
#include "hostapp/records/record_file.h"
#include "hostapp/records/svg_metadata.h"
#include "hostapp/render/svg_render.h"
#include "hostapp/session/plugin_session.h"
#include "hostapp/writers/json_writer.h"
#include "hostapp/writers/svg_writer.h"
#include "params/record/default_parameters.h"

namespace cli {
namespace {

// The plug-in of the command line, loaded; the reason goes to `err` when it
// is refused.
std::unique_ptr<host::PluginSession> loadPlugin(host::HostContext& hostContext, const std::string& path,
                                                std::ostream& err) {
  try {
    return std::make_unique<host::PluginSession>(
        hostContext, host::scanPluginFile(path.empty() ? host::defaultPluginPath() : path));
  } catch (const host::LoadError& e) {
    err << "spiral-host: " << hostio::printable(e.what()) << "\n";
    return nullptr;
  }
}

// True when the user's actions failed; the dialog was then cancelled.
bool reportDriverError(host::DialogManager& dialogs, std::ostream& err) {
  const std::string error = dialogs.takeDriverError();
  if (!error.empty()) err << "spiral-host: dialog script: " << hostio::printable(error) << "\n";
  return !error.empty();
}

// A drawing given to --params: a file whose name ends in ".svg". Its
// metadata sits right after the <svg> start tag, so only the head of the
// file is read.
bool isDrawingName(const std::string& path) {
  return path.size() >= 4 && std::equal(path.end() - 4, path.end(), ".svg", [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) == b;
         });
}

constexpr hostio::InputKind kDrawingInput{"drawing", std::numeric_limits<std::size_t>::max()};
constexpr std::size_t kDrawingHeadBytes = std::size_t{1} << 20;

records::DrawingMetadata readDrawing(const std::string& path) {
  hostio::checkInputFile(path, kDrawingInput);
  std::ifstream in(path, std::ios::binary);
  std::string head(kDrawingHeadBytes, '\0');
  in.read(head.data(), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<std::size_t>(in.gcount()));
  if (!records::looksLikeSvg(head)) throw records::RecordError("drawing " + hostio::quotedPath(path) + " is not an SVG");
  return records::readSvgMetadata(head, path);
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

namespace {

// Progress of a long run on a terminal: after the delay, one line,
// rewritten in place, of the spirals started of spiralCount (read from the
// record the plug-in holds, which the dialog may change).
class ProgressLine {
 public:
  ProgressLine(bool on, std::chrono::milliseconds delay, host::HostContext& host, host::PluginSession& session,
               int32_t spiralCount, std::ostream& err)
      : host_(host), err_(err), start_(Clock::now()), lastShown_(start_) {
    if (!on) return;
    host.gate().setHeartbeat(kCallsPerLook, [this, delay, &session, spiralCount] {
      const auto now = Clock::now();
      if (now - start_ < delay || (shown_ && now - lastShown_ < std::chrono::milliseconds(100)))
        return;
      int32_t total = spiralCount;
      if (const std::vector<unsigned char> kept = session.recordBytes(); kept.size() == kSpiralParametersSize)
        total = records::recordFromBytes(kept).spiralCount;
      const std::uint64_t started = host_.document().newPathsSinceUndo();
      const std::uint64_t drawn = total > 0 ? std::min<std::uint64_t>(started, static_cast<std::uint64_t>(total)) : 0;
      err_ << "\rspiral-host: drawing spiral " << drawn << " of " << total << std::flush;
      shown_ = true;
      lastShown_ = now;
    });
  }
  ~ProgressLine() { finish(); }
  // Stops looking; ends the line when one was shown.
  void finish() {
    host_.gate().setHeartbeat(0, nullptr);
    if (shown_) err_ << "\n";
    shown_ = false;
  }

 private:
  using Clock = std::chrono::steady_clock;
  static constexpr std::uint64_t kCallsPerLook = 1 << 16;
  host::HostContext& host_;
  std::ostream& err_;
  Clock::time_point start_;
  Clock::time_point lastShown_;
  bool shown_ = false;
};

// The SVG with its metadata, and the PNG and PDF rendered from the same SVG
// bytes. Without pictures the SVG is streamed straight into its output.
void writeDrawing(const DrawOptions& options, const host::Document& document, std::span<const unsigned char> record,
                  std::uint64_t seed, const host::PluginFile& plugin, hostio::OutputSet& outputs) {
  if (!options.svgFile && !options.pngFile && !options.pdfFile) return;
  records::DrawingMetadata metadata;
  metadata.record = records::recordFromBytes(record);
  metadata.seed = seed;
  metadata.page = document.pageSize();
  metadata.colorModel = document.colorModel();
  std::tie(metadata.pluginName, metadata.pluginVersion) = pluginNameAndVersion(plugin);
  const std::string metadataText = records::metadataText(metadata);
  if (!options.pngFile && !options.pdfFile) {
    writers::writeSvg(document, outputs.open(*options.svgFile), metadataText);
    return;
  }
  const std::string svg = writers::svgString(document, metadataText);
  if (options.svgFile) outputs.open(*options.svgFile) << svg;
  if (options.pngFile) render::svgToPng(svg, options.dpi, outputs.open(*options.pngFile));
  if (options.pdfFile) render::svgToPdf(svg, outputs.open(*options.pdfFile));
}

}  // namespace

int runDrawCommand(const DrawOptions& options, std::ostream& err) {
  // A drawing given to --params brings its record, seed, page and colour
  // model; the command line's own values come first.
  std::optional<records::DrawingMetadata> drawing;
  if (options.paramsFile && isDrawingName(*options.paramsFile)) {
    try {
      drawing = readDrawing(*options.paramsFile);
    } catch (const records::RecordError& e) {
      err << "spiral-host: " << hostio::printable(e.what()) << "\n";
      return 2;
    } catch (const hostio::InputError& e) {
      err << "spiral-host: " << hostio::printable(e.what()) << "\n";
      return 2;
    }
  }
  host::HostOptions hostOptions;
  hostOptions.pageSize = options.pageSize ? *options.pageSize : drawing ? drawing->page : host::Point{612, 792};
  hostOptions.colorModel = options.colorModel ? *options.colorModel
                           : drawing          ? drawing->colorModel
                                              : host::ColorModel::Rgb;
  // The seed is always known, so that the SVG can record it.
  const std::uint64_t seed = options.seed ? *options.seed : drawing ? drawing->seed : host::RandomService::clockSeed();
  hostOptions.seed = seed;
  if (options.memoryBudget) hostOptions.memoryBudget = *options.memoryBudget;
  host::HostContext hostContext(hostOptions);
  host::installSuites(hostContext);
  auto active = hostContext.activate();

  // The outputs are named before anything runs: two naming one file, or one
  // that cannot be a file, is a usage error. They are written at the end,
  // each to a temporary file, and replace the old files only when all were
  // written.
  hostio::OutputSet outputs;
  try {
    for (const auto& [file, option] : {std::pair{&options.svgFile, "--svg"}, std::pair{&options.jsonFile, "--json"},
                                       std::pair{&options.saveParams, "--save-params"},
                                       std::pair{&options.pngFile, "--png"}, std::pair{&options.pdfFile, "--pdf"}}) {
      if (*file) outputs.claim(**file, option);
    }
  } catch (const hostio::OutputError& e) {
    err << "spiral-host: " << hostio::printable(e.what()) << "\n";
    return 2;
  }

  if ((options.pngFile || options.pdfFile) && !render::available()) {
    err << "spiral-host: this spiral-host was built without librsvg and cairo: --png and --pdf are not available\n";
    return 2;
  }
  if (options.pngFile) {
    const int width = render::pixelsFor(hostOptions.pageSize.x, options.dpi);
    const int height = render::pixelsFor(hostOptions.pageSize.y, options.dpi);
    if (width > render::kMaxPixels || height > render::kMaxPixels) {
      err << "spiral-host: --png: the page at " << options.dpi << " dpi is " << width << " x " << height
          << " pixels, beyond " << render::kMaxPixels << " per side\n";
      return 2;
    }
  }

  // The document's swatches and graphic styles, from files when asked.
  const std::pair<const std::optional<std::string>*, decltype(&host::loadGimpPaletteFile)> loads[] = {
      {&options.swatchesFile, &host::loadGimpPaletteFile}, {&options.stylesFile, &host::loadGraphicStylesFile}};
  for (const auto& [file, load] : loads) {
    if (!*file) continue;
    if (const auto problem = load(**file, hostContext.document())) {
      err << "spiral-host: " << hostio::printable(*problem) << "\n";
      return 2;
    }
  }

  // The record: defaults of a new filter (centred on view 0), a record file,
  // then the assignments. Any problem stops here, before anything is drawn.
  // From here on the record travels as the bytes the host keeps.
  std::vector<unsigned char> record;
  int32_t spiralCount = 0;
  try {
    const host::View& view = hostContext.document().views().front();
    SpiralParameters fields = defaultParameters(view.centre.x, view.centre.y);
    if (drawing) fields = drawing->record;
    else if (options.paramsFile) fields = records::loadRecordFile(*options.paramsFile, fields);
    for (const std::string& assignment : options.assignments) records::applyAssignment(fields, assignment);
    spiralCount = fields.spiralCount;
    record = records::recordBytes(fields);
  } catch (const records::RecordError& e) {
    err << "spiral-host: " << hostio::printable(e.what()) << "\n";
    return 2;
  }

  if (const std::string problem = injectFailures(options.failures, hostContext.gate()); !problem.empty()) {
    err << "spiral-host: " << hostio::printable(problem) << "\n";
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
    err << "spiral-host: " << hostio::printable(e.what()) << "\n";
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
  dialogs.setDriver(
      host::scriptDriver(std::move(actions), kOptionsDialogName, options.cancel, hostContext.document(), script));
  const bool recordGiven = options.paramsFile || !options.assignments.empty();
  ProgressLine progress(options.progress, options.progressDelay, hostContext, *session, spiralCount, err);
  HostErr result = session->startup();
  if (result == kHostNoErr && (options.noDialog || recordGiven)) result = session->setRecordBytes(record);
  if (result == kHostNoErr) result = options.noDialog ? session->repeatFilter() : session->chooseFilter();
  progress.finish();
  if (std::vector<unsigned char> kept = session->recordBytes(); !kept.empty()) record = std::move(kept);
  session->shutdown();
  printShownDialogs(dialogs.shown(), err);
  // A script that failed cancelled the dialog: nothing is drawn or written.
  if (reportDriverError(dialogs, err)) return 2;

  try {
    writeDrawing(options, hostContext.document(), record, seed, session->file(), outputs);
    if (options.jsonFile) {
      nlohmann::json extra;
      extra["record"] = records::recordToJson(records::recordFromBytes(record));
      extra["result"] = result;
      extra["messages"] = messagesToJson(session->messages());
      extra["dialogs"] = dialogsToJson(dialogs.shown());
      extra["dialog"] = script->ran ? itemStatesToJson(script->closedItems) : nlohmann::json();
      extra["previews"] = hostContext.document().redrawCount();
      std::ostream& out = outputs.open(*options.jsonFile);
      writers::writeDocumentJson(hostContext.document(), extra, out);
      out << "\n";
    }
    if (options.saveParams) {
      records::writeRecord(outputs.open(*options.saveParams), record, records::isJsonRecordName(*options.saveParams));
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
  if (result == kUserCancelErr) {  // the user cancelled the dialog: not a failure
    err << "spiral-host: the options dialog was cancelled; nothing was drawn\n";
    return 0;
  }
  if (result != kHostNoErr) {
    printRefusals(hostContext.gate(), err);
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
  host::HostContext hostContext;
  host::installSuites(hostContext);
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
