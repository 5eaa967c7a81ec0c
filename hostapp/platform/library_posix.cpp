#include "hostapp/platform/library.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <fstream>

namespace host::platform {
namespace {

std::string realPath(const std::string& path) {
  char* resolved = ::realpath(path.c_str(), nullptr);
  if (!resolved) return path;
  std::string result(resolved);
  std::free(resolved);
  return result;
}

}  // namespace

LibraryHandle openLibrary(const std::string& path, std::string& error) {
  dlerror();
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* reason = dlerror();
    error = reason ? reason : "dlopen failed";
  }
  return handle;
}

void* findSymbol(LibraryHandle library, const std::string& name) { return dlsym(library, name.c_str()); }

void closeLibrary(LibraryHandle library) { dlclose(library); }

// A library the process holds is mapped: /proc/self/maps names its file.
bool libraryIsLoaded(const std::string& path) {
  const std::string file = realPath(path);
  std::ifstream maps("/proc/self/maps");
  std::string line;
  while (std::getline(maps, line)) {
    if (line.size() >= file.size() && line.compare(line.size() - file.size(), file.size(), file) == 0) return true;
  }
  return false;
}

std::string executablePath() {
  char exe[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", exe, sizeof exe - 1);
  if (length <= 0) return "";
  return std::string(exe, static_cast<std::size_t>(length));
}

}  // namespace host::platform
