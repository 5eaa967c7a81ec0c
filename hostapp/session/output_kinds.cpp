#include "hostapp/session/output_kinds.h"

#include <array>

#include "hostapp/dialogs/dialog_json.h"
#include "hostapp/records/record_file.h"
#include "hostapp/records/svg_metadata.h"
#include "hostapp/render/svg_render.h"
#include "hostapp/session/drawing_session.h"
#include "hostapp/session/session_json.h"
#include "hostapp/writers/json_writer.h"
#include "hostapp/writers/svg_writer.h"

namespace host {
namespace {

// The drawing with what re-makes it in its metadata: the record, seed,
// page, colour model and plug-in.
std::string svgText(DrawingSession& session) {
  return writers::svgString(session.document(), records::metadataText(session.metadata()));
}

void writeSvg(DrawingSession& session, const ExportOptions&, std::ostream& out) {
  writers::writeSvg(session.document(), out, records::metadataText(session.metadata()));
}

void writePng(DrawingSession& session, const ExportOptions& options, std::ostream& out) {
  render::svgToPng(svgText(session), options.dpi, out);
}

void writePdf(DrawingSession& session, const ExportOptions&, std::ostream& out) {
  render::svgToPdf(svgText(session), out);
}

void writeJson(DrawingSession& session, const ExportOptions&, std::ostream& out) {
  nlohmann::json extra;
  extra["record"] = records::recordToJson(session.record());
  extra["result"] = session.result();
  const bool plugin = session.hasPlugin();
  extra["messages"] = plugin ? messagesToJson(session.plugin().messages()) : nlohmann::json::array();
  extra["dialogs"] = plugin ? shownDialogsToJson(session.plugin().dialogs().shown()) : nlohmann::json::array();
  if (const auto& reported = session.closedDialog())
    extra["dialog"] = *reported ? itemStatesToJson(**reported) : nlohmann::json();
  extra["previews"] = session.document().redrawCount();
  writers::writeDocumentJson(session.document(), extra, out);
  out << "\n";
}

void writeRecord(DrawingSession& session, const ExportOptions&, std::ostream& out) {
  records::writeRecord(out, session.recordBytes(), false);
}

void writeRecordJson(DrawingSession& session, const ExportOptions&, std::ostream& out) {
  records::writeRecord(out, session.recordBytes(), true);
}

constexpr std::array kKinds{
    OutputKindInfo{OutputKind::Svg, "svg", "--svg", "image/svg+xml", "spirals.svg", "Drawing (SVG)", false, true,
                   writeSvg},
    OutputKindInfo{OutputKind::Json, "json", "--json", "application/json", "spirals.json", "Document (JSON)", false,
                   true, writeJson},
    OutputKindInfo{OutputKind::Record, "record", "--save-params", "application/octet-stream", "spiral.params",
                   "Record (binary)", true, true, writeRecord},
    OutputKindInfo{OutputKind::RecordJson, "record-json", "--save-params", "application/json", "spiral.params.json",
                   "Record (JSON)", false, true, writeRecordJson},
    OutputKindInfo{OutputKind::Png, "png", "--png", "image/png", "spirals.png", "Picture (PNG)", true, false, writePng},
    OutputKindInfo{OutputKind::Pdf, "pdf", "--pdf", "application/pdf", "spirals.pdf", "Picture (PDF)", true, false,
                   writePdf},
};

}  // namespace

std::span<const OutputKindInfo> outputKinds() { return kKinds; }

const OutputKindInfo& outputKind(OutputKind kind) {
  for (const OutputKindInfo& info : kKinds) {
    if (info.kind == kind) return info;
  }
  return kKinds[0];
}

const OutputKindInfo* findOutputKind(std::string_view name) {
  for (const OutputKindInfo& info : kKinds) {
    if (name == info.name) return &info;
  }
  return nullptr;
}

std::string servedKindNames() {
  std::vector<const char*> names;
  for (const OutputKindInfo& info : kKinds) {
    if (info.served) names.push_back(info.name);
  }
  std::string text;
  for (std::size_t k = 0; k < names.size(); ++k) {
    if (k > 0) text += k + 1 == names.size() ? " or " : ", ";
    text += names[k];
  }
  return text;
}

}  // namespace host
