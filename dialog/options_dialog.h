// The filter's options dialog: 115 items on five pages and a right-hand
// column, built in code over an empty dialog resource. The dialog edits the
// SpiralParameters record given to Modal as the dialog's user data; every
// proc finds the record there, so nothing of the dialog lives in globals.
//
// Procs run inside the modal run, with the host suites bound by the
// PluginMain call that opened it. The host calls them through C function
// pointers, so none of them throws (shell/guarded.h): an init proc answers
// the host code of what was thrown inside it, and a notify or track proc
// stops where the throw happened and leaves the dialog open and usable.
#pragma once

#include "params/record/plugin_facts.h"
#include "params/view_defaults.h"
#include "shell/host/host_interface.h"

inline constexpr int32_t kOptionsDialogResource = 16100;
inline constexpr int32_t kOptionsDialogWidth = 440;
inline constexpr int32_t kOptionsDialogHeight = 336;

// The init proc of the options dialog: places and sizes the dialog, creates
// its items, fills the lists and opens the page stored in the record (which
// reads every item back and draws the preview). Returns 0, or the host code
// of an exception thrown while it built the dialog: the host then ends the
// dialog as cancelled.
HostErr initOptionsDialog(DialogHandle dialog) noexcept;

// The construction alone, without opening the stored page: only the items of
// page 1 and those shown on every page are visible afterwards.
void buildOptionsItems(DialogHandle dialog, const SpiralParameters& record);

// Notify procs of the page buttons, of every item that edits a field, and of
// the zoom item.
void switchPage(ItemHandle item, NotifierHandle notifier) noexcept;
void readBackValues(ItemHandle item, NotifierHandle notifier) noexcept;
void applyViewZoom(ItemHandle item, NotifierHandle notifier) noexcept;

// Notify proc of the preset list.
void applyPreset(ItemHandle item, NotifierHandle notifier) noexcept;
// Writes every field that the read-back reads into its item (not the preset
// list, the zoom item or the pick buttons).
void showRecordInItems(DialogHandle dialog, const SpiralParameters& record);
// Reads the items back (drawing the preview) and shows the active page again.
void refreshActivePage(DialogHandle dialog, const SpiralParameters& record);

// Notify procs of "Tumble" and of "Tweak", "Jitter" and "Boost". The record
// changes only once every draw is made: a draw that throws leaves it as it was.
void tumbleParameters(ItemHandle item, NotifierHandle notifier) noexcept;
void nudgeParameters(ItemHandle item, NotifierHandle notifier) noexcept;
// Track proc of the eleven pick buttons; always returns 1 (handled), also
// when something inside it threw.
HostBool pickFromDocument(ItemHandle item, TrackerHandle tracker) noexcept;
