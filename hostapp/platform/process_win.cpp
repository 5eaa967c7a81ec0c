#include <windows.h>

#include "hostapp/platform/process.h"

namespace host::platform {

long currentProcessId() { return static_cast<long>(GetCurrentProcessId()); }

bool processAlive(long pid) {
  if (pid <= 0) return false;
  const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
  if (!process) return GetLastError() == ERROR_ACCESS_DENIED;
  DWORD code = 0;
  const bool running = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
  CloseHandle(process);
  return running;
}

}  // namespace host::platform
