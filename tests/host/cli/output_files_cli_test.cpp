// What a run of spiral-host leaves in its output folder: the old files when
// the drawing fails or is cancelled, hits a file size limit or is killed
// half way; nothing of a run killed outright once a later run has come by;
// and never the files of two runs mixed when they write the same outputs at
// once.
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
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "hostapp/records/svg_metadata.h"
#include "support/run_host.h"
#include "support/scratch_folder.h"

namespace fs = std::filesystem;

namespace {

class OutputFiles : public testing_support::ScratchFolderTest {
 protected:
  OutputFiles() : ScratchFolderTest("spiral-output-files-") {}

  static std::string bytesOf(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::vector<std::string> listing() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  bool hasTemporary() const {
    const std::vector<std::string> names = listing();
    return std::any_of(names.begin(), names.end(),
                       [](const std::string& name) { return name.find(".spiral-") != std::string::npos; });
  }
  HostRun draw(const std::string& arguments, const std::string& tag) const {
    return runSpiralHost("draw --no-dialog --seed 5 --set spiralCount=1 --set armCount=3" + pluginOption() + " " +
                             arguments,
                         "output-files-" + tag);
  }
  // spiral-host draw with `arguments`, started without waiting; its output
  // goes nowhere and it leaves no core file.
  static pid_t startDraw(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {SPIRAL_HOST_EXE, "draw", "--no-dialog", "--plugin", SPIRAL_PLUGIN_FILE});
    const pid_t child = ::fork();
    if (child != 0) return child;
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, 1);
    ::dup2(null, 2);
    const struct rlimit noCore {0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  static int waitFor(pid_t child) {
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
  }
};

TEST_F(OutputFiles, AFailedOrCancelledDrawingLeavesTheOldFiles) {
  const std::string svg = write("old.svg", "old svg");
  const std::string json = write("old.json", "old json");
  const std::string record = write("old.rec", "old record");
  const std::string outputs = " --svg '" + svg + "' --json '" + json + "' --save-params '" + record + "'";
  const HostRun failed = draw("--fail 'AI Art Suite/NewArt=-108'" + outputs, "failed");
  EXPECT_EQ(failed.status, 1) << failed.err;
  EXPECT_NE(failed.err.find("(code -108)"), std::string::npos) << failed.err;

  const HostRun cancelled = runSpiralHost("draw --cancel" + pluginOption() + outputs, "output-files-cancelled");
  EXPECT_EQ(cancelled.status, 0) << cancelled.err;
  EXPECT_NE(cancelled.err.find("nothing was drawn"), std::string::npos) << cancelled.err;

  EXPECT_EQ(bytesOf(svg), "old svg");
  EXPECT_EQ(bytesOf(json), "old json");
  EXPECT_EQ(bytesOf(record), "old record");
  EXPECT_EQ(listing(), (std::vector<std::string>{"old.json", "old.rec", "old.svg"}));
}

// Under a real `ulimit -f` the write that reaches the limit fails (the host
// ignores SIGXFSZ): the message says so, the exit status is 2.
TEST_F(OutputFiles, AFileSizeLimitIsACannotWriteMessage) {
  const std::string svg = write("limited.svg", "old svg");
  const std::string err = path("limited.err");
  const std::string command = "/bin/sh -c \"ulimit -f 2; exec '" + std::string(SPIRAL_HOST_EXE) +
                              "' draw --no-dialog --seed 5" + pluginOption() + " --svg '" + svg + "'\" 2>'" + err +
                              "'";
  const int raw = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(raw)) << "ended by signal " << (WIFSIGNALED(raw) ? WTERMSIG(raw) : 0);
  EXPECT_EQ(WEXITSTATUS(raw), 2);
  EXPECT_EQ(bytesOf(err), "spiral-host: cannot write '" + svg + "': File too large\n");
  EXPECT_EQ(bytesOf(svg), "old svg");
  EXPECT_EQ(listing(), (std::vector<std::string>{"limited.err", "limited.svg"}));
}

// The SVG's temporary is written whole while the run waits to open its JSON
// output, a pipe nobody reads: killed there by a signal it can catch, the run
// removes the temporary; killed outright, it leaves it, and the next run on
// that output removes it once it is a minute old.
TEST_F(OutputFiles, ARunKilledHalfWayLeavesNothingForLong) {
  const std::string svg = write("out.svg", "old svg");
  const std::string fifo = path("waiting.json");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  auto killWhenWriting = [&](int signal) {
    const pid_t child = startDraw({"--set", "armCount=3", "--svg", svg, "--json", fifo});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!hasTemporary() && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_TRUE(hasTemporary()) << "the run never got to its outputs";
    ::kill(child, signal);
    return waitFor(child);
  };
  for (const int signal : {SIGTERM, SIGQUIT}) {
    const int status = killWhenWriting(signal);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
    EXPECT_EQ(listing(), (std::vector<std::string>{"out.svg", "waiting.json"})) << strsignal(signal);
  }
  const int status = killWhenWriting(SIGKILL);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
  std::string left;
  for (const std::string& name : listing())
    if (name.rfind(".out.svg.spiral-", 0) == 0) left = name;
  ASSERT_FALSE(left.empty());
  fs::last_write_time(path(left), fs::file_time_type::clock::now() - std::chrono::minutes(2));
  EXPECT_EQ(bytesOf(svg), "old svg");

  fs::remove(fifo);
  const HostRun next = draw("--svg '" + svg + "'", "after-kill");
  ASSERT_EQ(next.status, 0) << next.err;
  EXPECT_EQ(listing(), std::vector<std::string>{"out.svg"});
  EXPECT_NE(bytesOf(svg).find("<path"), std::string::npos);
}

// Names that cannot be written are refused before anything is drawn.
TEST_F(OutputFiles, NamesThatCannotBeWrittenAreRefusedBeforeDrawing) {
  const HostRun empty = draw("--json ''", "empty");
  EXPECT_EQ(empty.status, 2);
  EXPECT_EQ(empty.err, "spiral-host: --json: the file name is empty\n");

  const std::string longName = path(std::string(NAME_MAX - 20, 'n') + ".svg");
  const HostRun tooLong = draw("--svg '" + longName + "'", "too-long");
  EXPECT_EQ(tooLong.status, 2);
  EXPECT_NE(tooLong.err.find("the file name is longer than"), std::string::npos) << tooLong.err;
  EXPECT_EQ(std::count(tooLong.err.begin(), tooLong.err.end(), '\n'), 1) << tooLong.err;
  EXPECT_EQ(listing(), std::vector<std::string>{});
}

// Two runs at once on the same SVG and JSON, drawing different records:
// whichever comes last, the SVG's record and the JSON's are the same run's.
TEST_F(OutputFiles, RunsAtOnceOnTheSameOutputsNeverMixThem) {
  const std::string svg = path("shared.svg");
  const std::string json = path("shared.json");
  for (int round = 0; round < 20; ++round) {
    const pid_t a = startDraw({"--set", "armCount=3", "--set", "spiralCount=1", "--svg", svg, "--json", json});
    const pid_t b = startDraw({"--set", "armCount=4", "--set", "spiralCount=1", "--svg", svg, "--json", json});
    ASSERT_EQ(waitFor(a), 0);
    ASSERT_EQ(waitFor(b), 0);
    const int svgArms = records::readSvgMetadata(bytesOf(svg), svg).record.armCount;
    const int jsonArms = nlohmann::json::parse(bytesOf(json)).at("record").at("armCount");
    ASSERT_EQ(svgArms, jsonArms) << "round " << round;
  }
  EXPECT_EQ(listing(), (std::vector<std::string>{"shared.json", "shared.svg"}));
}

}  // namespace
