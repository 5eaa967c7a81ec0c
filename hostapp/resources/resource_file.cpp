#include "hostapp/resources/resource_file.h"

#include <cstring>

#include "hostapp/io/file_input.h"

namespace host {
namespace {

// Little-endian reads with bounds checks; every overrun throws.
class ByteReader {
 public:
  ByteReader(std::span<const uint8_t> bytes, const char* what) : bytes_(bytes), what_(what) {}

  std::size_t position() const { return pos_; }
  std::size_t remaining() const { return bytes_.size() - pos_; }
  void seek(std::size_t pos) {
    if (pos > bytes_.size()) fail();
    pos_ = pos;
  }
  void align4() { seek(std::min(bytes_.size(), (pos_ + 3) & ~std::size_t{3})); }
  void skip(std::size_t n) { seek(need(n) + n); }

  uint8_t u8() { return bytes_[need(1)]; }
  uint16_t u16() {
    std::size_t at = need(2);
    return static_cast<uint16_t>(bytes_[at] | bytes_[at + 1] << 8);
  }
  uint32_t u32() {
    uint32_t low = u16();
    return low | static_cast<uint32_t>(u16()) << 16;
  }
  std::span<const uint8_t> take(std::size_t n) {
    std::size_t at = need(n);
    return bytes_.subspan(at, n);
  }

  // A zero-terminated UTF-16 string, as UTF-8.
  std::string utf16String() {
    std::u16string units;
    for (uint16_t unit = u16(); unit != 0; unit = u16()) units.push_back(static_cast<char16_t>(unit));
    return toUtf8(units);
  }

  // A number (0xFFFF and 16 bits) or a zero-terminated UTF-16 string; 0x0000
  // alone is an empty string.
  ResourceName nameOrNumber() {
    std::size_t start = pos_;
    if (u16() == 0xFFFF) return ResourceName::of(u16());
    seek(start);
    return ResourceName::of(utf16String());
  }

  static std::string toUtf8(const std::u16string& units) {
    std::string out;
    for (std::size_t k = 0; k < units.size(); ++k) {
      uint32_t c = units[k];
      if (c >= 0xD800 && c < 0xDC00 && k + 1 < units.size() && units[k + 1] >= 0xDC00 && units[k + 1] < 0xE000) {
        c = 0x10000 + ((c - 0xD800) << 10) + (units[++k] - 0xDC00);
      }
      if (c < 0x80) {
        out += static_cast<char>(c);
      } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
      } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
      } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
      }
    }
    return out;
  }

 private:
  std::size_t need(std::size_t n) {
    if (n > remaining()) fail();
    std::size_t at = pos_;
    pos_ += n;
    return at;
  }
  [[noreturn]] void fail() const { throw ResourceError(std::string("truncated ") + what_); }

  std::span<const uint8_t> bytes_;
  const char* what_;
  std::size_t pos_ = 0;
};

// Every bound is checked by subtraction from the size, never by adding to an
// offset read from the file, which could wrap round.
uint64_t readLittle(std::span<const uint8_t> bytes, uint64_t at, std::size_t width) {
  if (width > bytes.size() || at > bytes.size() - width) throw ResourceError("truncated ELF header");
  uint64_t value = 0;
  for (std::size_t b = 0; b < width; ++b) value |= static_cast<uint64_t>(bytes[at + b]) << (8 * b);
  return value;
}

constexpr uint32_t kDialogSetFont = 0x40;
constexpr uint32_t kDialogShellFont = 0x48;

}  // namespace

bool ResourceName::operator==(const ResourceName& other) const {
  return isNumber == other.isNumber && (isNumber ? number == other.number : text == other.text);
}

std::string ResourceName::describe() const { return isNumber ? std::to_string(number) : "\"" + text + "\""; }

const PiplProperty* Pipl::find(uint32_t vendor, uint32_t key) const {
  for (const PiplProperty& property : properties) {
    if (property.vendor == vendor && property.key == key) return &property;
  }
  return nullptr;
}

std::vector<uint8_t> readElfSection(const std::string& path, const std::string& sectionName) {
  std::string file;
  try {
    file = hostio::readInputFile(path, hostio::kPluginInput);
  } catch (const hostio::InputError& e) {
    throw ResourceError("it cannot be read: " + e.reason());
  }
  return elfSection(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(file.data()), file.size()), sectionName);
}

std::vector<uint8_t> elfSection(std::span<const uint8_t> bytes, const std::string& sectionName) {
  if (bytes.size() < 16 || std::memcmp(bytes.data(), "\x7f" "ELF", 4) != 0) {
    throw ResourceError("it is not an ELF file");
  }
  const bool is64 = bytes[4] == 2;
  if ((bytes[4] != 1 && !is64) || bytes[5] != 1) throw ResourceError("it is not a little-endian ELF file");

  const uint64_t shoff = readLittle(bytes, is64 ? 0x28 : 0x20, is64 ? 8 : 4);
  const uint64_t shentsize = readLittle(bytes, is64 ? 0x3A : 0x2E, 2);
  const uint64_t shnum = readLittle(bytes, is64 ? 0x3C : 0x30, 2);
  const uint64_t shstrndx = readLittle(bytes, is64 ? 0x3E : 0x32, 2);
  if (shnum == 0 || shstrndx >= shnum || shentsize < (is64 ? 0x28u : 0x18u)) {
    throw ResourceError("it has no section table");
  }

  struct Section {
    uint64_t name, type, offset, size;
  };
  // The whole table must lie in the file: shnum and shentsize are 16-bit, so
  // their product cannot overflow.
  if (shoff > bytes.size() || shnum * shentsize > bytes.size() - shoff) throw ResourceError("its section table is damaged");
  auto section = [&](uint64_t index) {
    const uint64_t at = shoff + index * shentsize;
    if (is64) {
      return Section{readLittle(bytes, at, 4), readLittle(bytes, at + 4, 4), readLittle(bytes, at + 0x18, 8),
                     readLittle(bytes, at + 0x20, 8)};
    }
    return Section{readLittle(bytes, at, 4), readLittle(bytes, at + 4, 4), readLittle(bytes, at + 0x10, 4),
                   readLittle(bytes, at + 0x14, 4)};
  };
  auto inFile = [&](const Section& s) { return s.offset <= bytes.size() && s.size <= bytes.size() - s.offset; };

  const Section names = section(shstrndx);
  if (!inFile(names)) throw ResourceError("its section table is damaged");
  constexpr uint64_t kNoBits = 8;
  for (uint64_t index = 0; index < shnum; ++index) {
    const Section s = section(index);
    if (s.name >= names.size) continue;
    const char* name = reinterpret_cast<const char*>(bytes.data() + names.offset + s.name);
    const std::size_t room = names.size - s.name;
    if (strnlen(name, room) == room || sectionName != name) continue;
    if (s.type == kNoBits || !inFile(s)) throw ResourceError("its section " + sectionName + " holds no data");
    return {bytes.begin() + s.offset, bytes.begin() + s.offset + s.size};
  }
  throw ResourceError("it has no " + sectionName + " section");
}

ResourceTable ResourceTable::parse(std::span<const uint8_t> bytes) {
  ResourceTable table;
  ByteReader in(bytes, "resource entry");
  while (in.remaining() >= 8) {
    const std::size_t start = in.position();
    const uint32_t dataSize = in.u32();
    const uint32_t headerSize = in.u32();
    if (headerSize < 16 || headerSize > in.remaining() + 8) throw ResourceError("damaged resource header");
    Resource resource;
    resource.type = in.nameOrNumber();
    resource.name = in.nameOrNumber();
    in.align4();
    in.skip(4 + 2);  // data version, memory flags
    resource.language = in.u16();
    in.seek(start + headerSize);
    std::span<const uint8_t> data = in.take(dataSize);
    resource.data.assign(data.begin(), data.end());
    in.align4();
    // The leading entry of every .res file is empty and marks the format.
    const bool marker = dataSize == 0 && resource.type == ResourceName::of(0) && resource.name == ResourceName::of(0);
    if (!marker) table.resources_.push_back(std::move(resource));
  }
  return table;
}

ResourceTable ResourceTable::fromResources(std::vector<Resource> resources) {
  ResourceTable table;
  table.resources_ = std::move(resources);
  return table;
}

const Resource* ResourceTable::find(const ResourceName& type, const ResourceName& name, uint16_t language) const {
  const Resource* anyLanguage = nullptr;
  for (const Resource& resource : resources_) {
    if (!(resource.type == type) || !(resource.name == name)) continue;
    if (resource.language == language) return &resource;
    if (!anyLanguage) anyLanguage = &resource;
  }
  return anyLanguage;
}

const Resource* ResourceTable::firstOfType(const ResourceName& type) const {
  for (const Resource& resource : resources_) {
    if (resource.type == type) return &resource;
  }
  return nullptr;
}

std::optional<std::string> ResourceTable::string(uint32_t id, uint16_t language) const {
  if (id > 0xFFFF) return std::nullopt;
  const Resource* block =
      find(ResourceName::of(kStringResource), ResourceName::of(static_cast<uint16_t>((id >> 4) + 1)), language);
  if (!block) return std::nullopt;
  ByteReader in(block->data, "string table");
  try {
    for (uint32_t k = 0; k < 16; ++k) {
      const uint16_t length = in.u16();
      std::u16string units;
      for (uint16_t c = 0; c < length; ++c) units.push_back(static_cast<char16_t>(in.u16()));
      if (k == (id & 15)) {
        if (length == 0) return std::nullopt;
        return ByteReader::toUtf8(units);
      }
    }
  } catch (const ResourceError&) {
    // A short block simply lacks its later strings.
  }
  return std::nullopt;
}

std::optional<DialogTemplate> ResourceTable::dialog(uint16_t id, uint16_t language) const {
  const Resource* resource = find(ResourceName::of(kDialogResource), ResourceName::of(id), language);
  if (!resource) return std::nullopt;
  return parseDialogTemplate(resource->data);
}

DialogTemplate parseDialogTemplate(std::span<const uint8_t> bytes) {
  ByteReader in(bytes, "dialog template");
  DialogTemplate dialog;
  const bool extended = bytes.size() >= 4 && in.u16() == 1 && in.u16() == 0xFFFF;
  uint16_t count = 0;
  if (extended) {
    in.skip(4 + 4);  // help id, extended style
    dialog.style = in.u32();
  } else {
    in.seek(0);
    dialog.style = in.u32();
    in.skip(4);  // extended style
  }
  count = in.u16();
  dialog.x = static_cast<int16_t>(in.u16());
  dialog.y = static_cast<int16_t>(in.u16());
  dialog.width = static_cast<int16_t>(in.u16());
  dialog.height = static_cast<int16_t>(in.u16());
  in.nameOrNumber();  // menu
  in.nameOrNumber();  // window class
  dialog.caption = in.utf16String();
  if (dialog.style & (kDialogSetFont | kDialogShellFont)) {
    dialog.pointSize = in.u16();
    if (extended) in.skip(2 + 1 + 1);  // weight, italic, character set
    dialog.font = in.utf16String();
  }
  for (uint16_t k = 0; k < count; ++k) {
    in.align4();
    DialogItemTemplate item;
    if (extended) {
      in.skip(4 + 4);  // help id, extended style
      item.style = in.u32();
    } else {
      item.style = in.u32();
      in.skip(4);  // extended style
    }
    item.x = static_cast<int16_t>(in.u16());
    item.y = static_cast<int16_t>(in.u16());
    item.width = static_cast<int16_t>(in.u16());
    item.height = static_cast<int16_t>(in.u16());
    item.id = extended ? static_cast<int32_t>(in.u32()) : static_cast<int16_t>(in.u16());
    item.windowClass = in.nameOrNumber();
    item.title = in.nameOrNumber();
    in.skip(in.u16());  // creation data
    dialog.items.push_back(std::move(item));
  }
  return dialog;
}

Pipl parsePipl(std::span<const uint8_t> bytes) {
  ByteReader in(bytes, "property list");
  Pipl pipl;
  pipl.version = in.u16();
  in.skip(4);  // reserved
  const uint32_t count = in.u32();
  for (uint32_t k = 0; k < count; ++k) {
    PiplProperty property;
    property.vendor = in.u32();
    property.key = in.u32();
    property.id = static_cast<int32_t>(in.u32());
    const uint32_t length = in.u32();
    std::span<const uint8_t> data = in.take(length);
    property.data.assign(data.begin(), data.end());
    in.skip(std::min<std::size_t>((4 - length % 4) % 4, in.remaining()));
    pipl.properties.push_back(std::move(property));
  }
  return pipl;
}

}  // namespace host
