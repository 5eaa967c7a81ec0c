#include "hostapp/server/session_broker.h"

#include <atomic>
#include <random>
#include <vector>

#include "hostapp/platform/child_process.h"
#include "hostapp/server/wire.h"

namespace server {

using nlohmann::json;
namespace platform = host::platform;

namespace {

// How many ended sessions keep their reason for later requests.
constexpr std::size_t kEndedRemembered = 256;

// The session child's pipes, in the order they are made.
constexpr std::size_t kToChild = 0, kFromChild = 1;

}  // namespace

struct SessionBroker::Session {
  std::string id;
  platform::ChildProcess child;
  std::unique_ptr<LineChannel> channel;
  std::timed_mutex busy;  // one request at a time
  std::atomic<std::size_t> waiting{0};  // requests for this session not yet answered
  // Guarded by the broker's mutex: the last request, the last word from the
  // page (a request or a heartbeat), and whether the page sends heartbeats.
  std::chrono::steady_clock::time_point lastUsed = std::chrono::steady_clock::now();
  std::chrono::steady_clock::time_point lastHeard = lastUsed;
  bool heartbeats = false;
  bool dead = false;  // guarded by busy
};

std::string randomToken() {
  std::random_device device;
  std::string token;
  static const char kHex[] = "0123456789abcdef";
  for (int k = 0; k < 4; ++k) {
    uint32_t word = device();
    for (int n = 0; n < 8; ++n, word >>= 4) token += kHex[word & 15];
  }
  return token;
}

SessionBroker::SessionBroker(BrokerSettings settings) : settings_(std::move(settings)) {}

SessionBroker::~SessionBroker() {
  std::map<std::string, std::shared_ptr<Session>> sessions;
  {
    std::lock_guard lock(mutex_);
    sessions.swap(sessions_);
  }
  for (auto& [id, session] : sessions) {
    std::lock_guard busy(session->busy);
    stop(*session, true);
  }
}

// Ends a child: "close" first when asked to be polite (the plug-in gets its
// Shutdown), then a kill for one that does not go.
void SessionBroker::stop(Session& session, bool politely) {
  if (!session.child.running()) return;
  if (politely && !session.dead) session.channel->write({{"op", "close"}});
  session.child.closeParentEnd(kToChild);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(politely ? 3 : 0);
  if (!session.child.wait(deadline)) {
    session.child.kill();
    session.child.wait();
  }
  session.child.closeParentEnd(kFromChild);
  session.dead = true;
}

BrokerReply SessionBroker::open() {
  {
    std::lock_guard lock(mutex_);
    if (sessions_.size() >= settings_.maxSessions) {
      return {429, {{"error", "there are " + std::to_string(settings_.maxSessions) +
                                  " sessions open, the most this server keeps; close one first"}}};
    }
  }
  auto session = std::make_shared<Session>();
  platform::ChildProcess& child = session->child;
  std::string error;
  if (!child.addPipe(platform::PipeDirection::ToChild, error) ||
      !child.addPipe(platform::PipeDirection::FromChild, error))
    return {500, {{"error", "cannot make a pipe: " + error}}};
  std::vector<std::string> args{settings_.childCommand, "--in", std::to_string(child.childName(kToChild)), "--out",
                                std::to_string(child.childName(kFromChild))};
  for (std::string& a : sessionArguments(settings_.session)) args.push_back(std::move(a));
  if (!child.start(settings_.executable, args, error))
    return {500, {{"error", "cannot start a session: " + error}}};
  session->channel = std::make_unique<LineChannel>(child.parentEnd(kFromChild), child.parentEnd(kToChild));

  std::optional<json> first = session->channel->read(settings_.answerLimit);
  if (!first || first->contains("error")) {
    std::string reason = first ? first->value("error", "") : "the session did not start";
    stop(*session, false);
    return {first ? 400 : 500, {{"error", reason}}};
  }
  std::lock_guard lock(mutex_);
  if (sessions_.size() >= settings_.maxSessions) {
    stop(*session, true);
    return {429, {{"error", "there are " + std::to_string(settings_.maxSessions) + " sessions open, the most this server keeps"}}};
  }
  do {
    session->id = randomToken().substr(0, 16);
  } while (sessions_.count(session->id));
  sessions_[session->id] = session;
  (*first)["id"] = session->id;
  return {201, std::move(*first)};
}

std::shared_ptr<SessionBroker::Session> SessionBroker::find(const std::string& id, BrokerReply& reply) {
  std::lock_guard lock(mutex_);
  auto it = sessions_.find(id);
  if (it != sessions_.end()) return it->second;
  auto ended = endedReasons_.find(id);
  if (ended != endedReasons_.end()) {
    reply = {410, {{"error", "the session has ended: " + ended->second}, {"sessionEnded", true}}};
  } else {
    reply = {404, {{"error", "there is no session " + id}}};
  }
  return nullptr;
}

void SessionBroker::ended(const std::string& id, const std::string& reason) {
  std::lock_guard lock(mutex_);
  sessions_.erase(id);
  endedReasons_[id] = reason;
  endedOrder_.push_back(id);
  if (endedOrder_.size() > kEndedRemembered) {
    endedReasons_.erase(endedOrder_.front());
    endedOrder_.pop_front();
  }
}

BrokerReply SessionBroker::request(const std::string& id, json request) {
  return requestWith(id, request, nullptr);
}

BrokerReply SessionBroker::requestBytes(const std::string& id, json request, std::string& bytes) {
  return requestWith(id, request, &bytes);
}

BrokerReply SessionBroker::requestWith(const std::string& id, const json& request, std::string* bytes) {
  BrokerReply reply;
  std::shared_ptr<Session> session = find(id, reply);
  if (!session) return reply;
  // Each session waits on its own: a child that is stuck holds up only the
  // requests for its session, and only so many of them.
  struct Waiting {
    std::atomic<std::size_t>& count;
    ~Waiting() { --count; }
  } waiting{session->waiting};
  if (++session->waiting > settings_.maxWaiting + 1) {
    return {503, {{"error", "the session is still busy with " + std::to_string(settings_.maxWaiting + 1) +
                                " earlier requests; try again"}}};
  }
  std::lock_guard busy(session->busy);
  if (session->dead) {
    find(id, reply);
    return reply;
  }
  return exchange(*session, request, bytes);
}

BrokerReply SessionBroker::exchange(Session& session, const json& request, std::string* bytes) {
  touch(session);
  std::optional<json> answer;
  if (session.channel->write(request)) answer = session.channel->read(settings_.answerLimit);
  if (answer && bytes && answer->contains("bytes")) {
    const json& count = (*answer)["bytes"];
    std::optional<std::string> read;
    if (count.is_number_unsigned()) read = session.channel->readBytes(count.get<std::size_t>(), settings_.answerLimit);
    if (read) *bytes = std::move(*read);
    else answer.reset();
  }
  touch(session);
  if (!answer) return lost(session);
  if (answer->contains("error")) {
    json body{{"error", (*answer)["error"]}};
    if (answer->value("superseded", false)) {
      body["superseded"] = true;
      return {409, std::move(body)};
    }
    return {400, std::move(body)};
  }
  return {200, std::move(*answer)};
}

BrokerReply SessionBroker::lost(Session& session) {
  std::string reason;
  if (session.channel->timedOut()) {
    session.child.kill();
    reason = "the plug-in did not answer within " + std::to_string(settings_.answerLimit.count() / 1000) +
             " s and was stopped";
  }
  const std::optional<platform::ChildExit> exit = session.child.wait();
  if (reason.empty()) reason = "the plug-in's process " + platform::describeExit(*exit);
  session.child.closeParentEnd(kToChild);
  session.child.closeParentEnd(kFromChild);
  session.dead = true;
  ended(session.id, reason);
  return {410, {{"error", "the session has ended: " + reason}, {"sessionEnded", true}}};
}

struct DownloadStream::State {
  SessionBroker* broker = nullptr;
  std::shared_ptr<SessionBroker::Session> session;
  std::unique_lock<std::timed_mutex> busy;
};

BrokerReply SessionBroker::download(const std::string& id, json request, std::unique_ptr<DownloadStream>& stream) {
  BrokerReply reply;
  std::shared_ptr<Session> session = find(id, reply);
  if (!session) return reply;
  std::unique_lock busy(session->busy);
  if (session->dead) {
    find(id, reply);
    return reply;
  }
  reply = exchange(*session, request, nullptr);
  if (reply.status != 200) return reply;
  stream.reset(new DownloadStream);
  stream->state_.reset(new DownloadStream::State{this, session, std::move(busy)});
  return reply;
}

// Each piece is awaited for the answer limit: a download that keeps coming
// is not a plug-in that stopped answering, however long it takes in all.
std::optional<std::string> DownloadStream::next() {
  if (finished_ || !state_) return std::nullopt;
  SessionBroker::Session& session = *state_->session;
  SessionBroker& broker = *state_->broker;
  broker.touch(session);
  std::optional<nlohmann::json> head = session.channel->read(broker.settings_.answerLimit);
  std::optional<std::string> bytes;
  if (head && head->value("piece", false) && (*head)["bytes"].is_number_unsigned())
    bytes = session.channel->readBytes((*head)["bytes"].get<std::size_t>(), broker.settings_.answerLimit);
  if (bytes) return bytes;
  finished_ = true;
  if (head && head->value("end", false)) return std::nullopt;
  failed_ = true;
  // A download the child cut short leaves the session as it was; a child
  // that went silent or away, or says what it should not, ends it.
  if (head && head->contains("error") && head->value("partial", false)) return std::nullopt;
  if (head && !bytes && !head->value("piece", false)) session.child.kill();
  broker.lost(session);
  return std::nullopt;
}

DownloadStream::~DownloadStream() {
  // A client that went away: the rest is read and dropped, so the child's
  // next answer starts clean.
  while (state_ && !finished_) next();
}

BrokerReply SessionBroker::close(const std::string& id) {
  BrokerReply reply;
  std::shared_ptr<Session> session = find(id, reply);
  if (!session) return reply;
  std::unique_lock busy(session->busy, std::chrono::seconds(2));
  if (!busy) {
    // Stuck on a request: the kill ends that request (its answer says so).
    session->child.kill();
    busy.lock();
  }
  stop(*session, true);
  ended(id, "it was closed");
  return {200, {{"closed", id}}};
}

BrokerReply SessionBroker::heartbeat(const std::string& id) {
  BrokerReply reply;
  std::shared_ptr<Session> session = find(id, reply);
  if (!session) return reply;
  std::lock_guard lock(mutex_);
  session->heartbeats = true;
  session->lastHeard = std::chrono::steady_clock::now();
  return {200, {{"alive", id}}};
}

void SessionBroker::touch(Session& session) {
  std::lock_guard lock(mutex_);
  session.lastUsed = session.lastHeard = std::chrono::steady_clock::now();
}

std::size_t SessionBroker::closeIdle() {
  auto span = [](std::chrono::seconds limit) {
    const long long seconds = limit.count();
    return seconds % 60 == 0 ? std::to_string(seconds / 60) + " min" : std::to_string(seconds) + " s";
  };
  std::vector<std::pair<std::shared_ptr<Session>, std::string>> idle;
  const auto now = std::chrono::steady_clock::now();
  {
    std::lock_guard lock(mutex_);
    for (auto& [id, session] : sessions_) {
      if (now - session->lastUsed >= settings_.idleLimit) {
        idle.emplace_back(session, "it was idle for " + span(settings_.idleLimit));
      } else if (session->heartbeats && now - session->lastHeard >= settings_.heartbeatLimit) {
        idle.emplace_back(session, "its page sent no heartbeat for " + span(settings_.heartbeatLimit));
      }
    }
  }
  std::size_t closed = 0;
  for (auto& [session, reason] : idle) {
    std::unique_lock busy(session->busy, std::try_to_lock);
    if (!busy || session->dead) continue;  // in use: not idle after all
    stop(*session, true);
    ended(session->id, reason);
    ++closed;
  }
  return closed;
}

std::size_t SessionBroker::sessionCount() {
  std::lock_guard lock(mutex_);
  return sessions_.size();
}

}  // namespace server
