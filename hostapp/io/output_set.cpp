#include "hostapp/io/output_set.h"

#include <sys/stat.h>

#include <array>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <streambuf>

#include "hostapp/io/file_input.h"
#include "hostapp/platform/files.h"
#include "hostapp/platform/process.h"
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

// Files still on disk that an interrupted run must not leave: temporaries
// and the lock, removed by the handler of a terminating signal. Plain
// arrays: the handler may only read them.
constexpr std::size_t kMaxTemporaries = 16;
char gTemporaries[kMaxTemporaries][PATH_MAX];
std::atomic<bool> gTemporaryUsed[kMaxTemporaries];

extern "C" void removeTemporariesAndDie(int signal) {
  for (std::size_t k = 0; k < kMaxTemporaries; ++k)
    if (gTemporaryUsed[k].load()) platform::removeFile(gTemporaries[k]);
  platform::dieOfSignal(signal);
}

// Once, before the first output is claimed: signals that end the program
// remove the temporaries first, and a file size limit fails the write that
// reaches it (a message and exit status 2) instead of killing the program.
void installSignalCleanup() {
  static const bool installed = [] {
    platform::onTerminatingSignal(removeTemporariesAndDie);
    platform::ignoreFileSizeLimitSignal();
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

// Temporaries of `name` are `.NAME.spiral-PID-RANDOM.tmp`: RANDOM is eight
// hexadecimal digits, PID at most ten decimal ones.
const char kTemporaryTag[] = ".spiral-";
const char kTemporaryEnd[] = ".tmp";
constexpr std::size_t kRandomDigits = 8;
constexpr std::size_t kMaxPidDigits = 10;
static_assert(1 + (sizeof kTemporaryTag - 1) + kMaxPidDigits + 1 + kRandomDigits + (sizeof kTemporaryEnd - 1) ==
              OutputSet::kTemporaryNameExtra);

std::string randomDigits() {
  static std::uint64_t state = [] {
    std::uint64_t seed = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    seed ^= static_cast<std::uint64_t>(platform::currentProcessId()) << 32;
    try {
      seed ^= std::random_device{}();
    } catch (const std::exception&) {
    }
    return seed;
  }();
  state = state * 6364136223846793005u + 1442695040888963407u;
  static const char kHex[] = "0123456789abcdef";
  std::string digits(kRandomDigits, '0');
  for (std::size_t k = 0; k < kRandomDigits; ++k) digits[k] = kHex[(state >> (32 + 4 * k)) & 15];
  return digits;
}

std::string temporaryName(const std::string& folder, const std::string& name) {
  return folder + "/." + name + kTemporaryTag + std::to_string(platform::currentProcessId()) + "-" + randomDigits() +
         kTemporaryEnd;
}

// The process number in a temporary's file name `file` of the target
// `name`; 0 when `file` is not one.
long temporaryOwner(const std::string& file, const std::string& name) {
  const std::string prefix = "." + name + kTemporaryTag;
  const std::size_t endSize = sizeof kTemporaryEnd - 1;
  if (file.size() < prefix.size() + 3 + kRandomDigits + endSize || file.compare(0, prefix.size(), prefix) != 0 ||
      file.compare(file.size() - endSize, endSize, kTemporaryEnd) != 0)
    return 0;
  const std::string middle = file.substr(prefix.size(), file.size() - prefix.size() - endSize);
  const std::size_t dash = middle.size() - kRandomDigits - 1;
  if (middle[dash] != '-' || dash == 0 || dash > kMaxPidDigits) return 0;
  long pid = 0;
  for (std::size_t k = 0; k < dash; ++k) {
    if (middle[k] < '0' || middle[k] > '9') return 0;
    pid = pid * 10 + (middle[k] - '0');
  }
  for (std::size_t k = dash + 1; k < middle.size(); ++k)
    if (!std::isxdigit(static_cast<unsigned char>(middle[k]))) return 0;
  return pid;
}

// Removes the temporaries of `name` in `folder` that runs which are gone
// left behind (killed outright, or the machine stopped): their process no
// longer runs and they are a minute old. A live run's are never touched.
void removeStaleTemporaries(const std::string& folder, const std::string& name) {
  namespace fs = std::filesystem;
  constexpr auto kStaleAge = std::chrono::minutes(1);
  try {
    std::error_code error;
    for (fs::directory_iterator entry(fs::path(folder), error), end; !error && entry != end;
         entry.increment(error)) {
      const long pid = temporaryOwner(entry->path().filename().string(), name);
      if (pid == 0 || pid == platform::currentProcessId() || platform::processAlive(pid)) continue;
      std::error_code statError;
      if (entry->symlink_status(statError).type() != fs::file_type::regular || statError) continue;
      const auto written = fs::last_write_time(entry->path(), statError);
      if (statError || fs::file_time_type::clock::now() - written < kStaleAge) continue;
      platform::removeFile(entry->path().string().c_str());
    }
  } catch (const std::exception&) {
    // Cleaning up is a courtesy; a folder that cannot be listed is left.
  }
}

// The lock the renames of one commit hold: `.NAME.lock` beside the output,
// locked, then checked to be the file that is there under that name (a run
// that finished removes it under the lock; one waiting on the removed file
// tries again). Removed and released at the end.
class RenameLock {
 public:
  RenameLock(const std::string& folder, const std::string& name, const std::string& path)
      : file_(folder + "/." + name + ".lock") {
    for (;;) {
      fd_ = platform::openLockFile(file_);
      if (fd_ < 0 || platform::lockDescriptor(fd_) != 0) {
        const int error = errno;
        release();
        cannotWrite(path, error);
      }
      if (platform::isNamedFile(fd_, file_)) break;
      platform::closeDescriptor(fd_);
    }
    slot_ = rememberTemporary(file_);
  }
  ~RenameLock() { release(); }
  RenameLock(const RenameLock&) = delete;
  RenameLock& operator=(const RenameLock&) = delete;

 private:
  void release() {
    if (fd_ < 0) return;
    platform::removeFile(file_.c_str());
    forgetTemporary(slot_);
    platform::closeDescriptor(fd_);
    fd_ = -1;
  }
  std::string file_;
  int fd_ = -1;
  int slot_ = -1;
};

}  // namespace

struct OutputSet::Output {
  std::string path;      // as the user gave it
  std::string option;    // "--svg", ...
  std::string identity;  // device and inode, or the real folder and the name
  bool inPlace = false;  // an existing device or pipe, written directly
  std::string folder;    // where the target is, its links resolved
  std::string name;      // the target's name in `folder`
  std::string temporary;  // empty when there is none on disk
  int temporarySlot = -1;
  int fd = -1;
  std::unique_ptr<DescriptorBuffer> buffer;
  std::unique_ptr<std::ostream> stream;
  std::string target() const { return folder + "/" + name; }
};

OutputSet::OutputSet() = default;

OutputSet::~OutputSet() { discard(); }

void OutputSet::claim(const std::string& path, const std::string& option) {
  if (path.empty()) throw OutputError(option + ": the file name is empty");
  installSignalCleanup();
  auto output = std::make_unique<Output>();
  output->path = path;
  output->option = option;
  struct stat info {};
  char real[PATH_MAX];
  if (::stat(path.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) cannotWrite(path, EISDIR);
    output->identity = platform::fileIdentity(path, static_cast<unsigned long long>(info.st_dev),
                                              static_cast<unsigned long long>(info.st_ino));
    // A read-only file is refused as cp refuses it (root may write it).
    if (!platform::mayWrite(path)) cannotWrite(path, errno);
    output->inPlace = !S_ISREG(info.st_mode);
    // The temporary lives beside the real file, so that the rename stays
    // within one file system and a symbolic link keeps pointing at it.
    const std::string target = platform::realPath(path.c_str(), real) ? std::string(real) : path;
    output->folder = parentOf(target);
    output->name = nameOf(target);
  } else {
    if (errno != ENOENT) cannotWrite(path, errno);
    output->name = nameOf(path);
    if (output->name.empty() || output->name == "." || output->name == "..") cannotWrite(path, EISDIR);
    if (!platform::realPath(parentOf(path).c_str(), real)) cannotWrite(path, errno);
    output->folder = real;
    output->identity = "path " + output->target();
  }
  if (!output->inPlace) {
    const std::size_t longest = platform::maxNameLength(output->folder);
    if (output->name.size() + kTemporaryNameExtra > longest) {
      throw OutputError("cannot write " + quotedPath(path) + ": the file name is longer than " +
                        std::to_string(longest - kTemporaryNameExtra) +
                        " bytes, which leaves no room for the name of the temporary file it is written to first");
    }
    if (!platform::mayWrite(output->folder)) cannotWrite(path, errno);
  }
  for (const auto& other : outputs_) {
    if (other->identity == output->identity) {
      throw OutputError(other->option + " and " + option + " name one file, " + quotedPath(path) +
                        "; give each output its own file");
    }
  }
  if (!output->inPlace) removeStaleTemporaries(output->folder, output->name);
  outputs_.push_back(std::move(output));
}

std::ostream& OutputSet::open(const std::string& path) {
  Output* output = nullptr;
  for (const auto& o : outputs_)
    if (o->path == path) output = o.get();
  if (!output) claim(path, path), output = outputs_.back().get();
  if (output->stream) return *output->stream;

  if (output->inPlace) {
    output->fd = platform::openToWrite(path);
    if (output->fd < 0) cannotWrite(path, errno);
  } else {
    // Named before it is made, so that a signal between the two cannot
    // leave it behind.
    struct stat info {};
    const bool exists = ::stat(output->target().c_str(), &info) == 0 && S_ISREG(info.st_mode);
    for (int attempt = 0; output->fd < 0; ++attempt) {
      forgetTemporary(output->temporarySlot);
      output->temporary = temporaryName(output->folder, output->name);
      output->temporarySlot = rememberTemporary(output->temporary);
      output->fd = platform::createNewFile(output->temporary, 0600);
      if (output->fd < 0 && (errno != EEXIST || attempt == 100)) {
        const int error = errno;
        forgetTemporary(output->temporarySlot);
        output->temporary.clear();
        cannotWrite(path, error);
      }
    }
    // The new file takes the old one's place: its owner (where this process
    // may give it) and then its permissions, which a change of owner may
    // have cut.
    if (exists) {
      platform::setFileOwner(output->fd, static_cast<unsigned long long>(info.st_uid),
                             static_cast<unsigned long long>(info.st_gid));
    }
    platform::setFileMode(output->fd, exists ? (info.st_mode & 07777) : platform::newFileMode());
  }
  output->buffer = std::make_unique<DescriptorBuffer>(output->fd);
  output->stream = std::make_unique<std::ostream>(output->buffer.get());
  return *output->stream;
}

void OutputSet::commit() {
  try {
    const Output* first = nullptr;
    for (const auto& output : outputs_) {
      if (!output->stream) continue;
      output->stream->flush();
      if (output->buffer->error() != 0) cannotWrite(output->path, output->buffer->error());
      if (!*output->stream) cannotWrite(output->path, EIO);
      // Data the file system holds back (a full disk, a quota) fails here.
      if (!output->temporary.empty() && platform::syncDescriptor(output->fd) != 0 && errno != EINVAL)
        cannotWrite(output->path, errno);
      const int fd = output->fd;
      output->fd = -1;
      if (platform::closeDescriptor(fd) != 0 && errno != EINTR) cannotWrite(output->path, errno);
      if (!first && !output->temporary.empty()) first = output.get();
    }
    if (first) {
      const RenameLock lock(first->folder, first->name, first->path);
      for (const auto& output : outputs_) {
        if (output->temporary.empty()) continue;
        if (platform::replaceFile(output->temporary.c_str(), output->target().c_str()) != 0)
          cannotWrite(output->path, errno);
        forgetTemporary(output->temporarySlot);
        output->temporary.clear();
      }
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
    output->temporarySlot = -1;
    output->temporary.clear();
  }
}

}  // namespace hostio
