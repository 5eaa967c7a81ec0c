#include "support/host_fixture.h"

#include "hostapp/session/suite_installation.h"
#include "hostapp/suites/adapter_util.h"
#include "shell/suite_table.h"

PluginSuiteBinding::PluginSuiteBinding(const BasicSuiteV4* basic) : basic_(basic) {
  for (int i = 0; i < kSuiteTableSize; ++i) {
    const SuiteTableEntry& entry = SuiteTable[i];
    *entry.pointer = nullptr;
    if (basic_->AcquireSuite(entry.name, entry.version, entry.pointer) == kHostNoErr) bound_.push_back(i);
  }
}

PluginSuiteBinding::~PluginSuiteBinding() {
  for (int i : bound_) {
    const SuiteTableEntry& entry = SuiteTable[i];
    basic_->ReleaseSuite(entry.name, entry.version);
    *entry.pointer = nullptr;
  }
}

host::HostOptions HostFixture::hostOptions() const {
  host::HostOptions options;
  options.seed = 1;
  return options;
}

void HostFixture::SetUp() {
  host_ = std::make_unique<host::HostContext>(hostOptions());
  host::installSuites(*host_);
  activation_ = std::make_unique<host::HostContext::Activation>(host_.get());
  binding_ = std::make_unique<PluginSuiteBinding>(host_->basicSuite());
  host_->beginMessage();
}

void HostFixture::TearDown() {
  binding_.reset();
  activation_.reset();
  host_.reset();
}

host::ArtId HostFixture::artIdOf(ArtHandle art) const { return host::artId(*host_, art); }

ArtHandle HostFixture::handleOf(host::ArtId id) const { return host::artHandle(*host_, id); }
