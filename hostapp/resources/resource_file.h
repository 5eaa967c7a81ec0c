// The plug-in's resources as the host reads them, found by type, id and
// language without running the library: on Windows those of the DLL, read
// with the system's resource functions; elsewhere the compiled Windows
// resources (.res form) stored in the library's ".rsrc" ELF section.
//
// .res form: a run of entries, each a header (data size, header size, type,
// name, data version, memory flags, language, version, characteristics) and
// its data, both padded to 4 bytes. Type and name are either 0xFFFF and a
// 16-bit number or a zero-terminated UTF-16 string.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace host {

class ResourceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr const char* kResourceSectionName = ".rsrc";
inline constexpr uint16_t kEnglishUS = 1033;

// Standard resource types.
inline constexpr uint16_t kIconResource = 3;
inline constexpr uint16_t kDialogResource = 5;
inline constexpr uint16_t kStringResource = 6;
inline constexpr uint16_t kGroupIconResource = 14;

// A resource type or name: a number, or text.
struct ResourceName {
  bool isNumber = true;
  uint16_t number = 0;
  std::string text;

  static ResourceName of(uint16_t number) { return {true, number, {}}; }
  static ResourceName of(std::string text) { return {false, 0, std::move(text)}; }
  bool operator==(const ResourceName& other) const;
  std::string describe() const;
};

struct Resource {
  ResourceName type;
  ResourceName name;
  uint16_t language = 0;
  std::vector<uint8_t> data;
};

// One control of a dialog template. Sizes are dialog units.
struct DialogItemTemplate {
  int32_t id = 0;
  uint32_t style = 0;
  int16_t x = 0, y = 0, width = 0, height = 0;
  ResourceName windowClass;  // 0x80 button, 0x81 edit, 0x82 static, ... or a class name
  ResourceName title;        // text, or a resource number (an icon)
};

struct DialogTemplate {
  uint32_t style = 0;
  int16_t x = 0, y = 0, width = 0, height = 0;
  std::string caption;
  uint16_t pointSize = 0;
  std::string font;
  std::vector<DialogItemTemplate> items;
};

// Plug-in property list: a version and properties of four-character codes.
struct PiplProperty {
  uint32_t vendor = 0;
  uint32_t key = 0;
  int32_t id = 0;
  std::vector<uint8_t> data;
};

struct Pipl {
  uint16_t version = 0;
  std::vector<PiplProperty> properties;

  const PiplProperty* find(uint32_t vendor, uint32_t key) const;
};

// Four-character code with the first character in the most significant byte.
constexpr uint32_t fourCharCode(const char (&text)[5]) {
  return (uint32_t(uint8_t(text[0])) << 24) | (uint32_t(uint8_t(text[1])) << 16) |
         (uint32_t(uint8_t(text[2])) << 8) | uint32_t(uint8_t(text[3]));
}

// The bytes of the named section of an ELF file (32- or 64-bit,
// little-endian). Throws ResourceError when the file is not such an ELF file
// or has no such section; its message speaks of the file as "it".
// The file is read whole, up to the plug-in bound (a regular file only).
std::vector<uint8_t> readElfSection(const std::string& path, const std::string& sectionName);
// The same for the bytes of an ELF file in memory.
std::vector<uint8_t> elfSection(std::span<const uint8_t> file, const std::string& sectionName);

class ResourceTable {
 public:
  ResourceTable() = default;
  // Parses .res bytes; throws ResourceError on a malformed entry.
  static ResourceTable parse(std::span<const uint8_t> bytes);
  // The resources of a plug-in library, read from the file without running
  // it: on Windows through the system's resource functions, elsewhere from
  // the library's .rsrc ELF section.
  static ResourceTable fromLibrary(const std::string& path);
  static ResourceTable fromResources(std::vector<Resource> resources);

  const std::vector<Resource>& all() const { return resources_; }
  // The resource of this type and name in `language`; when there is none in
  // that language, the first one of this type and name in any language.
  const Resource* find(const ResourceName& type, const ResourceName& name, uint16_t language = kEnglishUS) const;
  // The first resource of a type, in the order of the file.
  const Resource* firstOfType(const ResourceName& type) const;

  // String resource `id` (string tables hold 16 strings per block).
  std::optional<std::string> string(uint32_t id, uint16_t language = kEnglishUS) const;
  // Dialog resource `id`; throws ResourceError when it is malformed.
  std::optional<DialogTemplate> dialog(uint16_t id, uint16_t language = kEnglishUS) const;

 private:
  std::vector<Resource> resources_;
};

// Throws ResourceError when the bytes are not a property list.
Pipl parsePipl(std::span<const uint8_t> bytes);

// DLGTEMPLATE or DLGTEMPLATEEX; throws ResourceError when malformed.
DialogTemplate parseDialogTemplate(std::span<const uint8_t> bytes);

}  // namespace host
