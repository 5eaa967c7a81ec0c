#include "hostapp/server/server_module.h"

#include <iostream>
#include <string>

#include "hostapp/platform/library.h"

namespace server {
namespace {

// The entry point `name` of the library beside the program, or null with
// the reason in `error`. The library stays loaded for the rest of the run.
void* entry(const char* name, std::string& error) {
  std::string path = host::platform::executablePath();
  path = path.substr(0, path.find_last_of("/\\") + 1) + kServerModuleName;
  std::string reason;
  host::platform::LibraryHandle library = host::platform::openLibrary(path, reason);
  if (!library) {
    error = "cannot load the server library (" + reason + ")";
    return nullptr;
  }
  void* found = host::platform::findSymbol(library, name);
  if (!found) error = "the server library " + path + " has no " + name;
  return found;
}

}  // namespace

int serveThroughModule(const ServeOptions& options, std::ostream& out, std::ostream& err) {
  std::string error;
  const auto serve = reinterpret_cast<ServeEntry>(entry(kServeEntry, error));
  if (!serve) {
    err << "spiral-host: " << error << ": `serve` is not available\n";
    return 2;
  }
  return serve(&options, &out, &err);
}

int sessionChildThroughModule(const SessionOptions& options, int inFd, int outFd) {
  std::string error;
  const auto child = reinterpret_cast<SessionChildEntry>(entry(kSessionChildEntry, error));
  if (!child) {
    std::cerr << "spiral-host: " << error << "\n";
    return 2;
  }
  return child(&options, inFd, outFd);
}

}  // namespace server
