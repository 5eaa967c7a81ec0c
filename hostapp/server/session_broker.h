// The server's side of the browser sessions: each session is a child
// process (the host re-run with a hidden command, see session_child.h); the
// broker starts it, passes it one request at a time and brings back its
// answer. A child that dies or stops answering ends only its own session:
// later requests for it hear why it ended.
#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "hostapp/server/session_child.h"

namespace server {

struct BrokerSettings {
  std::string executable;       // the program that runs session children
  std::string childCommand = "session-child";
  SessionOptions session;
  std::size_t maxSessions = 16;
  std::chrono::seconds idleLimit{1800};
  std::chrono::milliseconds answerLimit{60000};  // a child silent this long is ended
  // A session whose page has sent a heartbeat is ended when nothing is heard
  // from the page for this long (a closed tab).
  std::chrono::seconds heartbeatLimit{60};
  // Requests that may wait behind the one a session's child is working on;
  // more are refused, so one stuck session cannot take every worker.
  std::size_t maxWaiting = 8;
};

// An answer for the HTTP side: a status and a JSON body.
struct BrokerReply {
  int status = 200;
  nlohmann::json body;
};

class SessionBroker;

// A download coming from a session's child in pieces. The session is held
// (its other requests wait) until the last piece is read or the stream is
// destroyed; one left unfinished is read to its end and dropped.
class DownloadStream {
 public:
  ~DownloadStream();
  // The next piece; nothing at the end, or when the child failed (then
  // failed() is true and the session may have ended).
  std::optional<std::string> next();
  bool failed() const { return failed_; }

 private:
  friend class SessionBroker;
  struct State;
  std::unique_ptr<State> state_;
  bool finished_ = false;
  bool failed_ = false;
};

class SessionBroker {
 public:
  explicit SessionBroker(BrokerSettings settings);
  ~SessionBroker();  // closes every session
  SessionBroker(const SessionBroker&) = delete;
  SessionBroker& operator=(const SessionBroker&) = delete;

  // Starts a session; the body holds its "id" and its first state.
  BrokerReply open();
  // Passes `request` (an object with "op") to the session's child.
  BrokerReply request(const std::string& id, nlohmann::json request);
  // As request, for an answer followed by bytes (a piece of a drawing):
  // they go to `bytes`.
  BrokerReply requestBytes(const std::string& id, nlohmann::json request, std::string& bytes);
  // Starts a download ("op": "export"): the reply holds its "mime" and
  // "file" and `stream` its pieces; an error reply leaves `stream` empty.
  BrokerReply download(const std::string& id, nlohmann::json request, std::unique_ptr<DownloadStream>& stream);
  // Closes the session; one stuck on a request is ended after a short wait.
  BrokerReply close(const std::string& id);
  // The page is still there: the session is ended once these stop coming.
  // Answered by the broker alone, so a busy child does not delay it.
  BrokerReply heartbeat(const std::string& id);
  // Closes the sessions idle longer than the limit and those whose page
  // stopped its heartbeat; returns how many.
  std::size_t closeIdle();
  std::size_t sessionCount();

 private:
  struct Session;
  friend class DownloadStream;
  BrokerReply requestWith(const std::string& id, const nlohmann::json& request, std::string* bytes);
  // Sends `request` to a session's child and reads its answer (and the
  // bytes that follow it, into `bytes` when given); with the lock held.
  BrokerReply exchange(Session& session, const nlohmann::json& request, std::string* bytes);
  // A child that did not answer: ended, and why.
  BrokerReply lost(Session& session);
  std::shared_ptr<Session> find(const std::string& id, BrokerReply& reply);
  void ended(const std::string& id, const std::string& reason);
  void touch(Session& session);
  static void stop(Session& session, bool politely);

  BrokerSettings settings_;
  std::mutex mutex_;  // guards the maps and the sessions' times; never held while a child works
  std::map<std::string, std::shared_ptr<Session>> sessions_;
  std::map<std::string, std::string> endedReasons_;
  std::deque<std::string> endedOrder_;
};

// 32 hex digits from the system's random source.
std::string randomToken();

}  // namespace server
