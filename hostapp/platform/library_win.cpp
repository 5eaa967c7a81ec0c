#include <windows.h>

#include <filesystem>

#include "hostapp/platform/library.h"
#include "hostapp/platform/windows_text.h"

namespace host::platform {
namespace {

// LoadLibrary searches the system's paths for a bare name; the host means
// the file it named.
std::wstring fullPath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(std::filesystem::path(widen(path)), error);
  return error ? widen(path) : absolute.wstring();
}

}  // namespace

LibraryHandle openLibrary(const std::string& path, std::string& error) {
  // No error boxes: a library that fails to load is a refusal, not a dialog.
  const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE module = LoadLibraryExW(fullPath(path).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  const DWORD code = GetLastError();
  SetErrorMode(previous);
  if (!module) error = windowsErrorText(code);
  return reinterpret_cast<LibraryHandle>(module);
}

void* findSymbol(LibraryHandle library, const std::string& name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name.c_str()));
}

void closeLibrary(LibraryHandle library) { FreeLibrary(static_cast<HMODULE>(library)); }

bool libraryIsLoaded(const std::string& path) { return GetModuleHandleW(fullPath(path).c_str()) != nullptr; }

std::string executablePath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return "";
    if (length < buffer.size()) return narrow(buffer.substr(0, length));
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace host::platform
