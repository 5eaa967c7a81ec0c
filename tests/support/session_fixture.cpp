#include "support/session_fixture.h"

#include "shell/plugin_main.h"
#include "shell/suite_table.h"

host::HostOptions SessionFixture::options() const {
  host::HostOptions o;
  o.seed = 7;
  return o;
}

void SessionFixture::SetUp() {
  resetPluginState();
  host_ = std::make_unique<host::HostContext>(options());
  session_ = std::make_unique<host::PluginSession>(*host_, host::scanPluginFile(SPIRAL_PLUGIN_FILE), &PluginMain);
  if (startsUp()) {
    ASSERT_EQ(session_->startup(), kHostNoErr);
  }
}

void SessionFixture::TearDown() {
  session_.reset();
  host_.reset();
  resetPluginState();
}

void SessionFixture::resetPluginState() {
  for (const SuiteTableEntry& entry : SuiteTable) *entry.pointer = nullptr;
  suiteUseCount = 0;
  gPluginGlobals = nullptr;
}
