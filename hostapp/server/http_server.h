// `spiral-host serve`: the document and the plug-in's options dialog in a
// browser. An HTTP server on 127.0.0.1 serves the page (built into the
// program) and a JSON API over the session broker. Every API call needs the
// run's random token; requests for another Host, state-changing requests
// from another Origin and bodies over 1 MiB are refused with a one-line JSON
// error. See docs/serve.md.
#pragma once

#include <ostream>

#include "hostapp/server/session_child.h"

namespace server {

struct ServeOptions {
  int port = 0;  // 0: any free port
  SessionOptions session;
  std::size_t maxSessions = 16;
  unsigned idleSeconds = 1800;
  unsigned answerSeconds = 60;  // a plug-in silent this long is ended
  unsigned heartbeatSeconds = 60;  // a page that sent a heartbeat and then none this long has its session ended
};

// Runs until SIGINT or SIGTERM; prints the URL to open on `out`.
int runServeCommand(const ServeOptions& options, std::ostream& out, std::ostream& err);

}  // namespace server
