#include <windows.h>

#include "hostapp/platform/windows_text.h"
#include "hostapp/resources/resource_file.h"

namespace host {
namespace {

ResourceName nameOf(LPCWSTR name) {
  if (IS_INTRESOURCE(name)) return ResourceName::of(static_cast<uint16_t>(reinterpret_cast<ULONG_PTR>(name)));
  return ResourceName::of(platform::narrow(name));
}

struct Listing {
  std::vector<Resource> resources;
};

BOOL CALLBACK onLanguage(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language, LONG_PTR param) {
  Listing& listing = *reinterpret_cast<Listing*>(param);
  HRSRC found = FindResourceExW(module, type, name, language);
  if (!found) return TRUE;
  HGLOBAL loaded = LoadResource(module, found);
  const auto* bytes = static_cast<const uint8_t*>(loaded ? LockResource(loaded) : nullptr);
  const DWORD size = SizeofResource(module, found);
  Resource resource;
  resource.type = nameOf(type);
  resource.name = nameOf(name);
  resource.language = language;
  if (bytes) resource.data.assign(bytes, bytes + size);
  listing.resources.push_back(std::move(resource));
  return TRUE;
}

BOOL CALLBACK onName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR param) {
  EnumResourceLanguagesW(module, type, name, onLanguage, param);
  return TRUE;
}

BOOL CALLBACK onType(HMODULE module, LPWSTR type, LONG_PTR param) {
  EnumResourceNamesW(module, type, onName, param);
  return TRUE;
}

}  // namespace

// The DLL is mapped as a data file: nothing of it runs, not even DllMain.
ResourceTable ResourceTable::fromLibrary(const std::string& path) {
  const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE module = LoadLibraryExW(platform::widen(path).c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  const DWORD code = GetLastError();
  SetErrorMode(previous);
  if (!module) {
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) throw ResourceError("cannot open it");
    throw ResourceError("it is not a Windows library: " + platform::windowsErrorText(code));
  }
  Listing listing;
  const BOOL listed = EnumResourceTypesW(module, onType, reinterpret_cast<LONG_PTR>(&listing));
  FreeLibrary(module);
  if (!listed && listing.resources.empty()) throw ResourceError("it has no resources");
  return fromResources(std::move(listing.resources));
}

}  // namespace host
