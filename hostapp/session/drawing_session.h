// One drawing session: a host with every suite installed, its document
// (with swatches and graphic styles from files when asked), the plug-in
// loaded into it, the seed of its random service (given or from the clock,
// always known so that a drawing can record it) and the filter's record.
// Every front end (the command line, the server's session process, the
// validator, benchmarks) is thin over it; none sets up a host itself.
//
// The record of the drawing is the one the plug-in keeps after a run; before
// there is one, the record staged from the command line (a record file, a
// drawing's metadata, assignments), else the defaults of a new filter
// centred on view 0. The session exports the document as any output kind
// of the one table (output_kinds.h).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "hostapp/dialogs/script_driver.h"
#include "hostapp/host/host_context.h"
#include "hostapp/loader/plugin_loader.h"
#include "hostapp/records/svg_metadata.h"
#include "hostapp/session/output_kinds.h"
#include "hostapp/session/plugin_session.h"
#include "params/record/spiral_parameters.h"

namespace host {

struct SessionSettings {
  HostOptions host;  // an unset seed is taken from the clock
  std::optional<std::string> swatchesFile;  // a GIMP palette (.gpl)
  std::vector<PaletteEntry> swatches;       // or the swatches themselves, when there are some
  std::optional<std::string> stylesFile;    // a JSON list of graphic styles
};

// A problem with what the session was given (a swatches or styles file);
// its message is one line for the user.
class SessionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Where the first record comes from: the defaults of a new filter, replaced
// by a drawing's record or a whole record, or read over by a record file or
// a record file's bytes, then the FIELD=VALUE assignments.
struct RecordSource {
  std::optional<records::DrawingMetadata> drawing;
  std::optional<SpiralParameters> record;
  std::optional<std::string> recordFile;   // binary or JSON
  std::optional<std::string> recordBytes;  // a record file's bytes read elsewhere (standard input)
  std::vector<std::string> assignments;
};

// A drawing given as the record: a file whose name ends in ".svg".
bool isDrawingName(const std::string& path);
// The metadata of a drawing's SVG. Throws records::RecordError and
// hostio::InputError.
records::DrawingMetadata readDrawingFile(const std::string& path);

class DrawingSession {
 public:
  // Throws SessionError.
  explicit DrawingSession(const SessionSettings& settings = {});
  ~DrawingSession();
  DrawingSession(const DrawingSession&) = delete;
  DrawingSession& operator=(const DrawingSession&) = delete;

  // Opens the plug-in's library (an empty path: the one beside the
  // program), or a plug-in linked into this program when `entry` is given.
  // Throws LoadError.
  PluginSession& loadPlugin(const std::string& path);
  PluginSession& loadPlugin(const PluginFile& file, PluginMainProc entry = nullptr);
  bool hasPlugin() const { return plugin_ != nullptr; }
  PluginSession& plugin() { return *plugin_; }
  const PluginSession& plugin() const { return *plugin_; }

  HostContext& host() { return *host_; }
  const HostContext& host() const { return *host_; }
  Document& document() { return host_->document(); }
  const Document& document() const { return host_->document(); }
  HostContext::Activation activate() { return host_->activate(); }
  std::uint64_t seed() const { return seed_; }

  // ---- The record ---------------------------------------------------------
  // The defaults of a new filter, centred on view 0.
  SpiralParameters defaultRecord() const;
  // Stages the record of `source`. Throws records::RecordError.
  void stageRecord(const RecordSource& source);
  const std::vector<unsigned char>& stagedRecord() const { return staged_; }
  // Makes the staged record the one the host kept from an earlier run.
  HostErr handOverRecord() { return plugin_->setRecordBytes(staged_); }
  // The plug-in's kept record, else the staged one, else the defaults.
  std::vector<unsigned char> recordBytes() const;
  // The same, decoded. Throws records::RecordError.
  SpiralParameters record() const;

  // ---- What the outputs report ------------------------------------------
  // The result of the last message the front end sent.
  HostErr result() const { return result_; }
  void setResult(HostErr result) { result_ = result; }
  // The options dialog's items as it closed (nullopt inside: no dialog ran),
  // once a front end reports it; unset, the dump has no "dialog".
  const std::optional<std::optional<std::vector<ItemState>>>& closedDialog() const { return closedDialog_; }
  void reportClosedDialog(std::optional<std::vector<ItemState>> items) { closedDialog_ = std::move(items); }
  // The record, seed, page, colour model and plug-in of the drawing. Throws
  // records::RecordError.
  records::DrawingMetadata metadata() const;

  // The JSON dump's keys beside the document: the record, the last result,
  // the messages, the dialogs shown and the options dialog as it closed.
  nlohmann::json dumpExtras() const;
  // Writes `kind` (see output_kinds.h for what it throws).
  void write(OutputKind kind, std::ostream& out, const ExportOptions& options = {});

 private:
  std::uint64_t seed_;
  std::unique_ptr<HostContext> host_;
  std::unique_ptr<PluginSession> plugin_;
  std::vector<unsigned char> staged_;
  HostErr result_ = 0;
  std::optional<std::optional<std::vector<ItemState>>> closedDialog_;
};

}  // namespace host
