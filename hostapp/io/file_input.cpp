#include "hostapp/io/file_input.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "hostapp/platform/files.h"

namespace hostio {
namespace {

namespace platform = host::platform;

// Closes the descriptor on every way out.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) platform::closeDescriptor(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

[[noreturn]] void refuse(const InputKind& kind, const std::string& path, const std::string& reason) {
  throw InputError(std::string("cannot read ") + kind.what + " " + quotedPath(path) + ": " + reason, reason);
}

// Opens `path` and checks it; the open descriptor.
int openChecked(const std::string& path, const InputKind& kind) {
  // Non-blocking, so that a named pipe is refused instead of waited on.
  const int fd = platform::openToRead(path);
  if (fd < 0) refuse(kind, path, std::strerror(errno));
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    const int error = errno;
    platform::closeDescriptor(fd);
    refuse(kind, path, std::strerror(error));
  }
  if (!S_ISREG(info.st_mode)) {
    platform::closeDescriptor(fd);
    refuse(kind, path, S_ISDIR(info.st_mode) ? std::strerror(EISDIR) : "it is not a regular file");
  }
  if (static_cast<unsigned long long>(info.st_size) > kind.maxBytes) {
    platform::closeDescriptor(fd);
    refuse(kind, path, "it is larger than " + byteCount(kind.maxBytes));
  }
  return fd;
}

}  // namespace

std::string readInputFile(const std::string& path, const InputKind& kind) {
  const Descriptor fd(openChecked(path, kind));
  std::string bytes;
  char buffer[65536];
  for (;;) {
    const std::ptrdiff_t n = platform::readDescriptor(fd.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      refuse(kind, path, std::strerror(errno));
    }
    if (n == 0) break;
    // The file may have grown since it was checked.
    if (static_cast<std::size_t>(n) > kind.maxBytes - bytes.size()) {
      refuse(kind, path, "it is larger than " + byteCount(kind.maxBytes));
    }
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  return bytes;
}

void checkInputFile(const std::string& path, const InputKind& kind) { const Descriptor fd(openChecked(path, kind)); }

std::string printable(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte != 0x7F) {
      out += c;
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '\r') {
      out += "\\r";
    } else {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      out += escaped;
    }
  }
  return out;
}

std::string quotedPath(std::string_view path) { return "'" + printable(path) + "'"; }

std::string byteCount(std::size_t bytes) {
  constexpr std::size_t kMiB = std::size_t{1} << 20;
  if (bytes >= kMiB && bytes % kMiB == 0) return std::to_string(bytes / kMiB) + " MiB";
  return std::to_string(bytes) + " bytes";
}

}  // namespace hostio
