#include "hostapp/platform/files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace host::platform {

int openToRead(const std::string& path) { return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY); }

int openToWrite(const std::string& path) { return ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY); }

int createNewFile(const std::string& path, unsigned mode) {
  return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, static_cast<mode_t>(mode));
}

int openLockFile(const std::string& path) {
  return ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, static_cast<mode_t>(0666));
}

int lockDescriptor(int fd) {
  int result;
  do result = ::flock(fd, LOCK_EX);
  while (result != 0 && errno == EINTR);
  return result;
}

bool isNamedFile(int fd, const std::string& path) {
  struct stat held {}, named {};
  return ::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
         held.st_ino == named.st_ino;
}

std::ptrdiff_t readDescriptor(int fd, void* buffer, std::size_t size) { return ::read(fd, buffer, size); }

std::ptrdiff_t writeDescriptor(int fd, const void* bytes, std::size_t size) { return ::write(fd, bytes, size); }

int closeDescriptor(int fd) { return ::close(fd); }

int syncDescriptor(int fd) { return ::fsync(fd); }

int setFileMode(int fd, unsigned mode) { return ::fchmod(fd, static_cast<mode_t>(mode)); }

int setFileOwner(int fd, unsigned long long user, unsigned long long group) {
  if (::fchown(fd, static_cast<uid_t>(user), static_cast<gid_t>(group)) == 0) return 0;
  return ::fchown(fd, static_cast<uid_t>(-1), static_cast<gid_t>(group));
}

bool mayWrite(const std::string& path) { return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0; }

std::size_t maxNameLength(const std::string& folder) {
  const long length = ::pathconf(folder.c_str(), _PC_NAME_MAX);
  return length > 0 ? static_cast<std::size_t>(length) : NAME_MAX;
}

unsigned newFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

int removeFile(const char* path) { return ::unlink(path); }

int replaceFile(const char* from, const char* to) { return std::rename(from, to); }

char* realPath(const char* path, char* resolved) { return ::realpath(path, resolved); }

std::string fileIdentity(const std::string&, unsigned long long device, unsigned long long inode) {
  return "inode " + std::to_string(device) + ":" + std::to_string(inode);
}

const char* pathSeparators() { return "/"; }

}  // namespace host::platform
