// Faults the validator and the fuzzer found, each kept here as the smallest
// run that shows it, so it cannot come back.
#include <gtest/gtest.h>

#include "support/session_fixture.h"

namespace {

constexpr HostErr kBadSelection = static_cast<HostErr>(host::fourCharCode("!sel"));

class Hardening : public SessionFixture {
 protected:
  bool startsUp() const override { return true; }
  int errorDialogs() {
    int n = 0;
    for (const host::ShownDialog& shown : session().dialogs().shown()) n += shown.name == "Error Dialog" ? 1 : 0;
    return n;
  }
};

// The error dialog's init proc read its texts through the user data without
// looking: a host that could not hand it back crashed the plug-in.
TEST_F(Hardening, ErrorDialogWithoutItsUserDataStillShowsOnce) {
  host().gate().failOperation(kADMDialogSuite, "GetUserData", kHostBadParameterErr);
  EXPECT_EQ(session().send(kCallerMenu, kSelectorMenuGo), kBadSelection);
  EXPECT_EQ(errorDialogs(), 1);
}

}  // namespace
