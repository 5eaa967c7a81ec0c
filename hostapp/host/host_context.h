// One stand-in host: its document, random service, call gate, suite
// registry, the memory it hands out and the filters plug-ins registered. The
// C suite adapters act on the active host, HostContext::current(), which an
// Activation sets for the current thread; with no active host every
// operation fails. State lives in the object, so several hosts can live in
// one process (one active per thread at a time).
//
// A host holds state only: its registry starts empty, and the drawing
// session (hostapp/session) registers the suites a plug-in is given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <typeindex>
#include <unordered_map>
#include <vector>

#include "hostapp/host/call_gate.h"
#include "hostapp/host/host_memory.h"
#include "hostapp/host/random_service.h"
#include "hostapp/host/suite_registry.h"
#include "hostapp/model/document.h"
#include "hostapp/model/page.h"
#include "shell/host/basic_suite.h"

namespace host {

struct HostOptions {
  Point pageSize = kDefaultPageSize;
  ColorModel colorModel = ColorModel::Rgb;
  std::optional<std::uint64_t> seed;  // unset: seeded from the clock
  std::size_t memoryBudget = kDefaultMemoryBudget;
  std::uint64_t callBudget = kDefaultCallBudget;  // host calls per message
  std::optional<Point> viewCentre;  // unset: the page centre
  float viewZoom = 1;
  int32_t viewWidth = 1024;  // view window in pixels
  int32_t viewHeight = 768;
};

// A filter a plug-in registered, with the menu item made for it.
struct FilterRecord {
  std::uint32_t id = 0;
  PluginRef plugin = nullptr;
  std::string name;
  std::string category;
  std::string title;
  int32_t options = 0;
  std::uint32_t menuItem = 0;  // id of its MenuItemRecord
};

// A menu item and the automatic-update values last given for it.
struct MenuItemRecord {
  std::uint32_t id = 0;
  std::uint32_t filter = 0;
  bool automaticUpdate = false;
  int32_t action = 0;
  int32_t conditions[6] = {};  // in artwork, not in artwork, selected, not selected, true, not true
};

class HostContext {
 public:
  explicit HostContext(const HostOptions& options = {});
  ~HostContext();
  HostContext(const HostContext&) = delete;
  HostContext& operator=(const HostContext&) = delete;

  // The active host of this thread, or null.
  static HostContext* current() { return active_; }

  // Makes a host the active one until it goes out of scope, then restores
  // the one active before.
  class [[nodiscard]] Activation {
   public:
    explicit Activation(HostContext* host);
    ~Activation();
    Activation(const Activation&) = delete;
    Activation& operator=(const Activation&) = delete;

   private:
    HostContext* previous_;
  };
  Activation activate() { return Activation(this); }

  Document& document() { return document_; }
  const Document& document() const { return document_; }
  RandomService& random() { return random_; }
  CallGate& gate() { return gate_; }
  const CallGate& gate() const { return gate_; }
  SuiteRegistry& suites() { return suites_; }
  HostMemory& memory() { return memory_; }
  // The registered basic suite, handed to plug-ins in every message header;
  // null until the suites are registered.
  const BasicSuiteV4* basicSuite() const;

  // Starts a host message: undo then takes back only what changes from
  // here on.
  void beginMessage() {
    document_.beginMessage();
    gate_.beginMessage();
  }

  // Filters and menu items plug-ins registered.
  std::vector<FilterRecord>& filters() { return filters_; }
  std::vector<MenuItemRecord>& menuItems() { return menuItems_; }
  std::uint32_t nextRecordId() { return nextRecordId_++; }
  // What SP Access reports as the plug-in's library path.
  std::string pluginFilePath;

  // Handles given to plug-ins carry this key, so a handle of another host is
  // refused.
  std::uint16_t handleKey() const { return handleKey_; }

  // Per-host state of other suite families (e.g. the dialog manager): one
  // object of each type, made on first use and destroyed with the host.
  template <typename T>
  T& service() {
    auto& slot = services_[std::type_index(typeid(T))];
    if (!slot) slot = std::shared_ptr<void>(new T(), [](void* p) { delete static_cast<T*>(p); });
    return *static_cast<T*>(slot.get());
  }

 private:
  static inline thread_local HostContext* active_ = nullptr;
  Document document_;
  RandomService random_;
  CallGate gate_;
  SuiteRegistry suites_;
  HostMemory memory_;
  std::vector<FilterRecord> filters_;
  std::vector<MenuItemRecord> menuItems_;
  std::uint32_t nextRecordId_ = 1;
  std::uint16_t handleKey_;
  std::unordered_map<std::type_index, std::shared_ptr<void>> services_;
};

inline HostCall enterHostCall(const char* suite, const char* operation) {
  HostContext* host = HostContext::current();
  if (!host) return {nullptr, kNoActiveHostErr};
  return {host, host->gate().pass(suite, operation)};
}

}  // namespace host
