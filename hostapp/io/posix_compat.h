// The few POSIX calls the file inputs and outputs use, on Windows: files are
// opened in binary mode, paths made absolute with _fullpath, data committed
// with _commit, and a finished temporary replaces its target in one move.
// Elsewhere the system's own calls serve.
#pragma once

#include <cstdio>

#ifdef _WIN32
#include <direct.h>
#include <fcntl.h>
#include <io.h>
#include <stdlib.h>
#include <windows.h>

#ifndef PATH_MAX
#define PATH_MAX MAX_PATH
#endif
// No descriptor inheritance to stop, no terminals, no blocking opens of
// regular files; O_BINARY stops newline translation.
#define O_CLOEXEC O_BINARY
#define O_NONBLOCK 0
#define O_NOCTTY 0

namespace hostio::compat {
inline char* realpath(const char* path, char* resolved) { return _fullpath(resolved, path, PATH_MAX); }
inline int fchmod(int, unsigned) { return 0; }  // file modes are not Windows' permissions
inline int fsync(int fd) { return _commit(fd); }
inline int replaceFile(const char* from, const char* to) {
  if (MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING)) return 0;
  errno = EACCES;
  return -1;
}
}  // namespace hostio::compat
#else
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace hostio::compat {
using ::fsync;
using ::realpath;
inline int fchmod(int fd, unsigned mode) { return ::fchmod(fd, static_cast<mode_t>(mode)); }
inline int replaceFile(const char* from, const char* to) { return std::rename(from, to); }
}  // namespace hostio::compat
#endif
