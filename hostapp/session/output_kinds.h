// Every kind of output a drawing session writes, in one table: the command
// line's option, the server's download (its route name, MIME type and file
// name) and the page's menu label all come from a row, and so does the
// writer. Adding a format is one row.
#pragma once

#include <ostream>
#include <span>
#include <string>
#include <string_view>

namespace host {

class DrawingSession;

enum class OutputKind { Svg, Json, Record, RecordJson, Png, Pdf };

struct ExportOptions {
  double dpi = 72;  // PNG resolution in dots per inch
};

struct OutputKindInfo {
  OutputKind kind;
  const char* name;    // "svg", "record-json": the export route and the page's menu
  const char* option;  // `draw`'s option (both record kinds are --save-params, told apart by the file name)
  const char* mime;
  const char* file;    // the default file name of a download
  const char* label;   // the menu's text
  bool binary;         // bytes rather than text
  bool served;         // the server offers it for download
  // Writes the session's document, record or picture. Throws
  // records::RecordError (a kept record that cannot be read) and
  // render::RenderError.
  void (*write)(DrawingSession& session, const ExportOptions& options, std::ostream& out);
};

std::span<const OutputKindInfo> outputKinds();
const OutputKindInfo& outputKind(OutputKind kind);
// The row of `name`; null for another text.
const OutputKindInfo* findOutputKind(std::string_view name);
// The names of the served kinds, for a message: "svg, json, record or record-json".
std::string servedKindNames();

}  // namespace host
