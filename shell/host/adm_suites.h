/*
 * The dialog manager: string lists and alerts, modal dialogs built from the
 * plug-in's dialog resources, their items, popup lists and entries, and the
 * tracker handed to item track procs.
 *
 * Setters return a HostErr. Getters of handles and item values are "value"
 * operations: they return the value itself (null or 0 when the handle is bad).
 * Procs installed on dialogs and items run on the host's thread while the
 * modal dialog that owns them is open.
 */
#pragma once

#include "host_types.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct OpaqueDialog* DialogHandle;
typedef struct OpaqueItem* ItemHandle;
typedef struct OpaqueList* ListHandle;
typedef struct OpaqueEntry* EntryHandle;
typedef struct OpaqueNotifier* NotifierHandle;
typedef struct OpaqueTracker* TrackerHandle;
typedef struct OpaqueIcon* IconHandle;

/* Dialog coordinates: pixels from the dialog's top left corner, y down. */
typedef struct DialogRect {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
} DialogRect;

typedef HostErr (*DialogInitProc)(DialogHandle dialog);
typedef void (*ItemNotifyProc)(ItemHandle item, NotifierHandle notifier);
/* Returns non-zero when the track was handled. */
typedef HostBool (*ItemTrackProc)(ItemHandle item, TrackerHandle tracker);

/* Item type names. */
#define kSpinEditType "ADM Spin Edit Type"
#define kPopupListType "ADM Popup List Type"
#define kTextStaticType "ADM Text Static Type"
#define kTextPushButtonType "ADM Text Push Button Type"
#define kTextCheckBoxType "ADM Text Check Box Type"
#define kPicturePushButtonType "ADM Picture Push Button Type"

#define kUserChangedNotifier "ADM User Changed Notifier"

/* Fonts. */
#define kDialogFont 0
#define kBoldDialogFont 5

/* Units. */
#define kNoUnits 0

/* Modifier flag of a tracker that asks a pick button to pick. */
#define kPickModifier 0x20

/* Modal results. */
#define kDialogAccept 1
#define kDialogCancel 2

#define kADMBasicSuite "ADM Basic Suite"
#define kADMBasicSuiteVersion 2

typedef struct ADMBasicSuiteV2 {
  /* Reads entry `index` of string list `listId` of the plug-in's resources
   * into buf, zero-terminated, at most size - 1 characters. A missing entry
   * gives an empty text. */
  HostErr (*GetIndexString)(PluginRef plugin, int32_t listId, int32_t index, char* buf, int32_t size);
  /* Shows an alert with the text and waits until it is dismissed. */
  HostErr (*MessageAlert)(const char* text);
} ADMBasicSuiteV2;

#define kADMDialogSuite "ADM Dialog Suite"
#define kADMDialogSuiteVersion 3

typedef struct ADMDialogSuiteV3 {
  /* (value) Builds dialog `dialogId` from the plug-in's resources, calls
   * initProc, runs it modally and returns the id of the item that ended it
   * (1 = accept). A dialog that cannot be built returns 0. style: 0. */
  int32_t (*Modal)(PluginRef plugin, const char* name, int32_t dialogId, int32_t style,
                   DialogInitProc initProc, void* userData);
  /* (value) The user data given to Modal. */
  void* (*GetUserData)(DialogHandle dialog);
  HostErr (*SetBoundsRect)(DialogHandle dialog, const DialogRect* bounds);
  HostErr (*GetBoundsRect)(DialogHandle dialog, DialogRect* bounds);
  HostErr (*SetSize)(DialogHandle dialog, int32_t width, int32_t height);
  /* (value) Creates an item of a type name; null for an unknown type or an
   * id already taken. */
  ItemHandle (*CreateItem)(DialogHandle dialog, int32_t itemId, const char* itemType,
                           const DialogRect* bounds);
  /* (value) The item with this id, or null. */
  ItemHandle (*GetItem)(DialogHandle dialog, int32_t itemId);
  /* Ends the modal run with `result`. */
  HostErr (*EndModal)(DialogHandle dialog, int32_t result);
} ADMDialogSuiteV3;

#define kADMItemSuite "ADM Item Suite"
#define kADMItemSuiteVersion 4

typedef struct ADMItemSuiteV4 {
  /* (value) The item's dialog. */
  DialogHandle (*GetDialog)(ItemHandle item);
  /* (value) The item's id. */
  int32_t (*GetID)(ItemHandle item);
  HostErr (*SetNotifyProc)(ItemHandle item, ItemNotifyProc proc);
  HostErr (*SetTrackProc)(ItemHandle item, ItemTrackProc proc);
  /* The dialog manager's own handling of a notification: it never changes a
   * value; a push button with id 1 or 2 ends the modal dialog with its id. */
  HostErr (*DefaultNotify)(ItemHandle item, NotifierHandle notifier);
  /* (value) The dialog manager's own tracking; non-zero when handled. */
  HostBool (*DefaultTrack)(ItemHandle item, TrackerHandle tracker);
  /* Sends a named notifier to the item: its notify proc runs, or the
   * default handling when it has none. */
  HostErr (*SendNotify)(ItemHandle item, const char* notifierType);
  HostErr (*Show)(ItemHandle item, HostBool show);
  HostErr (*Enable)(ItemHandle item, HostBool enable);
  /* (value) */
  HostBool (*IsVisible)(ItemHandle item);
  /* (value) */
  HostBool (*IsEnabled)(ItemHandle item);
  HostErr (*SetFont)(ItemHandle item, int32_t font);
  HostErr (*SetText)(ItemHandle item, const char* text);
  /* Copies the text into buf (size bytes, zero-terminated). */
  HostErr (*GetText)(ItemHandle item, char* buf, int32_t size);
  HostErr (*SetUnits)(ItemHandle item, int32_t units);
  /* Decimal places a spin edit shows and returns. */
  HostErr (*SetPrecision)(ItemHandle item, int32_t places);
  HostErr (*SetBooleanValue)(ItemHandle item, HostBool value);
  /* (value) */
  HostBool (*GetBooleanValue)(ItemHandle item);
  /* A spin edit keeps values within its limits and at its decimal places. */
  HostErr (*SetIntValue)(ItemHandle item, int32_t value);
  /* (value) */
  int32_t (*GetIntValue)(ItemHandle item);
  HostErr (*SetFloatValue)(ItemHandle item, HostReal value);
  /* (value) */
  HostReal (*GetFloatValue)(ItemHandle item);
  HostErr (*SetMinIntValue)(ItemHandle item, int32_t value);
  HostErr (*SetMaxIntValue)(ItemHandle item, int32_t value);
  HostErr (*SetMinFloatValue)(ItemHandle item, HostReal value);
  HostErr (*SetMaxFloatValue)(ItemHandle item, HostReal value);
  /* (value) The list of a popup item, or null. */
  ListHandle (*GetList)(ItemHandle item);
} ADMItemSuiteV4;

#define kADMIconSuite "ADM Icon Suite"
#define kADMIconSuiteVersion 1

typedef struct ADMIconSuiteV1 {
  /* (value) Icon resource `iconId` of the plug-in, or null. */
  IconHandle (*GetFromResource)(PluginRef plugin, int32_t iconId);
} ADMIconSuiteV1;

#define kADMNotifierSuite "ADM Notifier Suite"
#define kADMNotifierSuiteVersion 1

typedef struct ADMNotifierSuiteV1 {
  /* (value) Non-zero when the notifier is of the named type. */
  HostBool (*IsNotifierType)(NotifierHandle notifier, const char* notifierType);
  /* (value) The item the notifier was sent to. */
  ItemHandle (*GetItem)(NotifierHandle notifier);
} ADMNotifierSuiteV1;

#define kADMListSuite "ADM List Suite"
#define kADMListSuiteVersion 1

typedef struct ADMListSuiteV1 {
  /* (value) A new entry at position index (0 = first), or null. */
  EntryHandle (*InsertEntry)(ListHandle list, int32_t index);
  /* (value) The entry at a position, or null. */
  EntryHandle (*IndexEntry)(ListHandle list, int32_t index);
  /* (value) The selected entry, or null. */
  EntryHandle (*GetActiveEntry)(ListHandle list);
  /* (value) */
  int32_t (*NumberOfEntries)(ListHandle list);
} ADMListSuiteV1;

#define kADMEntrySuite "ADM Entry Suite"
#define kADMEntrySuiteVersion 2

typedef struct ADMEntrySuiteV2 {
  HostErr (*SetText)(EntryHandle entry, const char* text);
  /* Copies the text into buf (size bytes, zero-terminated). */
  HostErr (*GetText)(EntryHandle entry, char* buf, int32_t size);
  HostErr (*SetID)(EntryHandle entry, int32_t entryId);
  /* (value) */
  int32_t (*GetID)(EntryHandle entry);
  /* Makes the entry the list's selected one (select non-zero). */
  HostErr (*Select)(EntryHandle entry, HostBool select);
} ADMEntrySuiteV2;

#define kADMTrackerSuite "ADM Tracker Suite"
#define kADMTrackerSuiteVersion 1

typedef struct ADMTrackerSuiteV1 {
  /* (value) Modifier flags of the current track (kPickModifier starts a
   * pick). A null tracker means the one currently running. */
  int32_t (*GetModifiers)(TrackerHandle tracker);
  /* The mouse point of the current track, in view coordinates of view 0. */
  HostErr (*GetPoint)(TrackerHandle tracker, ViewPoint* point);
} ADMTrackerSuiteV1;

#ifdef __cplusplus
}
#endif
