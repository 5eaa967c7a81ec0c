// The dialog-manager (ADM) suite adapters of the stand-in host. Every operation
// passes the active host's call gate first (so it is counted and can be made
// to fail), checks every handle against that host's dialog manager and
// plug-in directory, and never lets an exception out.
#pragma once

#include "hostapp/dialogs/dialog_manager.h"
#include "hostapp/dialogs/plugin_directory.h"
#include "hostapp/host/host_context.h"
#include "shell/host/adm_suites.h"

namespace host {

const ADMBasicSuiteV2& admBasicSuite();
const ADMDialogSuiteV3& admDialogSuite();
const ADMItemSuiteV4& admItemSuite();
const ADMIconSuiteV1& admIconSuite();
const ADMNotifierSuiteV1& admNotifierSuite();
const ADMListSuiteV1& admListSuite();
const ADMEntrySuiteV2& admEntrySuite();
const ADMTrackerSuiteV1& admTrackerSuite();

// Registers the eight suites above.
void registerAdmSuites(SuiteRegistry& registry);

namespace adm {

// The gate's verdict and the active host's dialog manager and plug-ins.
struct Call {
  HostErr status;
  DialogManager* dialogs;
  PluginDirectory* plugins;
};

inline Call enter(const char* suite, const char* operation) {
  HostCall call = enterHostCall(suite, operation);
  if (!call.host) return {call.status, nullptr, nullptr};
  return {call.status, &call.host->service<DialogManager>(), &call.host->service<PluginDirectory>()};
}

}  // namespace adm
}  // namespace host
