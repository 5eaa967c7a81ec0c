// Every kind of output a drawing session writes, in one table: the command
// line's option, the server's download (its route name, MIME type and file
// name) and the page's menu label all come from a row, and so does the
// writer. Adding a format is one row.
#pragma once

#include <cstdint>
#include <functional>
#include <nlohmann/json.hpp>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "hostapp/model/document.h"

namespace host {

enum class OutputKind { Svg, Json, Record, RecordJson, Png, Pdf };

struct ExportOptions {
  double dpi = 72;  // PNG resolution in dots per inch
  // PNG size in pixels, 0: not given (see render::PngSize: given, they
  // take the place of dpi).
  int pngWidth = 0;
  int pngHeight = 0;
  // "none", "white" or "#rrggbb" (render::parseBackground); empty: the
  // default, white under a PNG, nothing on a PDF page or in the SVG. Given,
  // the SVG gets it as a rectangle under the drawing (none: nothing).
  std::string background;
};

// What the document's memory budget has left for a picture's image and
// renderer.
std::uint64_t pictureMemoryAvailable(const Document& document);

// What every output is written from: the document and what the session
// knows of the drawing. The metadata and the dump's extras are made only
// for the kinds that need them.
struct ExportSource {
  const Document& document;
  std::vector<unsigned char> record;           // the record's bytes
  std::function<std::string()> metadataText;   // the SVG's metadata line
  std::function<nlohmann::json()> dumpExtras;  // the JSON dump's keys beside the document
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
  // Writes the document, record or picture. Throws records::RecordError (a
  // kept record that cannot be read) and render::RenderError.
  void (*write)(const ExportSource& source, const ExportOptions& options, std::ostream& out);
};

std::span<const OutputKindInfo> outputKinds();
const OutputKindInfo& outputKind(OutputKind kind);
// The row of `name`; null for another text.
const OutputKindInfo* findOutputKind(std::string_view name);
// The names of the served kinds, for a message: "svg, json, record or record-json".
std::string servedKindNames();

}  // namespace host
