#include "hostapp/suites/dialog_manager_suites.h"

namespace host {

void registerAdmSuites(SuiteRegistry& registry) {
  registry.registerSuite(kADMBasicSuite, kADMBasicSuiteVersion, &admBasicSuite());
  registry.registerSuite(kADMDialogSuite, kADMDialogSuiteVersion, &admDialogSuite());
  registry.registerSuite(kADMItemSuite, kADMItemSuiteVersion, &admItemSuite());
  registry.registerSuite(kADMIconSuite, kADMIconSuiteVersion, &admIconSuite());
  registry.registerSuite(kADMNotifierSuite, kADMNotifierSuiteVersion, &admNotifierSuite());
  registry.registerSuite(kADMListSuite, kADMListSuiteVersion, &admListSuite());
  registry.registerSuite(kADMEntrySuite, kADMEntrySuiteVersion, &admEntrySuite());
  registry.registerSuite(kADMTrackerSuite, kADMTrackerSuiteVersion, &admTrackerSuite());
}

}  // namespace host
