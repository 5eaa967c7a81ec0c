#include "hostapp/platform/socket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace host::platform {

SocketWait waitForSocket(SocketHandle socket, bool forWriting, std::chrono::steady_clock::time_point deadline) {
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd p{static_cast<int>(socket), static_cast<short>(forWriting ? POLLOUT : POLLIN), 0};
    const int n = ::poll(&p, 1, static_cast<int>(std::max<long long>(0, left.count())));
    if (n > 0) return (p.revents & POLLNVAL) ? SocketWait::Failed : SocketWait::Ready;
    if (n == 0) {
      if (std::chrono::steady_clock::now() >= deadline) return SocketWait::TimedOut;
      continue;  // poll rounds down to whole milliseconds
    }
    if (errno != EINTR) return SocketWait::Failed;
  }
}

std::ptrdiff_t receiveSome(SocketHandle socket, char* into, std::size_t size) {
  for (;;) {
    const ssize_t n = ::recv(static_cast<int>(socket), into, size, MSG_DONTWAIT);
    if (n >= 0) return n;
    if (errno == EINTR) continue;
    return -1;  // EAGAIN too: the wait said there was something to read
  }
}

std::ptrdiff_t sendSome(SocketHandle socket, const char* bytes, std::size_t size) {
  for (;;) {
    const ssize_t n = ::send(static_cast<int>(socket), bytes, size, MSG_DONTWAIT | MSG_NOSIGNAL);
    if (n >= 0) return n;
    if (errno == EINTR) continue;
    if (errno == EAGAIN || errno == EWOULDBLOCK) return 0;
    return -1;
  }
}

void socketAddress(SocketHandle socket, bool peer, std::string& address, int& port) {
  address.clear();
  port = 0;
  sockaddr_storage storage{};
  socklen_t length = sizeof storage;
  auto* any = reinterpret_cast<sockaddr*>(&storage);
  if ((peer ? ::getpeername(static_cast<int>(socket), any, &length)
            : ::getsockname(static_cast<int>(socket), any, &length)) != 0)
    return;
  char text[INET6_ADDRSTRLEN] = {};
  if (storage.ss_family == AF_INET) {
    const auto* v4 = reinterpret_cast<const sockaddr_in*>(&storage);
    if (::inet_ntop(AF_INET, &v4->sin_addr, text, sizeof text)) address = text;
    port = ntohs(v4->sin_port);
  } else if (storage.ss_family == AF_INET6) {
    const auto* v6 = reinterpret_cast<const sockaddr_in6*>(&storage);
    if (::inet_ntop(AF_INET6, &v6->sin6_addr, text, sizeof text)) address = text;
    port = ntohs(v6->sin6_port);
  }
}

bool widenBacklog(SocketHandle socket, int backlog) { return ::listen(static_cast<int>(socket), backlog) == 0; }

void closeSocket(SocketHandle socket) {
  ::shutdown(static_cast<int>(socket), SHUT_RDWR);
  ::close(static_cast<int>(socket));
}

}  // namespace host::platform
