#include "hostapp/session/drawing_session.h"

#include <algorithm>
#include <cctype>
#include <limits>

#include "hostapp/dialogs/dialog_json.h"
#include "hostapp/host/random_service.h"
#include "hostapp/io/file_input.h"
#include "hostapp/model/resources.h"
#include "hostapp/records/record_file.h"
#include "hostapp/session/session_json.h"
#include "hostapp/session/suite_installation.h"
#include "params/record/default_parameters.h"

namespace host {
namespace {

constexpr hostio::InputKind kDrawingInput{"drawing", std::numeric_limits<std::size_t>::max()};
// A drawing's metadata sits right after the <svg> start tag, so only the
// head of the file is read.
constexpr std::size_t kDrawingHeadBytes = std::size_t{1} << 20;

std::optional<std::string> readFile(const std::string& path, const hostio::InputKind& kind, std::string* text) {
  try {
    *text = hostio::readInputFile(path, kind);
  } catch (const hostio::InputError& e) {
    return e.what();
  }
  return std::nullopt;
}

// Read, parse and replace the document's swatches from index 2 on, or its
// whole graphic style list. The document is unchanged on error.
std::optional<std::string> loadGimpPaletteFile(const std::string& path, Document& document) {
  std::string text;
  if (auto error = readFile(path, hostio::kPaletteInput, &text)) return error;
  std::vector<PaletteEntry> entries;
  if (auto error = parseGimpPalette(text, &entries)) return hostio::excerpt(path) + ": " + *error;
  document.replacePalette(entries);
  return std::nullopt;
}

std::optional<std::string> loadGraphicStylesFile(const std::string& path, Document& document) {
  std::string text;
  if (auto error = readFile(path, hostio::kStylesInput, &text)) return error;
  std::vector<GraphicStyle> styles;
  if (auto error = parseGraphicStyles(text, document.colorModel(), &styles))
    return hostio::excerpt(path) + ": " + hostio::printable(*error);
  document.replaceGraphicStyles(std::move(styles));
  return std::nullopt;
}

HostOptions seeded(HostOptions options, std::uint64_t seed) {
  options.seed = seed;
  return options;
}

}  // namespace

bool isDrawingName(const std::string& path) {
  return path.size() >= 4 && std::equal(path.end() - 4, path.end(), ".svg", [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) == b;
         });
}

records::DrawingMetadata readDrawingFile(const std::string& path) {
  const std::string head = hostio::readInputHead(path, kDrawingInput, kDrawingHeadBytes);
  if (!records::looksLikeSvg(head)) throw records::RecordError("drawing " + hostio::quotedPath(path) + " is not an SVG");
  return records::readSvgMetadata(head, path);
}

DrawingSession::DrawingSession(const SessionSettings& settings)
    : seed_(settings.host.seed ? *settings.host.seed : RandomService::clockSeed()),
      host_(std::make_unique<HostContext>(seeded(settings.host, seed_))) {
  installSuites(*host_);
  if (!settings.swatches.empty()) host_->document().replacePalette(settings.swatches);
  const std::pair<const std::optional<std::string>*, decltype(&loadGimpPaletteFile)> loads[] = {
      {&settings.swatchesFile, &loadGimpPaletteFile}, {&settings.stylesFile, &loadGraphicStylesFile}};
  for (const auto& [file, load] : loads) {
    if (!*file) continue;
    if (const auto problem = load(**file, host_->document())) throw SessionError(*problem);
  }
}

DrawingSession::~DrawingSession() {
  plugin_.reset();
  host_.reset();
}

PluginSession& DrawingSession::loadPlugin(const std::string& path) {
  plugin_ = std::make_unique<PluginSession>(*host_, scanPluginFile(path.empty() ? defaultPluginPath() : path));
  return *plugin_;
}

PluginSession& DrawingSession::loadPlugin(const PluginFile& file, PluginMainProc entry) {
  plugin_ = entry ? std::make_unique<PluginSession>(*host_, file, entry) : std::make_unique<PluginSession>(*host_, file);
  return *plugin_;
}

SpiralParameters DrawingSession::defaultRecord() const {
  const View& view = host_->document().views().front();
  return defaultParameters(view.centre.x, view.centre.y);
}

void DrawingSession::stageRecord(const RecordSource& source) {
  SpiralParameters fields = defaultRecord();
  if (source.drawing) fields = source.drawing->record;
  else if (source.record) fields = *source.record;
  else if (source.recordFile) fields = records::loadRecordFile(*source.recordFile, fields);
  else if (source.recordBytes) fields = records::readRecord(*source.recordBytes, "-", fields);
  for (const std::string& assignment : source.assignments) records::applyAssignment(fields, assignment);
  staged_ = records::recordBytes(fields);
}

std::vector<unsigned char> DrawingSession::recordBytes() const {
  if (plugin_) {
    if (std::vector<unsigned char> kept = plugin_->recordBytes(); !kept.empty()) return kept;
  }
  if (!staged_.empty()) return staged_;
  return records::recordBytes(defaultRecord());
}

SpiralParameters DrawingSession::record() const { return records::recordFromBytes(recordBytes()); }

records::DrawingMetadata DrawingSession::metadata() const {
  records::DrawingMetadata metadata;
  metadata.record = record();
  metadata.seed = seed_;
  metadata.page = document().pageSize();
  metadata.colorModel = document().colorModel();
  if (plugin_) std::tie(metadata.pluginName, metadata.pluginVersion) = pluginNameAndVersion(plugin_->file());
  return metadata;
}

nlohmann::json DrawingSession::dumpExtras() const {
  nlohmann::json extra;
  extra["record"] = records::recordToJson(record());
  extra["result"] = result_;
  extra["messages"] = plugin_ ? messagesToJson(plugin_->messages()) : nlohmann::json::array();
  extra["dialogs"] = plugin_ ? shownDialogsToJson(plugin_->dialogs().shown()) : nlohmann::json::array();
  if (closedDialog_) extra["dialog"] = *closedDialog_ ? itemStatesToJson(**closedDialog_) : nlohmann::json();
  extra["previews"] = document().redrawCount();
  return extra;
}

void DrawingSession::write(OutputKind kind, std::ostream& out, const ExportOptions& options) {
  const ExportSource source{document(), recordBytes(), [this] { return records::metadataText(metadata()); },
                            [this] { return dumpExtras(); }};
  outputKind(kind).write(source, options, out);
}

}  // namespace host
