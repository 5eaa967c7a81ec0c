#include "hostapp/render/svg_render.h"

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#ifdef SPIRAL_HAVE_RSVG
#include <cairo-pdf.h>
#include <cairo.h>
#include <librsvg/rsvg.h>

#include "hostapp/platform/library.h"
#endif

namespace render {

int pixelsFor(double points, double dpi) { return static_cast<int>(std::ceil(points * dpi / 72.0 - 1e-9)); }

namespace {

// Bytes as the user reads them: "12.5 MiB", "80.2 KiB".
std::string mebibytes(std::uint64_t bytes) {
  char text[64];
  if (bytes < (1 << 20)) std::snprintf(text, sizeof text, "%.1f KiB", static_cast<double>(bytes) / 1024);
  else std::snprintf(text, sizeof text, "%.1f MiB", static_cast<double>(bytes) / (1 << 20));
  return text;
}

std::string memoryProblem(const std::string& what, std::uint64_t image, std::uint64_t memoryAvailable,
                          std::uint64_t svgBytes) {
  const std::uint64_t renderer = svgBytes ? rendererMemoryFor(svgBytes) : 0;
  if (image <= memoryAvailable && renderer <= memoryAvailable - image) return "";
  std::string need = mebibytes(image + renderer);
  if (renderer) need += " (" + mebibytes(renderer) + " of it for rendering a " + mebibytes(svgBytes) + " SVG)";
  return what + " needs about " + need + ", beyond the " + mebibytes(memoryAvailable) +
         " the memory budget has left (--memory-budget)";
}

}  // namespace

std::uint64_t rendererMemoryFor(std::uint64_t svgBytes) {
  // Measured with librsvg 2.54: a 51 MB SVG of long paths took 157 MB
  // beyond what drawing it took, about three times the text (the text, the
  // parsed document, cairo's path); five leaves room for shorter paths.
  return 5 * svgBytes + (std::uint64_t{16} << 20);
}

std::string pngProblem(double width, double height, double dpi, std::uint64_t memoryAvailable,
                       std::uint64_t svgBytes) {
  if (!(dpi > 0) || !std::isfinite(dpi)) return "the resolution must be a positive number of dpi";
  const double w = std::ceil(width * dpi / 72.0 - 1e-9), h = std::ceil(height * dpi / 72.0 - 1e-9);
  if (!(w >= 1) || !(h >= 1) || w > kMaxPixels || h > kMaxPixels) {
    char text[160];
    std::snprintf(text, sizeof text, "a PNG of %.0f x %.0f pixels is beyond the limit of %d pixels a side", w, h,
                  kMaxPixels);
    return text;
  }
  const auto pixels = static_cast<std::uint64_t>(w) * static_cast<std::uint64_t>(h);
  const std::string size = "a PNG of " + std::to_string(static_cast<int>(w)) + " x " +
                           std::to_string(static_cast<int>(h)) + " pixels";
  if (pixels > kMaxPixelArea)
    return size + " (" + std::to_string(pixels) + ") is beyond the limit of " + std::to_string(kMaxPixelArea) +
           " pixels in all";
  return memoryProblem(size, pixels * 4, memoryAvailable, svgBytes);
}

std::string pdfProblem(double width, double height, std::uint64_t memoryAvailable, std::uint64_t svgBytes) {
  if (!(width <= kMaxPdfPoints) || !(height <= kMaxPdfPoints)) {
    char text[160];
    std::snprintf(text, sizeof text, "a PDF page of %.9g x %.9g points is beyond the limit of %.0f points a side",
                  width, height, kMaxPdfPoints);
    return text;
  }
  return memoryProblem("a PDF of this drawing", 0, memoryAvailable, svgBytes);
}

#ifdef SPIRAL_HAVE_RSVG
namespace {

// librsvg and cairo are loaded on the first picture, not at start-up: they
// and what they pull in (GLib, Pango, fontconfig, X11 libraries) are most of
// what the dynamic loader would otherwise map for every run. The functions
// used come from librsvg's library and those it depends on.
#define SPIRAL_RENDER_FUNCTIONS(X)                                                                            \
  X(rsvg_handle_new_with_flags)                                                                              \
  X(rsvg_handle_read_stream_sync)                                                                            \
  X(rsvg_handle_set_dpi)                                                                                     \
  X(rsvg_handle_get_intrinsic_size_in_pixels)                                                                \
  X(rsvg_handle_render_document)                                                                             \
  X(g_memory_input_stream_new_from_data)                                                                     \
  X(g_object_unref)                                                                                          \
  X(g_error_free)                                                                                            \
  X(cairo_image_surface_create)                                                                              \
  X(cairo_pdf_surface_create_for_stream)                                                                     \
  X(cairo_surface_status)                                                                                    \
  X(cairo_surface_flush)                                                                                     \
  X(cairo_surface_finish)                                                                                    \
  X(cairo_surface_destroy)                                                                                   \
  X(cairo_surface_write_to_png_stream)                                                                       \
  X(cairo_status_to_string)                                                                                  \
  X(cairo_create)                                                                                            \
  X(cairo_destroy)                                                                                           \
  X(cairo_status)                                                                                            \
  X(cairo_set_source_rgb)                                                                                    \
  X(cairo_paint)                                                                                             \
  X(cairo_scale)                                                                                             \
  X(cairo_show_page)

struct Api {
#define SPIRAL_RENDER_MEMBER(name) decltype(&::name) name = nullptr;
  SPIRAL_RENDER_FUNCTIONS(SPIRAL_RENDER_MEMBER)
#undef SPIRAL_RENDER_MEMBER
  std::string problem;  // why the library could not be used; empty when it can
};

#ifndef SPIRAL_RSVG_LIBRARY
#define SPIRAL_RSVG_LIBRARY "librsvg-2.so.2"
#endif

// Loaded once per process and kept: later pictures and forked renderers
// find it mapped.
const Api& api() {
  static const Api loaded = [] {
    Api a;
    std::string error;
    host::platform::LibraryHandle library = host::platform::openLibrary(SPIRAL_RSVG_LIBRARY, error);
    if (!library) {
      a.problem = "cannot load librsvg and cairo (" + error + ")";
      return a;
    }
#define SPIRAL_RENDER_FIND(name)                                                              \
  a.name = reinterpret_cast<decltype(a.name)>(host::platform::findSymbol(library, #name)); \
  if (!a.name && a.problem.empty()) a.problem = "librsvg or cairo lacks " #name;
    SPIRAL_RENDER_FUNCTIONS(SPIRAL_RENDER_FIND)
#undef SPIRAL_RENDER_FIND
    return a;
  }();
  return loaded;
}

// The library's functions, or RenderError saying why there are none.
const Api& rsvg() {
  const Api& a = api();
  if (!a.problem.empty()) throw RenderError(a.problem);
  return a;
}

struct HandleDeleter {
  void operator()(RsvgHandle* h) const { api().g_object_unref(h); }
};
struct SurfaceDeleter {
  void operator()(cairo_surface_t* s) const { api().cairo_surface_destroy(s); }
};
struct ContextDeleter {
  void operator()(cairo_t* c) const { api().cairo_destroy(c); }
};
using Handle = std::unique_ptr<RsvgHandle, HandleDeleter>;
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;
using Context = std::unique_ptr<cairo_t, ContextDeleter>;

// Takes the message of a GError and frees it.
std::string takeMessage(GError* error) {
  std::string text = error ? error->message : "unknown error";
  if (error) api().g_error_free(error);
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

struct ObjectDeleter {
  void operator()(gpointer object) const { api().g_object_unref(object); }
};

// The SVG parsed, at 72 dpi so that its size in pixels is its size in points.
// It is the host's own SVG, so librsvg's guard against huge documents from
// the web (a limit on the size of the XML) is lifted: a drawing of any size
// the host could make is read.
Loaded load(std::string_view svg) {
  rsvg();
  GError* error = nullptr;
  Handle handle(api().rsvg_handle_new_with_flags(RSVG_HANDLE_FLAG_UNLIMITED));
  std::unique_ptr<GInputStream, ObjectDeleter> stream(
      api().g_memory_input_stream_new_from_data(svg.data(), static_cast<gssize>(svg.size()), nullptr));
  if (!handle || !stream) throw RenderError("librsvg cannot start reading the SVG");
  if (!api().rsvg_handle_read_stream_sync(handle.get(), stream.get(), nullptr, &error))
    throw RenderError("librsvg cannot read the SVG: " + takeMessage(error));
  api().rsvg_handle_set_dpi(handle.get(), 72.0);
  Loaded loaded{std::move(handle)};
  if (!api().rsvg_handle_get_intrinsic_size_in_pixels(loaded.handle.get(), &loaded.width, &loaded.height) ||
      !(loaded.width > 0) || !(loaded.height > 0))
    throw RenderError("the SVG has no page size");
  return loaded;
}

void renderOnto(cairo_t* cr, const Loaded& loaded) {
  const RsvgRectangle viewport{0, 0, loaded.width, loaded.height};
  GError* error = nullptr;
  if (!api().rsvg_handle_render_document(loaded.handle.get(), cr, &viewport, &error))
    throw RenderError("librsvg cannot draw the SVG: " + takeMessage(error));
  if (api().cairo_status(cr) != CAIRO_STATUS_SUCCESS)
    throw RenderError(std::string("cairo: ") + api().cairo_status_to_string(api().cairo_status(cr)));
}

}  // namespace

bool available() { return api().problem.empty(); }

std::string unavailableReason() { return api().problem; }

void svgToPng(std::string_view svg, double dpi, std::uint64_t memoryAvailable, std::ostream& out) {
  if (!(dpi > 0) || !std::isfinite(dpi)) throw RenderError("the resolution must be a positive number of dpi");
  // The page the SVG states, with the image and the renderer in the budget.
  const Loaded loaded = load(svg);
  if (const std::string problem = pngProblem(loaded.width, loaded.height, dpi, memoryAvailable, svg.size());
      !problem.empty())
    throw RenderError(problem);
  const int width = pixelsFor(loaded.width, dpi);
  const int height = pixelsFor(loaded.height, dpi);
  Surface surface(api().cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
  if (api().cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
    throw RenderError(std::string("cairo: ") + api().cairo_status_to_string(api().cairo_surface_status(surface.get())));
  Context cr(api().cairo_create(surface.get()));
  api().cairo_set_source_rgb(cr.get(), 1, 1, 1);
  api().cairo_paint(cr.get());
  api().cairo_scale(cr.get(), dpi / 72.0, dpi / 72.0);
  renderOnto(cr.get(), loaded);
  api().cairo_surface_flush(surface.get());
  if (api().cairo_surface_write_to_png_stream(surface.get(), writeToStream, &out) != CAIRO_STATUS_SUCCESS)
    throw RenderError("the PNG could not be written");
}

void svgToPdf(std::string_view svg, std::uint64_t memoryAvailable, std::ostream& out) {
  const Loaded loaded = load(svg);
  if (const std::string problem = pdfProblem(loaded.width, loaded.height, memoryAvailable, svg.size());
      !problem.empty())
    throw RenderError(problem);
  Surface surface(api().cairo_pdf_surface_create_for_stream(writeToStream, &out, loaded.width, loaded.height));
  if (api().cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
    throw RenderError(std::string("cairo: ") + api().cairo_status_to_string(api().cairo_surface_status(surface.get())));
  {
    Context cr(api().cairo_create(surface.get()));
    renderOnto(cr.get(), loaded);
    api().cairo_show_page(cr.get());
  }
  api().cairo_surface_finish(surface.get());
  if (api().cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
    throw RenderError(std::string("the PDF could not be written: ") +
                      api().cairo_status_to_string(api().cairo_surface_status(surface.get())));
}

#else

bool available() { return false; }

std::string unavailableReason() { return "this spiral-host was built without librsvg and cairo"; }

void svgToPng(std::string_view, double, std::uint64_t, std::ostream&) {
  throw RenderError("this spiral-host was built without librsvg and cairo: it cannot write PNG");
}

void svgToPdf(std::string_view, std::uint64_t, std::ostream&) {
  throw RenderError("this spiral-host was built without librsvg and cairo: it cannot write PDF");
}

#endif

}  // namespace render
