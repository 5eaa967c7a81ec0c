#include "hostapp/render/svg_render.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#ifdef SPIRAL_HAVE_RSVG
#include "hostapp/render/rsvg_library.h"
#endif

namespace render {

int pixelsFor(double points, double dpi) { return static_cast<int>(std::ceil(points * dpi / 72.0 - 1e-9)); }

std::optional<Background> parseBackground(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (lower == "none") return Background{.none = true};
  if (lower == "white") return Background{};
  if (lower.size() != 7 || lower[0] != '#' ||
      !std::all_of(lower.begin() + 1, lower.end(), [](unsigned char c) { return std::isxdigit(c) != 0; }))
    return std::nullopt;
  const auto channel = [&](std::size_t at) { return std::stoi(lower.substr(at, 2), nullptr, 16) / 255.0; };
  return Background{.none = false, .red = channel(1), .green = channel(3), .blue = channel(5)};
}

PixelSize pngPixels(double width, double height, const PngSize& size) {
  if (!size.byPixels())
    return {std::ceil(width * size.dpi / 72.0 - 1e-9), std::ceil(height * size.dpi / 72.0 - 1e-9)};
  // The side that binds is given exactly; the other follows the ratio.
  const bool widthBinds =
      size.width > 0 && (size.height <= 0 || size.width / width <= size.height / height);
  if (widthBinds) return {static_cast<double>(size.width), std::max(1.0, std::round(height * size.width / width))};
  return {std::max(1.0, std::round(width * size.height / height)), static_cast<double>(size.height)};
}

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
  return pngProblem(width, height, PngSize{.dpi = dpi}, memoryAvailable, svgBytes);
}

std::string pngProblem(double width, double height, const PngSize& size, std::uint64_t memoryAvailable,
                       std::uint64_t svgBytes) {
  if (!size.byPixels() && (!(size.dpi > 0) || !std::isfinite(size.dpi)))
    return "the resolution must be a positive number of dpi";
  const auto [w, h] = pngPixels(width, height, size);
  if (!(w >= 1) || !(h >= 1) || w > kMaxPixels || h > kMaxPixels) {
    char text[160];
    std::snprintf(text, sizeof text, "a PNG of %.0f x %.0f pixels is beyond the limit of %d pixels a side", w, h,
                  kMaxPixels);
    return text;
  }
  const auto pixels = static_cast<std::uint64_t>(w) * static_cast<std::uint64_t>(h);
  const std::string named = "a PNG of " + std::to_string(static_cast<int>(w)) + " x " +
                            std::to_string(static_cast<int>(h)) + " pixels";
  if (pixels > kMaxPixelArea)
    return named + " (" + std::to_string(pixels) + ") is beyond the limit of " + std::to_string(kMaxPixelArea) +
           " pixels in all";
  return memoryProblem(named, pixels * 4, memoryAvailable, svgBytes);
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
  svgToPng(svg, PictureOptions{.png = PngSize{.dpi = dpi}}, memoryAvailable, out);
}

void svgToPng(std::string_view svg, const PictureOptions& options, std::uint64_t memoryAvailable, std::ostream& out) {
  const PngSize& size = options.png;
  if (!size.byPixels() && (!(size.dpi > 0) || !std::isfinite(size.dpi)))
    throw RenderError("the resolution must be a positive number of dpi");
  // The page the SVG states, with the image and the renderer in the budget.
  const Loaded loaded = load(svg);
  if (const std::string problem = pngProblem(loaded.width, loaded.height, size, memoryAvailable, svg.size());
      !problem.empty())
    throw RenderError(problem);
  const PixelSize pixels = pngPixels(loaded.width, loaded.height, size);
  const int width = static_cast<int>(pixels.width);
  const int height = static_cast<int>(pixels.height);
  Surface surface(api().cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
  if (api().cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
    throw RenderError(std::string("cairo: ") + api().cairo_status_to_string(api().cairo_surface_status(surface.get())));
  Context cr(api().cairo_create(surface.get()));
  const Background background = options.background.value_or(Background{});
  if (!background.none) {
    api().cairo_set_source_rgb(cr.get(), background.red, background.green, background.blue);
    api().cairo_paint(cr.get());
  }
  // At a resolution the page is scaled alike both ways; at a size in
  // pixels it fills the picture, each way to its rounded side.
  if (size.byPixels()) api().cairo_scale(cr.get(), width / loaded.width, height / loaded.height);
  else api().cairo_scale(cr.get(), size.dpi / 72.0, size.dpi / 72.0);
  renderOnto(cr.get(), loaded);
  api().cairo_surface_flush(surface.get());
  if (api().cairo_surface_write_to_png_stream(surface.get(), writeToStream, &out) != CAIRO_STATUS_SUCCESS)
    throw RenderError("the PNG could not be written");
}

void svgToPdf(std::string_view svg, std::uint64_t memoryAvailable, std::ostream& out) {
  svgToPdf(svg, PictureOptions{}, memoryAvailable, out);
}

void svgToPdf(std::string_view svg, const PictureOptions& options, std::uint64_t memoryAvailable, std::ostream& out) {
  const Loaded loaded = load(svg);
  if (const std::string problem = pdfProblem(loaded.width, loaded.height, memoryAvailable, svg.size());
      !problem.empty())
    throw RenderError(problem);
  Surface surface(api().cairo_pdf_surface_create_for_stream(writeToStream, &out, loaded.width, loaded.height));
  if (api().cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
    throw RenderError(std::string("cairo: ") + api().cairo_status_to_string(api().cairo_surface_status(surface.get())));
  {
    Context cr(api().cairo_create(surface.get()));
    if (options.background && !options.background->none) {
      api().cairo_set_source_rgb(cr.get(), options.background->red, options.background->green, options.background->blue);
      api().cairo_paint(cr.get());
    }
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

void svgToPng(std::string_view, const PictureOptions&, std::uint64_t, std::ostream&) {
  throw RenderError("this spiral-host was built without librsvg and cairo: it cannot write PNG");
}

void svgToPdf(std::string_view, std::uint64_t, std::ostream&) {
  throw RenderError("this spiral-host was built without librsvg and cairo: it cannot write PDF");
}

void svgToPdf(std::string_view, const PictureOptions&, std::uint64_t, std::ostream&) {
  throw RenderError("this spiral-host was built without librsvg and cairo: it cannot write PDF");
}

#endif

}  // namespace render
