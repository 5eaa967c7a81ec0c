// A stand-in host driving the plug-in as the host does: a PluginSession over
// the built library's resources, whose messages go to the PluginMain linked
// into the test binary (so tests can also look at the plug-in's state).
// The plug-in's process-wide state is reset around every test, as a freshly
// loaded library has it.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "hostapp/host/host_context.h"
#include "hostapp/loader/plugin_loader.h"
#include "hostapp/session/plugin_session.h"
#include "params/record/spiral_parameters.h"

class SessionFixture : public ::testing::Test {
 protected:
  // Seed 7 unless a test says otherwise.
  virtual host::HostOptions options() const;
  // Whether SetUp sends Startup.
  virtual bool startsUp() const { return false; }

  void SetUp() override;
  void TearDown() override;
  static void resetPluginState();

  host::HostContext& host() { return *host_; }
  host::PluginSession& session() { return *session_; }
  // The record the session keeps, decoded (nullopt before there is one),
  // and a record for it to keep, as after an earlier run.
  std::optional<SpiralParameters> keptRecord() const;
  HostErr keepRecord(const SpiralParameters& record);

  std::unique_ptr<host::HostContext> host_;
  std::unique_ptr<host::PluginSession> session_;
};
