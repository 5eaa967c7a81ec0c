// Whole drawing runs through the stand-in host: the plug-in's generator with
// its suite pointers bound to a fresh host document per iteration.
#include <benchmark/benchmark.h>

#include <memory>

#include "generator/generate_spirals.h"
#include "bench/bound_host.h"
#include "hostapp/records/record_file.h"
#include "params/record/default_parameters.h"

namespace {

int64_t segmentsOnPage(const host::Document& doc) {
  int64_t n = 0;
  for (const host::Layer& layer : doc.layers())
    doc.forEachInPaintOrder(layer.id, [&](const host::Art& a) { n += static_cast<int64_t>(a.state.segments.size()); });
  return n;
}

void runRecord(benchmark::State& st, const SpiralParameters& record) {
  int64_t segments = 0;
  timeFreshRuns(st, record, [&](const host::Document& doc) { segments += segmentsOnPage(doc); });
  st.counters["segments/s"] = benchmark::Counter(static_cast<double>(segments), benchmark::Counter::kIsRate);
  st.counters["segments/run"] = static_cast<double>(segments) / static_cast<double>(st.iterations());
}

// 200 spirals of 300 arms, each run back and forth 10 times beside itself.
void BM_Run200x300With10Offsets(benchmark::State& st) {
  SpiralParameters p = defaultParameters(306, 396);
  p.fromGo = 1;
  p.spiralCount = 200;
  p.armCount = 300;
  p.spiralOffsetX = 2;
  p.offsetCount = 10;
  p.placementMode = 2;
  runRecord(st, p);
}
BENCHMARK(BM_Run200x300With10Offsets)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_RunDefaults(benchmark::State& st) {
  SpiralParameters p = defaultParameters(306, 396);
  p.fromGo = 1;
  runRecord(st, p);
}
BENCHMARK(BM_RunDefaults)->Unit(benchmark::kMicrosecond);

// The kernel benchmark's spiral (300 arms, structure 0, no random curve)
// drawn through the host, 20 spirals and no offset pass: every segment on
// the page is one anchor of the kernel, so anchors/s compares with
// BM_KernelAnchors/0/0 (the whole run's cost per anchor over the kernel's).
void BM_RunAnchorsLikeKernel(benchmark::State& st) {
  SpiralParameters p = defaultParameters(306, 396);
  p.fromGo = 1;
  p.spiralCount = 20;
  p.armCount = 300;
  p.offsetCount = 0;
  int64_t anchors = 0;
  timeFreshRuns(st, p, [&](const host::Document& doc) { anchors += segmentsOnPage(doc); });
  st.counters["anchors/s"] = benchmark::Counter(static_cast<double>(anchors), benchmark::Counter::kIsRate);
  st.counters["anchors/run"] = static_cast<double>(anchors) / static_cast<double>(st.iterations());
}
BENCHMARK(BM_RunAnchorsLikeKernel)->Unit(benchmark::kMillisecond);

}  // namespace
