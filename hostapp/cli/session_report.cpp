#include "hostapp/cli/session_report.h"

namespace cli {
namespace {

constexpr std::size_t kMostItemsListed = 20;

const host::ShownDialog::ItemText* itemText(const host::ShownDialog& shown, int32_t id) {
  for (const auto& item : shown.items) {
    if (item.id == id) return &item;
  }
  return nullptr;
}

}  // namespace

void printShownDialogs(const std::vector<host::ShownDialog>& shown, std::ostream& err) {
  for (const host::ShownDialog& dialog : shown) {
    if (dialog.alert) {
      err << "spiral-host: alert: " << (dialog.items.empty() ? "" : dialog.items[0].text) << "\n";
      continue;
    }
    err << "spiral-host: dialog \"" << dialog.name << "\" (" << dialog.caption << "), ended by item "
        << dialog.result << "\n";
    if (dialog.items.size() > kMostItemsListed) {
      err << "  " << dialog.items.size() << " items\n";
      continue;
    }
    for (const auto& item : dialog.items) {
      if (!item.text.empty()) err << "  " << item.text << "\n";
    }
  }
}

void printFailure(HostErr result, const std::vector<host::ShownDialog>& shown, std::ostream& err) {
  for (auto it = shown.rbegin(); it != shown.rend(); ++it) {
    if (it->alert || it->resourceId != 16051) continue;
    const auto* message = itemText(*it, 2);
    const auto* code = itemText(*it, 3);
    err << "spiral-host: the filter failed: " << (message ? message->text : "") << " (code "
        << (code ? code->text : host::resultCodeText(result)) << ")\n";
    return;
  }
  err << "spiral-host: the filter failed with code " << host::resultCodeText(result) << "\n";
}

void printRefusals(const host::CallGate& gate, std::ostream& err) {
  const std::uint64_t earlier = gate.refusalCount() - gate.refusals().size();
  if (earlier > 0) err << "spiral-host: the host refused " << earlier << " earlier call(s) of the plug-in\n";
  for (const host::Refusal& r : gate.refusals()) {
    err << "spiral-host: the host refused " << r.suite << "/" << r.operation;
    if (r.art != 0) err << " on art " << r.art;
    if (r.segment >= 0) err << ", segment " << r.segment;
    err << ": " << r.reason << "\n";
  }
}

}  // namespace cli
