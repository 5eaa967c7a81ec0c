#include "hostapp/render/svg_render.h"

#include <cmath>
#include <memory>
#include <string>

#ifdef SPIRAL_HAVE_RSVG
#include <cairo-pdf.h>
#include <cairo.h>
#include <librsvg/rsvg.h>
#endif

namespace render {

int pixelsFor(double points, double dpi) { return static_cast<int>(std::ceil(points * dpi / 72.0 - 1e-9)); }

#ifdef SPIRAL_HAVE_RSVG
namespace {

struct HandleDeleter {
  void operator()(RsvgHandle* h) const { g_object_unref(h); }
};
struct SurfaceDeleter {
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct ContextDeleter {
  void operator()(cairo_t* c) const { cairo_destroy(c); }
};
using Handle = std::unique_ptr<RsvgHandle, HandleDeleter>;
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;
using Context = std::unique_ptr<cairo_t, ContextDeleter>;

// Takes the message of a GError and frees it.
std::string takeMessage(GError* error) {
  std::string text = error ? error->message : "unknown error";
  if (error) g_error_free(error);
  return text;
}

cairo_status_t writeToStream(void* closure, const unsigned char* data, unsigned int length) {
  auto* out = static_cast<std::ostream*>(closure);
  out->write(reinterpret_cast<const char*>(data), length);
  return *out ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}

struct Loaded {
  Handle handle;
  double width = 0;  // points
  double height = 0;
};

// The SVG parsed, at 72 dpi so that its size in pixels is its size in points.
Loaded load(std::string_view svg) {
  GError* error = nullptr;
  Handle handle(rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(svg.data()), svg.size(), &error));
  if (!handle) throw RenderError("librsvg cannot read the SVG: " + takeMessage(error));
  rsvg_handle_set_dpi(handle.get(), 72.0);
  Loaded loaded{std::move(handle)};
  if (!rsvg_handle_get_intrinsic_size_in_pixels(loaded.handle.get(), &loaded.width, &loaded.height) ||
      !(loaded.width > 0) || !(loaded.height > 0))
    throw RenderError("the SVG has no page size");
  return loaded;
}

void renderOnto(cairo_t* cr, const Loaded& loaded) {
  const RsvgRectangle viewport{0, 0, loaded.width, loaded.height};
  GError* error = nullptr;
  if (!rsvg_handle_render_document(loaded.handle.get(), cr, &viewport, &error))
    throw RenderError("librsvg cannot draw the SVG: " + takeMessage(error));
  if (cairo_status(cr) != CAIRO_STATUS_SUCCESS)
    throw RenderError(std::string("cairo: ") + cairo_status_to_string(cairo_status(cr)));
}

}  // namespace

bool available() { return true; }

void svgToPng(std::string_view svg, double dpi, std::ostream& out) {
  if (!(dpi > 0) || !std::isfinite(dpi)) throw RenderError("the resolution must be a positive number of dpi");
  const Loaded loaded = load(svg);
  const int width = pixelsFor(loaded.width, dpi);
  const int height = pixelsFor(loaded.height, dpi);
  if (width < 1 || height < 1 || width > kMaxPixels || height > kMaxPixels)
    throw RenderError("a PNG of " + std::to_string(width) + " x " + std::to_string(height) +
                      " pixels is beyond the limit of " + std::to_string(kMaxPixels) + " per side");
  Surface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
    throw RenderError(std::string("cairo: ") + cairo_status_to_string(cairo_surface_status(surface.get())));
  Context cr(cairo_create(surface.get()));
  cairo_set_source_rgb(cr.get(), 1, 1, 1);
  cairo_paint(cr.get());
  cairo_scale(cr.get(), dpi / 72.0, dpi / 72.0);
  renderOnto(cr.get(), loaded);
  cairo_surface_flush(surface.get());
  if (cairo_surface_write_to_png_stream(surface.get(), writeToStream, &out) != CAIRO_STATUS_SUCCESS)
    throw RenderError("the PNG could not be written");
}

void svgToPdf(std::string_view svg, std::ostream& out) {
  const Loaded loaded = load(svg);
  Surface surface(cairo_pdf_surface_create_for_stream(writeToStream, &out, loaded.width, loaded.height));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
    throw RenderError(std::string("cairo: ") + cairo_status_to_string(cairo_surface_status(surface.get())));
  {
    Context cr(cairo_create(surface.get()));
    renderOnto(cr.get(), loaded);
    cairo_show_page(cr.get());
  }
  cairo_surface_finish(surface.get());
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
    throw RenderError(std::string("the PDF could not be written: ") +
                      cairo_status_to_string(cairo_surface_status(surface.get())));
}

#else

bool available() { return false; }

void svgToPng(std::string_view, double, std::ostream&) {
  throw RenderError("this spiral-host was built without librsvg and cairo: it cannot write PNG");
}

void svgToPdf(std::string_view, std::ostream&) {
  throw RenderError("this spiral-host was built without librsvg and cairo: it cannot write PDF");
}

#endif

}  // namespace render
