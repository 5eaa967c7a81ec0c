// What the command line tells about a plug-in session: the dialogs and
// alerts shown, the failure of a message with the error dialog's texts,
// and the calls the host refused, all on stderr.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "hostapp/dialogs/dialog_manager.h"
#include "hostapp/session/plugin_session.h"

namespace cli {

// One block per dialog or alert: its name, caption and how it ended, then
// the texts of its items (a dialog of many items is summed up in one line).
void printShownDialogs(const std::vector<host::ShownDialog>& shown, std::ostream& err);

// "the filter failed: MESSAGE (code CODE)" from the last error dialog shown,
// or the bare code when none was shown.
void printFailure(HostErr result, const std::vector<host::ShownDialog>& shown, std::ostream& err);

// The calls the host refused (the latest few), one line each: which call,
// on which art and segment, and why.
void printRefusals(const host::CallGate& gate, std::ostream& err);

}  // namespace cli
