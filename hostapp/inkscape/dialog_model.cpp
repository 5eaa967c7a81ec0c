#include "hostapp/inkscape/dialog_model.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <map>
#include <optional>
#include <stdexcept>

#include "hostapp/dialogs/script_driver.h"
#include "hostapp/records/record_file.h"
#include "params/record/parameter_fields.h"
#include "params/record/plugin_facts.h"

namespace inkscape {
namespace {

using host::Dialog;
using host::DialogItem;
using host::DialogManager;
using host::ItemKind;

// Fields the dialog never shows or that must keep their value while it is
// read: the preview would draw on every opening, the page and the bounds
// are where the dialog opens.
bool heldField(const ParameterField& field) {
  static constexpr std::string_view kHeld[] = {"preview", "activePage", "fromGo", "previewDrawn", "dialogBoundsValid"};
  if (std::find(std::begin(kHeld), std::end(kHeld), field.name) != std::end(kHeld)) return true;
  return (field.kind == FieldKind::Int || field.kind == FieldKind::Float) && !field.hasLimits();
}

constexpr int kCodeBits = 7;  // field numbers 1 to 127
static_assert(kSpiralParameterFieldCount < (1 << kCodeBits));

// The low and high values a coded field takes: a quarter and three quarters
// into its range, whole numbers, so that any decimal places show them.
double codeValue(const ParameterField& field, bool high) {
  if (field.kind == FieldKind::Bool || field.kind == FieldKind::Index) return high ? 1 : 0;
  return std::round(field.minimum + (field.maximum - field.minimum) * (high ? 0.75 : 0.25));
}

void setField(SpiralParameters& record, const ParameterField& field, double value) {
  unsigned char* at = reinterpret_cast<unsigned char*>(&record) + field.offset;
  if (field.kind == FieldKind::Float) {
    const float f = static_cast<float>(value);
    std::memcpy(at, &f, 4);
  } else {
    const int32_t i = static_cast<int32_t>(value);
    std::memcpy(at, &i, 4);
  }
}

bool isValueItem(const DialogItem& item) {
  return item.kind() == ItemKind::SpinEdit || item.kind() == ItemKind::TextCheckBox ||
         item.kind() == ItemKind::PopupList;
}

double itemValue(const DialogItem& item) {
  switch (item.kind()) {
    case ItemKind::TextCheckBox: return item.booleanValue() ? 1 : 0;
    case ItemKind::PopupList: return item.list() ? item.list()->activeIndex() : -1;
    default: return host::captureItemState(item).value.value_or(0);
  }
}

// Opens the options dialog over `record`, lets `look` read it, and cancels.
template <class Look>
void openDialog(host::DrawingSession& session, const SpiralParameters& record, Look look) {
  host::PluginSession& plugin = session.plugin();
  if (plugin.setRecordBytes(records::recordBytes(record)) != kHostNoErr)
    throw std::runtime_error("the options dialog cannot be given a record");
  bool seen = false;
  plugin.dialogs().setDriver([&](DialogManager& manager, Dialog& dialog) {
    if (dialog.name() != kOptionsDialogName) {
      host::cancelDriver(manager, dialog);
      return;
    }
    seen = true;
    look(manager, dialog);
    if (!dialog.ended()) manager.pressEscape(dialog);
  });
  const HostErr result = plugin.getParameters();
  plugin.dialogs().setDriver({});
  if (!seen) throw std::runtime_error("the plug-in showed no options dialog (" + host::resultCodeText(result) + ")");
}

// Page captions: static texts with a push button right above them, from the
// left.
std::vector<std::pair<const DialogItem*, const DialogItem*>> pageButtons(const Dialog& dialog) {
  std::vector<std::pair<const DialogItem*, const DialogItem*>> pages;  // caption, button
  for (const auto& label : dialog.items()) {
    if (label->kind() != ItemKind::TextStatic || label->text().empty()) continue;
    const DialogItem* best = nullptr;
    int32_t bestOverlap = 0;
    for (const auto& item : dialog.items()) {
      if (!item->isPushButton() || item->bounds().bottom > label->bounds().top ||
          label->bounds().top - item->bounds().bottom > 8)
        continue;
      const int32_t overlap = std::min(item->bounds().right, label->bounds().right) -
                              std::max(item->bounds().left, label->bounds().left);
      if (overlap > bestOverlap) best = item.get(), bestOverlap = overlap;
    }
    if (best) pages.emplace_back(label.get(), best);
  }
  std::sort(pages.begin(), pages.end(),
            [](const auto& a, const auto& b) { return a.first->bounds().left < b.first->bounds().left; });
  return pages;
}

// The static text that labels `item`: the nearest one on its left in the
// same row, else (`aboveToo`) the nearest one just above it.
std::string labelOf(const DialogItem& item, const std::vector<const DialogItem*>& texts, bool aboveToo) {
  const DialogRect& r = item.bounds();
  const DialogItem* best = nullptr;
  int64_t bestScore = 0;
  for (const DialogItem* text : texts) {
    const DialogRect& t = text->bounds();
    int64_t score = -1;
    const int32_t middle = (t.top + t.bottom) / 2;
    if (middle >= r.top && middle <= r.bottom && t.right <= r.left + 4) score = r.left - t.right;
    else if (aboveToo && t.bottom <= r.top + 2 && r.top - t.bottom < 24 && t.left <= r.right)
      score = 100000 + 1000 * static_cast<int64_t>(r.top - t.bottom) + std::abs(r.left - t.left);
    if (score >= 0 && (!best || score < bestScore)) best = text, bestScore = score;
  }
  return best ? trimmed(best->text()) : std::string();
}

FieldItem::Kind kindOf(const DialogItem& item, const ParameterField& field) {
  if (item.kind() == ItemKind::TextCheckBox) return FieldItem::Kind::Bool;
  if (item.kind() == ItemKind::PopupList) return FieldItem::Kind::Choice;
  return field.kind == FieldKind::Float ? FieldItem::Kind::Float : FieldItem::Kind::Int;
}

// Whether the item can show `field`: the kinds agree and a spin edit has the
// field's limits (as floats: the dialog holds them so).
bool itemShows(const DialogItem& item, const ParameterField& field) {
  switch (item.kind()) {
    case ItemKind::TextCheckBox: return field.kind == FieldKind::Bool;
    case ItemKind::PopupList: return field.kind == FieldKind::Index;
    case ItemKind::SpinEdit:
      return (field.kind == FieldKind::Int || field.kind == FieldKind::Float) && field.hasLimits() &&
             static_cast<float>(item.minimum()) == static_cast<float>(field.minimum) &&
             static_cast<float>(item.maximum()) == static_cast<float>(field.maximum);
    default: return false;
  }
}

}  // namespace

std::string trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

DialogModel readDialogModel(host::DrawingSession& session) {
  const SpiralParameters defaults = session.defaultRecord();
  SpiralParameters quiet = defaults;
  quiet.preview = 0;

  // Each item's field, spelled by its values over the coded records.
  std::map<int32_t, int> codes;  // item id -> field number + 1
  for (int bit = 0; bit < kCodeBits; ++bit) {
    SpiralParameters coded = quiet;
    for (int k = 0; k < kSpiralParameterFieldCount; ++k) {
      const ParameterField& field = kParameterFields[k];
      if (!heldField(field)) setField(coded, field, codeValue(field, ((k + 1) >> bit) & 1));
    }
    openDialog(session, coded, [&](DialogManager&, Dialog& dialog) {
      for (const auto& item : dialog.items()) {
        if (!isValueItem(*item)) continue;
        const double value = itemValue(*item);
        bool high = value != 0;
        if (item->kind() == ItemKind::SpinEdit) high = value > (item->minimum() + item->maximum()) / 2;
        if (high) codes[item->id()] |= 1 << bit;
        else codes.try_emplace(item->id(), 0);
      }
    });
  }

  // The pages, their items and labels, over the defaults.
  DialogModel model;
  openDialog(session, quiet, [&](DialogManager& manager, Dialog& dialog) {
    const auto pages = pageButtons(dialog);
    std::vector<const DialogItem*> captions;
    for (const auto& [caption, button] : pages) captions.push_back(caption);
    for (const auto& item : dialog.items()) {
      if (item->kind() == ItemKind::PopupList && item->id() == kPresetListId && item->list()) {
        for (const auto& entry : item->list()->entries()) model.presets.push_back(trimmed(entry->text()));
      } else if (item->kind() == ItemKind::TextPushButton && item->text() != "Cancel" && !item->trackProc()) {
        model.recordButtons.push_back(trimmed(item->text()));
      }
    }
    std::map<std::string, int> fieldsTaken;
    for (const auto& [caption, button] : pages) {
      manager.press(*const_cast<DialogItem*>(button));
      if (dialog.ended()) throw std::runtime_error("a page button closed the options dialog");
      DialogPage page{trimmed(caption->text()), {}};
      std::vector<const DialogItem*> texts;
      for (const auto& item : dialog.items())
        if (item->kind() == ItemKind::TextStatic && item->visible() &&
            std::find(captions.begin(), captions.end(), item.get()) == captions.end())
          texts.push_back(item.get());
      std::map<std::string, int> labelsUsed;
      for (const auto& item : dialog.items()) {
        if (!isValueItem(*item) || !item->visible() || item->id() == kPresetListId) continue;
        const auto code = codes.find(item->id());
        if (code == codes.end() || code->second < 1 || code->second > kSpiralParameterFieldCount) continue;
        const ParameterField& field = kParameterFields[code->second - 1];
        if (heldField(field) || !itemShows(*item, field) || fieldsTaken[std::string(field.name)]++) continue;
        FieldItem out;
        out.kind = kindOf(*item, field);
        out.field = std::string(field.name);
        out.itemId = item->id();
        out.label = item->kind() == ItemKind::TextCheckBox ? trimmed(item->text()) : labelOf(*item, texts, false);
        if (!out.label.empty() && ++labelsUsed[out.label] > 1) out.label += " " + std::to_string(labelsUsed[out.label]);
        out.minimum = item->minimum();
        out.maximum = item->maximum();
        out.decimals = out.kind == FieldItem::Kind::Float ? item->precision() : 0;
        out.initial = itemValue(*item);
        if (item->list())
          for (const auto& entry : item->list()->entries()) out.entries.push_back(trimmed(entry->text()));
        page.items.push_back(std::move(out));
      }
      // A spin edit without a label of its own is the second of a pair
      // (centerX and centerY, curvature1 and curvature2): it takes its
      // twin's label.
      for (FieldItem& item : page.items) {
        if (!item.label.empty()) continue;
        const std::string stem = item.field.substr(0, item.field.size() - 1);
        for (const FieldItem& twin : page.items)
          if (&twin != &item && !twin.label.empty() && twin.field.size() == item.field.size() &&
              twin.field.compare(0, stem.size(), stem) == 0 && twin.kind == item.kind)
            item.label = twin.label + " " + item.field.back();
      }
      // An item the dialog leaves without any label is named by its field's
      // meaning, as `spiral-host fields` says it.
      for (FieldItem& item : page.items) {
        if (!item.label.empty() || item.kind == FieldItem::Kind::Choice) continue;
        const ParameterField* field = findParameterField(item.field);
        item.label = field && !field->meaning.empty() ? std::string(field->meaning) : item.field;
        item.label[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(item.label[0])));
      }
      model.pages.push_back(std::move(page));
    }
  });
  if (model.pages.empty()) throw std::runtime_error("the options dialog has no pages");
  return model;
}

}  // namespace inkscape
