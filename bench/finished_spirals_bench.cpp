// A drawing run heavy in finished-spiral output: " Art sketch 9" (seven
// displaced, recoloured sketch copies per spiral) with "Basic pattern" on, so
// every spiral and every sketch copy is also mirrored four-fold, 20 spirals.
#include <benchmark/benchmark.h>

#include <memory>

#include "dialog/record_actions.h"
#include "generator/generate_spirals.h"
#include "bench/bound_host.h"
#include "hostapp/records/record_file.h"
#include "params/record/default_parameters.h"

namespace {

constexpr int32_t kArtSketch9 = 53;

void BM_ArtSketch9WithPattern20Spirals(benchmark::State& st) {
  const SpiralParameters defaults = defaultParameters(306, 396);
  SpiralParameters record = defaults;
  writePresetBase(record, kArtSketch9, defaults);
  applyPresetRow(record, kArtSketch9);
  record.basicPattern = 1;
  record.spiralCount = 20;
  record.fromGo = 1;

  int64_t art = 0;
  timeFreshRuns(st, record, [&](const host::Document& doc) { art += static_cast<int64_t>(doc.liveArtCount()); });
  st.counters["art/run"] = static_cast<double>(art) / static_cast<double>(st.iterations());
}
BENCHMARK(BM_ArtSketch9WithPattern20Spirals)->Unit(benchmark::kMillisecond)->MinTime(0.5)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace
