#include "hostapp/host/host_context.h"
#include "hostapp/suites/adm_suites.h"

namespace host {

// The dialog-manager suites register here, one call per suite family.
void registerDialogManagerSuites(SuiteRegistry& registry) { registerAdmSuites(registry); }

}  // namespace host
