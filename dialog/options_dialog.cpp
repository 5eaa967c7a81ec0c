#include "dialog/options_dialog.h"

#include <string>

#include "dialog/choice_lists.h"
#include "dialog/dialog_access.h"
#include "dialog/item_table.h"
#include "shell/guarded.h"

namespace {

const char* typeName(ItemKind kind) {
  switch (kind) {
    case ItemKind::IntSpinEdit:
    case ItemKind::FloatSpinEdit:
      return kSpinEditType;
    case ItemKind::StaticText:
      return kTextStaticType;
    case ItemKind::PopupList:
      return kPopupListType;
    case ItemKind::TextButton:
      return kTextPushButtonType;
    case ItemKind::CheckBox:
      return kTextCheckBoxType;
    case ItemKind::PictureButton:
      return kPicturePushButtonType;
  }
  return kTextStaticType;
}

ItemNotifyProc notifyProc(ItemProc proc) {
  switch (proc) {
    case ItemProc::ReadBack:
      return readBackValues;
    case ItemProc::ViewZoom:
      return applyViewZoom;
    case ItemProc::Preset:
      return applyPreset;
    case ItemProc::Tumble:
      return tumbleParameters;
    case ItemProc::Nudge:
      return nudgeParameters;
    case ItemProc::SwitchPage:
      return switchPage;
    case ItemProc::None:
    case ItemProc::Pick:
      break;
  }
  return nullptr;
}

void attachProc(ItemHandle item, const ItemSpec& spec) {
  if (spec.proc == ItemProc::Pick) {
    gADMItemSuite->SetTrackProc(item, pickFromDocument);
    return;
  }
  // Lists 161 and 162 get their proc while they are filled.
  if (spec.kind == ItemKind::PopupList) {
    const ChoiceList* list = findChoiceList(spec.id);
    if (list != nullptr && list->notifyOnFill) return;
  }
  if (ItemNotifyProc proc = notifyProc(spec.proc)) gADMItemSuite->SetNotifyProc(item, proc);
}

void createItem(DialogHandle dialog, const ItemSpec& spec, const SpiralParameters& record) {
  // An item the host cannot make is left out; the procs skip missing items.
  ItemHandle item = gADMDialogSuite->CreateItem(dialog, spec.id, typeName(spec.kind), &spec.bounds);
  if (item == nullptr) return;
  switch (spec.kind) {
    case ItemKind::IntSpinEdit:
      gADMItemSuite->SetUnits(item, kNoUnits);
      gADMItemSuite->SetMinIntValue(item, static_cast<int32_t>(spec.minimum));
      gADMItemSuite->SetMaxIntValue(item, static_cast<int32_t>(spec.maximum));
      gADMItemSuite->SetIntValue(item, record.*spec.intField);
      attachProc(item, spec);
      break;
    case ItemKind::FloatSpinEdit:
      gADMItemSuite->SetUnits(item, kNoUnits);
      gADMItemSuite->SetMinFloatValue(item, static_cast<HostReal>(spec.minimum));
      gADMItemSuite->SetMaxFloatValue(item, static_cast<HostReal>(spec.maximum));
      gADMItemSuite->SetPrecision(item, 2);
      gADMItemSuite->SetFloatValue(item, record.*spec.floatField);
      attachProc(item, spec);
      break;
    case ItemKind::CheckBox:
      gADMItemSuite->SetBooleanValue(item, record.*spec.intField != 0 ? 1 : 0);
      attachProc(item, spec);
      gADMItemSuite->SetText(item, spec.text);
      break;
    case ItemKind::TextButton:
    case ItemKind::StaticText:
    case ItemKind::PopupList:
    case ItemKind::PictureButton:
      attachProc(item, spec);
      if (spec.text != nullptr) gADMItemSuite->SetText(item, spec.text);
      break;
  }
  if (spec.page != kEveryPage && spec.page != 1) gADMItemSuite->Show(item, 0);
}

void fillList(DialogHandle dialog, const ChoiceList& choices, const SpiralParameters& record) {
  ItemHandle item = dialogItem(dialog, choices.itemId);
  ListHandle list = gADMItemSuite->GetList(item);
  if (choices.notifyOnFill) gADMItemSuite->SetNotifyProc(item, readBackValues);
  for (int32_t i = 0; i < static_cast<int32_t>(choices.entries.size()); ++i) {
    EntryHandle entry = gADMListSuite->InsertEntry(list, i);
    gADMEntrySuite->SetText(entry, std::string(choices.entries[i]).c_str());
    gADMEntrySuite->SetID(entry, i);
  }
  // A stored position outside the list selects nothing.
  EntryHandle chosen = gADMListSuite->IndexEntry(list, record.*choices.field);
  if (chosen != nullptr) gADMEntrySuite->Select(chosen, 1);
}

}  // namespace

void buildOptionsItems(DialogHandle dialog, const SpiralParameters& record) {
  if (record.dialogBoundsValid != 0) {
    const DialogRect bounds{record.dialogBoundsLeft, record.dialogBoundsTop, record.dialogBoundsRight,
                            record.dialogBoundsBottom};
    gADMDialogSuite->SetBoundsRect(dialog, &bounds);
  }
  gADMDialogSuite->SetSize(dialog, kOptionsDialogWidth, kOptionsDialogHeight);
  for (const ItemSpec& spec : kOptionItems) createItem(dialog, spec, record);
  for (const ChoiceList& choices : kChoiceLists) fillList(dialog, choices, record);
}

HostErr initOptionsDialog(DialogHandle dialog) noexcept {
  return guarded([&] {
    SpiralParameters* record = dialogRecord(dialog);
    if (record == nullptr) return kHostNoErr;
    buildOptionsItems(dialog, *record);
    // Opening the stored page reads every item back (drawing the preview) and
    // shows the page with its caption in bold.
    refreshActivePage(dialog, *record);
    return kHostNoErr;
  });
}
