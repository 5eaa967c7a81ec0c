// `serve` and `session-child` run from a library of their own beside the
// program (spiral-server.so): cpp-httplib and the TLS libraries it pulls in
// are then mapped only by the runs that serve, not by every draw. The
// program loads it on demand and calls its two entry points; the library
// finds the rest of the host in the program.
#pragma once

#include <ostream>

#include "hostapp/server/http_server.h"
#include "hostapp/server/session_child.h"

namespace server {

// The file name of the library, beside the program.
inline constexpr const char* kServerModuleName = "spiral-server.so";

// runServeCommand and runSessionChild through the library. When it cannot be
// loaded they write one line to `err` (stderr for the child) and return 2.
int serveThroughModule(const ServeOptions& options, std::ostream& out, std::ostream& err);
int sessionChildThroughModule(const SessionOptions& options, int inFd, int outFd);

// The entry points' names and types, shared by the library and the loader.
inline constexpr const char* kServeEntry = "spiral_server_serve";
inline constexpr const char* kSessionChildEntry = "spiral_server_session_child";
using ServeEntry = int (*)(const ServeOptions*, std::ostream*, std::ostream*);
using SessionChildEntry = int (*)(const SessionOptions*, int, int);

}  // namespace server
