#include "hostapp/loader/plugin_loader.h"

#include <cstring>

#include "hostapp/io/file_input.h"
#include "hostapp/platform/files.h"
#include "hostapp/platform/library.h"

namespace host {
namespace {

constexpr uint32_t kAdobeVendor = fourCharCode("ADBE");
constexpr uint32_t kKindKey = fourCharCode("kind");
constexpr uint32_t kInterfaceVersionKey = fourCharCode("ivrs");
constexpr uint32_t kEntryPointKey = fourCharCode("wx86");

uint32_t littleWord(const std::vector<uint8_t>& data) {
  return uint32_t(data[0]) | uint32_t(data[1]) << 8 | uint32_t(data[2]) << 16 | uint32_t(data[3]) << 24;
}

std::string codeText(uint32_t code) {
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) {
    char c = static_cast<char>(code >> shift);
    text += (c >= 0x20 && c < 0x7F) ? c : '?';
  }
  return text;
}

}  // namespace

std::string checkPipl(const Pipl& pipl) {
  const PiplProperty* kind = pipl.find(kAdobeVendor, kKindKey);
  if (!kind || kind->data.size() != 4) throw LoadError("its property list names no plug-in kind");
  if (littleWord(kind->data) != kPluginKind) {
    throw LoadError("it is a plug-in of kind '" + codeText(littleWord(kind->data)) + "', not 'SPEA'");
  }
  const PiplProperty* version = pipl.find(kAdobeVendor, kInterfaceVersionKey);
  if (!version || version->data.size() != 4) throw LoadError("its property list names no interface version");
  if (static_cast<int32_t>(littleWord(version->data)) != kPluginInterfaceVersion) {
    throw LoadError("it needs interface version " + std::to_string(static_cast<int32_t>(littleWord(version->data))) +
                    ", not 2");
  }
  const PiplProperty* entry = pipl.find(kAdobeVendor, kEntryPointKey);
  if (!entry) throw LoadError("its property list names no entry point");
  std::string name(entry->data.begin(), entry->data.end());
  name.resize(strnlen(name.c_str(), name.size()));
  if (name.empty()) throw LoadError("its property list names an empty entry point");
  return name;
}

PluginFile scanPluginFile(const std::string& path) {
  PluginFile file;
  file.path = path;
  const std::string refused = "refused " + hostio::printable(path) + ": ";
  try {
    file.resources = ResourceTable::fromLibrary(path);
    const Resource* pipl = file.resources.firstOfType(ResourceName::of("PIPL"));
    if (!pipl) throw LoadError("it has no PIPL resource");
    file.entryName = checkPipl(parsePipl(pipl->data));
  } catch (const ResourceError& error) {
    throw LoadError(refused + error.what());
  } catch (const LoadError& error) {
    throw LoadError(refused + error.what());
  }
  return file;
}

void PluginLibrary::open() {
  if (handle_) return;
  // A name without a folder would make the system search its library path;
  // the file opened must be the one whose resources were checked.
  const bool bare = file_.path.find_first_of(platform::pathSeparators()) == std::string::npos;
  const std::string path = bare ? "./" + file_.path : file_.path;
  std::string error;
  void* handle = platform::openLibrary(path, error);
  if (!handle) throw LoadError("refused " + hostio::printable(file_.path) + ": " + hostio::printable(error));
  void* symbol = platform::findSymbol(handle, file_.entryName);
  if (!symbol) {
    platform::closeLibrary(handle);
    throw LoadError("refused " + hostio::printable(file_.path) + ": its entry point " +
                    hostio::printable(file_.entryName) + " cannot be resolved");
  }
  handle_ = handle;
  entry_ = reinterpret_cast<PluginMainProc>(symbol);
}

void PluginLibrary::close() {
  if (!handle_) return;
  platform::closeLibrary(handle_);
  handle_ = nullptr;
  entry_ = nullptr;
}

std::string defaultPluginPath() {
  const std::string exe = platform::executablePath();
  if (exe.empty()) return kPluginFileName;
  return exe.substr(0, exe.find_last_of("/\\") + 1) + kPluginFileName;
}

}  // namespace host
