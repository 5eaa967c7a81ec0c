// Child processes, their pipes and their ends: started programs (a POSIX
// shell stands in for one) and forked copies running a function.
#include "hostapp/platform/child_process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "hostapp/platform/signals.h"

#ifdef __linux__
#include <unistd.h>
#endif

namespace {

namespace platform = host::platform;
using platform::ChildExit;
using platform::ChildProcess;
using platform::PipeDirection;
using platform::ReadResult;
using Clock = std::chrono::steady_clock;

constexpr const char* kShell = "/bin/sh";

// Only where programs are started the POSIX way: under Wine a /bin/sh may be
// there but is no Windows program.
bool haveShell() { return platform::canFork() && std::filesystem::exists(kShell); }

// Starts the shell running `script`; the test fails when it cannot start.
void startShell(ChildProcess& child, const std::string& script) {
  std::string error;
  ASSERT_TRUE(child.start(kShell, {"-c", script}, error)) << error;
}

ChildExit waitLong(ChildProcess& child) {
  const std::optional<ChildExit> exit = child.wait(Clock::now() + std::chrono::seconds(20));
  EXPECT_TRUE(exit.has_value()) << "the child did not end within 20 s";
  return exit.value_or(ChildExit{});
}

// Reads `end` until a newline or the pipe's end, for at most 20 s.
std::string readLine(platform::PipeEnd end) {
  std::string text;
  const auto deadline = Clock::now() + std::chrono::seconds(20);
  while (text.find('\n') == std::string::npos && platform::readSome(end, text, deadline) == ReadResult::Data) {
  }
  return text;
}

TEST(ChildProcess, ReportsTheExitStatusOrTheSignalThatEndedIt) {
  if (!haveShell()) GTEST_SKIP() << "no POSIX shell";
  ChildProcess exited;
  startShell(exited, "exit 7");
  const ChildExit seven = waitLong(exited);
  EXPECT_EQ(seven.how, ChildExit::How::Exited);
  EXPECT_EQ(seven.code, 7);
  EXPECT_EQ(platform::describeExit(seven), "exited with status 7");
  EXPECT_FALSE(exited.running());

  ChildProcess crashed;
  startShell(crashed, "kill -SEGV $$");
  const ChildExit segv = waitLong(crashed);
  EXPECT_EQ(segv.how, ChildExit::How::Signalled);
  EXPECT_EQ(segv.code, SIGSEGV);
  EXPECT_EQ(platform::describeExit(segv).rfind("died of signal " + std::to_string(SIGSEGV) + " (", 0), 0u)
      << platform::describeExit(segv);

  // A program that cannot be run ends as the shell's "not found" does.
  ChildProcess missing;
  std::string error;
  ASSERT_TRUE(missing.start("/nonexistent/program", {}, error)) << error;
  EXPECT_EQ(waitLong(missing).code, 127);
}

TEST(ChildProcess, TheDeadlinePassesForAHungChildAndKillEndsIt) {
  if (!haveShell()) GTEST_SKIP() << "no POSIX shell";
  ChildProcess hung;
  startShell(hung, "exec sleep 60");
  const auto start = Clock::now();
  EXPECT_FALSE(hung.wait(start + std::chrono::milliseconds(200)).has_value());
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(200));
  EXPECT_TRUE(hung.running());
  hung.kill();
  const std::optional<ChildExit> exit = hung.wait();
  ASSERT_TRUE(exit.has_value());
  EXPECT_EQ(exit->how, ChildExit::How::Killed);
  EXPECT_EQ(platform::describeExit(*exit), "was stopped");
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
  // Ended once, the exit is kept.
  EXPECT_EQ(hung.wait(Clock::now())->how, ChildExit::How::Killed);
}

TEST(ChildProcess, PipesCarryALineThereAndBackAndTellTheEnd) {
  if (!haveShell()) GTEST_SKIP() << "no POSIX shell";
  ChildProcess child;
  std::string error;
  ASSERT_TRUE(child.addPipe(PipeDirection::ToChild, error)) << error;
  ASSERT_TRUE(child.addPipe(PipeDirection::FromChild, error)) << error;
  const std::string in = std::to_string(child.childName(0)), out = std::to_string(child.childName(1));
  startShell(child, "read line <&" + in + "; echo \"got $line\" >&" + out + "; sleep 1");

  // Nothing comes before the child has its line.
  std::string early;
  EXPECT_EQ(platform::readSome(child.parentEnd(1), early, Clock::now() + std::chrono::milliseconds(100)),
            ReadResult::TimedOut);
  EXPECT_TRUE(early.empty());

  ASSERT_TRUE(platform::writeAll(child.parentEnd(0), "hello there\n"));
  EXPECT_EQ(readLine(child.parentEnd(1)), "got hello there\n");
  std::string rest;
  EXPECT_EQ(platform::readSome(child.parentEnd(1), rest), ReadResult::End);
  EXPECT_EQ(waitLong(child).code, 0);

  // Once the reader is gone, a write fails instead of ending this program.
  platform::ignoreBrokenPipes();
  EXPECT_FALSE(platform::writeAll(child.parentEnd(0), std::string(1 << 16, 'x')));
  child.closeParentEnd(0);
  EXPECT_EQ(child.parentEnd(0), platform::kNoPipe);
}

TEST(ChildProcess, ACopyRunsTheFunctionAndEndsWithItsStatusASignalOrItsTimeLimit) {
  if (!platform::canFork()) GTEST_SKIP() << "this system cannot fork";
  ChildProcess passed;
  std::string error;
  ASSERT_TRUE(passed.addPipe(PipeDirection::FromChild, error)) << error;
  ASSERT_TRUE(passed.startCopy(
      [](const std::vector<platform::PipeEnd>& ends) {
        platform::writeAll(ends.at(0), "from the copy\n");
        return 3;
      },
      10, error))
      << error;
  EXPECT_EQ(readLine(passed.parentEnd(0)), "from the copy\n");
  const ChildExit three = waitLong(passed);
  EXPECT_EQ(three.how, ChildExit::How::Exited);
  EXPECT_EQ(three.code, 3);

  ChildProcess aborted;
  ASSERT_TRUE(aborted.startCopy([](const std::vector<platform::PipeEnd>&) -> int { std::abort(); }, 10, error));
  const ChildExit abort = waitLong(aborted);
  EXPECT_EQ(abort.how, ChildExit::How::Signalled);
  EXPECT_EQ(abort.code, SIGABRT);

  ChildProcess hung;
  const auto start = Clock::now();
  ASSERT_TRUE(hung.startCopy(
      [](const std::vector<platform::PipeEnd>&) {
        for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
        return 0;
      },
      1, error));
  EXPECT_EQ(waitLong(hung).how, ChildExit::How::Killed);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
}

TEST(ChildProcess, DestroyingARunningChildKillsAndReapsIt) {
  if (!haveShell() || !std::filesystem::exists("/proc/self")) GTEST_SKIP() << "no POSIX shell or /proc";
  std::string pid;
  {
    ChildProcess child;
    std::string error;
    ASSERT_TRUE(child.addPipe(PipeDirection::FromChild, error)) << error;
    startShell(child, "echo $$ >&" + std::to_string(child.childName(0)) + "; exec sleep 60");
    pid = readLine(child.parentEnd(0));
    ASSERT_FALSE(pid.empty());
    pid.pop_back();
    EXPECT_TRUE(std::filesystem::exists("/proc/" + pid));
  }
  // Killed and waited for: not even a zombie is left.
  EXPECT_FALSE(std::filesystem::exists("/proc/" + pid));
}

#ifdef __linux__
// A copy renders for the process that made it: when that process is killed
// outright, the copy ends too instead of running on unseen.
TEST(ChildProcess, ACopyEndsWithTheProcessThatMadeIt) {
  std::string error;
  ChildProcess middle;
  ASSERT_TRUE(middle.addPipe(PipeDirection::FromChild, error)) << error;
  ASSERT_TRUE(middle.startCopy(
      [](const std::vector<platform::PipeEnd>& ends) {
        ChildProcess copy;
        std::string inner;
        const platform::PipeEnd report = ends.at(0);
        if (!copy.startCopy(
                [report](const std::vector<platform::PipeEnd>&) {
                  platform::writeAll(report, std::to_string(::getpid()) + "\n");
                  for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
                  return 0;
                },
                60, inner))
          return 1;
        // Killed once the copy has said who it is.
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        std::raise(SIGKILL);
        return 0;
      },
      30, error))
      << error;
  std::string pid = readLine(middle.parentEnd(0));
  ASSERT_FALSE(pid.empty());
  pid.pop_back();
  EXPECT_EQ(waitLong(middle).how, ChildExit::How::Signalled);
  // Gone, or a zombie waiting for whoever adopted it.
  const auto running = [&] {
    std::FILE* status = std::fopen(("/proc/" + pid + "/stat").c_str(), "r");
    if (!status) return false;
    char state = 0;
    const bool read = std::fscanf(status, "%*d %*s %c", &state) == 1;
    std::fclose(status);
    return read && state != 'Z' && state != 'X';
  };
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  while (running() && Clock::now() < deadline) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_FALSE(running()) << "the copy " << pid << " outlived the process that made it";
}
#endif

}  // namespace
