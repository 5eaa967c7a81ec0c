#include "hostapp/platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace host::platform {

int openToRead(const std::string& path) { return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY); }

int openToWrite(const std::string& path) { return ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY); }

int makeTemporary(std::string& pattern) { return ::mkstemp(pattern.data()); }

std::ptrdiff_t readDescriptor(int fd, void* buffer, std::size_t size) { return ::read(fd, buffer, size); }

std::ptrdiff_t writeDescriptor(int fd, const void* bytes, std::size_t size) { return ::write(fd, bytes, size); }

int closeDescriptor(int fd) { return ::close(fd); }

int syncDescriptor(int fd) { return ::fsync(fd); }

int setFileMode(int fd, unsigned mode) { return ::fchmod(fd, static_cast<mode_t>(mode)); }

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
