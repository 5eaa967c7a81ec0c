#include "entry/filter_messages.h"

#include <cstring>

#include "dialog/options_dialog.h"
#include "generator/generate_spirals.h"
#include "params/record/plugin_facts.h"
#include "shell/plugin_globals.h"
#include "shell/suite_table.h"

namespace {

SpiralParameters* recordOf(const FilterMessage* message) {
  if (!message->parameters || !*message->parameters) return nullptr;
  return static_cast<SpiralParameters*>(*message->parameters);
}

}  // namespace

HostErr onFilterParameters(FilterMessage* message) {
  if (!gPluginGlobals || message->filter != gPluginGlobals->filter) return kHostNoErr;
  return runSpiralDialog(message);
}

HostErr runSpiralDialog(FilterMessage* message) {
  if (!message->parameters) {
    HostErr result = gMdMemorySuite->NewHandle(static_cast<int32_t>(sizeof(SpiralParameters)), &message->parameters);
    if (result != kHostNoErr) return result;
    if (!recordOf(message)) return kNoParameterMemErr;
    setDefaultParameters(*recordOf(message));
  }
  SpiralParameters* record = recordOf(message);
  if (!record) return kNoParameterMemErr;

  SpiralParameters saved;
  std::memcpy(&saved, record, sizeof saved);
  int32_t ended = gADMDialogSuite->Modal(message->d.self, kOptionsDialogName, kOptionsDialogResource, 0,
                                         initOptionsDialog, record);
  if (ended == kDialogAccept) return kHostNoErr;

  // Cancelled: take back what the preview drew, then the record's edits.
  HostErr result = gUndoSuite->UndoChanges();
  if (result != kHostNoErr) return result;
  std::memcpy(record, &saved, sizeof saved);
  record->previewDrawn = 0;
  return kUserCancelErr;
}

HostErr onFilterGo(FilterMessage* message) { return drawFromGo(message); }

HostErr drawFromGo(FilterMessage* message) {
  // A Go without a record (the host never ran Get Parameters) has nothing to
  // draw from; answering with an error beats reading through a null handle.
  SpiralParameters* record = recordOf(message);
  if (!record) return kHostBadParameterErr;
  record->fromGo = 1;
  return generateSpirals(*record);
}
