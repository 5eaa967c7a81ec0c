#include "hostapp/server/session_child.h"

#include <cmath>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <tuple>

#include "hostapp/dialogs/dialog_json.h"
#include "hostapp/dialogs/script_driver.h"
#include "hostapp/model/page.h"
#include "hostapp/platform/allocator.h"
#include "hostapp/records/record_file.h"
#include "hostapp/render/svg_render.h"
#include "hostapp/server/drawing_stream.h"
#include "hostapp/server/session_operations.h"
#include "hostapp/server/wire.h"
#include "hostapp/session/drawing_session.h"
#include "hostapp/writers/svg_writer.h"
#include "params/record/plugin_facts.h"
#include "params/record/spiral_parameters.h"

namespace server {
namespace {

using nlohmann::json;
using host::changedItems;
using host::dialogToJson;

// A request field of the wrong JSON type (a number where text belongs).
constexpr const char* kWrongType = "a field of the request has the wrong type";

// A request the child refuses; its text goes back to the page.
struct Refusal {
  std::string message;
};

// Drawings of more segments go to the page in their binary form, in pieces
// it asks for (see drawing_stream.h), instead of as SVG text in the answer:
// about 1 MiB of SVG.
constexpr std::uint64_t kBinaryDrawingSegments = 20000;
// The most bytes of a drawing or a download one message carries.
constexpr std::size_t kPieceBytes = std::size_t{1} << 20;

// A download written as messages of at most kPieceBytes: the first one
// names the file ({"mime", "file"}), each piece is {"piece": true} with its
// bytes, the last {"end": true}. Nothing is sent before the first piece is
// full or the download ends, so a download refused at once is one error.
class PieceWriter : public std::streambuf {
 public:
  PieceWriter(LineChannel& channel, nlohmann::json head) : channel_(channel), head_(std::move(head)) {
    buffer_.reserve(kPieceBytes);
  }
  bool started() const { return started_; }
  void finish() {
    send();
    if (!started_) channel_.write(head_);
    started_ = true;
    channel_.write({{"end", true}});
  }

 protected:
  int_type overflow(int_type c) override {
    if (c != traits_type::eof()) {
      buffer_ += traits_type::to_char_type(c);
      if (buffer_.size() >= kPieceBytes) send();
    }
    return traits_type::not_eof(c);
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    std::streamsize left = n;
    while (left > 0) {
      const std::size_t take = std::min<std::size_t>(static_cast<std::size_t>(left), kPieceBytes - buffer_.size());
      buffer_.append(s, take);
      s += take;
      left -= static_cast<std::streamsize>(take);
      if (buffer_.size() >= kPieceBytes) send();
    }
    return n;
  }

 private:
  void send() {
    if (buffer_.empty()) return;
    if (!started_) channel_.write(head_);
    started_ = true;
    channel_.writeWithBytes({{"piece", true}}, buffer_);
    buffer_.clear();
  }

  LineChannel& channel_;
  nlohmann::json head_;
  std::string buffer_;
  bool started_ = false;
};

std::string numberText(const json& value) {
  if (value.is_number()) {
    char text[64];
    std::snprintf(text, sizeof text, "%.10g", value.get<double>());
    return text;
  }
  if (value.is_string()) return value.get<std::string>();
  throw Refusal{"a value is a number"};
}

float coordinate(const json& request, const char* name) {
  const auto it = request.find(name);
  if (it == request.end() || !it->is_number()) throw Refusal{std::string("the pick needs a number \"") + name + "\""};
  const double v = it->get<double>();
  if (!std::isfinite(v) || std::fabs(v) > 1e7) throw Refusal{std::string("\"") + name + "\" is out of range"};
  return static_cast<float>(v);
}

// A user action on the open dialog from its JSON form:
// {"verb": "set"|"toggle"|"check"|"choose"|"press"|"pick"|"enter"|"escape",
//  "item": ID, "value": ..., "x": X, "y": Y}.
host::ScriptAction actionFromJson(const json& request) {
  using Verb = host::ScriptAction::Verb;
  static const std::map<std::string, Verb> kVerbs{
      {"set", Verb::Set},     {"toggle", Verb::Toggle}, {"check", Verb::Check}, {"choose", Verb::Choose},
      {"press", Verb::Press}, {"pick", Verb::Pick},     {"enter", Verb::Enter}, {"escape", Verb::Escape}};
  const auto verbIt = request.find("verb");
  if (verbIt == request.end() || !verbIt->is_string() || !kVerbs.count(verbIt->get<std::string>())) {
    throw Refusal{"an action's \"verb\" is set, toggle, check, choose, press, pick, enter or escape"};
  }
  host::ScriptAction action;
  action.verb = kVerbs.at(verbIt->get<std::string>());
  action.source = verbIt->get<std::string>();
  if (action.verb == Verb::Enter || action.verb == Verb::Escape) return action;
  const auto itemIt = request.find("item");
  if (itemIt == request.end() || !itemIt->is_number_integer()) throw Refusal{"an action needs the \"item\" id"};
  const int64_t id = itemIt->get<int64_t>();
  if (id < INT32_MIN || id > INT32_MAX) throw Refusal{"there is no item " + std::to_string(id)};
  action.itemId = static_cast<int32_t>(id);
  action.source += " " + std::to_string(id);
  const json value = request.value("value", json());
  switch (action.verb) {
    case Verb::Set: {
      action.number = numberText(value);
      char* end = nullptr;
      const double v = std::strtod(action.number.c_str(), &end);
      if (action.number.empty() || *end != '\0' || !std::isfinite(v)) throw Refusal{"'" + action.number + "' is not a number"};
      action.source += " " + action.number;
      break;
    }
    case Verb::Check:
      if (!value.is_boolean()) throw Refusal{"a check box is true or false"};
      action.on = value.get<bool>();
      break;
    case Verb::Choose:
      if (!value.is_number_integer()) throw Refusal{"a choice is an entry's position"};
      action.position = static_cast<int32_t>(std::clamp<int64_t>(value.get<int64_t>(), -1, INT32_MAX));
      break;
    case Verb::Pick:
      action.x = coordinate(request, "x");
      action.y = coordinate(request, "y");
      break;
    default:
      break;
  }
  return action;
}

class SessionChild;

// The user at the page, acting on the open options dialog.
class PageSource : public host::ActionSource {
 public:
  explicit PageSource(SessionChild& child) : child_(child) {}
  std::optional<host::ScriptAction> next(host::Dialog& dialog) override;
  bool done(const host::ScriptAction& action, host::Dialog& dialog, const std::string& error) override;
  void otherDialog(host::DialogManager& manager, host::Dialog& dialog) override;

 private:
  SessionChild& child_;
};

class SessionChild {
 public:
  SessionChild(const SessionOptions& options, LineChannel& channel) : options_(options), channel_(channel) {}

  // Serves until "close" or the end of input.
  int serve() {
    try {
      openDocument(options_.pageSize, options_.colorModel, {});
    } catch (const Refusal& r) {
      channel_.write({{"error", r.message}, {"fatal", true}});
      return 2;
    }
    channel_.write(state());
    while (!closing_) {
      std::optional<json> request = channel_.read();
      if (!request) break;
      handle(*request);
    }
    closeDocument();
    return 0;
  }

  // ---- Inside the options dialog (called by PageSource) ------------------

  std::optional<host::ScriptAction> nextAction(host::Dialog& dialog) {
    if (dialog.ended() || closing_) return std::nullopt;
    if (dialogOpening_) {
      // The dialog is built and its first preview drawn: the page sees it.
      dialogOpening_ = false;
      dialog_ = &dialog;
      sentItems_.clear();
      json answer = common();
      answer["dialog"] = dialogToJson(dialog);
      changedItems(dialog, sentItems_);
      channel_.write(answer);
    }
    for (;;) {
      std::optional<json> request = channel_.read();
      if (!request) {
        closing_ = true;
        return std::nullopt;
      }
      const std::string op = request->value("op", "");
      try {
        if (op == "action") return actionFromJson(*request);
        if (op == "close") {
          closing_ = true;
          return std::nullopt;
        }
        if (op == "state") {
          json answer = state();
          answer["dialog"] = dialogToJson(dialog);
          channel_.write(answer);
        } else if (op == "export") {
          exportDocument(*request);
        } else if (op == "drawing") {
          sendDrawingPiece(*request);
        } else {
          throw Refusal{"the options dialog is open: finish it first"};
        }
      } catch (const Refusal& r) {
        channel_.write({{"error", r.message}});
      } catch (const json::exception&) {
        channel_.write({{"error", kWrongType}});
      }
    }
  }

  void actionDone(host::Dialog& dialog, const std::string& error) {
    // An action that ended the dialog is answered when the filter is done.
    if (dialog.ended()) return;
    json answer = common();
    answer["items"] = changedItems(dialog, sentItems_);
    if (!error.empty()) answer["error"] = error;
    channel_.write(answer);
  }

  void otherDialog(host::DialogManager& manager, host::Dialog& dialog) {
    boxes_.push_back(dialogToJson(dialog));
    host::acceptDriver(manager, dialog);
  }

 private:
  // A new host and document with the plug-in started; `record` (bytes the
  // host kept) becomes the filter's record when given.
  void openDocument(host::Point pageSize, host::ColorModel model, const std::vector<unsigned char>& record) {
    host::SessionSettings settings;
    settings.host.pageSize = pageSize;
    settings.host.colorModel = model;
    settings.host.seed = options_.seed;
    if (options_.memoryBudget) settings.host.memoryBudget = *options_.memoryBudget;
    settings.swatchesFile = options_.swatchesFile;
    settings.stylesFile = options_.stylesFile;
    try {
      session_ = std::make_unique<host::DrawingSession>(settings);
      plugin_ = &session_->loadPlugin(options_.pluginPath);
    } catch (const host::SessionError& e) {
      throw Refusal{e.what()};
    } catch (const host::LoadError& e) {
      throw Refusal{e.what()};
    }
    plugin_->dialogs().setDriver(host::actionDriver(std::make_shared<PageSource>(*this), kOptionsDialogName,
                                                    true, session_->document(), std::make_shared<host::ScriptOutcome>()));
    lastResult_ = plugin_->startup();
    if (!record.empty() && lastResult_ == kHostNoErr) lastResult_ = plugin_->setRecordBytes(record);
  }

  void closeDocument() {
    if (plugin_) plugin_->shutdown();
    plugin_ = nullptr;
    session_.reset();
  }

  void handle(const json& request) {
    const std::string op = request.value("op", "");
    try {
      if (op == "state") {
        channel_.write(state());
      } else if (op == "filter") {
        runFilter();
      } else if (op == "repeat") {
        if (plugin_->recordBytes().empty()) throw Refusal{"choose the filter first: there is no record to repeat"};
        lastResult_ = plugin_->repeatFilter();
        channel_.write(finished());
      } else if (op == "undo") {
        session_->document().undoMessage();
        channel_.write(finished());
      } else if (op == "about") {
        lastResult_ = plugin_->about();
        channel_.write(finished());
      } else if (op == "document") {
        newDocument(request);
        channel_.write(state());
      } else if (op == "record") {
        loadRecord(request);
        channel_.write(state());
      } else if (op == "export") {
        exportDocument(request);
      } else if (op == "drawing") {
        sendDrawingPiece(request);
      } else if (op == "action") {
        throw Refusal{"the options dialog is not open"};
      } else if (op == "close") {
        closing_ = true;
        channel_.write({{"closed", true}});
      } else {
        throw Refusal{"unknown request \"" + op + "\""};
      }
    } catch (const Refusal& r) {
      channel_.write({{"error", r.message}});
    } catch (const json::exception&) {
      channel_.write({{"error", kWrongType}});
    }
  }

  void runFilter() {
    if (!plugin_->filter()) throw Refusal{"the plug-in registered no filter"};
    dialogOpening_ = true;
    lastResult_ = plugin_->chooseFilter();
    dialog_ = nullptr;
    dialogOpening_ = false;
    if (closing_) return;
    json answer = finished();
    answer["dialog"] = nullptr;
    answer["cancelled"] = lastResult_ == kUserCancelErr;
    channel_.write(answer);
  }

  void newDocument(const json& request) {
    json page = request.value("page", json::array({options_.pageSize.x, options_.pageSize.y}));
    // A size as text reads as on the command line ("A4", "210mm,297mm").
    if (page.is_string()) {
      const auto size = host::parsePageSize(page.get<std::string>());
      if (!size) throw Refusal{"\"page\" as text needs " + host::pageSizeForms()};
      page = json::array({size->x, size->y});
    }
    if (!page.is_array() || page.size() != 2 || !page[0].is_number() || !page[1].is_number()) {
      throw Refusal{"\"page\" is [width, height] in points, or a size as text"};
    }
    const double w = page[0].get<double>(), h = page[1].get<double>();
    if (!host::isPageSide(w) || !host::isPageSide(h)) {
      throw Refusal{"a page is " + host::pageSizeText({static_cast<float>(host::kMinPageSide), static_cast<float>(host::kMaxPageSide)}) + " points at the least and the most a side"};
    }
    const auto model = host::colorModelFromName(
        request.value("colorModel", std::string(host::colorModelName(session_->document().colorModel()))));
    if (!model) throw Refusal{"\"colorModel\" is gray, rgb or cmyk"};
    // The filter keeps its record across documents, as a host keeps it with
    // the filter.
    const std::vector<unsigned char> record = plugin_->recordBytes();
    closeDocument();
    openDocument({static_cast<float>(w), static_cast<float>(h)}, *model, record);
  }

  // A record file opened in the page is read as `draw --params` reads one
  // (records::readRecord): its bytes and name in "file" and "name". The
  // fields of "json", or the bytes of "binary", go through the same checks.
  // Fields a JSON record does not give keep their values.
  void loadRecord(const json& request) {
    std::vector<unsigned char> bytes;
    try {
      SpiralParameters record;
      if (request.contains("file")) {
        const std::string name = request.value("name", std::string("the opened record"));
        const auto decoded = request["file"].is_string() ? base64Decode(request["file"].get<std::string>()) : std::nullopt;
        if (!decoded) throw Refusal{"\"file\" is the record file's bytes in base64"};
        record = records::readRecord(*decoded, name, currentRecord());
      } else if (request.contains("json")) {
        const json& fields = request["json"];
        if (!fields.is_object()) throw Refusal{"a record's JSON is an object of fields"};
        record = records::readRecord(fields.dump(), "record.json", currentRecord());
      } else if (request.contains("binary") && request["binary"].is_string()) {
        const auto decoded = base64Decode(request["binary"].get<std::string>());
        if (!decoded) throw Refusal{"\"binary\" is not base64"};
        if (decoded->size() != kSpiralParametersSize) {
          throw Refusal{"a record file holds " + std::to_string(kSpiralParametersSize) + " bytes, not " +
                        std::to_string(decoded->size())};
        }
        bytes.assign(decoded->begin(), decoded->end());
      } else {
        throw Refusal{"a record comes as \"file\" (base64, with its \"name\"), \"json\" (an object) or \"binary\" (base64)"};
      }
      if (bytes.empty()) bytes = records::recordBytes(record);
    } catch (const records::RecordError& e) {
      throw Refusal{e.what()};
    }
    lastResult_ = plugin_->setRecordBytes(bytes);
  }

  // The filter's record, or the defaults of a new one (centred on view 0)
  // before the plug-in made one.
  SpiralParameters currentRecord() const {
    try {
      return session_->record();
    } catch (const records::RecordError& e) {
      throw Refusal{e.what()};
    }
  }

  // The document, record or picture as a download of the output table,
  // sent in pieces as it is written (see PieceWriter).
  void exportDocument(const json& request) {
    const host::OutputKindInfo* info = host::findOutputKind(request.value("kind", ""));
    if (!info || !info->served) throw Refusal{"an export is " + host::servedKindNames()};
    PieceWriter pieces(channel_, {{"mime", info->mime}, {"file", info->file}});
    std::ostream out(&pieces);
    std::string problem;
    try {
      session_->setResult(lastResult_);
      session_->write(info->kind, out);
    } catch (const records::RecordError& e) {
      problem = e.what();
    } catch (const render::RenderError& e) {
      problem = e.what();
    }
    if (!problem.empty()) {
      if (!pieces.started()) throw Refusal{problem};
      // The download is cut short: the server ends it unfinished.
      channel_.write({{"error", problem}, {"partial", true}});
    } else {
      pieces.finish();
    }
    host::platform::releaseFreedMemory();
  }

  // The next piece of the drawing last sent to the page, asked for by its
  // serial and where the previous piece ended ("layer", "art"). A drawing
  // that a later answer replaced is refused as superseded.
  void sendDrawingPiece(const json& request) {
    const json serial = request.value("serial", json());
    if (!serial.is_number_unsigned() || serial.get<std::uint64_t>() != drawingSerial_ || !binaryDrawing_) {
      channel_.write({{"error", "the drawing was superseded by a newer one"}, {"superseded", true}});
      return;
    }
    DrawingCursor cursor;
    cursor.layer = request.value("layer", 0u);
    cursor.art = request.value("art", 0u);
    const auto& layers = session_->document().layers();
    const host::Art* art = session_->document().art(cursor.art);
    if (cursor.layer > layers.size() ||
        (cursor.art != host::kNoArt && (!art || cursor.layer == layers.size() || art->links.layer != layers[cursor.layer].id ||
                                        !art->links.placed)))
      throw Refusal{"there is no such place in the drawing"};
    bool done = false;
    const std::string piece = drawingPiece(session_->document(), drawingSerial_, drawingSummary_, cursor, kPieceBytes, done);
    json head{{"done", done}};
    if (!done) head.update({{"layer", cursor.layer}, {"art", cursor.art}});
    channel_.writeWithBytes(std::move(head), piece);
  }

  // What every answer carries: the drawing, the undo state and the dialogs
  // and alerts shown since the last answer. Outside the options dialog the
  // drawing is as Download SVG writes it, its record in the metadata
  // ("savable"), so that the page holds a drawing it can still save after
  // the session ends. A preview is the dialog's record at work, which the
  // host cannot see until the dialog is accepted: it goes without metadata.
  // A large drawing goes as its serial and size ("drawing"); the page asks
  // for it in pieces, and any later answer supersedes it.
  json common() {
    json answer;
    ++drawingSerial_;
    const std::uint64_t before = drawingSummary_.segments;
    drawingSummary_ = summarizeDrawing(session_->document());
    binaryDrawing_ = drawingSummary_.segments > kBinaryDrawingSegments;
    // A large drawing gone (a cancelled preview, an undo): the memory kept
    // for redrawing it goes back to the system.
    if (before > kBinaryDrawingSegments && drawingSummary_.segments < before / 2) host::platform::releaseFreedMemory();
    if (binaryDrawing_) {
      // Large: the page fetches it in pieces, by this serial.
      answer["drawing"] = {{"serial", drawingSerial_},
                           {"paths", drawingSummary_.paths},
                           {"segments", drawingSummary_.segments},
                           {"bytes", drawingSummary_.bytes}};
      answer["savable"] = false;
      // Outside the dialog, what the page needs to write it as Download SVG
      // does from the binary form it keeps: the metadata and the layers.
      if (!dialogOpening_ && !dialog_) {
        try {
          json layers = json::array();
          const auto& docLayers = session_->document().layers();
          for (std::size_t k = 0; k < docLayers.size(); ++k)
            layers.push_back(json::array({docLayers[k].name, drawingSummary_.layerPaths[k]}));
          answer["drawing"]["saveAs"] = {{"metadata", records::metadataText(session_->metadata())},
                                         {"layers", std::move(layers)}};
        } catch (const records::RecordError&) {
        }
      }
    } else {
      std::string svg;
      bool savable = false;
      if (!dialogOpening_ && !dialog_) {
        std::ostringstream out;
        try {
          session_->write(host::OutputKind::Svg, out);
          svg = std::move(out).str();
          savable = true;
        } catch (const records::RecordError&) {
        }
      }
      if (!savable) svg = writers::svgString(session_->document());
      answer["svg"] = std::move(svg);
      answer["savable"] = savable;
    }
    answer["canUndo"] = session_->document().pendingUndoEntries() > 0;
    answer["hasRecord"] = !plugin_->recordBytes().empty();
    const auto& shown = plugin_->dialogs().shown();
    for (std::size_t k = shownSeen_; k < shown.size(); ++k) {
      if (shown[k].alert) boxes_.push_back({{"alert", true}, {"caption", "Alert"}, {"text", shown[k].items.empty() ? "" : shown[k].items[0].text}});
    }
    shownSeen_ = shown.size();
    answer["boxes"] = std::exchange(boxes_, json::array());
    addFacts(answer);
    return answer;
  }

  // What the page offers: the downloads, the operations, the colour models
  // and the pages a new document may have.
  static void addFacts(json& answer) {
    json exports = json::array();
    for (const host::OutputKindInfo& info : host::outputKinds()) {
      if (info.served)
        exports.push_back({{"kind", info.name}, {"label", info.label}, {"mime", info.mime}, {"file", info.file}});
    }
    answer["exports"] = std::move(exports);
    answer["operations"] = kSessionOperations;
    answer["colorModels"] = host::kColorModelNames;
    answer["defaultPage"] = {host::kDefaultPageSize.x, host::kDefaultPageSize.y};
    answer["pageLimits"] = {host::kMinPageSide, host::kMaxPageSide};
  }

  json finished() {
    json answer = common();
    answer["result"] = lastResult_;
    answer["resultText"] = host::resultCodeText(lastResult_);
    return answer;
  }

  json state() {
    json filters = json::array();
    for (const host::FilterRecord& f : session_->host().filters()) {
      filters.push_back({{"name", f.name}, {"category", f.category}, {"title", f.title}});
    }
    json answer = common();
    const host::Point page = session_->document().pageSize();
    answer["page"] = {page.x, page.y};
    answer["colorModel"] = host::colorModelName(session_->document().colorModel());
    answer["filters"] = std::move(filters);
    // The plug-in by its file name: the page has no use for where the
    // server keeps it.
    answer["plugin"] = std::filesystem::path(plugin_->file().path).filename().string();
    answer["dialog"] = nullptr;
    answer["result"] = lastResult_;
    answer["resultText"] = host::resultCodeText(lastResult_);
    return answer;
  }

  SessionOptions options_;
  LineChannel& channel_;
  std::unique_ptr<host::DrawingSession> session_;
  host::PluginSession* plugin_ = nullptr;
  HostErr lastResult_ = kHostNoErr;
  bool closing_ = false;
  bool dialogOpening_ = false;
  host::Dialog* dialog_ = nullptr;
  std::map<int32_t, json> sentItems_;
  std::size_t shownSeen_ = 0;
  json boxes_ = json::array();
  // The drawing of the last answer: its serial, its size and whether it
  // went to the page in pieces.
  std::uint64_t drawingSerial_ = 0;
  DrawingSummary drawingSummary_;
  bool binaryDrawing_ = false;
};

std::optional<host::ScriptAction> PageSource::next(host::Dialog& dialog) { return child_.nextAction(dialog); }

bool PageSource::done(const host::ScriptAction&, host::Dialog& dialog, const std::string& error) {
  child_.actionDone(dialog, error);
  return true;  // a refused action leaves the dialog open for the next one
}

void PageSource::otherDialog(host::DialogManager& manager, host::Dialog& dialog) { child_.otherDialog(manager, dialog); }

}  // namespace

std::vector<std::string> sessionArguments(const SessionOptions& options) {
  std::vector<std::string> args;
  if (!options.pluginPath.empty()) args.insert(args.end(), {"--plugin", options.pluginPath});
  args.insert(args.end(), {"--page", host::pageSizeText(options.pageSize)});
  args.insert(args.end(), {"--color-model", host::colorModelName(options.colorModel)});
  if (options.seed) args.insert(args.end(), {"--seed", std::to_string(*options.seed)});
  if (options.swatchesFile) args.insert(args.end(), {"--swatches", *options.swatchesFile});
  if (options.stylesFile) args.insert(args.end(), {"--styles", *options.stylesFile});
  if (options.memoryBudget) args.insert(args.end(), {"--memory-budget", std::to_string(*options.memoryBudget)});
  return args;
}

int runSessionChild(const SessionOptions& options, int inFd, int outFd) {
  LineChannel channel(inFd, outFd);
  SessionChild child(options, channel);
  return child.serve();
}

}  // namespace server
