#include "hostapp/server/session_broker.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

#include "hostapp/server/wire.h"

namespace server {

using nlohmann::json;

namespace {

// How many ended sessions keep their reason for later requests.
constexpr std::size_t kEndedRemembered = 256;

std::string describeStatus(int status) {
  if (WIFSIGNALED(status)) {
    const int sig = WTERMSIG(status);
    return "the plug-in's process died of signal " + std::to_string(sig) + " (" + strsignal(sig) + ")";
  }
  if (WIFEXITED(status)) return "the plug-in's process exited with status " + std::to_string(WEXITSTATUS(status));
  return "the plug-in's process ended";
}

}  // namespace

struct SessionBroker::Session {
  std::string id;
  pid_t pid = -1;
  int toChild = -1, fromChild = -1;
  std::unique_ptr<LineChannel> channel;
  std::mutex busy;  // one request at a time
  std::chrono::steady_clock::time_point lastUsed = std::chrono::steady_clock::now();
  bool dead = false;
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
// Shutdown), then SIGKILL for one that does not go.
void SessionBroker::stop(Session& session, bool politely) {
  if (session.pid <= 0) return;
  if (politely && !session.dead) session.channel->write({{"op", "close"}});
  ::close(session.toChild);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(politely ? 3 : 0);
  int status = 0;
  for (;;) {
    const pid_t done = ::waitpid(session.pid, &status, WNOHANG);
    if (done == session.pid || (done < 0 && errno != EINTR)) break;
    if (std::chrono::steady_clock::now() >= deadline) {
      ::kill(session.pid, SIGKILL);
      while (::waitpid(session.pid, &status, 0) < 0 && errno == EINTR) {
      }
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ::close(session.fromChild);
  session.pid = -1;
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
  int toChild[2], fromChild[2];
  if (::pipe2(toChild, O_CLOEXEC) != 0) return {500, {{"error", std::string("cannot make a pipe: ") + std::strerror(errno)}}};
  if (::pipe2(fromChild, O_CLOEXEC) != 0) {
    ::close(toChild[0]);
    ::close(toChild[1]);
    return {500, {{"error", std::string("cannot make a pipe: ") + std::strerror(errno)}}};
  }
  std::vector<std::string> args{settings_.executable, settings_.childCommand, "--in", "3", "--out", "4"};
  for (std::string& a : sessionArguments(settings_.session)) args.push_back(std::move(a));
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  const pid_t pid = ::fork();
  if (pid == 0) {
    // The child's pipe ends become 3 and 4; every other descriptor of the
    // server (its socket, other sessions' pipes) is closed.
    const int in = ::fcntl(toChild[0], F_DUPFD, 10);
    const int out = ::fcntl(fromChild[1], F_DUPFD, 10);
    if (in < 0 || out < 0 || ::dup2(in, 3) < 0 || ::dup2(out, 4) < 0) ::_exit(127);
    ::close_range(5, ~0U, 0);
    ::signal(SIGPIPE, SIG_DFL);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(toChild[0]);
  ::close(fromChild[1]);
  if (pid < 0) {
    ::close(toChild[1]);
    ::close(fromChild[0]);
    return {500, {{"error", std::string("cannot start a session: ") + std::strerror(errno)}}};
  }
  auto session = std::make_shared<Session>();
  session->pid = pid;
  session->toChild = toChild[1];
  session->fromChild = fromChild[0];
  session->channel = std::make_unique<LineChannel>(fromChild[0], toChild[1]);

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
  BrokerReply reply;
  std::shared_ptr<Session> session = find(id, reply);
  if (!session) return reply;
  std::lock_guard busy(session->busy);
  if (session->dead) {
    find(id, reply);
    return reply;
  }
  session->lastUsed = std::chrono::steady_clock::now();
  std::optional<json> answer;
  if (session->channel->write(request)) answer = session->channel->read(settings_.answerLimit);
  session->lastUsed = std::chrono::steady_clock::now();
  if (!answer) {
    std::string reason;
    if (session->channel->timedOut()) {
      ::kill(session->pid, SIGKILL);
      reason = "the plug-in did not answer within " + std::to_string(settings_.answerLimit.count() / 1000) +
               " s and was stopped";
    }
    int status = 0;
    while (::waitpid(session->pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (reason.empty()) reason = describeStatus(status);
    session->pid = -1;
    ::close(session->toChild);
    ::close(session->fromChild);
    session->dead = true;
    ended(id, reason);
    return {410, {{"error", "the session has ended: " + reason}, {"sessionEnded", true}}};
  }
  if (answer->contains("error")) return {400, {{"error", (*answer)["error"]}}};
  return {200, std::move(*answer)};
}

BrokerReply SessionBroker::close(const std::string& id) {
  BrokerReply reply;
  std::shared_ptr<Session> session = find(id, reply);
  if (!session) return reply;
  std::lock_guard busy(session->busy);
  stop(*session, true);
  ended(id, "it was closed");
  return {200, {{"closed", id}}};
}

std::size_t SessionBroker::closeIdle() {
  std::vector<std::shared_ptr<Session>> idle;
  const auto now = std::chrono::steady_clock::now();
  {
    std::lock_guard lock(mutex_);
    for (auto& [id, session] : sessions_) {
      if (now - session->lastUsed >= settings_.idleLimit) idle.push_back(session);
    }
  }
  std::size_t closed = 0;
  for (auto& session : idle) {
    std::unique_lock busy(session->busy, std::try_to_lock);
    if (!busy || session->dead) continue;  // in use: not idle after all
    stop(*session, true);
    const long long seconds = settings_.idleLimit.count();
    ended(session->id, "it was idle for " + (seconds % 60 == 0 ? std::to_string(seconds / 60) + " min"
                                                               : std::to_string(seconds) + " s"));
    ++closed;
  }
  return closed;
}

std::size_t SessionBroker::sessionCount() {
  std::lock_guard lock(mutex_);
  return sessions_.size();
}

}  // namespace server
