#include "hostapp/io/output_set.h"

#include <sys/stat.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <streambuf>

#include "hostapp/io/file_input.h"
#include "hostapp/platform/files.h"
#include "hostapp/platform/signals.h"

namespace hostio {
namespace {

namespace platform = host::platform;

// A stream buffer over a file descriptor that keeps the first error's errno,
// so that a failed write can be reported with the system's reason.
class DescriptorBuffer : public std::streambuf {
 public:
  explicit DescriptorBuffer(int fd) : fd_(fd) { setp(buffer_.data(), buffer_.data() + buffer_.size()); }
  int error() const { return error_; }

 protected:
  int_type overflow(int_type c) override {
    if (!drain()) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      *pptr() = traits_type::to_char_type(c);
      pbump(1);
    }
    return traits_type::not_eof(c);
  }
  int sync() override { return drain() ? 0 : -1; }

 private:
  bool drain() {
    if (error_ != 0) return false;
    const char* at = pbase();
    while (at < pptr()) {
      const std::ptrdiff_t n = platform::writeDescriptor(fd_, at, static_cast<std::size_t>(pptr() - at));
      if (n < 0) {
        if (errno == EINTR) continue;
        error_ = errno;
        return false;
      }
      at += n;
    }
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return true;
  }

  int fd_;
  int error_ = 0;
  std::array<char, 65536> buffer_{};
};

// Temporaries still on disk, removed by the handler of a terminating signal
// so that an interrupted run leaves nothing behind. Plain arrays: the handler
// may only read them.
constexpr std::size_t kMaxTemporaries = 16;
char gTemporaries[kMaxTemporaries][PATH_MAX];
std::atomic<bool> gTemporaryUsed[kMaxTemporaries];

extern "C" void removeTemporariesAndDie(int signal) {
  for (std::size_t k = 0; k < kMaxTemporaries; ++k)
    if (gTemporaryUsed[k].load()) platform::removeFile(gTemporaries[k]);
  platform::dieOfSignal(signal);
}

void installSignalCleanup() {
  static const bool installed = [] {
    platform::onTerminatingSignal(removeTemporariesAndDie);
    return true;
  }();
  (void)installed;
}

int rememberTemporary(const std::string& path) {
  if (path.size() >= PATH_MAX) return -1;
  for (std::size_t k = 0; k < kMaxTemporaries; ++k) {
    if (gTemporaryUsed[k].load()) continue;
    std::memcpy(gTemporaries[k], path.c_str(), path.size() + 1);
    gTemporaryUsed[k].store(true);
    return static_cast<int>(k);
  }
  return -1;
}

void forgetTemporary(int slot) {
  if (slot >= 0) gTemporaryUsed[slot].store(false);
}

std::string parentOf(const std::string& path) {
  const std::size_t slash = path.find_last_of(platform::pathSeparators());
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of(platform::pathSeparators());
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

[[noreturn]] void cannotWrite(const std::string& path, int error) {
  throw OutputError("cannot write " + quotedPath(path) + ": " + std::strerror(error));
}

}  // namespace

struct OutputSet::Output {
  std::string path;       // as the user gave it
  std::string option;     // "--svg", ...
  std::string identity;   // device and inode, or the real folder and the name
  std::string target;     // what the temporary is renamed over
  std::string temporary;  // empty when written directly
  int temporarySlot = -1;
  int fd = -1;
  std::unique_ptr<DescriptorBuffer> buffer;
  std::unique_ptr<std::ostream> stream;
};

OutputSet::OutputSet() = default;

OutputSet::~OutputSet() { discard(); }

void OutputSet::claim(const std::string& path, const std::string& option) {
  auto output = std::make_unique<Output>();
  output->path = path;
  output->option = option;
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) cannotWrite(path, EISDIR);
    output->identity = platform::fileIdentity(path, static_cast<unsigned long long>(info.st_dev),
                                              static_cast<unsigned long long>(info.st_ino));
  } else {
    if (errno != ENOENT) cannotWrite(path, errno);
    const std::string name = nameOf(path);
    if (name.empty() || name == "." || name == "..") cannotWrite(path, EISDIR);
    char folder[PATH_MAX];
    if (!platform::realPath(parentOf(path).c_str(), folder)) cannotWrite(path, errno);
    output->identity = "path " + std::string(folder) + "/" + name;
  }
  for (const auto& other : outputs_) {
    if (other->identity == output->identity) {
      throw OutputError(other->option + " and " + option + " name one file, " + quotedPath(path) +
                        "; give each output its own file");
    }
  }
  outputs_.push_back(std::move(output));
}

std::ostream& OutputSet::open(const std::string& path) {
  Output* output = nullptr;
  for (const auto& o : outputs_)
    if (o->path == path) output = o.get();
  if (!output) claim(path, path), output = outputs_.back().get();
  if (output->stream) return *output->stream;

  struct stat info {};
  const bool exists = ::stat(path.c_str(), &info) == 0;
  if (exists && !S_ISREG(info.st_mode)) {
    // A device or pipe: written in place.
    output->fd = platform::openToWrite(path);
    if (output->fd < 0) cannotWrite(path, errno);
  } else {
    // The temporary lives beside the real file, so that the rename stays
    // within one file system and a symbolic link keeps pointing at it.
    output->target = path;
    char real[PATH_MAX];
    if (exists && platform::realPath(path.c_str(), real)) output->target = real;
    std::string temporary = parentOf(output->target) + "/." + nameOf(output->target) + ".XXXXXX";
    installSignalCleanup();
    output->fd = platform::makeTemporary(temporary);
    if (output->fd < 0) cannotWrite(path, errno);
    output->temporary = temporary;
    output->temporarySlot = rememberTemporary(temporary);
    platform::setFileMode(output->fd, exists ? (info.st_mode & 07777) : platform::newFileMode());
  }
  output->buffer = std::make_unique<DescriptorBuffer>(output->fd);
  output->stream = std::make_unique<std::ostream>(output->buffer.get());
  return *output->stream;
}

void OutputSet::commit() {
  try {
    for (const auto& output : outputs_) {
      if (!output->stream) continue;
      output->stream->flush();
      if (output->buffer->error() != 0) cannotWrite(output->path, output->buffer->error());
      if (!*output->stream) cannotWrite(output->path, EIO);
      // Data the file system holds back (a full disk, a quota) fails here.
      if (!output->temporary.empty() && platform::syncDescriptor(output->fd) != 0 && errno != EINVAL) cannotWrite(output->path, errno);
      const int fd = output->fd;
      output->fd = -1;
      if (platform::closeDescriptor(fd) != 0 && errno != EINTR) cannotWrite(output->path, errno);
    }
    for (const auto& output : outputs_) {
      if (output->temporary.empty()) continue;
      if (platform::replaceFile(output->temporary.c_str(), output->target.c_str()) != 0) cannotWrite(output->path, errno);
      forgetTemporary(output->temporarySlot);
      output->temporary.clear();
    }
  } catch (const OutputError&) {
    discard();
    throw;
  }
  outputs_.clear();
}

void OutputSet::discard() {
  for (const auto& output : outputs_) {
    if (output->fd >= 0) platform::closeDescriptor(output->fd);
    output->fd = -1;
    if (!output->temporary.empty()) platform::removeFile(output->temporary.c_str());
    forgetTemporary(output->temporarySlot);
    output->temporary.clear();
  }
}

}  // namespace hostio
