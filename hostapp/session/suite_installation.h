// Puts a host together: registers every suite this host implements (the
// application suites, the basic suite among them, and the dialog-manager
// suites) in a host's registry. Whoever makes a host for a plug-in calls it
// once, before the first message.
#pragma once

#include "hostapp/host/host_context.h"

namespace host {

void installSuites(HostContext& host);

}  // namespace host
