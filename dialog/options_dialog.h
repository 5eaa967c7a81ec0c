// The filter's options dialog: 115 items on five pages and a right-hand
// column, built in code over an empty dialog resource. The dialog edits the
// SpiralParameters record given to Modal as the dialog's user data; every
// proc finds the record there, so nothing of the dialog lives in globals.
//
// Procs run inside the modal run, with the host suites bound by the
// PluginMain call that opened it.
#pragma once

#include "params/spiral_parameters.h"
#include "shell/host/host_interface.h"

inline constexpr const char* kOptionsDialogName = "Vrix_Spiral";
inline constexpr int32_t kOptionsDialogResource = 16100;
inline constexpr int32_t kOptionsDialogWidth = 440;
inline constexpr int32_t kOptionsDialogHeight = 336;

// The init proc of the options dialog: places and sizes the dialog, creates
// its items, fills the lists and opens the page stored in the record (which
// reads every item back and draws the preview). Returns 0.
HostErr initOptionsDialog(DialogHandle dialog);

// The construction alone, without opening the stored page: only the items of
// page 1 and those shown on every page are visible afterwards.
void buildOptionsItems(DialogHandle dialog, const SpiralParameters& record);

// Notify procs of the page buttons, of every item that edits a field, and of
// the zoom item.
void switchPage(ItemHandle item, NotifierHandle notifier);
void readBackValues(ItemHandle item, NotifierHandle notifier);
void applyViewZoom(ItemHandle item, NotifierHandle notifier);

// Notify proc of the preset list.
void applyPreset(ItemHandle item, NotifierHandle notifier);
// Writes every field that the read-back reads into its item (not the preset
// list, the zoom item or the pick buttons).
void showRecordInItems(DialogHandle dialog, const SpiralParameters& record);
// Reads the items back (drawing the preview) and shows the active page again.
void refreshActivePage(DialogHandle dialog, const SpiralParameters& record);

// Notify procs of "Tumble" and of "Tweak", "Jitter" and "Boost".
void tumbleParameters(ItemHandle item, NotifierHandle notifier);
void nudgeParameters(ItemHandle item, NotifierHandle notifier);
// Track proc of the eleven pick buttons; always returns 1.
HostBool pickFromDocument(ItemHandle item, TrackerHandle tracker);
