#include "hostapp/platform/socket.h"

#include <winsock2.h>
#include <ws2tcpip.h>

namespace host::platform {

SocketWait waitForSocket(SocketHandle socket, bool forWriting, std::chrono::steady_clock::time_point deadline) {
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    WSAPOLLFD p{static_cast<SOCKET>(socket), static_cast<SHORT>(forWriting ? POLLWRNORM : POLLRDNORM), 0};
    const int n = ::WSAPoll(&p, 1, static_cast<INT>(left.count() > 0 ? left.count() : 0));
    if (n > 0) return (p.revents & POLLNVAL) ? SocketWait::Failed : SocketWait::Ready;
    if (n == 0) {
      if (std::chrono::steady_clock::now() >= deadline) return SocketWait::TimedOut;
      continue;
    }
    return SocketWait::Failed;
  }
}

std::ptrdiff_t receiveSome(SocketHandle socket, char* into, std::size_t size) {
  const int n = ::recv(static_cast<SOCKET>(socket), into, static_cast<int>(size > 1 << 30 ? 1 << 30 : size), 0);
  return n == SOCKET_ERROR ? -1 : n;
}

std::ptrdiff_t sendSome(SocketHandle socket, const char* bytes, std::size_t size) {
  // The wait said the socket is writable; a send then takes at least a part.
  const int n = ::send(static_cast<SOCKET>(socket), bytes, static_cast<int>(size > 1 << 30 ? 1 << 30 : size), 0);
  if (n != SOCKET_ERROR) return n;
  return ::WSAGetLastError() == WSAEWOULDBLOCK ? 0 : -1;
}

void socketAddress(SocketHandle socket, bool peer, std::string& address, int& port) {
  address.clear();
  port = 0;
  sockaddr_storage storage{};
  int length = sizeof storage;
  auto* any = reinterpret_cast<sockaddr*>(&storage);
  if ((peer ? ::getpeername(static_cast<SOCKET>(socket), any, &length)
            : ::getsockname(static_cast<SOCKET>(socket), any, &length)) != 0)
    return;
  char text[INET6_ADDRSTRLEN] = {};
  if (storage.ss_family == AF_INET) {
    auto* v4 = reinterpret_cast<sockaddr_in*>(&storage);
    if (::inet_ntop(AF_INET, &v4->sin_addr, text, sizeof text)) address = text;
    port = ntohs(v4->sin_port);
  } else if (storage.ss_family == AF_INET6) {
    auto* v6 = reinterpret_cast<sockaddr_in6*>(&storage);
    if (::inet_ntop(AF_INET6, &v6->sin6_addr, text, sizeof text)) address = text;
    port = ntohs(v6->sin6_port);
  }
}

bool widenBacklog(SocketHandle socket, int backlog) { return ::listen(static_cast<SOCKET>(socket), backlog) == 0; }

void closeSocket(SocketHandle socket) {
  ::shutdown(static_cast<SOCKET>(socket), SD_BOTH);
  ::closesocket(static_cast<SOCKET>(socket));
}

}  // namespace host::platform
