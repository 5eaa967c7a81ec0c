#include <windows.h>

#include <cstdio>
#include <iostream>

#include "hostapp/platform/child_process.h"
#include "hostapp/platform/windows_text.h"

namespace host::platform {
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

HANDLE handleOf(std::intptr_t value) { return reinterpret_cast<HANDLE>(value); }

}  // namespace

std::string describeExit(const ChildExit& exit) {
  if (exit.how == ChildExit::How::Killed) return "was stopped";
  char code[16];
  std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(exit.code));
  return std::string("exited with status ") + code;
}

const char* abnormalExitMeaning() { return "a crash"; }

bool canFork() { return false; }

bool ChildProcess::addPipe(PipeDirection direction, std::string& error) {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
    error = windowsErrorText(GetLastError());
    return false;
  }
  const bool toChild = direction == PipeDirection::ToChild;
  HANDLE parent = toChild ? writeEnd : readEnd;
  HANDLE child = toChild ? readEnd : writeEnd;
  // Only the child's end is handed down.
  SetHandleInformation(parent, HANDLE_FLAG_INHERIT, 0);
  pipes_.push_back({direction, reinterpret_cast<PipeEnd>(parent), reinterpret_cast<PipeEnd>(child)});
  return true;
}

PipeEnd ChildProcess::childName(std::size_t k) const { return pipes_[k].child; }

void ChildProcess::closeChildEnds() {
  for (Pipe& pipe : pipes_) closePipe(pipe.child);
}

bool ChildProcess::start(const std::string& program, const std::vector<std::string>& arguments, std::string& error) {
  std::cout.flush();
  std::cerr.flush();
  std::fflush(nullptr);
  std::wstring commandLine = quoted(widen(program));
  for (const std::string& argument : arguments) commandLine += L" " + quoted(widen(argument));

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  // A crashing child ends with its exception code instead of opening an
  // error box.
  const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  const BOOL started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                      &startup, &process);
  const DWORD startError = GetLastError();
  SetErrorMode(previousMode);
  closeChildEnds();
  if (!started) {
    error = windowsErrorText(startError);
    return false;
  }
  CloseHandle(process.hThread);
  process_ = reinterpret_cast<std::intptr_t>(process.hProcess);
  running_ = true;
  return true;
}

bool ChildProcess::startCopy(const std::function<int(const std::vector<PipeEnd>&)>&, unsigned, std::string& error) {
  error = "this system cannot fork";
  return false;
}

std::optional<ChildExit> ChildProcess::wait(std::optional<std::chrono::steady_clock::time_point> deadline) {
  if (!running_) return exit_;
  HANDLE process = handleOf(process_);
  DWORD limit = INFINITE;
  if (deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(*deadline - std::chrono::steady_clock::now()).count();
    limit = left <= 0 ? 0 : left >= INFINITE ? INFINITE - 1 : static_cast<DWORD>(left);
  }
  if (WaitForSingleObject(process, limit) == WAIT_TIMEOUT) return std::nullopt;
  DWORD code = 1;
  GetExitCodeProcess(process, &code);
  CloseHandle(process);
  running_ = false;
  process_ = -1;
  exit_ = ChildExit{killed_ ? ChildExit::How::Killed : ChildExit::How::Exited, static_cast<int>(code)};
  return exit_;
}

void ChildProcess::kill() {
  if (!running_) return;
  TerminateProcess(handleOf(process_), 1);
  killed_ = true;
}

}  // namespace host::platform
