#include <windows.h>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <thread>

#include "hostapp/platform/library.h"
#include "hostapp/platform/windows_text.h"
#include "hostapp/validator/child_process.h"

namespace validator {
namespace detail {

void writeAll(std::intptr_t channel, const std::string& bytes) {
  HANDLE pipe = reinterpret_cast<HANDLE>(channel);
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    if (!WriteFile(pipe, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written, nullptr) ||
        written == 0)
      return;
    done += written;
  }
}

std::string describeDeath(const ChildOutcome& outcome) {
  char code[16];
  std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(outcome.exitStatus));
  return std::string("exited with status ") + code + " (a crash; see stderr)";
}

}  // namespace detail

namespace {

// One argument as the C runtime's command-line parser reads it back.
std::wstring quoted(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) return argument;
  std::wstring out = L"\"";
  std::size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, L'\\');
  return out + L"\"";
}

}  // namespace

ChildOutcome runInChild(const std::function<bool(ChildReport&)>&, unsigned timeoutSeconds,
                        const std::vector<std::string>& rerun) {
  using host::platform::widen;
  ChildOutcome outcome;
  const std::string exe = host::platform::executablePath();
  if (rerun.empty() || exe.empty()) {
    outcome.notes.push_back("cannot run the check in a child: no command line to run it again");
    return outcome;
  }
  std::cout.flush();
  std::cerr.flush();
  std::fflush(nullptr);

  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
    outcome.notes.push_back("cannot make a pipe: " + host::platform::windowsErrorText(GetLastError()));
    return outcome;
  }
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

  std::wstring commandLine = quoted(widen(exe));
  for (const std::string& argument : rerun) commandLine += L" " + quoted(widen(argument));
  commandLine += L" " + widen(kChildReportOption) + L" " +
                 std::to_wstring(static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(writeEnd)));

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const auto start = std::chrono::steady_clock::now();
  // A crashing child ends with its exception code instead of opening an
  // error box.
  const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  const BOOL started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                      &startup, &process);
  const DWORD startError = GetLastError();
  SetErrorMode(previousMode);
  CloseHandle(writeEnd);
  if (!started) {
    CloseHandle(readEnd);
    outcome.notes.push_back("cannot start a child: " + host::platform::windowsErrorText(startError));
    return outcome;
  }
  CloseHandle(process.hThread);

  // The pipe is read on a thread of its own, so the wait below keeps the
  // time limit while the child writes.
  std::string received;
  std::thread reader([&] {
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &n, nullptr) && n > 0) received.append(buffer, n);
  });
  const DWORD limit = timeoutSeconds > 4000000 ? INFINITE : static_cast<DWORD>(timeoutSeconds) * 1000;
  const bool timedOut = WaitForSingleObject(process.hProcess, limit) == WAIT_TIMEOUT;
  if (timedOut) {
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, INFINITE);
  }
  reader.join();
  CloseHandle(readEnd);
  outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  takeReportLines(received, outcome);

  DWORD exitCode = 1;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hProcess);
  if (timedOut) {
    outcome.ending = ChildOutcome::Ending::TimedOut;
  } else {
    settleEnding(outcome, static_cast<int>(exitCode));
  }
  return outcome;
}

}  // namespace validator
