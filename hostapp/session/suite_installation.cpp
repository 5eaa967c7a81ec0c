#include "hostapp/session/suite_installation.h"

#include "hostapp/suites/dialog_manager_suites.h"
#include "hostapp/suites/suites.h"

namespace host {

void installSuites(HostContext& host) {
  registerApplicationSuites(host.suites());
  registerAdmSuites(host.suites());
}

}  // namespace host
