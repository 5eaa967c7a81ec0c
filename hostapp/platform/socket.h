// A connected TCP socket as the server's connections use it: waiting for it
// to become readable or writable until a deadline, reading and writing what
// it takes without blocking, its addresses, and closing it. A socket is a
// file descriptor on POSIX and a SOCKET's value on Windows.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

namespace host::platform {

using SocketHandle = std::intptr_t;

enum class SocketWait {
  Ready,     // a read or write would not block (or the peer has gone)
  TimedOut,  // the deadline passed first
  Failed,
};

// Waits until `socket` can be read (or, `forWriting`, written), at most until
// `deadline`.
SocketWait waitForSocket(SocketHandle socket, bool forWriting, std::chrono::steady_clock::time_point deadline);

// Reads what has arrived, up to `size` bytes: the count, 0 when the peer has
// closed, -1 on an error.
std::ptrdiff_t receiveSome(SocketHandle socket, char* into, std::size_t size);
// Writes what the socket takes now, up to `size` bytes: the count (0 when it
// takes nothing yet), -1 on an error or a peer that has gone.
std::ptrdiff_t sendSome(SocketHandle socket, const char* bytes, std::size_t size);

// The socket's own (or, `peer`, the other end's) address and port; an empty
// address when it cannot be told.
void socketAddress(SocketHandle socket, bool peer, std::string& address, int& port);

// Lets up to `backlog` connections wait for accept on a listening socket
// (the library listens with a backlog of 5, and a sixth waiting connection
// would be retried only after a second); false if it cannot.
bool widenBacklog(SocketHandle socket, int backlog);

// Shuts the socket down both ways and closes it.
void closeSocket(SocketHandle socket);

}  // namespace host::platform
