#include "hostapp/session/output_kinds.h"

#include <array>
#include <cmath>
#include <cstdio>

#include "hostapp/records/record_file.h"
#include "hostapp/render/svg_render.h"
#include "hostapp/writers/json_writer.h"
#include "hostapp/writers/svg_writer.h"

namespace host {
namespace {

// The SVG a picture is rendered from: the drawing's SVG without the paths
// that lie wholly off the page, which add no pixel but cost the renderer
// time.
std::string pictureSvgText(const ExportSource& source) {
  return writers::svgString(source.document, source.metadataText(), writers::SvgOptions{.leaveOutOffPage = true});
}

void refuse(const std::string& problem) {
  if (!problem.empty()) throw render::RenderError(problem);
}

render::PictureOptions pictureOptions(const ExportOptions& options) {
  render::PictureOptions picture{.png = {.dpi = options.dpi, .width = options.pngWidth, .height = options.pngHeight}};
  if (!options.background.empty()) {
    picture.background = render::parseBackground(options.background);
    if (!picture.background)
      throw render::RenderError("the background '" + options.background + "' is not none, white or #rrggbb");
  }
  return picture;
}

void writeSvg(const ExportSource& source, const ExportOptions& options, std::ostream& out) {
  writers::SvgOptions svg;
  if (!options.background.empty()) {
    const render::PictureOptions picture = pictureOptions(options);
    if (!picture.background->none) {
      char fill[8];
      std::snprintf(fill, sizeof fill, "#%02x%02x%02x", static_cast<int>(std::lround(picture.background->red * 255)),
                    static_cast<int>(std::lround(picture.background->green * 255)),
                    static_cast<int>(std::lround(picture.background->blue * 255)));
      svg.background = fill;
    }
  }
  writers::writeSvg(source.document, out, source.metadataText(), svg);
}

// The image and renderer are checked against the budget before the SVG is
// made, and again with its size before it is rendered.
void writePng(const ExportSource& source, const ExportOptions& options, std::ostream& out) {
  const host::Point page = source.document.pageSize();
  const std::uint64_t available = pictureMemoryAvailable(source.document);
  const render::PictureOptions picture = pictureOptions(options);
  refuse(render::pngProblem(page.x, page.y, picture.png, available));
  render::svgToPng(pictureSvgText(source), picture, available, out);
}

void writePdf(const ExportSource& source, const ExportOptions& options, std::ostream& out) {
  const host::Point page = source.document.pageSize();
  const std::uint64_t available = pictureMemoryAvailable(source.document);
  refuse(render::pdfProblem(page.x, page.y, available));
  render::svgToPdf(pictureSvgText(source), pictureOptions(options), available, out);
}

void writeJson(const ExportSource& source, const ExportOptions&, std::ostream& out) {
  writers::writeDocumentJson(source.document, source.dumpExtras(), out);
  out << "\n";
}

void writeRecord(const ExportSource& source, const ExportOptions&, std::ostream& out) {
  records::writeRecord(out, source.record, false);
}

void writeRecordJson(const ExportSource& source, const ExportOptions&, std::ostream& out) {
  records::writeRecord(out, source.record, true);
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

std::uint64_t pictureMemoryAvailable(const Document& document) {
  const MemoryBudget& budget = document.memory();
  return budget.used() < budget.limit() ? budget.limit() - budget.used() : 0;
}

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
