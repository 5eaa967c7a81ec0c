// librsvg and cairo, loaded on the first picture (render/ only).
#pragma once

#include <cairo-pdf.h>
#include <cairo.h>
#include <librsvg/rsvg.h>

#include <string>

namespace render {

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
  X(cairo_show_page)                                                                                         \
  X(cairo_clip)                                                                                              \
  X(cairo_fill_preserve)                                                                                     \
  X(cairo_move_to)                                                                                           \
  X(cairo_rectangle)                                                                                         \
  X(cairo_restore)                                                                                           \
  X(cairo_save)                                                                                              \
  X(cairo_select_font_face)                                                                                  \
  X(cairo_set_font_size)                                                                                     \
  X(cairo_set_line_width)                                                                                    \
  X(cairo_show_text)                                                                                         \
  X(cairo_stroke)                                                                                            \
  X(cairo_text_extents)

struct Api {
#define SPIRAL_RENDER_MEMBER(name) decltype(&::name) name = nullptr;
  SPIRAL_RENDER_FUNCTIONS(SPIRAL_RENDER_MEMBER)
#undef SPIRAL_RENDER_MEMBER
  std::string problem;  // why the library could not be used; empty when it can
};

// Loaded once per process and kept: later pictures and forked renderers
// find it mapped.
const Api& api();

// The library's functions, or RenderError saying why there are none.
const Api& rsvg();

}  // namespace render
