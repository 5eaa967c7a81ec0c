// Small helpers the dialog's procs share: the record behind a dialog and the
// items of a dialog by id.
#pragma once

#include "params/view_defaults.h"
#include "shell/suite_table.h"

// The record given to Modal as the dialog's user data.
inline SpiralParameters* dialogRecord(DialogHandle dialog) {
  return static_cast<SpiralParameters*>(gADMDialogSuite->GetUserData(dialog));
}

inline ItemHandle dialogItem(DialogHandle dialog, int32_t itemId) {
  return gADMDialogSuite->GetItem(dialog, itemId);
}
