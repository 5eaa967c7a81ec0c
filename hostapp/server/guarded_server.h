// cpp-httplib's server with connections that cannot hold it: its read
// timeout is per read, so a client that sends a byte now and then would keep
// a worker forever. Here each request has one deadline for its request line,
// headers and body together, counted from its first byte, and each answer
// one for being written; a connection that overruns either is dropped, as is
// one idle longer than the keep-alive time. The workers grow with the
// connections (up to a bound), so slow clients do not keep others waiting.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>

#include <httplib.h>

namespace server {

struct ConnectionLimits {
  std::chrono::milliseconds requestDeadline{5000};    // from a request's first byte to its last
  std::chrono::milliseconds answerDeadline{30000};    // for writing one answer
  std::chrono::milliseconds keepAliveIdle{5000};      // waiting for the next request on a connection
  std::size_t requestsPerConnection = 100;
  std::size_t minWorkers = 8;
  std::size_t maxWorkers = 256;                       // connections beyond wait for a worker
};

class GuardedServer : public httplib::Server {
 public:
  explicit GuardedServer(ConnectionLimits limits = {});
  // After binding: many connections arriving at once wait to be accepted
  // rather than have their connect retried a second later.
  void widenBacklog();

 private:
  bool process_and_close_socket(socket_t sock) override;

  ConnectionLimits limits_;
};

// Runs each task on an idle worker, starting a new one (up to `maxWorkers`)
// when none is idle; workers beyond `minWorkers` end after a minute unused.
class GrowingPool : public httplib::TaskQueue {
 public:
  GrowingPool(std::size_t minWorkers, std::size_t maxWorkers);
  ~GrowingPool() override;
  void enqueue(std::function<void()> task) override;
  void shutdown() override;

 private:
  void work();

  const std::size_t minWorkers_, maxWorkers_;
  std::mutex mutex_;
  std::condition_variable wake_, allEnded_;
  std::deque<std::function<void()>> tasks_;
  std::size_t workers_ = 0, idle_ = 0;
  bool stopping_ = false;
};

}  // namespace server
