// The plug-in library as the host finds and loads it: its resource section,
// the PIPL bytes, string lists and dialog templates read from the file, the
// refusal of damaged files, and the real library driven through its
// exported PluginMain, unloaded and reloaded.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "hostapp/session/suite_installation.h"
#include "hostapp/loader/plugin_loader.h"
#include "hostapp/platform/library.h"
#include "hostapp/session/plugin_session.h"

namespace {

std::vector<uint8_t> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A copy of the built plug-in in which the first occurrence of `from` is
// replaced by `to` (same length).
std::string damagedCopy(const std::string& name, const std::string& from, const std::string& to) {
  std::vector<uint8_t> bytes = readFile(SPIRAL_PLUGIN_FILE);
  auto at = std::search(bytes.begin(), bytes.end(), from.begin(), from.end());
  EXPECT_NE(at, bytes.end()) << from;
  if (at != bytes.end()) std::copy(to.begin(), to.end(), at);
  const std::string path = (std::filesystem::temp_directory_path() / name).string();
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
  return path;
}

std::string refusal(const std::string& path) {
  try {
    host::scanPluginFile(path);
  } catch (const host::LoadError& error) {
    return error.what();
  }
  return "";
}

const host::ResourceTable& builtResources() {
  static const host::ResourceTable table = host::ResourceTable::fromLibrary(SPIRAL_PLUGIN_FILE);
  return table;
}

TEST(PluginResources, PiplBytesAreExactlyTheTable) {
  const host::Resource* pipl =
      builtResources().find(host::ResourceName::of("PIPL"), host::ResourceName::of(16000), 1033);
  ASSERT_NE(pipl, nullptr);
  EXPECT_EQ(pipl->language, 1033);
  const std::string expected = std::string("\x01\x00", 2) + std::string(4, '\0') + std::string("\x03\x00\x00\x00", 4) +
                               "EBDAdnik" + std::string(4, '\0') + std::string("\x04\x00\x00\x00", 4) + "AEPS" +
                               "EBDAsrvi" + std::string(4, '\0') + std::string("\x04\x00\x00\x00", 4) +
                               std::string("\x02\x00\x00\x00", 4) + "EBDA68xw" + std::string(4, '\0') +
                               std::string("\x0C\x00\x00\x00", 4) + std::string("PluginMain\0\0", 12);
  ASSERT_EQ(expected.size(), 78u);
  EXPECT_EQ(std::string(pipl->data.begin(), pipl->data.end()), expected);
}

TEST(PluginResources, StringListsAndDialogsReadFromTheFile) {
  const host::ResourceTable& r = builtResources();
  EXPECT_EQ(r.string(16000), "<First Mac index is 1>");
  EXPECT_EQ(r.string(16001), "TQV <Create>");
  EXPECT_EQ(r.string(16002), "Spiral...");
  EXPECT_EQ(r.string(16003), std::nullopt);
  EXPECT_EQ(r.string(16050), "<Mac strings begin at index 1>");
  EXPECT_EQ(r.string(16061), "<Others>");
  EXPECT_EQ(r.string(16062), "The filter cannot complete because of an unknown error.");
  EXPECT_EQ(r.string(16063), std::nullopt);

  std::optional<host::DialogTemplate> error = r.dialog(16051);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->caption, "Plug-in Error");
  EXPECT_EQ(error->font, "MS Sans Serif");
  EXPECT_EQ(error->pointSize, 8);
  EXPECT_EQ(error->width, 185);
  EXPECT_EQ(error->height, 92);
  ASSERT_EQ(error->items.size(), 4u);
  const host::DialogItemTemplate& ok = error->items[0];
  EXPECT_EQ(ok.id, 1);
  EXPECT_EQ(ok.title.text, "OK");
  EXPECT_EQ(std::vector<int>({ok.x, ok.y, ok.width, ok.height}), std::vector<int>({127, 65, 50, 14}));
  EXPECT_EQ(error->items[3].style & 0x1F, 7u);  // the black frame

  std::optional<host::DialogTemplate> about = r.dialog(16050);
  ASSERT_TRUE(about);
  EXPECT_EQ(about->caption, "Spiral Plug-in About");
  ASSERT_EQ(about->items.size(), 10u);  // "&OK", eight texts, the icon
  EXPECT_EQ(about->items[1].title.text, "Spiral");
  EXPECT_EQ(about->items[1].y, 7);
  EXPECT_EQ(about->items[8].y, 124);
  EXPECT_TRUE(about->items[9].title.isNumber);
  EXPECT_EQ(about->items[9].title.number, 16051);
  EXPECT_NE(r.find(host::ResourceName::of(host::kGroupIconResource), host::ResourceName::of(16051)), nullptr);

  std::optional<host::DialogTemplate> options = r.dialog(16100);
  ASSERT_TRUE(options);
  EXPECT_EQ(options->caption, "Spiral Plugin");
  EXPECT_TRUE(options->items.empty());
}

TEST(PluginResources, MalformedResourceDataIsRefusedNotOverrun) {
  const std::vector<uint8_t> truncated = {0, 0, 0, 0, 0x20, 0, 0, 0, 0xFF, 0xFF};
  EXPECT_THROW(host::ResourceTable::parse(truncated), host::ResourceError);
  const std::vector<uint8_t> shortPipl = {1, 0, 0, 0, 0, 0, 3, 0, 0, 0, 'E', 'B'};
  EXPECT_THROW(host::parsePipl(shortPipl), host::ResourceError);
  const std::vector<uint8_t> shortDialog = {0x40, 0, 0xC8, 0x80, 0, 0, 0, 0, 5, 0};
  EXPECT_THROW(host::parseDialogTemplate(shortDialog), host::ResourceError);
}

TEST(PluginLoading, BuiltPluginPassesTheChecks) {
  host::PluginFile file = host::scanPluginFile(SPIRAL_PLUGIN_FILE);
  EXPECT_EQ(file.entryName, "PluginMain");
}

TEST(PluginLoading, DamagedOrForeignFilesAreRefusedWithAReason) {
  EXPECT_NE(refusal(damagedCopy("spiral-kind.spx", "AEPS", "XXXX")).find("kind 'XXXX'"), std::string::npos);
  EXPECT_NE(refusal(damagedCopy("spiral-ivrs.spx", "EBDAsrvi", "EBDAsrvj")).find("interface version"),
            std::string::npos);
  EXPECT_NE(refusal(damagedCopy("spiral-pipl.spx", std::string("P\0I\0P\0L\0", 8), std::string("Q\0I\0P\0L\0", 8)))
                .find("no PIPL resource"),
            std::string::npos);
#ifdef _WIN32
  EXPECT_FALSE(refusal("/nonexistent/spiral.spx").empty());  // the system's own words
#else
  EXPECT_NE(refusal("/nonexistent/spiral.spx").find("it cannot be read: No such file or directory"), std::string::npos);
#endif
  const std::string text = (std::filesystem::temp_directory_path() / "spiral-text.spx").string();
  std::ofstream(text) << "not a library\n";
#ifdef _WIN32
  EXPECT_NE(refusal(text).find("it is not a Windows library"), std::string::npos);
#else
  EXPECT_NE(refusal(damagedCopy("spiral-rsrc.spx", ".rsrc", ".xsrc")).find("it has no .rsrc section"), std::string::npos);
  EXPECT_NE(refusal(text).find("it is not an ELF file"), std::string::npos);
#endif
  for (const std::string& message : {refusal(text), refusal(damagedCopy("k.spx", "AEPS", "XXXX"))}) {
    EXPECT_EQ(message.find('\n'), std::string::npos) << message;
  }
}

TEST(PluginLoading, UnresolvableEntryIsRefusedAtOpen) {
  // The PIPL names an entry the library does not export. The PIPL's 'wx86'
  // property is searched with its header: the export table names PluginMain too.
  const std::string path = damagedCopy("spiral-entry.spx", std::string("68xw\0\0\0\0\x0c\0\0\0PluginMain\0\0", 24),
                                       std::string("68xw\0\0\0\0\x0c\0\0\0PluginMane\0\0", 24));
  host::PluginLibrary library(host::scanPluginFile(path));
  try {
    library.open();
    FAIL() << "opened";
  } catch (const host::LoadError& error) {
    EXPECT_NE(std::string(error.what()).find("PluginMane cannot be resolved"), std::string::npos);
  }
  EXPECT_FALSE(library.isOpen());
}

// ---- The real library ---------------------------------------------------------

TEST(LoadedPlugin, DrivenThroughItsEntryPointAcrossUnloadAndReload) {
  host::HostOptions options;
  options.seed = 3;
  host::HostContext hostContext(options);
  host::installSuites(hostContext);
  host::PluginSession session(hostContext, host::scanPluginFile(SPIRAL_PLUGIN_FILE));
  ASSERT_EQ(session.startup(), kHostNoErr);
  ASSERT_NE(session.filter(), nullptr);
  void* globals = nullptr;

  ASSERT_EQ(session.chooseFilter(), kHostNoErr);
  const std::size_t art = hostContext.document().liveArtCount();
  EXPECT_GT(art, 0u);

  ASSERT_EQ(session.unload(), kHostNoErr);
  globals = session.globals();
  EXPECT_NE(globals, nullptr);
  // The library has really left the process.
  EXPECT_FALSE(host::platform::libraryIsLoaded(SPIRAL_PLUGIN_FILE));
  EXPECT_EQ(session.about(), kHostCantHappenErr);  // nothing to send to

  ASSERT_EQ(session.reload(), kHostNoErr);
  EXPECT_TRUE(host::platform::libraryIsLoaded(SPIRAL_PLUGIN_FILE));
  EXPECT_EQ(session.globals(), globals);
  // The reloaded plug-in knows its filter again (the globals came back), so
  // Get Parameters opens its dialog; a repeat draws once more.
  hostContext.service<host::DialogManager>().clearShown();
  EXPECT_EQ(session.getParameters(), kHostNoErr);
  ASSERT_FALSE(hostContext.service<host::DialogManager>().shown().empty());
  EXPECT_EQ(hostContext.service<host::DialogManager>().shown().back().name, "Vrix_Spiral");
  EXPECT_EQ(session.go(), kHostNoErr);

  ASSERT_EQ(session.shutdown(), kHostNoErr);
  EXPECT_EQ(session.globals(), nullptr);
  EXPECT_EQ(hostContext.memory().liveBlocks(), 0u);
  EXPECT_EQ(hostContext.suites().totalRefCount(), 0);
}

}  // namespace
