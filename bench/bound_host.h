// A fresh, seeded stand-in host with the plug-in's suite pointers bound to
// it, for benchmarks that call the generator directly.
#pragma once

#include <benchmark/benchmark.h>

#include <memory>

#include "generator/generate_spirals.h"
#include "hostapp/session/drawing_session.h"
#include "hostapp/platform/allocator.h"
#include "shell/suite_table.h"

class BoundHost {
 public:
  // The allocator is set up as spiral-host's main sets it up.
  BoundHost() : session_(settings()), host_(session_.host()), activation_(&host_) {
    for (const SuiteTableEntry& e : SuiteTable) host_.basicSuite()->AcquireSuite(e.name, e.version, e.pointer);
    host_.beginMessage();
  }
  ~BoundHost() {
    for (const SuiteTableEntry& e : SuiteTable) {
      if (*e.pointer) host_.basicSuite()->ReleaseSuite(e.name, e.version);
      *e.pointer = nullptr;
    }
  }
  BoundHost(const BoundHost&) = delete;
  BoundHost& operator=(const BoundHost&) = delete;
  const host::Document& document() const { return host_.document(); }

 private:
  static host::SessionSettings settings() {
    host::platform::keepFreedMemoryForRedraws();
    host::SessionSettings s;
    s.host.seed = 1;
    return s;
  }
  host::DrawingSession session_;
  host::HostContext& host_;
  host::HostContext::Activation activation_;
};

// Times generateSpirals(record) on a fresh host per iteration (the host's
// making and freeing untimed); `tally` is given each drawn document, untimed.
template <typename Tally>
void timeFreshRuns(benchmark::State& st, const SpiralParameters& record, Tally&& tally) {
  for (auto _ : st) {
    st.PauseTiming();
    auto bound = std::make_unique<BoundHost>();
    SpiralParameters p = record;
    st.ResumeTiming();
    if (generateSpirals(p) != kHostNoErr) st.SkipWithError("the run failed");
    st.PauseTiming();
    tally(bound->document());
    bound.reset();
    st.ResumeTiming();
  }
}
