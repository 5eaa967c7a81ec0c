#include "hostapp/server/http_server.h"

#include <atomic>
#include <condition_variable>
#include <cstring>
#include <httplib.h>
#include <thread>

#include "hostapp/platform/allocator.h"
#include "hostapp/platform/library.h"
#include "hostapp/platform/signals.h"
#include "hostapp/server/guarded_server.h"
#include "hostapp/server/session_broker.h"
#include "hostapp/server/session_operations.h"
#include "hostapp/server/web_assets.h"
#include "hostapp/server/wire.h"
#include "hostapp/session/output_kinds.h"

namespace server {
namespace {

using nlohmann::json;

constexpr std::size_t kMaxBody = 1 << 20;

// The types the server sends carry a charset: cpp-httplib then leaves them
// uncompressed, which on the loopback is far quicker than its brotli.
constexpr const char* kJsonType = "application/json; charset=utf-8";

void sendJson(httplib::Response& res, int status, const json& body) {
  res.status = status;
  res.set_header("Cache-Control", "no-store");
  res.set_content(body.dump(-1, ' ', false, json::error_handler_t::replace), kJsonType);
}

void refuse(httplib::Response& res, int status, const std::string& message) {
  sendJson(res, status, {{"error", message}});
}

bool sameText(const std::string& a, const std::string& b) {
  // Compared in full whatever matches first, so timing tells nothing of the token.
  if (a.size() != b.size()) return false;
  unsigned char diff = 0;
  for (std::size_t k = 0; k < a.size(); ++k) diff |= static_cast<unsigned char>(a[k] ^ b[k]);
  return diff == 0;
}

// The route of the downloads: /api/sessions/ID/export/KIND for every kind
// the output table serves.
std::string exportRoute() {
  std::string kinds;
  for (const host::OutputKindInfo& info : host::outputKinds()) {
    if (!info.served) continue;
    if (!kinds.empty()) kinds += '|';
    kinds += info.name;
  }
  return R"(/api/sessions/([0-9a-f]{1,32})/export/()" + kinds + ")";
}

}  // namespace

int runServeCommand(const ServeOptions& options, std::ostream& out, std::ostream& err) {
  // SIGINT and SIGTERM are taken by a thread of their own that stops the
  // server; a pipe to a dead child must not end the server.
  host::platform::holdStopSignals();
  host::platform::ignoreBrokenPipes();

  BrokerSettings settings;
  settings.executable = host::platform::executablePath();
  settings.session = options.session;
  settings.maxSessions = options.maxSessions;
  settings.idleLimit = std::chrono::seconds(options.idleSeconds);
  settings.answerLimit = std::chrono::milliseconds(static_cast<long long>(options.answerSeconds) * 1000);
  settings.heartbeatLimit = std::chrono::seconds(options.heartbeatSeconds);
  if (settings.executable.empty()) {
    err << "spiral-host: cannot find the program's own path\n";
    return 1;
  }
  SessionBroker broker(settings);

  GuardedServer http;
  http.set_payload_max_length(kMaxBody);
  // Answers are small and awaited one at a time: no Nagle delay.
  http.set_tcp_nodelay(true);
  const int port = options.port == 0 ? http.bind_to_any_port("127.0.0.1") : options.port;
  if (options.port != 0 && !http.bind_to_port("127.0.0.1", options.port)) {
    err << "spiral-host: cannot listen on 127.0.0.1:" << options.port << "\n";
    return 1;
  }
  if (port <= 0) {
    err << "spiral-host: cannot listen on 127.0.0.1\n";
    return 1;
  }
  http.widenBacklog();
  const std::string token = randomToken();
  const std::string portText = std::to_string(port);
  const std::vector<std::string> hosts{"127.0.0.1:" + portText, "localhost:" + portText};
  const std::vector<std::string> origins{"http://127.0.0.1:" + portText, "http://localhost:" + portText};

  // Refusals before any route: a foreign Host (DNS rebinding), a foreign
  // Origin on a state-changing request, an API call without the token.
  http.set_pre_routing_handler([&](const httplib::Request& req, httplib::Response& res) {
    const std::string hostHeader = req.get_header_value("Host");
    if (std::find(hosts.begin(), hosts.end(), hostHeader) == hosts.end()) {
      refuse(res, 421, "this server answers only for 127.0.0.1:" + portText);
      return httplib::Server::HandlerResponse::Handled;
    }
    if (req.method != "GET" && req.method != "HEAD" && req.has_header("Origin") &&
        std::find(origins.begin(), origins.end(), req.get_header_value("Origin")) == origins.end()) {
      refuse(res, 403, "requests from another origin are refused");
      return httplib::Server::HandlerResponse::Handled;
    }
    if (req.path.rfind("/api/", 0) == 0 && !sameText(req.get_header_value("X-Spiral-Token"), token)) {
      refuse(res, 401, "the request needs this run's token (the token= of the printed URL)");
      return httplib::Server::HandlerResponse::Handled;
    }
    return httplib::Server::HandlerResponse::Unhandled;
  });
  // Every error the library answers itself (unknown path, too large a body,
  // a request it cannot read) becomes a one-line JSON error too.
  http.set_error_handler(httplib::Server::HandlerWithResponse([](const httplib::Request&, httplib::Response& res) {
    if (!res.body.empty()) return httplib::Server::HandlerResponse::Unhandled;
    const char* message = res.status == 413   ? "the request body is over 1 MiB"
                          : res.status == 404 ? "there is nothing at this path"
                          : res.status == 405 ? "this path does not take that method"
                                              : "the request cannot be read";
    sendJson(res, res.status, {{"error", message}});
    return httplib::Server::HandlerResponse::Handled;
  }));
  http.set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
    refuse(res, 500, "the server failed on this request");
  });

  for (std::size_t k = 0; k < kWebAssetCount; ++k) {
    const WebAsset& asset = kWebAssets[k];
    auto serveAsset = [&asset](const httplib::Request&, httplib::Response& res) {
      res.set_header("Cache-Control", "no-store");
      res.set_header("X-Content-Type-Options", "nosniff");
      res.set_header("Content-Security-Policy",
                     "default-src 'self'; img-src 'self' blob: data:; style-src 'self'; script-src 'self'; "
                     "connect-src 'self'; frame-ancestors 'none'");
      res.set_content(reinterpret_cast<const char*>(asset.data), asset.size, asset.mime);
    };
    http.Get(asset.path, serveAsset);
    if (std::strcmp(asset.path, "/index.html") == 0) http.Get("/", serveAsset);
  }

  auto bodyObject = [](const httplib::Request& req, httplib::Response& res) -> std::optional<json> {
    if (req.body.empty()) return json::object();
    std::string problem;
    std::optional<json> body = parseMessage(req.body, &problem);
    if (!body) refuse(res, 400, "the request body " + problem);
    return body;
  };
  auto reply = [](httplib::Response& res, const BrokerReply& r) { sendJson(res, r.status, r.body); };

  http.Post("/api/sessions", [&](const httplib::Request&, httplib::Response& res) { reply(res, broker.open()); });
  http.Get(R"(/api/sessions/([0-9a-f]{1,32}))", [&](const httplib::Request& req, httplib::Response& res) {
    reply(res, broker.request(req.matches[1], {{"op", "state"}}));
  });
  http.Delete(R"(/api/sessions/([0-9a-f]{1,32}))", [&](const httplib::Request& req, httplib::Response& res) {
    reply(res, broker.close(req.matches[1]));
  });
  // The page's heartbeat: answered here, never by the session's child.
  http.Post(R"(/api/sessions/([0-9a-f]{1,32})/heartbeat)", [&](const httplib::Request& req, httplib::Response& res) {
    reply(res, broker.heartbeat(req.matches[1]));
  });
  http.Post(R"(/api/sessions/([0-9a-f]{1,32})/([a-z]+))", [&](const httplib::Request& req, httplib::Response& res) {
    const std::string op = req.matches[2];
    if (!isSessionOperation(op)) return refuse(res, 404, "there is no operation \"" + op + "\"");
    auto body = bodyObject(req, res);
    if (!body) return;
    (*body)["op"] = op;
    reply(res, broker.request(req.matches[1], std::move(*body)));
  });
  // A stream's pieces passed through this process's memory: what they left
  // free goes back to the system when it ends.
  const auto releaseAfterStream = [](bool) { host::platform::releaseFreedMemory(); };
  // Downloads stream from the session's child as it writes them.
  http.Get(exportRoute(), [&](const httplib::Request& req, httplib::Response& res) {
    std::unique_ptr<DownloadStream> stream;
    BrokerReply r = broker.download(req.matches[1], {{"op", "export"}, {"kind", std::string(req.matches[2])}}, stream);
    if (r.status != 200 || !stream) return reply(res, r);
    res.status = 200;
    res.set_header("Cache-Control", "no-store");
    res.set_header("Content-Disposition", "attachment; filename=\"" + r.body.value("file", "download") + "\"");
    std::string mime = r.body.value("mime", "application/octet-stream");
    if (mime != "application/octet-stream") mime += "; charset=utf-8";
    std::shared_ptr<DownloadStream> pieces(std::move(stream));
    res.set_chunked_content_provider(mime, [pieces](std::size_t, httplib::DataSink& sink) {
      std::optional<std::string> piece = pieces->next();
      if (!piece) {
        if (pieces->failed()) return false;  // cut short: the client sees an unfinished download
        sink.done();
        return true;
      }
      return sink.write(piece->data(), piece->size());
    }, releaseAfterStream);
  });
  // A large drawing in its binary form (drawing_stream.h), by the serial of
  // the answer that announced it, one piece from the child at a time: the
  // session takes other requests between pieces, and a request that changes
  // the drawing ends this one (409 before the first byte, a cut-short
  // stream after).
  http.Get(R"(/api/sessions/([0-9a-f]{1,32})/drawing/([0-9]{1,15}))", [&](const httplib::Request& req,
                                                                        httplib::Response& res) {
    struct Pieces {
      std::string id;
      std::uint64_t serial = 0;
      json cursor;
      std::string first;
      bool done = false;
    };
    auto state = std::make_shared<Pieces>();
    state->id = req.matches[1];
    state->serial = std::stoull(std::string(req.matches[2]));
    BrokerReply r = broker.requestBytes(state->id, {{"op", "drawing"}, {"serial", state->serial}}, state->first);
    if (r.status != 200) return reply(res, r);
    state->done = r.body.value("done", true);
    state->cursor = {{"layer", r.body.value("layer", 0u)}, {"art", r.body.value("art", 0u)}};
    res.status = 200;
    res.set_header("Cache-Control", "no-store");
    res.set_chunked_content_provider("application/octet-stream", [state, &broker](std::size_t, httplib::DataSink& sink) {
      if (!state->first.empty()) {
        const std::string piece = std::exchange(state->first, std::string());
        return sink.write(piece.data(), piece.size());
      }
      if (state->done) {
        sink.done();
        return true;
      }
      std::string piece;
      json request{{"op", "drawing"}, {"serial", state->serial}};
      request.update(state->cursor);
      BrokerReply next = broker.requestBytes(state->id, std::move(request), piece);
      if (next.status != 200) return false;
      state->done = next.body.value("done", true);
      state->cursor = {{"layer", next.body.value("layer", 0u)}, {"art", next.body.value("art", 0u)}};
      return sink.write(piece.data(), piece.size());
    }, releaseAfterStream);
  });

  // Idle sessions are closed in the background; the stop signals end the
  // server.
  std::atomic<bool> stopping{false};
  std::mutex reaperMutex;
  std::condition_variable reaperWake;
  std::thread reaper([&] {
    std::unique_lock lock(reaperMutex);
    const auto period =
        std::chrono::seconds(std::clamp(std::min(options.idleSeconds, options.heartbeatSeconds) / 10u, 1u, 30u));
    while (!stopping) {
      reaperWake.wait_for(lock, period);
      if (!stopping) broker.closeIdle();
    }
  });
  std::thread signals([&] {
    host::platform::waitForStopSignal();
    if (!stopping) http.stop();
  });

  out << "Spiral is served at http://127.0.0.1:" << port << "/?token=" << token << std::endl;
  const bool listened = http.listen_after_bind();
  {
    std::lock_guard lock(reaperMutex);
    stopping = true;
  }
  reaperWake.notify_all();
  reaper.join();
  // The signal thread waits for a signal that may never come: wake it.
  host::platform::wakeStopSignalWaiter(signals);
  signals.join();
  if (!listened) {
    err << "spiral-host: the server stopped with an error\n";
    return 1;
  }
  return 0;
}

}  // namespace server
