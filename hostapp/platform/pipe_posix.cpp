#include "hostapp/platform/pipe.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace host::platform {

bool writeAll(PipeEnd end, std::string_view bytes) {
  const int fd = static_cast<int>(end);
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

ReadResult readSome(PipeEnd end, std::string& into, std::optional<std::chrono::steady_clock::time_point> deadline) {
  const int fd = static_cast<int>(end);
  for (;;) {
    if (deadline) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(*deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return ReadResult::TimedOut;
      pollfd p{fd, POLLIN, 0};
      const int ready = ::poll(&p, 1, static_cast<int>(std::min<long long>(left.count(), 1000)));
      if (ready < 0 && errno != EINTR) return ReadResult::End;
      if (ready <= 0) continue;
    }
    char chunk[65536];
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return ReadResult::End;
    into.append(chunk, static_cast<std::size_t>(n));
    return ReadResult::Data;
  }
}

void closePipe(PipeEnd& end) {
  if (end == kNoPipe) return;
  ::close(static_cast<int>(end));
  end = kNoPipe;
}

}  // namespace host::platform
