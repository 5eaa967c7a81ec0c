#include "hostapp/io/file_input.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>

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

// Reads the checked file until its end or `limit` bytes; more than
// kind.maxBytes (the file may have grown since it was checked) is refused.
std::string readChecked(const std::string& path, const InputKind& kind, std::size_t limit) {
  const Descriptor fd(openChecked(path, kind));
  std::string bytes;
  char buffer[65536];
  while (bytes.size() < limit) {
    const std::ptrdiff_t n = platform::readDescriptor(fd.get(), buffer, std::min(sizeof buffer, limit - bytes.size()));
    if (n < 0) {
      if (errno == EINTR) continue;
      refuse(kind, path, std::strerror(errno));
    }
    if (n == 0) break;
    if (static_cast<std::size_t>(n) > kind.maxBytes - bytes.size()) {
      refuse(kind, path, "it is larger than " + byteCount(kind.maxBytes));
    }
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  return bytes;
}

}  // namespace

std::string readInputFile(const std::string& path, const InputKind& kind) {
  return readChecked(path, kind, std::numeric_limits<std::size_t>::max());
}

std::string readInputHead(const std::string& path, const InputKind& kind, std::size_t headBytes) {
  return readChecked(path, kind, headBytes);
}

namespace {

// The length of the well-formed UTF-8 sequence at text[i] and its code
// point; 0 when the bytes there are not one (stray, overlong, surrogate,
// beyond U+10FFFF or cut short).
std::size_t utf8Sequence(std::string_view text, std::size_t i, std::uint32_t* cp) {
  const auto b0 = static_cast<unsigned char>(text[i]);
  std::size_t length;
  std::uint32_t min;
  if (b0 < 0x80) {
    *cp = b0;
    return 1;
  } else if ((b0 & 0xE0) == 0xC0) {
    length = 2, min = 0x80, *cp = b0 & 0x1F;
  } else if ((b0 & 0xF0) == 0xE0) {
    length = 3, min = 0x800, *cp = b0 & 0x0F;
  } else if ((b0 & 0xF8) == 0xF0) {
    length = 4, min = 0x10000, *cp = b0 & 0x07;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    const auto b = static_cast<unsigned char>(text[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    *cp = (*cp << 6) | (b & 0x3F);
  }
  if (*cp < min || *cp > 0x10FFFF || (*cp >= 0xD800 && *cp <= 0xDFFF)) return 0;
  return length;
}

// Characters that change how a terminal shows the rest of the line: C0 and
// C1 controls, DEL, line and paragraph separators, and bidi controls.
bool isControl(std::uint32_t cp) {
  return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F) || cp == 0x2028 || cp == 0x2029 ||
         (cp >= 0x202A && cp <= 0x202E) || (cp >= 0x2066 && cp <= 0x2069) || cp == 0x200E || cp == 0x200F;
}

void appendEscaped(std::string& out, std::string_view bytes) {
  for (const char c : bytes) {
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '\r') {
      out += "\\r";
    } else {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(c));
      out += escaped;
    }
  }
}

// Escapes text[0, limit) (extended to the end of a character) into `out`;
// the bytes consumed.
std::size_t escapeInto(std::string& out, std::string_view text, std::size_t limit) {
  std::size_t i = 0;
  while (i < text.size() && i < limit) {
    std::uint32_t cp = 0;
    const std::size_t length = utf8Sequence(text, i, &cp);
    if (length == 0) {
      appendEscaped(out, text.substr(i, 1));
      ++i;
      continue;
    }
    if (isControl(cp)) appendEscaped(out, text.substr(i, length));
    else out.append(text.data() + i, length);
    i += length;
  }
  return i;
}

}  // namespace

std::string printable(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  escapeInto(out, text, text.size());
  return out;
}

std::string excerpt(std::string_view text, std::size_t maxBytes) {
  std::string out;
  if (escapeInto(out, text, maxBytes) < text.size()) out += "...";
  return out;
}

std::string quotedPath(std::string_view path) { return "'" + excerpt(path) + "'"; }

std::string byteCount(std::size_t bytes) {
  constexpr std::size_t kMiB = std::size_t{1} << 20;
  if (bytes >= kMiB && bytes % kMiB == 0) return std::to_string(bytes / kMiB) + " MiB";
  return std::to_string(bytes) + " bytes";
}

}  // namespace hostio
