// File inputs read with a bound and outputs replaced whole: folders, devices
// and pipes refused, an output that fails (a full disk, a file size limit)
// leaving every old file as it was and no temporary behind.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "hostapp/io/file_input.h"
#include "hostapp/io/output_set.h"
#include "hostapp/records/record_file.h"
#include "hostapp/resources/resource_file.h"
#include "params/record/default_parameters.h"
#include "params/record/record_codec.h"
#include "support/scratch_folder.h"

namespace fs = std::filesystem;

namespace {

class FileIo : public testing_support::ScratchFolderTest {
 protected:
  FileIo() : ScratchFolderTest("spiral-file-io-") {}
  static std::string bytesOf(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // What readInputFile says of `file`, or "read".
  static std::string refusal(const std::string& file, const hostio::InputKind& kind = hostio::kRecordInput) {
    try {
      hostio::readInputFile(file, kind);
    } catch (const hostio::InputError& e) {
      return e.what();
    }
    return "read";
  }
  // The names in the folder: a temporary left behind shows here.
  std::vector<std::string> listing() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(FileIo, InputsMustBeRegularFilesWithinTheirBound) {
  EXPECT_EQ(hostio::readInputFile(write("a.txt", "abc"), hostio::kRecordInput), "abc");
  EXPECT_EQ(refusal(dir_.string()), "cannot read record file '" + dir_.string() + "': Is a directory");
  EXPECT_EQ(refusal("/dev/zero"), "cannot read record file '/dev/zero': it is not a regular file");
  EXPECT_EQ(refusal(path("none")), "cannot read record file '" + path("none") + "': No such file or directory");
  // A pipe is refused at once instead of waiting for a writer.
  ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
  EXPECT_NE(refusal(path("fifo")).find("not a regular file"), std::string::npos);
  // One byte over the bound, made sparse so the test writes nothing.
  const std::string big = path("big");
  fs::resize_file(write("big", ""), hostio::kRecordInput.maxBytes + 1);
  EXPECT_EQ(refusal(big), "cannot read record file '" + big + "': it is larger than 1 MiB");
  fs::resize_file(big, hostio::kRecordInput.maxBytes);
  EXPECT_EQ(hostio::readInputFile(big, hostio::kRecordInput).size(), hostio::kRecordInput.maxBytes);
}

TEST_F(FileIo, MessagesEscapeControlCharactersAndKeepUtf8) {
  EXPECT_EQ(hostio::printable("a\nb\tc\r\x1b[2J\x7f"), "a\\nb\\tc\\r\\x1B[2J\\x7F");
  EXPECT_EQ(hostio::printable("caf\xC3\xA9"), "caf\xC3\xA9");
  EXPECT_EQ(hostio::quotedPath(std::string("x\0y", 3)), "'x\\x00y'");
  EXPECT_EQ(refusal(path("new\nline")).find('\n'), std::string::npos);
}

TEST_F(FileIo, OutputsReplaceTheirTargetsOnlyOnCommit) {
  const std::string svg = write("out.svg", "old svg");
  const std::string json = path("out.json");
  ::chmod(svg.c_str(), 0640);
  {
    hostio::OutputSet outputs;
    outputs.claim(svg, "--svg");
    outputs.claim(json, "--json");
    outputs.open(svg) << "new svg";
    outputs.open(json) << "{}";
    // Written, not yet committed: the old file stands, the new one is not there.
    EXPECT_EQ(bytesOf(svg), "old svg");
    EXPECT_FALSE(fs::exists(json));
    outputs.commit();
  }
  EXPECT_EQ(bytesOf(svg), "new svg");
  EXPECT_EQ(bytesOf(json), "{}");
  EXPECT_EQ(fs::status(svg).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write |
                                                               fs::perms::group_read);
  EXPECT_EQ(listing(), (std::vector<std::string>{"out.json", "out.svg"}));

  // A set dropped without commit (a run that failed) leaves all as it was.
  {
    hostio::OutputSet outputs;
    outputs.claim(svg, "--svg");
    outputs.open(svg) << "half";
  }
  EXPECT_EQ(bytesOf(svg), "new svg");
  EXPECT_EQ(listing(), (std::vector<std::string>{"out.json", "out.svg"}));

  // A symbolic link keeps pointing at the file, which gets the new bytes.
  fs::create_symlink(svg, path("link.svg"));
  hostio::OutputSet outputs;
  outputs.claim(path("link.svg"), "--svg");
  outputs.open(path("link.svg")) << "via link";
  outputs.commit();
  EXPECT_TRUE(fs::is_symlink(path("link.svg")));
  EXPECT_EQ(bytesOf(svg), "via link");
}

TEST_F(FileIo, AnOutputThatCannotBeWrittenLeavesEveryOldFileAndNoTemporary) {
  const std::string svg = write("keep.svg", "old svg");
  hostio::OutputSet outputs;
  outputs.claim(svg, "--svg");
  outputs.claim("/dev/full", "--json");
  outputs.open(svg) << "new svg";
  outputs.open("/dev/full") << std::string(100000, 'x');
  try {
    outputs.commit();
    ADD_FAILURE() << "a write to /dev/full was taken as done";
  } catch (const hostio::OutputError& e) {
    EXPECT_STREQ(e.what(), "cannot write '/dev/full': No space left on device");
  }
  EXPECT_EQ(bytesOf(svg), "old svg");
  EXPECT_EQ(listing(), std::vector<std::string>{"keep.svg"});

  // A folder that does not exist is named before anything is written.
  hostio::OutputSet more;
  EXPECT_THROW(more.claim(path("no/such/file.svg"), "--svg"), hostio::OutputError);
  EXPECT_THROW(more.claim(dir_.string(), "--svg"), hostio::OutputError);
}

// A file size limit reached half way (SIGXFSZ ignored, so write fails with
// EFBIG) in a child process, over an existing output.
TEST_F(FileIo, AFileSizeLimitHalfWayLeavesTheOldFile) {
  const std::string json = write("limited.json", "old json");
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    const struct rlimit limit {65536, 65536};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    int status = 3;
    try {
      hostio::OutputSet outputs;
      outputs.claim(json, "--json");
      outputs.open(json) << std::string(1 << 20, 'x');
      outputs.commit();
    } catch (const hostio::OutputError& e) {
      status = std::string(e.what()) == "cannot write '" + json + "': File too large" ? 0 : 4;
    }
    ::_exit(status);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "3: the write was taken as done, 4: another message";
  EXPECT_EQ(bytesOf(json), "old json");
  EXPECT_EQ(listing(), std::vector<std::string>{"limited.json"});
}

// A run stopped by a catchable signal half way through its outputs (the
// fault signals best effort, through the same handler): the old file stands,
// the temporary is removed on the way out, and the signal still ends it.
TEST_F(FileIo, ARunStoppedBySignalHalfWayLeavesTheOldFileAndNoTemporary) {
  const std::string svg = write("stopped.svg", "old svg");
  for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE, SIGALRM, SIGUSR1, SIGUSR2, SIGABRT, SIGSEGV}) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      const struct rlimit noCore {0, 0};
      ::setrlimit(RLIMIT_CORE, &noCore);
      hostio::OutputSet outputs;
      outputs.claim(svg, "--svg");
      outputs.open(svg) << std::string(200000, 'x') << std::flush;
      ::raise(signal);
      ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    // A fault goes on to the handler before ours: a sanitizer's reports it
    // and exits.
    const bool fault = signal == SIGABRT || signal == SIGSEGV;
    EXPECT_TRUE(WIFSIGNALED(status) ? WTERMSIG(status) == signal : fault && WEXITSTATUS(status) != 0)
        << strsignal(signal) << ": " << status;
    EXPECT_EQ(bytesOf(svg), "old svg");
    EXPECT_EQ(listing(), std::vector<std::string>{"stopped.svg"}) << strsignal(signal);
  }
}

// A run killed outright (SIGKILL) leaves its temporary; a later run on the
// same output removes it once that process is gone and the file is a minute
// old, never a live run's nor a fresh one, nor other files.
TEST_F(FileIo, TemporariesOfDeadRunsAreRemovedByTheNextRun) {
  const pid_t dead = ::fork();
  ASSERT_GE(dead, 0);
  if (dead == 0) ::_exit(0);
  ASSERT_EQ(::waitpid(dead, nullptr, 0), dead);
  const std::string svg = write("out.svg", "old svg");
  const auto old = fs::file_time_type::clock::now() - std::chrono::minutes(2);
  auto temporary = [&](pid_t pid, const std::string& tail, bool aged) {
    const std::string name = ".out.svg.spiral-" + std::to_string(pid) + tail;
    write(name, "left");
    if (aged) fs::last_write_time(path(name), old);
    return name;
  };
  const std::string stale = temporary(dead, "-0123abcd.tmp", true);
  const std::string live = temporary(::getppid(), "-0123abcd.tmp", true);
  const std::string fresh = temporary(dead, "-89abcdef.tmp", false);
  const std::string other = temporary(dead, "-0123abcd.txt", true);
  const std::string otherOutput = ".other.svg.spiral-" + std::to_string(dead) + "-0123abcd.tmp";
  write(otherOutput, "left");
  fs::last_write_time(path(otherOutput), old);

  hostio::OutputSet outputs;
  outputs.claim(svg, "--svg");
  std::vector<std::string> expected{fresh, other, otherOutput, live, "out.svg"};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(listing(), expected);
  EXPECT_FALSE(fs::exists(path(stale)));
}

// Refusals before anything is drawn: a file or folder that may not be
// written (judged for the user, as cp does: root may replace a read-only
// file), a name too long to leave room for its temporary's, an empty name.
TEST_F(FileIo, OutputsThatCannotBeReplacedAreRefusedWhenClaimed) {
  auto refusal = [](const std::string& file, const std::string& option = "--svg") -> std::string {
    try {
      hostio::OutputSet outputs;
      outputs.claim(file, option);
    } catch (const hostio::OutputError& e) {
      return e.what();
    }
    return "claimed";
  };
  EXPECT_EQ(refusal("", "--json"), "--json: the file name is empty");

  const std::size_t longest = NAME_MAX - hostio::OutputSet::kTemporaryNameExtra;
  EXPECT_EQ(refusal(path(std::string(longest, 'a'))), "claimed");
  const std::string tooLong = path(std::string(longest + 1, 'a'));
  EXPECT_EQ(refusal(tooLong), "cannot write '" + hostio::excerpt(tooLong) + "': the file name is longer than " +
                                  std::to_string(longest) +
                                  " bytes, which leaves no room for the name of the temporary file it is written "
                                  "to first");
  EXPECT_EQ(listing(), std::vector<std::string>{});

  // Another user, when the test runs as root: a child that gave up root.
  const std::string readOnly = write("read-only.svg", "old svg");
  ::chmod(readOnly.c_str(), 0444);
  ::mkdir(path("locked").c_str(), 0555);
  ::chmod(dir_.c_str(), 0777);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
    const bool fileRefused = refusal(readOnly) == "cannot write '" + readOnly + "': Permission denied";
    const std::string inLocked = path("locked/new.svg");
    const bool folderRefused = refusal(inLocked) == "cannot write '" + inLocked + "': Permission denied";
    ::_exit(fileRefused && folderRefused ? 0 : 4);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "3: cannot leave root, 4: a refusal missing";
  EXPECT_EQ(bytesOf(readOnly), "old svg");
}

// The replacement is a new file standing where the old one was: the old
// file's permissions and (as root) its owner and group; a second hard link
// keeps the old bytes.
TEST_F(FileIo, TheReplacementKeepsModeAndOwnerButNotHardLinks) {
  const std::string svg = write("owned.svg", "old svg");
  ::chmod(svg.c_str(), 0604);
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chown(svg.c_str(), 65534, 65534), 0);
  }
  fs::create_hard_link(svg, path("other-name.svg"));
  hostio::OutputSet outputs;
  outputs.claim(svg, "--svg");
  outputs.open(svg) << "new svg";
  outputs.commit();
  struct stat info {};
  ASSERT_EQ(::stat(svg.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0604u);
  if (root) {
    EXPECT_EQ(info.st_uid, 65534u);
    EXPECT_EQ(info.st_gid, 65534u);
  }
  EXPECT_EQ(bytesOf(svg), "new svg");
  EXPECT_EQ(bytesOf(path("other-name.svg")), "old svg");
  EXPECT_EQ(listing(), (std::vector<std::string>{"other-name.svg", "owned.svg"}));
}

TEST_F(FileIo, TwoOutputsNamingOneFileAreRefused) {
  const std::string svg = write("same.svg", "");
  fs::create_hard_link(svg, path("hard.svg"));
  const std::string relative = fs::relative(svg).string();
  for (const std::string& other : {svg, path("./same.svg"), path("hard.svg"), relative}) {
    hostio::OutputSet outputs;
    outputs.claim(svg, "--svg");
    try {
      outputs.claim(other, "--json");
      ADD_FAILURE() << other;
    } catch (const hostio::OutputError& e) {
      EXPECT_NE(std::string(e.what()).find("--svg and --json name one file"), std::string::npos) << e.what();
    }
  }
  // Files that do not exist yet are told apart by folder and name.
  hostio::OutputSet outputs;
  outputs.claim(path("new.svg"), "--svg");
  EXPECT_THROW(outputs.claim(path("../" + dir_.filename().string() + "/new.svg"), "--json"), hostio::OutputError);
  EXPECT_NO_THROW(outputs.claim(path("new.json"), "--json"));
}

// The binary form is any 308 bytes: records starting with '{' (or anything
// else) read back as written; a whole JSON record of 308 bytes is JSON.
TEST_F(FileIo, RecordsStartingWithEveryByteReadBack) {
  SpiralParameters record = defaultParameters(306, 396);
  for (int first = 0; first < 256; ++first) {
    unsigned char bytes[kSpiralParametersSize];
    encodeParameters(record, bytes);
    bytes[0] = static_cast<unsigned char>(first);
    bytes[1] = ' ';  // "{ " at the start looks all the more like JSON
    SpiralParameters written{};
    decodeParameters(bytes, written);
    records::saveRecordFile(path("r.rec"), records::recordBytes(written));
    const SpiralParameters back = records::loadRecordFile(path("r.rec"), SpiralParameters{});
    ASSERT_EQ(std::memcmp(&back, &written, sizeof back), 0) << "first byte " << first;
  }
  std::string json = R"({"armCount": 7})";
  json.resize(kSpiralParametersSize, ' ');
  EXPECT_EQ(records::loadRecordFile(write("padded.rec", json), record).armCount, 7);
}

TEST_F(FileIo, RecordBooleansTakeOnlyTheirSixWords) {
  SpiralParameters r{};
  for (const char* word : {"1", "on", "true", " true "}) {
    r.closeSpiral = 0;
    records::applyAssignment(r, std::string("closeSpiral=") + word);
    EXPECT_EQ(r.closeSpiral, 1) << word;
  }
  for (const char* word : {"0", "off", "false"}) {
    r.closeSpiral = 1;
    records::applyAssignment(r, std::string("closeSpiral=") + word);
    EXPECT_EQ(r.closeSpiral, 0) << word;
  }
  for (const char* word : {"2", "-1", "yes", ""}) {
    EXPECT_THROW(records::applyAssignment(r, std::string("closeSpiral=") + word), records::RecordError) << word;
  }
  // Blanks around the value count alike for every kind.
  records::applyAssignment(r, "armCount= 12 ");
  records::applyAssignment(r, "armGap= 2.5 ");
  EXPECT_EQ(r.armCount, 12);
  EXPECT_EQ(r.armGap, 2.5f);
}

// A little-endian ELF header whose section-table offset is near 2^64: the
// bound check must not wrap round and read outside the file.
TEST_F(FileIo, ElfSectionTableOffsetsThatWrapAreRefused) {
  for (const bool is64 : {true, false}) {
    std::string elf(is64 ? 64 : 52, '\0');
    std::memcpy(elf.data(), "\x7f" "ELF", 4);
    elf[4] = is64 ? 2 : 1;
    elf[5] = 1;
    const std::size_t shoff = is64 ? 0x28 : 0x20;
    for (std::size_t b = 0; b < (is64 ? 8u : 4u); ++b) elf[shoff + b] = '\xff';
    elf[shoff] = static_cast<char>(0xf0);  // -16: at + width wraps to a small number
    elf[is64 ? 0x3A : 0x2E] = is64 ? 0x40 : 0x28;  // section header size
    elf[is64 ? 0x3C : 0x30] = 2;                    // two sections
    elf[is64 ? 0x3E : 0x32] = 1;                    // names in section 1
    const std::string file = write(is64 ? "wrap64.so" : "wrap32.so", elf);
    try {
      host::readElfSection(file, ".rsrc");
      ADD_FAILURE() << "accepted";
    } catch (const host::ResourceError& e) {
      EXPECT_NE(std::string(e.what()).find("damaged"), std::string::npos) << e.what();
    }
  }
  EXPECT_THROW(host::readElfSection("/dev/zero", ".rsrc"), host::ResourceError);
  EXPECT_THROW(host::readElfSection(dir_.string(), ".rsrc"), host::ResourceError);
}

}  // namespace
