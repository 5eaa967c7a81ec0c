#include <signal.h>
#include <unistd.h>

#include <cerrno>

#include "hostapp/platform/process.h"

namespace host::platform {

long currentProcessId() { return static_cast<long>(::getpid()); }

// Signal 0 only asks; EPERM means it exists under another user.
bool processAlive(long pid) {
  if (pid <= 0) return false;
  return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

}  // namespace host::platform
