/*
 * The dialog manager: string lists and alerts, modal dialogs built from the
 * plug-in's dialog resources, their items, popup lists and entries, and the
 * tracker handed to item track procs.
 *
 * Setters return a HostErr. Getters of handles and item values are "value"
 * operations: they return the value itself (null or 0 when the handle is bad).
 * Procs installed on dialogs and items run on the host's thread while the
 * modal dialog that owns them is open. The host calls them from C: a proc
 * must not let an exception out.
 *
 * When operations may be called: a dialog, its items, their lists and
 * entries live from the start of the dialog's init proc until its Modal
 * returns; afterwards their handles name nothing, and an operation given
 * one answers 'PAR?' (status) or null/0 (value), as for any bad handle. A
 * notifier lives while its notification is being delivered, a tracker while
 * its track runs. Besides the codes listed, every status operation may
 * answer the codes of host_types.h ('CANT' outside a message, -108 when the
 * message's calls run out).
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
   * gives an empty text and 0. 'PAR?' for a plug-in the host did not load, a
   * null buf, a size below 1 or a negative index; 'CANT' when the resources
   * cannot be read. */
  HostErr (*GetIndexString)(PluginRef plugin, int32_t listId, int32_t index, char* buf, int32_t size);
  /* Shows an alert with the text and waits until it is dismissed. 'PAR?'
   * for a null text; 'CANT' when the host cannot show it. */
  HostErr (*MessageAlert)(const char* text);
} ADMBasicSuiteV2;

#define kADMDialogSuite "ADM Dialog Suite"
#define kADMDialogSuiteVersion 3

typedef struct ADMDialogSuiteV3 {
  /* (value) Builds dialog `dialogId` from the plug-in's resources, calls
   * initProc, runs it modally and returns the id of the item that ended it
   * (1 = accept, 2 = cancel). Returns 0, having shown nothing, for a
   * plug-in the host did not load, a null name, a dialogId outside 0..65535
   * or without a dialog resource, an initProc that returns non-zero, or
   * when the host cannot build the dialog. May be called during a message and
   * from a proc of an open dialog (the new dialog opens above it). style: 0. */
  int32_t (*Modal)(PluginRef plugin, const char* name, int32_t dialogId, int32_t style,
                   DialogInitProc initProc, void* userData);
  /* (value) The user data given to Modal; null for a bad dialog. */
  void* (*GetUserData)(DialogHandle dialog);
  /* Set and Get answer 'PAR?' for a bad dialog or null bounds. Any rectangle
   * is taken as given. */
  HostErr (*SetBoundsRect)(DialogHandle dialog, const DialogRect* bounds);
  HostErr (*GetBoundsRect)(DialogHandle dialog, DialogRect* bounds);
  /* Keeps the top left corner. 'PAR?' for a bad dialog, a negative width or
   * height, or a far edge that would pass INT32_MAX; the bounds stay then. */
  HostErr (*SetSize)(DialogHandle dialog, int32_t width, int32_t height);
  /* (value) Creates an item of a type name; null for a bad dialog, a null
   * type or bounds, an unknown type, an id already taken, or when the host
   * cannot make it. */
  ItemHandle (*CreateItem)(DialogHandle dialog, int32_t itemId, const char* itemType,
                           const DialogRect* bounds);
  /* (value) The item with this id, or null. */
  ItemHandle (*GetItem)(DialogHandle dialog, int32_t itemId);
  /* Ends the modal run: the dialog closes once the running proc returns and
   * Modal returns `result`. A dialog already ended keeps its first result.
   * 'PAR?' for a bad dialog. */
  HostErr (*EndModal)(DialogHandle dialog, int32_t result);
} ADMDialogSuiteV3;

#define kADMItemSuite "ADM Item Suite"
#define kADMItemSuiteVersion 4

typedef struct ADMItemSuiteV4 {
  /* Every status operation of this suite answers 'PAR?' for a bad item,
   * besides the codes listed with it; value operations answer null or 0. */
  /* (value) The item's dialog. */
  DialogHandle (*GetDialog)(ItemHandle item);
  /* (value) The item's id. */
  int32_t (*GetID)(ItemHandle item);
  /* A null proc takes the item back to the default handling / tracking. */
  HostErr (*SetNotifyProc)(ItemHandle item, ItemNotifyProc proc);
  HostErr (*SetTrackProc)(ItemHandle item, ItemTrackProc proc);
  /* The dialog manager's own handling of a notification: it never changes a
   * value; a push button with id 1 or 2 ends the modal dialog with its id.
   * 'PAR?' for a notifier that is not being delivered now. */
  HostErr (*DefaultNotify)(ItemHandle item, NotifierHandle notifier);
  /* (value) The dialog manager's own tracking; non-zero when handled. 0 for
   * a null tracker or one whose track is not running. */
  HostBool (*DefaultTrack)(ItemHandle item, TrackerHandle tracker);
  /* Sends a named notifier to the item: its notify proc runs, or the
   * default handling when it has none; returns when the proc has returned
   * (what the proc did is not reported). 'PAR?' for a null type; 'CANT'
   * when the host cannot deliver it. */
  HostErr (*SendNotify)(ItemHandle item, const char* notifierType);
  HostErr (*Show)(ItemHandle item, HostBool show);
  HostErr (*Enable)(ItemHandle item, HostBool enable);
  /* (value) */
  HostBool (*IsVisible)(ItemHandle item);
  /* (value) */
  HostBool (*IsEnabled)(ItemHandle item);
  HostErr (*SetFont)(ItemHandle item, int32_t font);
  /* A spin edit takes the finite number the text starts with and keeps its
   * value when there is none. 'PAR?' for a null text; 'CANT' when the host cannot
   * store it. */
  HostErr (*SetText)(ItemHandle item, const char* text);
  /* Copies the text into buf (size bytes, zero-terminated; a longer text is
   * cut). 'PAR?' for a null buf or a size below 1; 'CANT' when the host
   * cannot make the text. */
  HostErr (*GetText)(ItemHandle item, char* buf, int32_t size);
  HostErr (*SetUnits)(ItemHandle item, int32_t units);
  /* Decimal places a spin edit shows and returns. 'PAR?' for a negative
   * count. */
  HostErr (*SetPrecision)(ItemHandle item, int32_t places);
  HostErr (*SetBooleanValue)(ItemHandle item, HostBool value);
  /* (value) */
  HostBool (*GetBooleanValue)(ItemHandle item);
  /* A spin edit keeps values within its limits and at its decimal places. */
  HostErr (*SetIntValue)(ItemHandle item, int32_t value);
  /* (value) */
  int32_t (*GetIntValue)(ItemHandle item);
  /* 'PAR?' for a value that is not finite. */
  HostErr (*SetFloatValue)(ItemHandle item, HostReal value);
  /* (value) */
  HostReal (*GetFloatValue)(ItemHandle item);
  HostErr (*SetMinIntValue)(ItemHandle item, int32_t value);
  HostErr (*SetMaxIntValue)(ItemHandle item, int32_t value);
  /* 'PAR?' for NaN. */
  HostErr (*SetMinFloatValue)(ItemHandle item, HostReal value);
  HostErr (*SetMaxFloatValue)(ItemHandle item, HostReal value);
  /* (value) The list of a popup item, or null. */
  ListHandle (*GetList)(ItemHandle item);
} ADMItemSuiteV4;

#define kADMIconSuite "ADM Icon Suite"
#define kADMIconSuiteVersion 1

typedef struct ADMIconSuiteV1 {
  /* (value) Icon resource `iconId` of the plug-in; null for a plug-in the
   * host did not load, an id outside 0..65535 or one without an icon. */
  IconHandle (*GetFromResource)(PluginRef plugin, int32_t iconId);
} ADMIconSuiteV1;

#define kADMNotifierSuite "ADM Notifier Suite"
#define kADMNotifierSuiteVersion 1

typedef struct ADMNotifierSuiteV1 {
  /* Both answer 0 / null for a notifier that is not being delivered now. */
  /* (value) Non-zero when the notifier is of the named type; 0 for a null
   * type. */
  HostBool (*IsNotifierType)(NotifierHandle notifier, const char* notifierType);
  /* (value) The item the notifier was sent to. */
  ItemHandle (*GetItem)(NotifierHandle notifier);
} ADMNotifierSuiteV1;

#define kADMListSuite "ADM List Suite"
#define kADMListSuiteVersion 1

typedef struct ADMListSuiteV1 {
  /* Each answers null / 0 for a bad list. */
  /* (value) A new entry at position index (0 = first; an index outside
   * 0..count appends); null when the host cannot make it. */
  EntryHandle (*InsertEntry)(ListHandle list, int32_t index);
  /* (value) The entry at a position, or null. */
  EntryHandle (*IndexEntry)(ListHandle list, int32_t index);
  /* (value) The selected entry, or null when none is. */
  EntryHandle (*GetActiveEntry)(ListHandle list);
  /* (value) */
  int32_t (*NumberOfEntries)(ListHandle list);
} ADMListSuiteV1;

#define kADMEntrySuite "ADM Entry Suite"
#define kADMEntrySuiteVersion 2

typedef struct ADMEntrySuiteV2 {
  /* Every status operation of this suite answers 'PAR?' for a bad entry;
   * GetID answers 0. */
  /* 'PAR?' for a null text; 'CANT' when the host cannot store it. */
  HostErr (*SetText)(EntryHandle entry, const char* text);
  /* Copies the text into buf (size bytes, zero-terminated; a longer text is
   * cut). 'PAR?' for a null buf or a size below 1. */
  HostErr (*GetText)(EntryHandle entry, char* buf, int32_t size);
  HostErr (*SetID)(EntryHandle entry, int32_t entryId);
  /* (value) */
  int32_t (*GetID)(EntryHandle entry);
  /* Makes the entry the list's selected one (select non-zero); select 0
   * leaves the list without a selection when the entry was the selected
   * one, and changes nothing otherwise. */
  HostErr (*Select)(EntryHandle entry, HostBool select);
} ADMEntrySuiteV2;

#define kADMTrackerSuite "ADM Tracker Suite"
#define kADMTrackerSuiteVersion 1

typedef struct ADMTrackerSuiteV1 {
  /* A null tracker means the innermost track now running. */
  /* (value) Modifier flags of the track (kPickModifier starts a pick); 0
   * when no such track is running. */
  int32_t (*GetModifiers)(TrackerHandle tracker);
  /* The mouse point of the track, in view coordinates of view 0. 'PAR?' when
   * no such track is running, or for a null point. */
  HostErr (*GetPoint)(TrackerHandle tracker, ViewPoint* point);
} ADMTrackerSuiteV1;

#ifdef __cplusplus
}
#endif
