#include "support/session_fixture.h"

#include "hostapp/session/suite_installation.h"
#include "hostapp/records/record_file.h"
#include "entry/plugin_main.h"
#include "shell/suite_table.h"

host::HostOptions SessionFixture::options() const {
  host::HostOptions o;
  o.seed = 7;
  return o;
}

void SessionFixture::SetUp() {
  resetPluginState();
  host_ = std::make_unique<host::HostContext>(options());
  host::installSuites(*host_);
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

std::optional<SpiralParameters> SessionFixture::keptRecord() const {
  const std::vector<unsigned char> bytes = session_->recordBytes();
  if (bytes.empty()) return std::nullopt;
  return records::recordFromBytes(bytes);
}

HostErr SessionFixture::keepRecord(const SpiralParameters& record) {
  return session_->setRecordBytes(records::recordBytes(record));
}

void SessionFixture::resetPluginState() {
  for (const SuiteTableEntry& entry : SuiteTable) *entry.pointer = nullptr;
  suiteUseCount = 0;
  gPluginGlobals = nullptr;
}
