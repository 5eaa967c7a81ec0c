#include "hostapp/server/guarded_server.h"

#include <algorithm>
#include <array>
#include <thread>

#include "hostapp/platform/socket.h"

namespace server {

namespace platform = host::platform;
using Clock = std::chrono::steady_clock;

namespace {

// One request and its answer on a connection: reads end at the request's
// deadline, writes at the answer's (counted from the first write).
class DeadlineStream final : public httplib::Stream {
 public:
  DeadlineStream(socket_t sock, const ConnectionLimits& limits)
      : sock_(sock), limits_(limits), readDeadline_(Clock::now() + limits.requestDeadline) {}

  bool overran() const { return overran_; }

  bool is_readable() const override {
    return start_ < buffer_.size() || waitFor(false, readDeadline_) == platform::SocketWait::Ready;
  }
  bool is_writable() const override { return waitFor(true, writeDeadline()) == platform::SocketWait::Ready; }

  ssize_t read(char* ptr, size_t size) override {
    if (start_ == buffer_.size()) {
      // httplib reads its request line and headers a byte at a time: buffer.
      const platform::SocketWait wait = waitFor(false, readDeadline_);
      if (wait != platform::SocketWait::Ready) {
        overran_ = overran_ || wait == platform::SocketWait::TimedOut;
        return -1;
      }
      const std::ptrdiff_t n = platform::receiveSome(sock_, buffer_.data(), buffer_.size());
      if (n <= 0) return n;
      start_ = buffer_.size() - static_cast<std::size_t>(n);
      std::move_backward(buffer_.begin(), buffer_.begin() + n, buffer_.end());
    }
    const std::size_t n = std::min(size, buffer_.size() - start_);
    std::copy_n(buffer_.begin() + static_cast<std::ptrdiff_t>(start_), n, ptr);
    start_ += n;
    return static_cast<ssize_t>(n);
  }

  ssize_t write(const char* ptr, size_t size) override {
    if (!writeStarted_) {
      writeStarted_ = true;
      writeDeadline_ = Clock::now() + limits_.answerDeadline;
    }
    for (;;) {
      const platform::SocketWait wait = waitFor(true, writeDeadline_);
      if (wait != platform::SocketWait::Ready) {
        overran_ = overran_ || wait == platform::SocketWait::TimedOut;
        return -1;
      }
      const std::ptrdiff_t n = platform::sendSome(sock_, ptr, size);
      if (n != 0 || size == 0) return n;
    }
  }

  void get_remote_ip_and_port(std::string& ip, int& port) const override {
    platform::socketAddress(sock_, true, ip, port);
  }
  void get_local_ip_and_port(std::string& ip, int& port) const override {
    platform::socketAddress(sock_, false, ip, port);
  }
  socket_t socket() const override { return sock_; }

 private:
  platform::SocketWait waitFor(bool writing, Clock::time_point deadline) const {
    return platform::waitForSocket(sock_, writing, deadline);
  }
  Clock::time_point writeDeadline() const {
    return writeStarted_ ? writeDeadline_ : Clock::now() + limits_.answerDeadline;
  }

  socket_t sock_;
  const ConnectionLimits& limits_;
  Clock::time_point readDeadline_, writeDeadline_;
  bool writeStarted_ = false;
  bool overran_ = false;
  std::array<char, 4096> buffer_{};
  std::size_t start_ = buffer_.size();  // the unread bytes are buffer_[start_, end)
};

}  // namespace

GuardedServer::GuardedServer(ConnectionLimits limits) : limits_(limits) {
  new_task_queue = [min = limits.minWorkers, max = limits.maxWorkers] { return new GrowingPool(min, max); };
}

void GuardedServer::widenBacklog() {
  if (svr_sock_ != INVALID_SOCKET) platform::widenBacklog(svr_sock_, SOMAXCONN);
}

bool GuardedServer::process_and_close_socket(socket_t sock) {
  bool ok = false;
  for (std::size_t left = limits_.requestsPerConnection; left > 0; --left) {
    // The next request's first byte, waited for in short steps so that a
    // stopping server is not held up.
    const Clock::time_point idleEnd = Clock::now() + limits_.keepAliveIdle;
    platform::SocketWait wait = platform::SocketWait::TimedOut;
    while (svr_sock_ != INVALID_SOCKET && Clock::now() < idleEnd) {
      wait = platform::waitForSocket(sock, false, std::min(idleEnd, Clock::now() + std::chrono::milliseconds(100)));
      if (wait != platform::SocketWait::TimedOut) break;
    }
    if (wait != platform::SocketWait::Ready || svr_sock_ == INVALID_SOCKET) break;
    DeadlineStream stream(sock, limits_);
    bool closed = false;
    ok = process_request(stream, left == 1, closed, nullptr);
    if (!ok || closed || stream.overran()) break;
  }
  platform::closeSocket(sock);
  return ok;
}

GrowingPool::GrowingPool(std::size_t minWorkers, std::size_t maxWorkers)
    : minWorkers_(minWorkers), maxWorkers_(std::max(minWorkers, maxWorkers)) {}

GrowingPool::~GrowingPool() { shutdown(); }

void GrowingPool::enqueue(std::function<void()> task) {
  std::lock_guard lock(mutex_);
  tasks_.push_back(std::move(task));
  if (idle_ < tasks_.size() && workers_ < maxWorkers_) {
    ++workers_;
    ++idle_;
    std::thread([this] { work(); }).detach();
  }
  wake_.notify_one();
}

void GrowingPool::shutdown() {
  std::unique_lock lock(mutex_);
  stopping_ = true;
  wake_.notify_all();
  allEnded_.wait(lock, [this] { return workers_ == 0; });
}

void GrowingPool::work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    const bool woken = wake_.wait_for(lock, std::chrono::minutes(1), [this] { return !tasks_.empty() || stopping_; });
    if (tasks_.empty() && (stopping_ || (!woken && workers_ > minWorkers_))) break;
    if (tasks_.empty()) continue;
    std::function<void()> task = std::move(tasks_.front());
    tasks_.pop_front();
    --idle_;
    lock.unlock();
    task();
    lock.lock();
    ++idle_;
  }
  --idle_;
  --workers_;
  // Notified under the lock: the pool may be destroyed as soon as it is released.
  allEnded_.notify_all();
}

}  // namespace server
