// A stand-in host for tests: made, activated on this thread, and with the
// plug-in's suite pointers (SuiteTable of shell/suite_table.h) bound to it
// through its basic suite. Suites the host lacks stay null. Everything is
// released in TearDown.
//
//   class MyTest : public HostFixture {};
//   TEST_F(MyTest, Draws) { ... gArtSuite->NewArt(...); document().liveArtCount(); }
//
// Override hostOptions() for another page, colour model or seed (the default
// seed is 1, so runs are reproducible).
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "hostapp/host/host_context.h"
#include "shell/host/host_interface.h"
#include "shell/suite_table.h"

// Binds every SuiteTable entry the host can supply; releases them again on
// destruction and sets the pointers back to null.
class PluginSuiteBinding {
 public:
  explicit PluginSuiteBinding(const BasicSuiteV4* basic);
  ~PluginSuiteBinding();
  PluginSuiteBinding(const PluginSuiteBinding&) = delete;
  PluginSuiteBinding& operator=(const PluginSuiteBinding&) = delete;
  int boundCount() const { return static_cast<int>(bound_.size()); }

 private:
  const BasicSuiteV4* basic_;
  std::vector<int> bound_;  // SuiteTable indices acquired
};

class HostFixture : public ::testing::Test {
 protected:
  virtual host::HostOptions hostOptions() const;
  void SetUp() override;
  void TearDown() override;

  host::HostContext& host() { return *host_; }
  host::Document& document() { return host_->document(); }
  // The next random draws return these values.
  void scriptRandom(std::vector<float> values) { host_->random().script(std::move(values)); }
  // The model id behind an art handle of this host (0 when it names none).
  host::ArtId artIdOf(ArtHandle art) const;
  ArtHandle handleOf(host::ArtId id) const;

 private:
  std::unique_ptr<host::HostContext> host_;
  std::unique_ptr<host::HostContext::Activation> activation_;
  std::unique_ptr<PluginSuiteBinding> binding_;
};
