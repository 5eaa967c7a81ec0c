// PluginMain as a barrier: an exception thrown by anything it calls ends as
// a host code, shown in the error dialog, with every suite unbound.
#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <stdexcept>
#include <type_traits>

#include "entry/plugin_main.h"
#include "shell/guarded.h"
#include "shell/suite_table.h"
#include "support/session_fixture.h"

namespace {

static_assert(noexcept(PluginMain(nullptr, nullptr, nullptr)));

// The host's basic suite, except that comparing anything with the text
// `gThrowAt` throws: an exception raised in the middle of a message's
// handling, after the suites were bound.
const BasicSuiteV4* gHostBasic = nullptr;
const char* gThrowAt = nullptr;
bool gThrowBadAlloc = true;

HostBool throwingIsEqual(const char* a, const char* b) {
  if (gThrowAt && std::strcmp(b, gThrowAt) == 0) {
    if (gThrowBadAlloc) throw std::bad_alloc();
    throw std::runtime_error("from inside the plug-in");
  }
  return gHostBasic->IsEqual(a, b);
}

class PluginMainBarrierTest : public SessionFixture {
 protected:
  bool startsUp() const override { return true; }

  // Sends `caller`/`selector` straight to PluginMain over the throwing basic
  // suite; the comparison with `throwAt` throws.
  HostErr sendThrowing(const char* caller, const char* selector, const char* throwAt, bool badAlloc) {
    auto active = host_->activate();
    gHostBasic = host_->basicSuite();
    BasicSuiteV4 basic = *gHostBasic;
    basic.IsEqual = throwingIsEqual;
    gThrowAt = throwAt;
    gThrowBadAlloc = badAlloc;
    MessageHeader message{kMessageCheckWord, session_->ref(), nullptr, &basic};
    const HostErr result = PluginMain(caller, selector, &message);
    gThrowAt = nullptr;
    return result;
  }

  static bool everySuiteUnbound() {
    for (const SuiteTableEntry& entry : SuiteTable)
      if (*entry.pointer != nullptr) return false;
    return suiteUseCount == 0;
  }
};

TEST_F(PluginMainBarrierTest, ExceptionsInAHandlerBecomeHostCodesAndTheSuitesAreUnbound) {
  struct Case {
    bool badAlloc;
    HostErr code;
    const char* codeText;
  };
  for (const Case& c : {Case{true, kHostOutOfMemoryErr, "-108"}, Case{false, kHostCantHappenErr, "CANT"}}) {
    session_->dialogs().clearShown();
    // Dispatch compares the selector with "About" after binding: the throw
    // comes from inside the message's handling.
    EXPECT_EQ(sendThrowing(kCallerInterface, kSelectorAbout, kSelectorAbout, c.badAlloc), c.code);
    EXPECT_TRUE(everySuiteUnbound());
    EXPECT_EQ(host().suites().totalRefCount(), 0);
    ASSERT_EQ(session_->dialogs().shown().size(), 1u) << c.codeText;
    EXPECT_EQ(session_->dialogs().shown()[0].name, "Error Dialog");
    bool codeShown = false;
    for (const auto& item : session_->dialogs().shown()[0].items) codeShown |= item.id == 3 && item.text == c.codeText;
    EXPECT_TRUE(codeShown) << c.codeText;
  }
  // The plug-in goes on answering afterwards.
  session_->dialogs().clearShown();
  EXPECT_EQ(sendThrowing(kCallerInterface, kSelectorAbout, nullptr, true), kHostNoErr);
  ASSERT_EQ(session_->dialogs().shown().size(), 1u);
  EXPECT_EQ(session_->dialogs().shown()[0].name, "About Dialog");
}

TEST_F(PluginMainBarrierTest, AThrowBeforeBindingBindsNothing) {
  // The first comparison, with the access caller, throws: nothing was bound
  // and nothing can be shown.
  EXPECT_EQ(sendThrowing(kCallerInterface, kSelectorAbout, kCallerAccess, true), kHostOutOfMemoryErr);
  EXPECT_TRUE(everySuiteUnbound());
  EXPECT_EQ(host().suites().totalRefCount(), 0);
  EXPECT_TRUE(session_->dialogs().shown().empty());
}

TEST(ExceptionCode, BadAllocIsOutOfMemoryAndAnythingElseCantHappen) {
  EXPECT_EQ(exceptionCode(std::make_exception_ptr(std::bad_alloc())), kHostOutOfMemoryErr);
  EXPECT_EQ(exceptionCode(std::make_exception_ptr(std::bad_array_new_length())), kHostOutOfMemoryErr);
  EXPECT_EQ(exceptionCode(std::make_exception_ptr(std::runtime_error("x"))), kHostCantHappenErr);
  EXPECT_EQ(exceptionCode(std::make_exception_ptr(42)), kHostCantHappenErr);
}

}  // namespace
