#ifdef SPIRAL_HAVE_RSVG
#include "hostapp/render/rsvg_library.h"

#include "hostapp/platform/library.h"
#include "hostapp/render/svg_render.h"

namespace render {

#ifndef SPIRAL_RSVG_LIBRARY
#define SPIRAL_RSVG_LIBRARY "librsvg-2.so.2"
#endif

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

const Api& rsvg() {
  const Api& a = api();
  if (!a.problem.empty()) throw RenderError(a.problem);
  return a;
}

}  // namespace render
#endif
