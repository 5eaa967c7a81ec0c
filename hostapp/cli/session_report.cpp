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

nlohmann::json messagesToJson(const std::vector<host::MessageRecord>& messages) {
  nlohmann::json out = nlohmann::json::array();
  for (const host::MessageRecord& m : messages) {
    out.push_back({{"caller", m.caller}, {"selector", m.selector}, {"result", m.result}});
  }
  return out;
}

nlohmann::json dialogsToJson(const std::vector<host::ShownDialog>& shown) {
  nlohmann::json out = nlohmann::json::array();
  for (const host::ShownDialog& dialog : shown) {
    nlohmann::json items = nlohmann::json::array();
    for (const auto& item : dialog.items) {
      items.push_back({{"id", item.id}, {"kind", item.kind}, {"text", item.text}});
    }
    nlohmann::json entry{{"kind", dialog.alert ? "alert" : "dialog"}, {"name", dialog.name}, {"items", items}};
    if (!dialog.alert) {
      entry["resource"] = dialog.resourceId;
      entry["caption"] = dialog.caption;
      entry["result"] = dialog.result;
    }
    out.push_back(std::move(entry));
  }
  return out;
}

}  // namespace cli
