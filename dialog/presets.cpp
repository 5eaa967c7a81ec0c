#include "dialog/choice_lists.h"
#include "dialog/dialog_access.h"
#include "dialog/item_table.h"
#include "dialog/options_dialog.h"
#include "dialog/record_actions.h"
#include "shell/guarded.h"

void writePresetBase(SpiralParameters& record, int32_t index, const SpiralParameters& defaults) {
  SpiralParameters base = defaults;
  base.preview = record.preview;
  base.activePage = record.activePage;
  base.viewZoom = record.viewZoom;
  base.fromGo = record.fromGo;
  base.dialogBoundsLeft = record.dialogBoundsLeft;
  base.dialogBoundsTop = record.dialogBoundsTop;
  base.dialogBoundsRight = record.dialogBoundsRight;
  base.dialogBoundsBottom = record.dialogBoundsBottom;
  base.dialogBoundsValid = record.dialogBoundsValid;
  base.basicPattern = 0;
  base.presetIndex = index;
  base.previewDrawn = 0;
  record = base;
}

void applyPresetRow(SpiralParameters& record, int32_t index) {
  if (index < 0 || index >= kPresetCount) return;
  for (const PresetSetting& setting : kPresets[index].settings) {
    if (setting.intField != nullptr)
      record.*setting.intField = static_cast<int32_t>(setting.value);
    else if (setting.floatField != nullptr)
      record.*setting.floatField = static_cast<float>(setting.value);
  }
}

void applyPreset(ItemHandle item, NotifierHandle notifier) noexcept {
  guardedNotify([&] {
    DialogHandle dialog = gADMItemSuite->GetDialog(item);
    SpiralParameters* record = dialogRecord(dialog);
    gADMItemSuite->DefaultNotify(item, notifier);
    if (record == nullptr) return;

    // The defaults take the centre from document view 0 (100 points left of
    // its middle), which every preset but " Pattern" keeps.
    SpiralParameters defaults = *record;
    setDefaultParameters(defaults);

    int32_t index = record->presetIndex;
    EntryHandle chosen = gADMListSuite->GetActiveEntry(gADMItemSuite->GetList(item));
    if (chosen != nullptr) index = gADMEntrySuite->GetID(chosen);

    writePresetBase(*record, index, defaults);
    applyPresetRow(*record, index);
    showRecordInItems(dialog, *record);
    refreshActivePage(dialog, *record);
  });
}

void showRecordInItems(DialogHandle dialog, const SpiralParameters& record) {
  for (const ItemSpec& spec : kOptionItems) {
    if (!isReadBackItem(spec)) continue;
    ItemHandle item = dialogItem(dialog, spec.id);
    if (item == nullptr) continue;
    switch (spec.kind) {
      case ItemKind::CheckBox:
        gADMItemSuite->SetBooleanValue(item, record.*spec.intField != 0);
        break;
      case ItemKind::IntSpinEdit:
        gADMItemSuite->SetIntValue(item, record.*spec.intField);
        break;
      case ItemKind::FloatSpinEdit:
        gADMItemSuite->SetFloatValue(item, record.*spec.floatField);
        break;
      case ItemKind::PopupList: {
        EntryHandle entry = gADMListSuite->IndexEntry(gADMItemSuite->GetList(item), record.*spec.intField);
        if (entry != nullptr) gADMEntrySuite->Select(entry, 1);
        break;
      }
      default:
        break;
    }
  }
}

void refreshActivePage(DialogHandle dialog, const SpiralParameters& record) {
  // The opening item carries the read-back, the page button the page switch.
  const PageSpec& page = pageOrFirst(record.activePage);
  gADMItemSuite->SendNotify(dialogItem(dialog, page.openingItemId), kUserChangedNotifier);
  gADMItemSuite->SendNotify(dialogItem(dialog, page.buttonId), kUserChangedNotifier);
}
