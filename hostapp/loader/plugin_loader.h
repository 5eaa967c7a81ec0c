// Finding and loading a plug-in the way the host does: read the library's
// resources from the file, check its property list (kind 'SPEA', interface
// version 2, entry point name under 'wx86'), then open the library and
// resolve the entry point by that name. Nothing of the plug-in runs before
// its property list has been accepted.
#pragma once

#include <stdexcept>
#include <string>

#include "hostapp/resources/resource_file.h"
#include "shell/host/basic_suite.h"

namespace host {

// Its message is the one-line reason for refusing a plug-in file.
class LoadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr uint32_t kPluginKind = fourCharCode("SPEA");
inline constexpr int32_t kPluginInterfaceVersion = 2;
// The plug-in's file name, on every system: on Windows it is a DLL.
inline constexpr const char* kPluginFileName = "spiral.spx";

// A plug-in file that passed the property-list checks.
struct PluginFile {
  std::string path;
  ResourceTable resources;
  std::string entryName;
};

// Reads and checks the file's resources. Throws LoadError.
PluginFile scanPluginFile(const std::string& path);

// The property list's entry point name; throws LoadError when the list is
// not that of a filter plug-in of interface version 2.
std::string checkPipl(const Pipl& pipl);

// The library of a scanned plug-in, opened and closed for real.
class PluginLibrary {
 public:
  explicit PluginLibrary(PluginFile file) : file_(std::move(file)) {}
  ~PluginLibrary() { close(); }
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  // Opens the library and resolves the entry point. Throws LoadError.
  void open();
  void close();
  bool isOpen() const { return handle_ != nullptr; }
  PluginMainProc entry() const { return entry_; }
  const PluginFile& file() const { return file_; }

 private:
  PluginFile file_;
  void* handle_ = nullptr;
  PluginMainProc entry_ = nullptr;
};

// The plug-in built beside the running executable.
std::string defaultPluginPath();

}  // namespace host
