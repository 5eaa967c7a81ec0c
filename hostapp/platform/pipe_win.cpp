#include <windows.h>

#include <algorithm>
#include <thread>

#include "hostapp/platform/pipe.h"

namespace host::platform {

bool writeAll(PipeEnd end, std::string_view bytes) {
  HANDLE pipe = reinterpret_cast<HANDLE>(end);
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    if (!WriteFile(pipe, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written, nullptr) ||
        written == 0)
      return false;
    done += written;
  }
  return true;
}

// An anonymous pipe cannot be waited on: with a deadline, the pipe is looked
// into every few milliseconds and read only when it holds bytes.
ReadResult readSome(PipeEnd end, std::string& into, std::optional<std::chrono::steady_clock::time_point> deadline) {
  HANDLE pipe = reinterpret_cast<HANDLE>(end);
  DWORD available = 0;
  if (deadline) {
    for (;;) {
      if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr)) return ReadResult::End;
      if (available > 0) break;
      if (std::chrono::steady_clock::now() >= *deadline) return ReadResult::TimedOut;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  char chunk[65536];
  const DWORD wanted = available > 0 ? std::min<DWORD>(available, sizeof chunk) : sizeof chunk;
  DWORD n = 0;
  if (!ReadFile(pipe, chunk, wanted, &n, nullptr) || n == 0) return ReadResult::End;
  into.append(chunk, n);
  return ReadResult::Data;
}

void closePipe(PipeEnd& end) {
  if (end == kNoPipe) return;
  CloseHandle(reinterpret_cast<HANDLE>(end));
  end = kNoPipe;
}

}  // namespace host::platform
