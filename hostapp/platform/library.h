// The operating system's side of loading a plug-in library: open it, find a
// symbol, close it, and tell whether the process still has it loaded. One
// implementation per system (dlopen on POSIX, LoadLibrary on Windows),
// chosen at build time.
#pragma once

#include <string>

namespace host::platform {

// A loaded library; null when none.
using LibraryHandle = void*;

// Opens the library at `path` and runs its initialisers. On failure returns
// null and sets `error` to the system's reason.
LibraryHandle openLibrary(const std::string& path, std::string& error);
// The address of the exported function `name`, or null.
void* findSymbol(LibraryHandle library, const std::string& name);
void closeLibrary(LibraryHandle library);

// Whether the file at `path` is loaded into this process as a library.
bool libraryIsLoaded(const std::string& path);

// The full path of the running executable ("" when unknown).
std::string executablePath();

}  // namespace host::platform
