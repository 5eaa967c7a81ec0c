// What the command line tells about a plug-in session: the dialogs and
// alerts shown (on stderr), the failure of a message with the error
// dialog's texts, and the "messages" and "dialogs" of the JSON dump.
#pragma once

#include <nlohmann/json.hpp>
#include <ostream>
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

nlohmann::json messagesToJson(const std::vector<host::MessageRecord>& messages);
nlohmann::json dialogsToJson(const std::vector<host::ShownDialog>& shown);

}  // namespace cli
