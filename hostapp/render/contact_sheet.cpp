#include "hostapp/render/contact_sheet.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "hostapp/render/svg_render.h"

#ifdef SPIRAL_HAVE_RSVG
#include "hostapp/render/rsvg_library.h"
#endif

namespace render {

namespace {
constexpr double kThumbnail = 160;  // the longer side of a page in a cell
constexpr double kLabelHeight = 22;
constexpr double kGap = 14;
}  // namespace

SheetLayout sheetLayout(std::size_t cells, double pageWidth, double pageHeight) {
  SheetLayout layout;
  layout.cells = cells;
  layout.columns = std::max<std::size_t>(1, static_cast<std::size_t>(std::ceil(std::sqrt(static_cast<double>(cells)))));
  const double longer = std::max(pageWidth, pageHeight);
  layout.pageWidth = std::max(1.0, std::round(kThumbnail * pageWidth / longer));
  layout.pageHeight = std::max(1.0, std::round(kThumbnail * pageHeight / longer));
  layout.labelHeight = kLabelHeight;
  layout.gap = kGap;
  const std::size_t rows = std::max<std::size_t>(1, (cells + layout.columns - 1) / layout.columns);
  layout.width = kGap + static_cast<double>(layout.columns) * (layout.pageWidth + kGap);
  layout.height = kGap + static_cast<double>(rows) * (layout.pageHeight + kLabelHeight + kGap);
  return layout;
}

#ifdef SPIRAL_HAVE_RSVG

namespace {

cairo_status_t writeToStream(void* closure, const unsigned char* data, unsigned int length) {
  auto* out = static_cast<std::ostream*>(closure);
  out->write(reinterpret_cast<const char*>(data), length);
  return *out ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}

void check(cairo_t* cr) {
  if (rsvg().cairo_status(cr) != CAIRO_STATUS_SUCCESS)
    throw RenderError(std::string("cairo: ") + rsvg().cairo_status_to_string(rsvg().cairo_status(cr)));
}

// `label`, cut at a character boundary and ended with "…" until it fits `width`.
std::string fitted(cairo_t* cr, std::string label, double width) {
  cairo_text_extents_t extents;
  rsvg().cairo_text_extents(cr, label.c_str(), &extents);
  if (extents.x_advance <= width) return label;
  while (!label.empty()) {
    while (!label.empty() && (static_cast<unsigned char>(label.back()) & 0xC0) == 0x80) label.pop_back();
    if (!label.empty()) label.pop_back();
    const std::string shortened = label + "\u2026";
    rsvg().cairo_text_extents(cr, shortened.c_str(), &extents);
    if (extents.x_advance <= width) return shortened;
  }
  return "";
}

}  // namespace

struct ContactSheet::State {
  SheetFormat format;
  SheetLayout layout;
  std::ostream& out;
  cairo_surface_t* surface = nullptr;
  cairo_t* cr = nullptr;
  std::size_t filled = 0;
  bool finished = false;
  ~State() {
    if (cr) rsvg().cairo_destroy(cr);
    if (surface) rsvg().cairo_surface_destroy(surface);
  }
};

ContactSheet::ContactSheet(SheetFormat format, const SheetLayout& layout, std::ostream& out)
    : state_(new State{format, layout, out}) {
  State& s = *state_;
  if (format == SheetFormat::Png) {
    const double w = std::ceil(layout.width), h = std::ceil(layout.height);
    if (w > kMaxPixels || h > kMaxPixels || w * h > static_cast<double>(kMaxPixelArea))
      throw RenderError("a sheet of " + std::to_string(static_cast<long long>(w)) + " x " +
                        std::to_string(static_cast<long long>(h)) + " pixels is too large for a PNG");
    s.surface = rsvg().cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(w), static_cast<int>(h));
  } else {
    s.surface = rsvg().cairo_pdf_surface_create_for_stream(writeToStream, &s.out, layout.width, layout.height);
  }
  if (rsvg().cairo_surface_status(s.surface) != CAIRO_STATUS_SUCCESS)
    throw RenderError(std::string("cairo: ") + rsvg().cairo_status_to_string(rsvg().cairo_surface_status(s.surface)));
  s.cr = rsvg().cairo_create(s.surface);
  rsvg().cairo_set_source_rgb(s.cr, 0.93, 0.93, 0.92);
  rsvg().cairo_paint(s.cr);
  rsvg().cairo_select_font_face(s.cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  rsvg().cairo_set_font_size(s.cr, 11);
  check(s.cr);
}

ContactSheet::~ContactSheet() = default;

std::size_t ContactSheet::filled() const { return state_->filled; }

void ContactSheet::add(std::string_view svg, std::string_view label) {
  State& s = *state_;
  const SheetLayout& l = s.layout;
  if (s.finished || s.filled >= l.cells) throw RenderError("the contact sheet has no cell left");
  const std::size_t column = s.filled % l.columns, row = s.filled / l.columns;
  const double x = l.gap + static_cast<double>(column) * (l.pageWidth + l.gap);
  const double y = l.gap + static_cast<double>(row) * (l.pageHeight + l.labelHeight + l.gap);
  cairo_t* cr = s.cr;

  // The page: white, with a hairline edge, and the drawing clipped to it.
  rsvg().cairo_save(cr);
  rsvg().cairo_rectangle(cr, x, y, l.pageWidth, l.pageHeight);
  rsvg().cairo_set_source_rgb(cr, 1, 1, 1);
  rsvg().cairo_fill_preserve(cr);
  rsvg().cairo_clip(cr);
  GError* error = nullptr;
  RsvgHandle* handle = rsvg().rsvg_handle_new_with_flags(RSVG_HANDLE_FLAG_UNLIMITED);
  std::string problem;
  if (!handle) {
    problem = "librsvg cannot start reading the SVG";
  } else {
    rsvg().rsvg_handle_set_dpi(handle, 72.0);
    GInputStream* stream =
        rsvg().g_memory_input_stream_new_from_data(svg.data(), static_cast<gssize>(svg.size()), nullptr);
    if (!rsvg().rsvg_handle_read_stream_sync(handle, stream, nullptr, &error)) {
      problem = std::string("librsvg cannot read the SVG: ") + (error ? error->message : "unknown error");
    } else {
      const RsvgRectangle viewport{x, y, l.pageWidth, l.pageHeight};
      if (!rsvg().rsvg_handle_render_document(handle, cr, &viewport, &error))
        problem = std::string("librsvg cannot draw the SVG: ") + (error ? error->message : "unknown error");
    }
    if (error) rsvg().g_error_free(error);
    rsvg().g_object_unref(stream);
    rsvg().g_object_unref(handle);
  }
  rsvg().cairo_restore(cr);
  if (!problem.empty()) throw RenderError(problem);
  rsvg().cairo_rectangle(cr, x + 0.5, y + 0.5, l.pageWidth - 1, l.pageHeight - 1);
  rsvg().cairo_set_source_rgb(cr, 0.72, 0.72, 0.7);
  rsvg().cairo_set_line_width(cr, 1);
  rsvg().cairo_stroke(cr);

  // The label, centred under the page.
  const std::string text = fitted(cr, std::string(label), l.pageWidth + l.gap - 4);
  cairo_text_extents_t extents;
  rsvg().cairo_text_extents(cr, text.c_str(), &extents);
  rsvg().cairo_move_to(cr, x + (l.pageWidth - extents.x_advance) / 2, y + l.pageHeight + l.labelHeight - 7);
  rsvg().cairo_set_source_rgb(cr, 0.15, 0.15, 0.15);
  rsvg().cairo_show_text(cr, text.c_str());
  check(cr);
  ++s.filled;
}

void ContactSheet::finish() {
  State& s = *state_;
  if (s.finished) return;
  s.finished = true;
  if (s.format == SheetFormat::Png) {
    rsvg().cairo_surface_flush(s.surface);
    if (rsvg().cairo_surface_write_to_png_stream(s.surface, writeToStream, &s.out) != CAIRO_STATUS_SUCCESS)
      throw RenderError("the PNG could not be written");
  } else {
    rsvg().cairo_show_page(s.cr);
    rsvg().cairo_destroy(s.cr);
    s.cr = nullptr;
    rsvg().cairo_surface_finish(s.surface);
    if (rsvg().cairo_surface_status(s.surface) != CAIRO_STATUS_SUCCESS)
      throw RenderError(std::string("the PDF could not be written: ") +
                        rsvg().cairo_status_to_string(rsvg().cairo_surface_status(s.surface)));
  }
}

#else

struct ContactSheet::State {};

ContactSheet::ContactSheet(SheetFormat, const SheetLayout&, std::ostream&) {
  throw RenderError("this spiral-host was built without librsvg and cairo: it cannot draw a contact sheet");
}
ContactSheet::~ContactSheet() = default;
std::size_t ContactSheet::filled() const { return 0; }
void ContactSheet::add(std::string_view, std::string_view) {}
void ContactSheet::finish() {}

#endif

}  // namespace render
