#include <initializer_list>

#include "dialog/dialog_access.h"
#include "dialog/item_table.h"
#include "dialog/options_dialog.h"
#include "generator/generate_spirals.h"
#include "shell/guarded.h"

namespace {

void enableItems(DialogHandle dialog, std::initializer_list<int32_t> itemIds, bool enable) {
  for (int32_t id : itemIds) gADMItemSuite->Enable(dialogItem(dialog, id), enable ? 1 : 0);
}

// Items that only matter when another value makes them work. A disabled item
// keeps its value and is still read back.
void applyEnablingRules(DialogHandle dialog, const SpiralParameters& r) {
  enableItems(dialog, {165, 30, 29}, r.spiralOffsetX != 0.0f || r.spiralOffsetY != 0.0f);
  enableItems(dialog, {143, 144, 146, 145}, r.dropShadow != 0);
  enableItems(dialog, {23, 22, 163, 141, 142}, r.sketchRepeats != 0);
  enableItems(dialog, {160, 149}, r.interpolationAmount != 0.0f);
}

void readItem(ItemHandle item, const ItemSpec& spec, SpiralParameters& record) {
  switch (spec.kind) {
    case ItemKind::CheckBox:
      record.*spec.intField = gADMItemSuite->GetBooleanValue(item) != 0 ? 1 : 0;
      break;
    case ItemKind::IntSpinEdit:
      record.*spec.intField = gADMItemSuite->GetIntValue(item);
      break;
    case ItemKind::FloatSpinEdit:
      record.*spec.floatField = gADMItemSuite->GetFloatValue(item);
      break;
    case ItemKind::PopupList: {
      // A list with no entry selected (the record held a position outside
      // it) leaves the field as it is.
      EntryHandle entry = gADMListSuite->GetActiveEntry(gADMItemSuite->GetList(item));
      if (entry != nullptr) record.*spec.intField = gADMEntrySuite->GetID(entry);
      break;
    }
    default:
      break;
  }
}

}  // namespace

void switchPage(ItemHandle item, NotifierHandle) noexcept {
  guardedNotify([&] {
    DialogHandle dialog = gADMItemSuite->GetDialog(item);
    SpiralParameters* record = dialogRecord(dialog);
    if (record == nullptr) return;

    for (const PageSpec& page : kPages) gADMItemSuite->SetFont(dialogItem(dialog, page.captionId), kDialogFont);
    for (const PageSpec& page : kPages) {
      if (dialogItem(dialog, page.buttonId) != item) continue;
      record->activePage = page.number;
      gADMItemSuite->SetFont(dialogItem(dialog, page.captionId), kBoldDialogFont);
    }
    for (const PageSpec& page : kPages) {
      const HostBool show = page.number == record->activePage ? 1 : 0;
      for (const ItemSpec& spec : kOptionItems)
        if (spec.page == page.number) gADMItemSuite->Show(dialogItem(dialog, spec.id), show);
    }
  });
}

void readBackValues(ItemHandle item, NotifierHandle notifier) noexcept {
  guardedNotify([&] {
    DialogHandle dialog = gADMItemSuite->GetDialog(item);
    SpiralParameters* record = dialogRecord(dialog);
    if (record == nullptr) {
      gADMItemSuite->DefaultNotify(item, notifier);
      return;
    }
    record->fromGo = 0;
    gADMItemSuite->DefaultNotify(item, notifier);

    for (const ItemSpec& spec : kOptionItems) {
      if (!isReadBackItem(spec)) continue;
      if (ItemHandle shown = dialogItem(dialog, spec.id)) readItem(shown, spec, *record);
    }
    applyEnablingRules(dialog, *record);

    if (record->preview != 0) {
      // A failed preview run is dropped and the dialog stays open; only a
      // preview that was drawn whole may stand in for Go's result.
      record->previewDrawn = generateSpirals(*record) == kHostNoErr ? 1 : 0;
    } else {
      record->previewDrawn = 0;
    }
  });
}

void applyViewZoom(ItemHandle item, NotifierHandle) noexcept {
  guardedNotify([&] {
    DialogHandle dialog = gADMItemSuite->GetDialog(item);
    SpiralParameters* record = dialogRecord(dialog);
    if (record == nullptr) return;
    record->viewZoom = gADMItemSuite->GetFloatValue(dialogItem(dialog, kZoomItemId));
    const HostReal factor = static_cast<HostReal>(static_cast<double>(record->viewZoom) / 100.0);
    ViewHandle view = nullptr;
    gDocumentViewSuite->GetNthDocumentView(0, &view);
    gDocumentViewSuite->SetDocumentViewZoom(view, factor);
  });
}
