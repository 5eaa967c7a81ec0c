// The library's side of server_module.h: its two exported entry points.
#include "hostapp/server/server_module.h"

#include <type_traits>

extern "C" {

__attribute__((visibility("default"))) int spiral_server_serve(const server::ServeOptions* options,
                                                               std::ostream* out, std::ostream* err) {
  return server::runServeCommand(*options, *out, *err);
}

__attribute__((visibility("default"))) int spiral_server_session_child(const server::SessionOptions* options,
                                                                       int inFd, int outFd) {
  return server::runSessionChild(*options, inFd, outFd);
}

}  // extern "C"

// The loader calls them through these types: keep them in step.
static_assert(std::is_same_v<decltype(&spiral_server_serve), server::ServeEntry>);
static_assert(std::is_same_v<decltype(&spiral_server_session_child), server::SessionChildEntry>);
