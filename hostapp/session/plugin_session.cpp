#include "hostapp/session/plugin_session.h"

#include <cstring>

#include "hostapp/dialogs/plugin_directory.h"
#include "hostapp/suites/adapter_util.h"

namespace host {

PluginSession::PluginSession(HostContext& host, PluginFile file) : host_(host), file_(std::move(file)) {
  library_ = std::make_unique<PluginLibrary>(file_);
  library_->open();
  loaded_ = true;
  ref_ = host_.service<PluginDirectory>().add(file_.resources);
  host_.pluginFilePath = file_.path;
}

PluginSession::PluginSession(HostContext& host, PluginFile file, PluginMainProc entry)
    : host_(host), file_(std::move(file)), linkedEntry_(entry), loaded_(true) {
  ref_ = host_.service<PluginDirectory>().add(file_.resources);
  host_.pluginFilePath = file_.path;
}

PluginSession::~PluginSession() {
  host_.service<PluginDirectory>().remove(ref_);
  if (parameters_) host_.memory().disposeHandle(parameters_);
}

PluginMainProc PluginSession::entry() const {
  if (linkedEntry_) return linkedEntry_;
  return library_ ? library_->entry() : nullptr;
}

MessageHeader PluginSession::header() {
  MessageHeader header{};
  header.checkWord = kMessageCheckWord;
  header.self = ref_;
  header.globals = globals_;
  header.basic = host_.basicSuite();
  return header;
}

HostErr PluginSession::deliver(const char* caller, const char* selector, MessageHeader& header) {
  PluginMainProc main = entry();
  if (!loaded_ || !main) return kHostCantHappenErr;
  auto active = host_.activate();
  if (continueUndoScope_)
    continueUndoScope_ = false;
  else
    host_.beginMessage();
  const HostErr result = main(caller, selector, &header);
  globals_ = header.globals;
  messages_.push_back({caller, selector, result});
  return result;
}

HostErr PluginSession::send(const char* caller, const char* selector) {
  MessageHeader message = header();
  return deliver(caller, selector, message);
}

HostErr PluginSession::sendFilter(const char* selector, FilterHandle filter) {
  FilterMessage message{};
  message.d = header();
  message.filter = filter;
  message.parameters = parameters_;
  const HostErr result = deliver(kCallerFilter, selector, message.d);
  // The plug-in creates the parameters handle on first use; the host keeps
  // it from then on.
  parameters_ = message.parameters;
  return result;
}

HostErr PluginSession::startup() { return send(kCallerInterface, kSelectorStartup); }
HostErr PluginSession::shutdown() { return send(kCallerInterface, kSelectorShutdown); }
HostErr PluginSession::about() { return send(kCallerInterface, kSelectorAbout); }

HostErr PluginSession::unload() {
  const HostErr result = send(kCallerAccess, kSelectorUnload);
  if (library_) library_->close();
  loaded_ = false;
  return result;
}

HostErr PluginSession::reload() {
  if (library_) library_->open();
  loaded_ = true;
  return send(kCallerAccess, kSelectorReload);
}

HostErr PluginSession::getParameters() { return sendFilter(kSelectorGetParameters, filter()); }
HostErr PluginSession::go() { return sendFilter(kSelectorFilterGo, filter()); }

HostErr PluginSession::chooseFilter() {
  const HostErr result = getParameters();
  if (result != kHostNoErr) return result;
  // Choosing the filter is one action for the user: the Go that follows the
  // accepted dialog shares its undo scope, so a preview left in the document
  // (for instance after "Preview" was cleared) is taken back before Go draws.
  continueUndoScope_ = true;
  const HostErr goResult = go();
  continueUndoScope_ = false;
  return goResult;
}

FilterHandle PluginSession::filter() const {
  for (const FilterRecord& record : host_.filters()) {
    if (record.plugin == ref_) return makeHandle<FilterHandle>(host_, HandleKind::Filter, record.id);
  }
  return nullptr;
}

std::vector<unsigned char> PluginSession::recordBytes() const {
  int32_t size = 0;
  if (!parameters_ || !*parameters_ || host_.memory().handleSize(parameters_, &size) != kHostNoErr) return {};
  const auto* data = static_cast<const unsigned char*>(*parameters_);
  return std::vector<unsigned char>(data, data + size);
}

HostErr PluginSession::setRecordBytes(std::span<const unsigned char> bytes) {
  const auto size = static_cast<int32_t>(bytes.size());
  if (!parameters_) {
    const HostErr result = host_.memory().newHandle(size, &parameters_);
    if (result != kHostNoErr) return result;
  }
  int32_t kept = 0;
  if (host_.memory().handleSize(parameters_, &kept) != kHostNoErr || kept != size) return kHostBadParameterErr;
  if (size > 0) std::memcpy(*parameters_, bytes.data(), bytes.size());
  return kHostNoErr;
}

std::string resultCodeText(HostErr code) {
  const uint32_t bits = static_cast<uint32_t>(code);
  bool printable = true;
  std::string chars;
  for (int shift = 24; shift >= 0; shift -= 8) {
    const char c = static_cast<char>(bits >> shift);
    printable = printable && c >= 0x20 && c < 0x7F;
    chars += c;
  }
  const uint32_t high = bits >> 16;
  if (high == 0 || high == 0xFFFF || !printable) return std::to_string(code);
  return "'" + chars + "'";
}

}  // namespace host
