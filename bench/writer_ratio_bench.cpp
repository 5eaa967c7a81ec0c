// What writing costs next to drawing, on a large drawing: 40 spirals of 300
// arms, each run back and forth 10 times beside itself (about 530 000
// segments). Each iteration draws the record on a fresh host, then writes
// the SVG and the JSON dump of it, each phase timed on its own; the
// counters give each phase per segment and the two ratios of one iteration
// (run with --benchmark_repetitions for their medians and spreads).
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <streambuf>

#include "bench/bound_host.h"
#include "generator/generate_spirals.h"
#include "hostapp/writers/json_writer.h"
#include "hostapp/writers/svg_writer.h"
#include "params/record/default_parameters.h"

namespace {

// An ostream target that keeps nothing.
class NullBuf final : public std::streambuf {
 protected:
  int_type overflow(int_type c) override { return traits_type::not_eof(c); }
  std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

SpiralParameters bigRecord() {
  SpiralParameters p = defaultParameters(306, 396);
  p.fromGo = 1;
  p.spiralCount = 40;
  p.armCount = 300;
  p.spiralOffsetX = 2;
  p.offsetCount = 10;
  p.placementMode = 2;
  return p;
}

std::int64_t segmentsOf(const host::Document& doc) {
  std::int64_t n = 0;
  for (const host::Layer& layer : doc.layers())
    doc.forEachInPaintOrder(layer.id, [&](const host::Art& a) { n += static_cast<std::int64_t>(a.state.segments.size()); });
  return n;
}

void BM_BigDrawSvgJson(benchmark::State& st) {
  using Clock = std::chrono::steady_clock;
  const auto seconds = [](Clock::duration d) { return std::chrono::duration<double>(d).count(); };
  double draw = 0, svg = 0, json = 0;
  std::int64_t segments = 0;
  const nlohmann::json extra = nlohmann::json::object();
  for (auto _ : st) {
    auto bound = std::make_unique<BoundHost>();
    SpiralParameters p = bigRecord();
    const auto t0 = Clock::now();
    if (generateSpirals(p) != kHostNoErr) st.SkipWithError("the run failed");
    const auto t1 = Clock::now();
    NullBuf buf;
    std::ostream out(&buf);
    writers::writeSvg(bound->document(), out);
    const auto t2 = Clock::now();
    writers::writeDocumentJson(bound->document(), extra, out);
    const auto t3 = Clock::now();
    draw += seconds(t1 - t0);
    svg += seconds(t2 - t1);
    json += seconds(t3 - t2);
    segments += segmentsOf(bound->document());
    st.SetIterationTime(seconds(t3 - t0));
  }
  const double n = static_cast<double>(segments);
  st.counters["segments/run"] = n / static_cast<double>(st.iterations());
  st.counters["draw_ns/segment"] = draw / n * 1e9;
  st.counters["svg_ns/segment"] = svg / n * 1e9;
  st.counters["json_ns/segment"] = json / n * 1e9;
  st.counters["svg/draw"] = svg / draw;
  st.counters["json/svg"] = json / svg;
}
BENCHMARK(BM_BigDrawSvgJson)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

}  // namespace
