// `spiral-host serve` from outside, as a browser would reach it: a real
// server process on 127.0.0.1, spoken to through cpp-httplib's client.
#include <gtest/gtest.h>
#include <httplib.h>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <chrono>
#include <future>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "hostapp/model/page.h"
#include "hostapp/server/wire.h"

using nlohmann::json;

namespace {

// The SVG without its drawing metadata line.
std::string withoutMetadata(const std::string& svg) {
  const std::size_t start = svg.find("  <metadata id=\"spiral-drawing\">");
  if (start == std::string::npos) return svg;
  const std::size_t end = svg.find("</metadata>\n", start);
  return end == std::string::npos ? svg : svg.substr(0, start) + svg.substr(end + 12);
}

// A running `spiral-host serve`; stopped (SIGTERM) when destroyed.
class ServerProcess {
 public:
  explicit ServerProcess(std::vector<std::string> extra) {
    std::vector<std::string> args{SPIRAL_HOST_EXE, "serve", "--port", "0"};
    args.insert(args.end(), extra.begin(), extra.end());
    int out[2];
    if (pipe(out) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      dup2(out[1], 1);
      close(out[0]);
      close(out[1]);
      std::vector<char*> argv;
      for (auto& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      execv(argv[0], argv.data());
      _exit(127);
    }
    close(out[1]);
    // The one line: "Spiral is served at http://127.0.0.1:PORT/?token=TOKEN".
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (line.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
      pollfd p{out[0], POLLIN, 0};
      if (poll(&p, 1, 200) <= 0) continue;
      char buffer[256];
      const ssize_t n = read(out[0], buffer, sizeof buffer);
      if (n <= 0) break;
      line.append(buffer, static_cast<std::size_t>(n));
    }
    close(out[0]);
    const std::size_t at = line.find("http://127.0.0.1:");
    const std::size_t tokenAt = line.find("token=");
    if (at == std::string::npos || tokenAt == std::string::npos) return;
    port_ = std::stoi(line.substr(at + 17));
    token_ = line.substr(tokenAt + 6, line.find('\n') - tokenAt - 6);
  }
  ~ServerProcess() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
  }
  int port() const { return port_; }
  const std::string& token() const { return token_; }
  bool running() const { return port_ > 0 && kill(pid_, 0) == 0; }

 private:
  pid_t pid_ = -1;
  int port_ = 0;
  std::string token_;
};

struct Answer {
  int status = 0;
  json body;
  std::string raw;
};

class Api {
 public:
  explicit Api(const ServerProcess& server) : server_(server), client_("127.0.0.1", server.port()) {
    client_.set_read_timeout(30, 0);
  }
  httplib::Headers headers() const {
    return {{"X-Spiral-Token", server_.token()}, {"Origin", "http://127.0.0.1:" + std::to_string(server_.port())}};
  }
  Answer take(const httplib::Result& r) {
    Answer a;
    if (!r) return a;
    a.status = r->status;
    a.raw = r->body;
    a.body = json::parse(r->body, nullptr, false);
    return a;
  }
  Answer post(const std::string& path, const json& body = json::object()) {
    return take(client_.Post(path.c_str(), headers(), body.dump(), "application/json"));
  }
  Answer postRaw(const std::string& path, const std::string& body, httplib::Headers h) {
    return take(client_.Post(path.c_str(), h, body, "application/json"));
  }
  Answer get(const std::string& path, httplib::Headers h) { return take(client_.Get(path.c_str(), h)); }
  Answer get(const std::string& path) { return get(path, headers()); }
  Answer del(const std::string& path) { return take(client_.Delete(path.c_str(), headers())); }

  std::string open() {
    Answer a = post("/api/sessions");
    EXPECT_EQ(a.status, 201) << a.raw;
    return a.body.value("id", "");
  }
  Answer op(const std::string& id, const std::string& op, const json& body = json::object()) {
    return post("/api/sessions/" + id + "/" + op, body);
  }
  Answer act(const std::string& id, const json& action) { return op(id, "action", action); }

 private:
  const ServerProcess& server_;
  httplib::Client client_;
};

// Every refusal is a 4xx answer whose body is one line of JSON with "error".
void expectRefusal(const Answer& a, int status, const std::string& words = "") {
  EXPECT_EQ(a.status, status) << a.raw;
  ASSERT_TRUE(a.body.is_object()) << a.raw;
  ASSERT_TRUE(a.body.contains("error")) << a.raw;
  EXPECT_EQ(a.raw.find('\n'), std::string::npos) << a.raw;
  if (!words.empty()) {
    EXPECT_NE(a.body["error"].get<std::string>().find(words), std::string::npos) << a.raw;
  }
}

const json* itemIn(const json& items, int id) {
  for (const json& item : items) {
    if (item["id"] == id) return &item;
  }
  return nullptr;
}

std::size_t pathCount(const std::string& svg) {
  std::size_t n = 0;
  for (std::size_t at = svg.find("<path"); at != std::string::npos; at = svg.find("<path", at + 1)) ++n;
  return n;
}

class ServeTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { server_ = new ServerProcess({"--seed", "5"}); }
  static void TearDownTestSuite() {
    delete server_;
    server_ = nullptr;
  }
  void SetUp() override { ASSERT_TRUE(server_->running()) << "spiral-host serve did not start"; }
  static ServerProcess* server_;
};
ServerProcess* ServeTest::server_ = nullptr;

TEST_F(ServeTest, RefusesForeignHostOriginAndMissingToken) {
  Api api(*server_);
  const std::string port = std::to_string(server_->port());
  // The page itself needs no token, but only for the server's own Host.
  Answer page = api.get("/", {});
  EXPECT_EQ(page.status, 200);
  EXPECT_NE(page.raw.find("main.mjs"), std::string::npos);
  expectRefusal(api.get("/", {{"Host", "attacker.example:" + port}}), 421);
  expectRefusal(api.get("/api/sessions/00", {{"Host", "127.0.0.1:1"}, {"X-Spiral-Token", server_->token()}}), 421);

  expectRefusal(api.postRaw("/api/sessions", "{}", {}), 401, "token");
  expectRefusal(api.postRaw("/api/sessions", "{}", {{"X-Spiral-Token", server_->token() + "0"}}), 401);
  std::string wrong = server_->token();
  wrong[0] = wrong[0] == 'a' ? 'b' : 'a';
  expectRefusal(api.postRaw("/api/sessions", "{}", {{"X-Spiral-Token", wrong}}), 401);

  expectRefusal(api.postRaw("/api/sessions", "{}",
                            {{"X-Spiral-Token", server_->token()}, {"Origin", "http://attacker.example"}}),
                403, "origin");
  expectRefusal(api.postRaw("/api/sessions", "{}",
                            {{"X-Spiral-Token", server_->token()}, {"Origin", "http://127.0.0.1:1"}}),
                403);
  // localhost with the server's port is the same server.
  Answer viaLocalhost = api.postRaw("/api/sessions", "{}",
                                    {{"X-Spiral-Token", server_->token()}, {"Origin", "http://localhost:" + port}});
  EXPECT_EQ(viaLocalhost.status, 201) << viaLocalhost.raw;
  EXPECT_EQ(api.del("/api/sessions/" + viaLocalhost.body.value("id", "x")).status, 200);
}

TEST_F(ServeTest, MalformedRequestsGetOneLineErrorsAndTheServerGoesOn) {
  Api api(*server_);
  const std::string id = api.open();
  const std::string base = "/api/sessions/" + id;
  const httplib::Headers h = api.headers();
  expectRefusal(api.postRaw(base + "/action", "{not json", h), 400, "not JSON");
  expectRefusal(api.postRaw(base + "/action", "[1, 2]", h), 400, "object");
  expectRefusal(api.postRaw(base + "/filter", std::string((1 << 20) + 10, ' '), h), 413, "1 MiB");
  expectRefusal(api.post(base + "/explode"), 404, "operation");
  expectRefusal(api.post("/api/sessions/0123456789abcdef/state"), 404, "no session");
  expectRefusal(api.get("/api/nothing"), 404);
  expectRefusal(api.get(base + "/export/pdf"), 404);
  // Dialog actions outside the dialog, and actions the dialog refuses.
  expectRefusal(api.act(id, {{"verb", "enter"}}), 400, "not open");
  expectRefusal(api.op(id, "document", {{"page", {-5, 10}}}), 400);
  expectRefusal(api.op(id, "document", {{"colorModel", "lab"}}), 400);
  expectRefusal(api.op(id, "document", {{"colorModel", 5}}), 400, "wrong type");
  expectRefusal(api.op(id, "record", {{"binary", "AAAA"}}), 400, "308 bytes");
  expectRefusal(api.op(id, "record", {{"binary", "@@@@"}}), 400, "base64");
  expectRefusal(api.op(id, "record", {{"json", {{"noSuchField", 1}}}}), 400);
  expectRefusal(api.op(id, "repeat"), 400, "choose the filter first");

  Answer open = api.op(id, "filter");
  ASSERT_EQ(open.status, 200) << open.raw;
  expectRefusal(api.act(id, {{"verb", "jump"}}), 400, "verb");
  expectRefusal(api.act(id, {{"verb", 4}}), 400, "verb");
  expectRefusal(api.act(id, {{"verb", "check"}, {"item", 3}, {"value", "yes"}}), 400, "true or false");
  expectRefusal(api.act(id, {{"verb", "set"}, {"item", 9999}, {"value", 1}}), 400, "no item 9999");
  expectRefusal(api.act(id, {{"verb", "set"}, {"item", 4}, {"value", "ten"}}), 400, "not a number");
  expectRefusal(api.act(id, {{"verb", "set"}, {"item", 6}, {"value", 1}}), 400, "hidden");
  expectRefusal(api.act(id, {{"verb", "set"}, {"item", 29}, {"value", 1}}), 400);  // hidden and disabled
  expectRefusal(api.act(id, {{"verb", "press"}, {"item", 4}}), 400, "push button");
  expectRefusal(api.act(id, {{"verb", "pick"}, {"item", 170}, {"x", "a"}, {"y", 1}}), 400);
  expectRefusal(api.op(id, "repeat"), 400, "dialog is open");
  // After all that the dialog still takes actions and the server new sessions.
  Answer set = api.act(id, {{"verb", "set"}, {"item", 4}, {"value", 3}});
  EXPECT_EQ(set.status, 200) << set.raw;
  EXPECT_EQ(api.act(id, {{"verb", "escape"}}).status, 200);
  const std::string other = api.open();
  EXPECT_FALSE(other.empty());
  EXPECT_EQ(api.del("/api/sessions/" + other).status, 200);
  EXPECT_EQ(api.del(base).status, 200);
}

TEST_F(ServeTest, DialogActionsFollowTheHostAndThePreviewFollowsThem) {
  Api api(*server_);
  const std::string id = api.open();
  Answer state = api.get("/api/sessions/" + id);
  ASSERT_EQ(state.status, 200) << state.raw;
  ASSERT_EQ(state.body["filters"].size(), 1u);
  EXPECT_EQ(state.body["filters"][0]["title"], "Spiral...");
  EXPECT_EQ(state.body["page"], json({612, 792}));
  // What the page offers comes with the state.
  EXPECT_EQ(state.body["defaultPage"], json({612, 792}));
  EXPECT_EQ(state.body["pageLimits"], json({host::kMinPageSide, host::kMaxPageSide}));
  EXPECT_EQ(state.body["colorModels"], json({"gray", "rgb", "cmyk"}));
  EXPECT_EQ(state.body["operations"],
            json({"filter", "action", "repeat", "undo", "about", "document", "record", "state"}));
  ASSERT_EQ(state.body["exports"].size(), 4u);
  EXPECT_EQ(state.body["exports"][0],
            json({{"kind", "svg"}, {"label", "Drawing (SVG)"}, {"mime", "image/svg+xml"}, {"file", "spirals.svg"}}));
  EXPECT_EQ(state.body["exports"][3]["kind"], "record-json");
  const std::string emptySvg = state.body["svg"];
  EXPECT_EQ(pathCount(emptySvg), 0u);

  Answer open = api.op(id, "filter");
  ASSERT_EQ(open.status, 200) << open.raw;
  const json& dialog = open.body["dialog"];
  EXPECT_EQ(dialog["name"], "Vrix_Spiral");
  EXPECT_EQ(dialog["caption"], "Spiral Plugin");
  EXPECT_EQ(dialog["width"], 440);
  EXPECT_EQ(dialog["height"], 336);
  ASSERT_EQ(dialog["items"].size(), 115u);
  const json* gap = itemIn(dialog["items"], 5);
  ASSERT_TRUE(gap);
  EXPECT_EQ((*gap)["kind"], "spin edit");
  EXPECT_EQ((*gap)["bounds"], json({200, 92, 260, 112}));
  EXPECT_EQ((*gap)["text"], "200.00");
  EXPECT_EQ((*gap)["limits"], json({0.01, 1000}));
  EXPECT_EQ((*gap)["value"], 200);
  EXPECT_EQ((*gap)["decimals"], 2);
  EXPECT_EQ((*itemIn(dialog["items"], 164))["kind"], "popup list");
  EXPECT_EQ((*itemIn(dialog["items"], 164))["entries"].size(), 64u);
  EXPECT_EQ((*itemIn(dialog["items"], 179))["picks"], true);
  EXPECT_FALSE((*itemIn(dialog["items"], 6))["visible"]);
  // The preview drew when the dialog opened.
  const std::string firstPreview = open.body["svg"];
  EXPECT_GT(pathCount(firstPreview), 0u);

  // set: the item and the drawing change; only changed items come back.
  Answer set = api.act(id, {{"verb", "set"}, {"item", 5}, {"value", "80"}});
  ASSERT_EQ(set.status, 200) << set.raw;
  ASSERT_TRUE(itemIn(set.body["items"], 5));
  EXPECT_EQ((*itemIn(set.body["items"], 5))["text"], "80.00");
  EXPECT_LT(set.body["items"].size(), 10u);
  EXPECT_NE(set.body["svg"], firstPreview);
  // A number beyond the limits shows as the limit.
  Answer big = api.act(id, {{"verb", "set"}, {"item", 4}, {"value", 100000}});
  EXPECT_EQ((*itemIn(big.body["items"], 4))["text"], "300");

  // press a page button: the Create page's items show, the Spiral page's hide.
  Answer page = api.act(id, {{"verb", "press"}, {"item", 101}});
  ASSERT_EQ(page.status, 200) << page.raw;
  EXPECT_TRUE((*itemIn(page.body["items"], 6))["visible"]);
  EXPECT_FALSE((*itemIn(page.body["items"], 4))["visible"]);
  EXPECT_EQ((*itemIn(page.body["items"], 106))["font"], 5);
  // pick: button 179 sets the centre's x from the document point.
  Answer pick = api.act(id, {{"verb", "pick"}, {"item", 179}, {"x", 250}, {"y", 400}});
  ASSERT_EQ(pick.status, 200) << pick.raw;
  EXPECT_EQ((*itemIn(pick.body["items"], 6))["value"], 250);
  // choose a preset: the record and many items change.
  Answer preset = api.act(id, {{"verb", "choose"}, {"item", 164}, {"value", 3}});
  ASSERT_EQ(preset.status, 200) << preset.raw;
  EXPECT_EQ((*itemIn(preset.body["items"], 164))["value"], 3);
  // press Tumble, toggle and check a box on the Settings page.
  EXPECT_EQ(api.act(id, {{"verb", "press"}, {"item", 91}}).status, 200);
  EXPECT_EQ(api.act(id, {{"verb", "press"}, {"item", 104}}).status, 200);
  Answer toggled = api.act(id, {{"verb", "toggle"}, {"item", 147}});
  ASSERT_EQ(toggled.status, 200) << toggled.raw;
  const json& box = *itemIn(toggled.body["items"], 147);
  EXPECT_EQ(box["kind"], "check box");
  const bool shadow = box["value"] == 1;
  Answer checked = api.act(id, {{"verb", "check"}, {"item", 147}, {"value", !shadow}});
  EXPECT_EQ((*itemIn(checked.body["items"], 147))["value"], shadow ? 0 : 1);
  // The drop shadow's options follow its box.
  EXPECT_EQ((*itemIn(checked.body["items"], 143))["enabled"], !shadow);

  // Enter accepts; Go keeps the preview: the document shows the last preview,
  // now with the record that made it (a preview goes without one: the
  // dialog's record is the plug-in's until accepted).
  const std::string lastPreview = checked.body["svg"];
  EXPECT_EQ(checked.body["savable"], false);
  EXPECT_EQ(lastPreview.find("<metadata"), std::string::npos);
  Answer enter = api.act(id, {{"verb", "enter"}});
  ASSERT_EQ(enter.status, 200) << enter.raw;
  EXPECT_TRUE(enter.body["dialog"].is_null());
  EXPECT_EQ(enter.body["result"], 0);
  EXPECT_EQ(enter.body["cancelled"], false);
  EXPECT_EQ(enter.body["savable"], true);
  EXPECT_EQ(withoutMetadata(enter.body["svg"]), lastPreview);
  EXPECT_TRUE(enter.body["canUndo"]);

  // The record kept: the next dialog opens on the Settings page.
  Answer again = api.op(id, "filter");
  EXPECT_TRUE((*itemIn(again.body["dialog"]["items"], 120))["visible"]);
  // Escape cancels: the document is as it was before the dialog.
  EXPECT_EQ(api.act(id, {{"verb", "set"}, {"item", 28}, {"value", 150}}).status, 200);
  Answer cancel = api.act(id, {{"verb", "escape"}});
  ASSERT_EQ(cancel.status, 200) << cancel.raw;
  EXPECT_EQ(cancel.body["cancelled"], true);
  EXPECT_EQ(cancel.body["svg"], enter.body["svg"]) << "the drawing and the record as they were";

  // Repeat draws again with the kept record; Undo takes that back.
  Answer repeat = api.op(id, "repeat");
  ASSERT_EQ(repeat.status, 200) << repeat.raw;
  EXPECT_EQ(repeat.body["result"], 0);
  EXPECT_GT(pathCount(repeat.body["svg"]), pathCount(lastPreview));
  Answer undo = api.op(id, "undo");
  ASSERT_EQ(undo.status, 200) << undo.raw;
  EXPECT_EQ(undo.body["svg"], enter.body["svg"]);
  EXPECT_FALSE(undo.body["canUndo"]);

  // About: the plug-in's About box comes back as a box with its texts.
  Answer about = api.op(id, "about");
  ASSERT_EQ(about.status, 200) << about.raw;
  ASSERT_EQ(about.body["boxes"].size(), 1u);
  EXPECT_EQ(about.body["boxes"][0]["name"], "About Dialog");
  EXPECT_FALSE(about.body["boxes"][0]["items"].empty());
  api.del("/api/sessions/" + id);
}

TEST_F(ServeTest, DocumentsRecordsAndDownloads) {
  Api api(*server_);
  const std::string id = api.open();
  const std::string base = "/api/sessions/" + id;
  Answer doc = api.op(id, "document", {{"page", {300, 200}}, {"colorModel", "cmyk"}});
  ASSERT_EQ(doc.status, 200) << doc.raw;
  EXPECT_EQ(doc.body["page"], json({300, 200}));
  EXPECT_EQ(doc.body["colorModel"], "cmyk");
  // A page as text reads as --page does.
  Answer named = api.op(id, "document", {{"page", "Tabloid,landscape"}});
  ASSERT_EQ(named.status, 200) << named.raw;
  EXPECT_EQ(named.body["page"], json({1224, 792}));
  expectRefusal(api.op(id, "document", {{"page", "A6"}}), 400, "A5, A4, A3");
  doc = api.op(id, "document", {{"page", {300, 200}}, {"colorModel", "cmyk"}});
  ASSERT_EQ(doc.status, 200) << doc.raw;

  // A record as JSON, then as the binary download of another session.
  ASSERT_EQ(api.op(id, "record", {{"json", {{"armCount", 7}, {"preview", false}}}}).status, 200);
  Answer open = api.op(id, "filter");
  EXPECT_EQ((*itemIn(open.body["dialog"]["items"], 4))["text"], "7");
  EXPECT_EQ(pathCount(open.body["svg"]), 0u);  // no preview
  Answer enter = api.act(id, {{"verb", "enter"}});
  EXPECT_GT(pathCount(enter.body["svg"]), 0u);  // Go drew

  httplib::Client client("127.0.0.1", server_->port());
  auto svg = client.Get((base + "/export/svg").c_str(), api.headers());
  ASSERT_TRUE(svg);
  EXPECT_EQ(svg->status, 200);
  EXPECT_EQ(svg->get_header_value("Content-Type"), "image/svg+xml; charset=utf-8");
  // The download is the drawing on the page plus the metadata that re-makes
  // it: the record after Go and the session's seed.
  const std::string& file = svg->body;
  const std::size_t metaStart = file.find("  <metadata id=\"spiral-drawing\">");
  ASSERT_NE(metaStart, std::string::npos);
  const std::size_t metaEnd = file.find("</metadata>\n", metaStart);
  ASSERT_NE(metaEnd, std::string::npos);
  const std::string metadata = file.substr(metaStart, metaEnd - metaStart);
  EXPECT_NE(metadata.find("\"seed\":5"), std::string::npos);
  EXPECT_NE(metadata.find("\"armCount\":7"), std::string::npos);
  EXPECT_EQ(file, enter.body["svg"].get<std::string>()) << "the page holds what Download SVG writes";
  auto dump = client.Get((base + "/export/json").c_str(), api.headers());
  ASSERT_TRUE(dump);
  const json parsed = json::parse(dump->body);
  EXPECT_EQ(parsed["record"]["armCount"], 7);
  EXPECT_EQ(parsed["page"], json({300, 200}));
  auto record = client.Get((base + "/export/record").c_str(), api.headers());
  ASSERT_TRUE(record);
  EXPECT_EQ(record->body.size(), 308u);
  auto recordJson = client.Get((base + "/export/record-json").c_str(), api.headers());
  EXPECT_EQ(json::parse(recordJson->body)["armCount"], 7);

  // The binary record read into a new session gives the same record back.
  const std::string other = api.open();
  std::string encoded = server::base64Encode(record->body);
  ASSERT_EQ(api.op(other, "record", {{"binary", encoded}}).status, 200);
  auto back = client.Get(("/api/sessions/" + other + "/export/record").c_str(), api.headers());
  EXPECT_EQ(back->body, record->body);
  api.del("/api/sessions/" + other);
  api.del(base);
  expectRefusal(api.get(base), 410, "closed");
}

// A record file opened in the page is read as `draw --params` reads one:
// told apart by content, bounded, every field checked and named.
TEST_F(ServeTest, RecordFilesOpenedInThePageAreReadAsDrawReadsThem) {
  Api api(*server_);
  const std::string id = api.open();
  const std::string base = "/api/sessions/" + id;
  auto file = [&](const std::string& bytes, const std::string& name) {
    return api.op(id, "record", {{"file", server::base64Encode(bytes)}, {"name", name}});
  };
  expectRefusal(file(R"({"armCount": 3, "armCount": 4})", "twice.json"), 400, "'armCount' twice");
  expectRefusal(file(R"({"spiralCount": 1000000000000})", "big.json"), 400, "'spiralCount' is out of the 32-bit range");
  expectRefusal(file(R"({"spiralCount": 2.5})", "big.json"), 400, "'spiralCount' needs an integer");
  expectRefusal(file(R"({"decay": "much"})", "r.json"), 400, "field 'decay' needs a number");
  expectRefusal(file(R"({"noSuchField": 1})", "r.json"), 400, "unknown field 'noSuchField'");
  expectRefusal(file("{\"armCount\": ", "cut.json"), 400, "not valid JSON");
  expectRefusal(file(std::string(12, 'x'), "short.bin"), 400, "holds 12 bytes");
  expectRefusal(file(std::string(308, '\0'), "zeros.json"), 400, "not valid JSON");  // named JSON: read as JSON
  expectRefusal(api.op(id, "record", {{"file", "@@"}}), 400, "base64");
  expectRefusal(api.op(id, "record", {{"json", {{"spiralCount", int64_t{1000000000000}}}}}), 400, "'spiralCount'");

  // JSON by content, fields not given keep their values; then the binary form.
  ASSERT_EQ(file(" \n{\"armCount\": 7}", "no-extension").status, 200);
  ASSERT_EQ(file(R"({"spiralCount": 3})", "r.json").status, 200);
  httplib::Client client("127.0.0.1", server_->port());
  auto recordJson = client.Get((base + "/export/record-json").c_str(), api.headers());
  ASSERT_TRUE(recordJson);
  EXPECT_EQ(json::parse(recordJson->body)["armCount"], 7);
  EXPECT_EQ(json::parse(recordJson->body)["spiralCount"], 3);
  auto binary = client.Get((base + "/export/record").c_str(), api.headers());
  ASSERT_TRUE(binary);
  const std::string other = api.open();
  ASSERT_EQ(api.op(other, "record", {{"file", server::base64Encode(binary->body)}, {"name", "spirals.rec"}}).status,
            200);
  auto back = client.Get(("/api/sessions/" + other + "/export/record").c_str(), api.headers());
  EXPECT_EQ(back->body, binary->body);

  // The state names the plug-in by its file name alone; a page whose float
  // side is zero is refused.
  const std::string plugin = api.get(base).body["plugin"];
  EXPECT_FALSE(plugin.empty());
  EXPECT_EQ(plugin.find('/'), std::string::npos) << plugin;
  expectRefusal(api.op(id, "document", {{"page", {1e-50, 792}}}), 400, "page");
  api.del("/api/sessions/" + other);
  api.del(base);
}

TEST_F(ServeTest, AtMostSixteenSessions) {
  Api api(*server_);
  std::vector<std::string> ids;
  for (int k = 0; k < 16; ++k) ids.push_back(api.open());
  expectRefusal(api.post("/api/sessions"), 429, "16");
  api.del("/api/sessions/" + ids.back());
  ids.pop_back();
  ids.push_back(api.open());
  EXPECT_FALSE(ids.back().empty());
  for (const std::string& id : ids) EXPECT_EQ(api.del("/api/sessions/" + id).status, 200);
}

TEST(ServeIdle, IdleSessionsAreClosed) {
  ServerProcess server({"--idle-timeout", "1"});
  ASSERT_TRUE(server.running());
  Api api(server);
  const std::string id = api.open();
  std::this_thread::sleep_for(std::chrono::milliseconds(3500));
  expectRefusal(api.get("/api/sessions/" + id), 410, "idle");
}

// A plug-in that crashes on Go and hangs in About ends only its own session.
TEST(ServeIsolation, ACrashingOrHangingPluginEndsOnlyItsSession) {
  ServerProcess crashing({"--plugin", SPIRAL_CRASH_PLUGIN_FILE, "--answer-timeout", "3"});
  ASSERT_TRUE(crashing.running());
  Api api(crashing);
  const std::string a = api.open();
  const std::string b = api.open();
  ASSERT_FALSE(a.empty());
  ASSERT_FALSE(b.empty());
  ASSERT_EQ(api.op(a, "filter").status, 200);
  ASSERT_EQ(api.op(b, "filter").status, 200);

  // Enter sends Go, which crashes session a's plug-in.
  Answer crash = api.act(a, {{"verb", "enter"}});
  expectRefusal(crash, 410, "the plug-in's process");
  EXPECT_TRUE(crash.body["sessionEnded"]);
  expectRefusal(api.get("/api/sessions/" + a), 410);

  // Session b goes on.
  Answer set = api.act(b, {{"verb", "set"}, {"item", 5}, {"value", 90}});
  EXPECT_EQ(set.status, 200) << set.raw;
  EXPECT_EQ(api.act(b, {{"verb", "escape"}}).status, 200);

  // About never returns: the session is ended after the answer time.
  const auto start = std::chrono::steady_clock::now();
  Answer hang = api.op(b, "about");
  expectRefusal(hang, 410, "did not answer");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));

  // The server still opens sessions.
  const std::string c = api.open();
  EXPECT_FALSE(c.empty());
  EXPECT_EQ(api.get("/api/sessions/" + c).status, 200);
}

// A request body that would take the parser down the stack, one over the
// size limit and one that is not an object are refused with one line; the
// server and its sessions go on.
TEST(ServeLimits, DeepLargeAndNonObjectBodiesAreRefused) {
  ServerProcess server({});
  ASSERT_TRUE(server.running());
  Api api(server);
  const std::string a = api.open();
  const std::string b = api.open();
  const httplib::Headers h = api.headers();
  // A million levels, just under the size limit.
  const std::string deep = "{\"verb\":" + std::string(1000000, '[');
  ASSERT_LT(deep.size(), std::size_t{1} << 20);
  for (const char* op : {"action", "record", "document", "filter"}) {
    expectRefusal(api.postRaw("/api/sessions/" + a + "/" + op, deep, h), 400, "nested deeper");
  }
  expectRefusal(api.postRaw("/api/sessions/" + a + "/action", std::string((1 << 20) + 1, '['), h), 413);
  expectRefusal(api.postRaw("/api/sessions/" + a + "/record", "\"text\"", h), 400, "not a JSON object");
  expectRefusal(api.postRaw("/api/sessions/" + a + "/record", "{\"json\":{}} x", h), 400, "not JSON");
  EXPECT_TRUE(server.running());
  EXPECT_EQ(api.get("/api/sessions/" + a).status, 200);
  EXPECT_EQ(api.op(b, "filter").status, 200);
  EXPECT_EQ(api.act(b, {{"verb", "escape"}}).status, 200);
}

// A raw connection to the server, for clients that speak slowly.
class RawConnection {
 public:
  explicit RawConnection(int port) : fd_(socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    connected_ = fd_ >= 0 && connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  }
  ~RawConnection() {
    if (fd_ >= 0) close(fd_);
  }
  bool connected() const { return connected_; }
  bool send(const std::string& bytes) { return ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) == ssize_t(bytes.size()); }
  // What the server sent until it closed the connection, waiting at most `wait`.
  std::optional<std::string> answerUntilClosed(std::chrono::milliseconds wait) {
    std::string answer;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return std::nullopt;
      pollfd p{fd_, POLLIN, 0};
      if (poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
      char buffer[4096];
      const ssize_t n = recv(fd_, buffer, sizeof buffer, 0);
      if (n <= 0) return answer;
      answer.append(buffer, static_cast<std::size_t>(n));
    }
  }

 private:
  int fd_;
  bool connected_ = false;
};

// Clients that send a byte a second, or nothing, hold no worker others need,
// and each is dropped when its request's deadline (5 s) passes.
TEST(ServeLimits, SlowClientsDelayNobodyAndAreDropped) {
  ServerProcess server({});
  ASSERT_TRUE(server.running());
  const std::string request = "GET / HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(server.port()) + "\r\n";
  std::vector<std::unique_ptr<RawConnection>> slow, idle;
  for (int k = 0; k < 64; ++k) {
    slow.push_back(std::make_unique<RawConnection>(server.port()));
    ASSERT_TRUE(slow.back()->connected());
  }
  for (int k = 0; k < 16; ++k) idle.push_back(std::make_unique<RawConnection>(server.port()));
  std::atomic<bool> dripping{true};
  std::thread drip([&] {
    for (std::size_t at = 0; dripping && at < request.size(); ++at) {
      for (auto& c : slow) c->send(request.substr(at, 1));
      for (int n = 0; n < 10 && dripping; ++n) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  });
  Api api(server);
  const std::string id = api.open();
  for (int k = 0; k < 6; ++k) {
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const auto start = std::chrono::steady_clock::now();
    Api fresh(server);  // a new connection each time
    EXPECT_EQ(fresh.get("/api/sessions/" + id).status, 200);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << "request " << k;
  }
  // A request whose first byte came 3 s ago, still dripping: cut off at 5 s
  // though it never stopped sending.
  const auto cut = slow.front()->answerUntilClosed(std::chrono::seconds(5));
  dripping = false;
  drip.join();
  ASSERT_TRUE(cut) << "a drip-feeding client was not dropped";
  if (!cut->empty()) {
    EXPECT_NE(cut->find(" 400 "), std::string::npos) << *cut;
  }
  // An idle connection is closed without an answer.
  const auto quiet = idle.front()->answerUntilClosed(std::chrono::seconds(3));
  ASSERT_TRUE(quiet) << "an idle connection was not dropped";
  EXPECT_EQ(*quiet, "");
  EXPECT_EQ(api.get("/api/sessions/" + id).status, 200);
}

// A plug-in stuck in About with requests queued behind it holds up only its
// own session: another session is answered at once, requests beyond the
// queue's bound are refused at once, and closing the stuck session ends it.
TEST(ServeIsolation, AHungSessionsQueueDelaysNoOtherSession) {
  ServerProcess server({"--plugin", SPIRAL_CRASH_PLUGIN_FILE, "--answer-timeout", "4"});
  ASSERT_TRUE(server.running());
  Api api(server);
  const std::string hung = api.open();
  const std::string other = api.open();
  ASSERT_FALSE(hung.empty());
  ASSERT_FALSE(other.empty());
  std::vector<std::future<Answer>> queued;
  for (int k = 0; k < 12; ++k) {
    queued.push_back(std::async(std::launch::async, [&] {
      Api own(server);
      return own.op(hung, "about");
    }));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  for (int k = 0; k < 3; ++k) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(api.get("/api/sessions/" + other).status, 200);
    EXPECT_EQ(api.op(other, "filter").status, 200);
    EXPECT_EQ(api.act(other, {{"verb", "escape"}}).status, 200);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << "round " << k;
  }
  int ended = 0, busy = 0;
  for (auto& f : queued) {
    const Answer a = f.get();
    if (a.status == 503) {
      expectRefusal(a, 503, "busy");
      ++busy;
    } else {
      expectRefusal(a, 410, "did not answer");
      ++ended;
    }
  }
  EXPECT_EQ(busy, 12 - 9);  // one at work, eight waiting
  EXPECT_EQ(ended, 9);

  // Closing a session stuck on a request does not wait for the answer time.
  const std::string stuck = api.open();
  auto about = std::async(std::launch::async, [&] {
    Api own(server);
    return own.op(stuck, "about");
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(api.del("/api/sessions/" + stuck).status, 200);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(3500));
  EXPECT_EQ(about.get().status, 410);
  expectRefusal(api.get("/api/sessions/" + stuck), 410, "closed");
}

// A session whose page sent heartbeats ends when they stop; one that never
// sent any keeps the idle limit.
TEST(ServeIdle, ASessionWhosePageStopsItsHeartbeatEnds) {
  ServerProcess server({"--heartbeat-timeout", "2"});
  ASSERT_TRUE(server.running());
  Api api(server);
  const std::string page = api.open();
  const std::string program = api.open();
  for (int k = 0; k < 3; ++k) {
    const Answer beat = api.op(page, "heartbeat");
    EXPECT_EQ(beat.status, 200) << beat.raw;
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
  }
  EXPECT_EQ(api.get("/api/sessions/" + page).status, 200);  // 3 s old, heard from throughout
  std::this_thread::sleep_for(std::chrono::milliseconds(3500));
  expectRefusal(api.get("/api/sessions/" + page), 410, "heartbeat");
  expectRefusal(api.op(page, "heartbeat"), 410);
  EXPECT_EQ(api.get("/api/sessions/" + program).status, 200);
  expectRefusal(api.op("0123456789abcdef", "heartbeat"), 404);
}

}  // namespace

namespace {

// The wire's parser on its own: a request nested a million levels deep is
// refused with one line, not followed down the stack.
TEST(WireMessages, DeepOrDuplicatedRequestsAreRefusedBeforeParsing) {
  std::string problem;
  const std::string deep = "{\"a\":" + std::string(1000000, '[') + std::string(1000000, ']') + "}";
  EXPECT_FALSE(server::parseMessage(deep, &problem));
  EXPECT_NE(problem.find("nested deeper than 64 levels"), std::string::npos) << problem;
  EXPECT_FALSE(server::parseMessage("{\"op\":\"a\",\"op\":\"b\"}", &problem));
  EXPECT_NE(problem.find("'op' twice"), std::string::npos) << problem;
  EXPECT_FALSE(server::parseMessage("[1]", &problem));
  EXPECT_EQ(problem, "is not a JSON object");
  const auto ok = server::parseMessage("{\"op\":\"state\",\"v\":[[[1]]],\"s\":\"[[[{\"}", &problem);
  ASSERT_TRUE(ok);
  EXPECT_EQ((*ok)["op"], "state");
}

}  // namespace

namespace {

// The server is a library beside the program, loaded by `serve` alone: a
// program without it still draws and tells what `serve` lacks in one line.
TEST(ServeLibrary, OnlyServeNeedsTheServerLibrary) {
  char folderTemplate[] = "/tmp/spiral-serve-library-XXXXXX";
  ASSERT_NE(mkdtemp(folderTemplate), nullptr);
  const std::string folder = folderTemplate;
  const std::string exe = std::string(SPIRAL_HOST_EXE);
  const std::string beside = exe.substr(0, exe.find_last_of('/') + 1);
  ASSERT_EQ(std::system(("cp '" + exe + "' '" + beside + "spiral.spx' '" + folder + "/'").c_str()), 0);
  const auto run = [&](const std::string& arguments) {
    const std::string command = "'" + folder + "/spiral-host' " + arguments + " >'" + folder + "/out' 2>'" + folder + "/err'";
    const int status = std::system(command.c_str());
    std::ifstream err(folder + "/err");
    return std::make_pair(WIFEXITED(status) ? WEXITSTATUS(status) : -1,
                          std::string(std::istreambuf_iterator<char>(err), {}));
  };
  const auto drawn = run("draw --no-dialog --seed 1 --svg '" + folder + "/a.svg'");
  EXPECT_EQ(drawn.first, 0) << drawn.second;
  EXPECT_EQ(run("about").first, 0);
  for (const std::string command : {"serve", "session-child --in 0 --out 1"}) {
    const auto [status, err] = run(command);
    EXPECT_EQ(status, 2) << command;
    EXPECT_NE(err.find("cannot load the server library (" + folder + "/spiral-server.so"), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
  }
  std::system(("rm -rf '" + folder + "'").c_str());
}

}  // namespace

namespace {

// ---- Large drawings and downloads ------------------------------------------------

// A drawing of over 100 000 segments, accepted (Go) in session `id`; the
// answer that shows it.
Answer drawBig(Api& api, const std::string& id, int spiralCount = 84) {
  EXPECT_EQ(api.op(id, "record",
                   {{"json", {{"armCount", 300}, {"spiralCount", spiralCount}, {"maxPoints", 9999}, {"preview", false}}}})
                .status,
            200);
  EXPECT_EQ(api.op(id, "filter").status, 200);
  return api.act(id, {{"verb", "enter"}});
}

// The paths and segments of a drawing's binary form, checked as it is read.
struct BinaryDrawing {
  std::uint32_t serial = 0, paths = 0, segments = 0, bytes = 0;
  std::vector<std::uint32_t> strokes;
  bool whole = false;
};

BinaryDrawing readBinary(const std::string& data) {
  BinaryDrawing d;
  auto word = [&](std::size_t at) {
    std::uint32_t v;
    std::memcpy(&v, data.data() + at, 4);
    return v;
  };
  if (data.size() < 32 || data.compare(0, 4, "SPD1") != 0) return d;
  d.serial = word(4);
  d.bytes = word(24);
  const std::uint32_t declaredPaths = word(16), declaredSegments = word(20);
  std::size_t at = 32;
  while (at + 28 <= data.size()) {
    const std::uint32_t flags = word(at);
    const std::size_t fixed = 4 * (7 + ((flags >> 8) & 255));
    if (at + fixed > data.size()) break;
    const std::uint32_t count = word(at + fixed - 4);
    if (at + fixed + 24ull * count > data.size()) break;
    d.strokes.push_back(flags & 4 ? word(at + 8) : 0);
    ++d.paths;
    d.segments += count;
    at += fixed + 24ull * count;
  }
  d.whole = at == data.size() && d.paths == declaredPaths && d.segments == declaredSegments;
  return d;
}

// The "#rrggbb" of each path's stroke in an SVG.
std::vector<std::uint32_t> svgStrokes(const std::string& svg) {
  std::vector<std::uint32_t> strokes;
  for (std::size_t at = svg.find("<path"); at != std::string::npos; at = svg.find("<path", at + 1)) {
    const std::size_t s = svg.find(" stroke=\"", at);
    const std::string value = svg.substr(s + 9, 7);
    if (value[0] != '#') {
      strokes.push_back(0);
      continue;
    }
    const unsigned long rgb = std::stoul(value.substr(1), nullptr, 16);
    strokes.push_back(0xFF000000u | ((rgb >> 16) & 255) | (rgb & 0xFF00) | ((rgb & 255) << 16));
  }
  return strokes;
}

TEST_F(ServeTest, LargeDrawingsComeInTheirBinaryFormBySerial) {
  Api api(*server_);
  const std::string id = api.open();
  const std::string base = "/api/sessions/" + id;
  // A small drawing still comes as SVG.
  Answer small = api.op(id, "state");
  EXPECT_TRUE(small.body.contains("svg"));
  EXPECT_FALSE(small.body.contains("drawing"));

  Answer big = drawBig(api, id);
  ASSERT_EQ(big.status, 200) << big.raw.substr(0, 300);
  ASSERT_TRUE(big.body.contains("drawing")) << big.raw.substr(0, 300);
  EXPECT_FALSE(big.body.contains("svg")) << "the answer does not carry the large SVG too";
  EXPECT_LT(big.raw.size(), 100000u);
  const json info = big.body["drawing"];
  const std::uint64_t serial = info["serial"];
  EXPECT_GE(info["segments"].get<std::uint64_t>(), 100000u);

  const std::string route = base + "/drawing/" + std::to_string(serial);
  expectRefusal(api.get(route, {}), 401, "token");
  httplib::Client client("127.0.0.1", server_->port());
  client.set_read_timeout(30, 0);
  std::size_t pieces = 0;
  std::string data;
  auto got = client.Get(route.c_str(), api.headers(), [&](const char* bytes, std::size_t n) {
    ++pieces;
    data.append(bytes, n);
    return true;
  });
  ASSERT_TRUE(got);
  EXPECT_EQ(got->status, 200);
  EXPECT_EQ(got->get_header_value("Transfer-Encoding"), "chunked");
  const BinaryDrawing d = readBinary(data);
  ASSERT_TRUE(d.whole) << data.size() << " bytes";
  EXPECT_EQ(d.serial, serial);
  EXPECT_EQ(d.bytes, data.size());
  EXPECT_EQ(d.bytes, info["bytes"].get<std::uint64_t>());
  EXPECT_EQ(d.paths, info["paths"].get<std::uint64_t>());
  EXPECT_EQ(d.segments, info["segments"].get<std::uint64_t>());
  EXPECT_GT(pieces, 1u);

  // The same paths as the SVG download, in the same order and colours.
  auto svg = client.Get((base + "/export/svg").c_str(), api.headers());
  ASSERT_TRUE(svg);
  EXPECT_EQ(svgStrokes(svg->body), d.strokes);

  // Outside the dialog the answer also tells what the page needs to write it
  // as that download: its metadata and its layers' names and paths.
  ASSERT_TRUE(info.contains("saveAs"));
  const std::string metadata = info["saveAs"]["metadata"];
  EXPECT_NE(svg->body.find("<metadata id=\"spiral-drawing\">" + metadata + "</metadata>"), std::string::npos) << metadata;
  EXPECT_EQ(info["saveAs"]["layers"], json::array({json::array({"Layer 1", d.paths})}));

  // Any later answer supersedes the drawing; an unknown serial is refused too.
  Answer state = api.op(id, "state");
  ASSERT_TRUE(state.body.contains("drawing"));
  EXPECT_GT(state.body["drawing"]["serial"].get<std::uint64_t>(), serial);
  expectRefusal(api.get(route), 409, "superseded");
  expectRefusal(api.get(base + "/drawing/999999"), 409, "superseded");
  expectRefusal(api.get("/api/sessions/00ff/drawing/1"), 404);
  // The newer serial is served whole.
  auto again = client.Get((base + "/drawing/" + std::to_string(state.body["drawing"]["serial"].get<std::uint64_t>())).c_str(),
                          api.headers());
  ASSERT_TRUE(again);
  EXPECT_TRUE(readBinary(again->body).whole);
  api.del(base);
}

TEST_F(ServeTest, ALargePreviewCarriesNothingToSave) {
  Api api(*server_);
  const std::string id = api.open();
  ASSERT_EQ(api.op(id, "record", {{"json", {{"armCount", 300}, {"spiralCount", 84}, {"maxPoints", 9999}, {"preview", true}}}})
                .status,
            200);
  Answer preview = api.op(id, "filter");
  ASSERT_TRUE(preview.body.contains("drawing")) << preview.raw.substr(0, 300);
  EXPECT_FALSE(preview.body["drawing"].contains("saveAs")) << "a preview is not the host's drawing yet";
  Answer accepted = api.act(id, {{"verb", "enter"}});
  ASSERT_TRUE(accepted.body.contains("drawing"));
  EXPECT_TRUE(accepted.body["drawing"].contains("saveAs"));
  api.del("/api/sessions/" + id);
}

TEST_F(ServeTest, AChangeCutsShortADrawingStillBeingSent) {
  Api api(*server_);
  const std::string id = api.open();
  const std::string base = "/api/sessions/" + id;
  // Larger than the sockets' buffers together (5.8 MB), so the server
  // cannot have sent it all before the change arrives.
  Answer big = drawBig(api, id, 200);
  ASSERT_TRUE(big.body.contains("drawing"));
  const std::uint64_t bytes = big.body["drawing"]["bytes"];
  httplib::Client client("127.0.0.1", server_->port());
  client.set_read_timeout(30, 0);
  // A small window and a slow reader keep the server from sending ahead.
  client.set_socket_options([](socket_t sock) {
    int size = 4096;
    setsockopt(sock, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
  });
  std::string data;
  bool changed = false;
  Answer change;
  auto got = client.Get((base + "/drawing/" + std::to_string(big.body["drawing"]["serial"].get<std::uint64_t>())).c_str(),
                        api.headers(), [&](const char* b, std::size_t n) {
                          data.append(b, n);
                          if (!changed) {
                            changed = true;
                            Api other(*server_);
                            change = other.op(id, "undo");
                          }
                          return true;
                        });
  EXPECT_EQ(change.status, 200) << "the session answers between pieces";
  EXPECT_LT(data.size(), bytes) << "the superseded drawing was cut short";
  EXPECT_FALSE(readBinary(data).whole);
  // The session goes on.
  EXPECT_EQ(api.op(id, "state").status, 200);
  api.del(base);
}

// A download comes in pieces, each awaited for the answer limit: one that a
// slow client takes longer than that limit to read does not end the
// session; nor does a client that leaves halfway (the rest is dropped).
TEST(ServeDownloads, LongAndAbandonedDownloadsLeaveTheSessionRunning) {
  ServerProcess server({"--answer-timeout", "1", "--seed", "5"});
  ASSERT_TRUE(server.running());
  Api api(server);
  const std::string id = api.open();
  const std::string base = "/api/sessions/" + id;
  ASSERT_TRUE(drawBig(api, id).body.contains("drawing"));

  httplib::Client client("127.0.0.1", server.port());
  client.set_read_timeout(30, 0);
  client.set_socket_options([](socket_t sock) {
    int size = 4096;
    setsockopt(sock, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
  });
  std::string file;
  const auto start = std::chrono::steady_clock::now();
  auto slow = client.Get((base + "/export/svg").c_str(), api.headers(), [&](const char* b, std::size_t n) {
    file.append(b, n);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return true;
  });
  const auto took = std::chrono::steady_clock::now() - start;
  ASSERT_TRUE(slow);
  EXPECT_EQ(slow->status, 200);
  EXPECT_GT(took, std::chrono::milliseconds(1500)) << "the download outlasted the answer limit";
  EXPECT_GT(file.size(), std::size_t{2} << 20);
  EXPECT_EQ(file.substr(file.size() - 7), "</svg>\n");
  EXPECT_EQ(pathCount(file), 84u);
  EXPECT_EQ(api.op(id, "state").status, 200) << "the session lives on";

  // A client that stops reading after the first bytes.
  httplib::Client quitter("127.0.0.1", server.port());
  std::size_t received = 0;
  auto cut = quitter.Get((base + "/export/svg").c_str(), api.headers(), [&](const char*, std::size_t n) {
    received += n;
    return received < 100000;
  });
  EXPECT_GT(received, 0u);
  // The rest was dropped: the next download is whole and the same.
  auto whole = client.Get((base + "/export/svg").c_str(), api.headers());
  ASSERT_TRUE(whole);
  EXPECT_EQ(whole->body, file);
  EXPECT_EQ(api.op(id, "state").status, 200);
  api.del(base);
}

}  // namespace
