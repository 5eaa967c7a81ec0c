// The writers on a drawn document: the SVG writer against a floor that
// formats the same path numbers with std::to_chars alone, and the streamed
// JSON dump's peak heap while writing against the document's own bytes
// (counted by the operator new of this binary, allocation_counter.cpp).
#include <benchmark/benchmark.h>

#include <charconv>
#include <memory>
#include <streambuf>

#include "bench/allocation_counter.h"
#include "bench/bound_host.h"
#include "generator/generate_spirals.h"
#include "hostapp/records/record_file.h"
#include "hostapp/writers/json_writer.h"
#include "hostapp/writers/svg_writer.h"
#include "params/record/default_parameters.h"

namespace {

// An ostream target that keeps nothing and counts the bytes.
class CountingBuf final : public std::streambuf {
 public:
  std::size_t bytes = 0;

 protected:
  int_type overflow(int_type c) override {
    ++bytes;
    return traits_type::not_eof(c);
  }
  std::streamsize xsputn(const char*, std::streamsize n) override {
    bytes += static_cast<std::size_t>(n);
    return n;
  }
};

// 20 spirals of 300 arms with two offset passes, coloured at random: about
// 60 000 segments.
const host::Document& drawnDocument() {
  static const std::unique_ptr<BoundHost> host = [] {
    auto h = std::make_unique<BoundHost>();
    SpiralParameters p = defaultParameters(306, 396);
    p.fromGo = 1;
    p.spiralCount = 20;
    p.armCount = 300;
    p.offsetCount = 2;
    p.spiralOffsetX = 3;
    p.placementMode = 2;
    p.randomStroke = 1;
    p.randomWidth = 1;
    generateSpirals(p);
    return h;
  }();
  return host->document();
}

// Also the peak heap taken while writing, as the JSON dump's below.
void BM_SvgWriter(benchmark::State& st) {
  const host::Document& doc = drawnDocument();
  std::size_t bytes = 0;
  std::size_t peak = 0;
  for (auto _ : st) {
    CountingBuf buf;
    std::ostream out(&buf);
    const std::size_t before = allocation::resetPeak();
    writers::writeSvg(doc, out);
    peak = std::max(peak, allocation::peak() - before);
    bytes += buf.bytes;
  }
  st.counters["bytes/s"] = benchmark::Counter(static_cast<double>(bytes), benchmark::Counter::kIsRate);
  st.counters["peakWhileWriting"] = static_cast<double>(peak);
  st.counters["peak/document"] = static_cast<double>(peak) / static_cast<double>(doc.memory().used());
}
BENCHMARK(BM_SvgWriter)->Unit(benchmark::kMillisecond);

// The floor: every path's "M x y C ..." numbers through std::to_chars with
// three decimals, trimmed as the writer trims them, into a buffer that goes
// to the same kind of stream: the bytes of the path data and nothing else.
void BM_SvgPathFloor(benchmark::State& st) {
  const host::Document& doc = drawnDocument();
  std::size_t bytes = 0;
  for (auto _ : st) {
    CountingBuf buf;
    std::ostream out(&buf);
    char block[1 << 14];
    std::size_t used = 0;
    auto number = [&](float v) {
      if (sizeof block - used < 64) {
        out.write(block, static_cast<std::streamsize>(used));
        used = 0;
      }
      char* const start = block + used;
      char* end = std::to_chars(start, block + sizeof block, static_cast<double>(v), std::chars_format::fixed, 3).ptr;
      while (end[-1] == '0') --end;
      if (end[-1] == '.') --end;
      end[0] = ' ';
      used = static_cast<std::size_t>(end + 1 - block);
    };
    for (const host::Layer& layer : doc.layers()) {
      doc.forEachInPaintOrder(layer.id, [&](const host::Art& a) {
        const auto& segs = a.state.segments;
        for (std::size_t i = 0; i < segs.size(); ++i) {
          if (i > 0) {
            number(segs[i - 1].out.x), number(segs[i - 1].out.y), number(segs[i].in.x), number(segs[i].in.y);
          }
          number(segs[i].anchor.x), number(segs[i].anchor.y);
        }
      });
    }
    out.write(block, static_cast<std::streamsize>(used));
    bytes += buf.bytes;
  }
  st.counters["bytes/s"] = benchmark::Counter(static_cast<double>(bytes), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SvgPathFloor)->Unit(benchmark::kMillisecond);

// Peak heap taken while the dump is written, as a multiple of the bytes
// the document holds (its memory budget's charge).
void BM_JsonDumpPeakMemory(benchmark::State& st) {
  const host::Document& doc = drawnDocument();
  const nlohmann::json extra = {{"record", records::recordToJson(defaultParameters(306, 396))}};
  std::size_t peak = 0;
  for (auto _ : st) {
    CountingBuf buf;
    std::ostream out(&buf);
    const std::size_t before = allocation::resetPeak();
    writers::writeDocumentJson(doc, extra, out);
    peak = std::max(peak, allocation::peak() - before);
    benchmark::DoNotOptimize(buf.bytes);
  }
  const double documentBytes = static_cast<double>(doc.memory().used());
  st.counters["documentBytes"] = documentBytes;
  st.counters["peakWhileWriting"] = static_cast<double>(peak);
  st.counters["peak/document"] = static_cast<double>(peak) / documentBytes;
}
BENCHMARK(BM_JsonDumpPeakMemory)->Unit(benchmark::kMillisecond);

}  // namespace
