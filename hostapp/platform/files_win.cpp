#include <fcntl.h>
#include <io.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "hostapp/platform/files.h"

namespace host::platform {

// No descriptor inheritance to stop, no terminals, no blocking opens of
// regular files; O_BINARY stops newline translation.
int openToRead(const std::string& path) { return ::open(path.c_str(), O_RDONLY | O_BINARY); }

int openToWrite(const std::string& path) { return ::open(path.c_str(), O_WRONLY | O_BINARY); }

int createNewFile(const std::string& path, unsigned mode) {
  return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_BINARY | O_NOINHERIT, static_cast<int>(mode & 0600));
}

int openLockFile(const std::string& path) {
  return ::open(path.c_str(), O_RDWR | O_CREAT | O_BINARY | O_NOINHERIT, _S_IREAD | _S_IWRITE);
}

int lockDescriptor(int fd) {
  const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
  OVERLAPPED whole{};
  if (handle != INVALID_HANDLE_VALUE && LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole))
    return 0;
  errno = EACCES;
  return -1;
}

// The C library's stat gives Windows files no inode, and an open lock file
// cannot be removed there, so the file held is the file named.
bool isNamedFile(int, const std::string&) { return true; }

std::ptrdiff_t readDescriptor(int fd, void* buffer, std::size_t size) {
  return ::read(fd, buffer, static_cast<unsigned>(size));
}

std::ptrdiff_t writeDescriptor(int fd, const void* bytes, std::size_t size) {
  return ::write(fd, bytes, static_cast<unsigned>(size));
}

int closeDescriptor(int fd) { return ::close(fd); }

int syncDescriptor(int fd) { return _commit(fd); }

// File modes are not Windows' permissions.
int setFileMode(int, unsigned) { return 0; }

int setFileOwner(int, unsigned long long, unsigned long long) { return 0; }

unsigned newFileMode() { return 0666; }

bool mayWrite(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    errno = ENOENT;
    return false;
  }
  // A read-only folder still takes new files on Windows.
  if ((attributes & FILE_ATTRIBUTE_READONLY) && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    errno = EACCES;
    return false;
  }
  return true;
}

std::size_t maxNameLength(const std::string&) { return 255; }

int removeFile(const char* path) { return ::unlink(path); }

int replaceFile(const char* from, const char* to) {
  if (MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING)) return 0;
  errno = EACCES;
  return -1;
}

char* realPath(const char* path, char* resolved) { return _fullpath(resolved, path, PATH_MAX); }

std::string fileIdentity(const std::string& path, unsigned long long, unsigned long long) {
  char full[PATH_MAX];
  return "path " + std::string(realPath(path.c_str(), full) ? full : path.c_str());
}

const char* pathSeparators() { return "/\\"; }

}  // namespace host::platform
