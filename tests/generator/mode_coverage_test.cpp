// Every entry of the mode lists reaches its own case in the generator: for
// each list, no two modes act alike, and a number outside the list acts as
// the list's fallback always has. A mode missing from a switch would fall
// into its default and act like the fallback or like another mode.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "generator/generate_spirals.h"
#include "generator/kernel.h"
#include "generator/placement.h"
#include "params/choice_modes.h"
#include "support/pure_services.h"

namespace {

// What one mode did: every number it produced and the draws it took.
using Trace = std::vector<float>;

template <typename Mode, typename Run>
std::vector<Trace> traceEveryMode(Run run) {
  std::vector<Trace> traces;
  for (int32_t number = 0; number < ChoiceTable<Mode>::count; ++number) traces.push_back(run(toMode<Mode>(number)));
  return traces;
}

template <typename Mode>
void expectAllDistinct(const std::vector<Trace>& traces) {
  ASSERT_EQ(traces.size(), static_cast<std::size_t>(ChoiceTable<Mode>::count));
  for (std::size_t a = 0; a < traces.size(); ++a)
    for (std::size_t b = a + 1; b < traces.size(); ++b)
      EXPECT_NE(traces[a], traces[b]) << ChoiceTable<Mode>::names[a] << " acts as " << ChoiceTable<Mode>::names[b];
}

// The same script of draws for every mode, long enough for the hungriest.
PureServices services() { return PureServices({0.3f, 0.6f, 0.8f, 0.45f, 0.15f, 0.9f, 0.7f, 0.2f, 0.55f, 0.35f}); }

TEST(ModeCoverage, EveryPlacementHasItsOwnCentre) {
  const auto run = [](PlacementMode mode) {
    PureServices s = services();
    const HostPoint c = placeSpiral(mode, {11, 22}, 600, 800, s);
    return Trace{c.h, c.v, static_cast<float>(s.draws())};
  };
  const std::vector<Trace> traces = traceEveryMode<PlacementMode>(run);
  expectAllDistinct<PlacementMode>(traces);
  EXPECT_EQ(run(toMode<PlacementMode>(-1)), traces[0]) << "outside the list: the user's centre";
  EXPECT_EQ(run(toMode<PlacementMode>(ChoiceTable<PlacementMode>::count)), traces[0]);
}

TEST(ModeCoverage, EveryInterpolationModeHasItsOwnOrigin) {
  const auto run = [](InterpolationMode mode) {
    PureServices s = services();
    const HostPoint o = chooseInterpolationOrigin(mode, {10, 20}, 50, 600, 800, s);
    return Trace{o.h, o.v, static_cast<float>(s.draws())};
  };
  const std::vector<Trace> traces = traceEveryMode<InterpolationMode>(run);
  expectAllDistinct<InterpolationMode>(traces);
  EXPECT_EQ(run(toMode<InterpolationMode>(-1)), traces[0]) << "outside the list: the spiral centre";
  EXPECT_EQ(run(toMode<InterpolationMode>(ChoiceTable<InterpolationMode>::count)), traces[0]);
}

TEST(ModeCoverage, EveryOffsetModeMovesPointsItsOwnWay) {
  // Four consecutive points cover both parities and the four-point cycles.
  const auto run = [](OffsetMode mode) {
    PureServices s = services();
    Trace trace;
    for (int32_t written = 0; written < 4; ++written) {
      HostReal sx = 10, sy = 7;
      applyOffsetMode(mode, written, 0.25f, 0.5f, sx, sy, s);
      trace.insert(trace.end(), {sx, sy});
    }
    trace.push_back(static_cast<float>(s.draws()));
    return trace;
  };
  const std::vector<Trace> traces = traceEveryMode<OffsetMode>(run);
  expectAllDistinct<OffsetMode>(traces);
  EXPECT_EQ(run(toMode<OffsetMode>(-1)), traces[0]) << "outside the list: the basic offset";
  EXPECT_EQ(run(toMode<OffsetMode>(ChoiceTable<OffsetMode>::count)), traces[0]);
}

TEST(ModeCoverage, EveryPointShiftModeShiftsItsOwnWay) {
  const auto run = [](PointShiftMode mode) {
    KernelConstants k = defaultKernelConstants();
    k.pointShiftX = 4;
    k.pointShiftY = -8;
    k.pointShiftMode = mode;
    PureServices s = services();
    Trace trace;
    for (int32_t anchor = 1; anchor <= 4; ++anchor) {
      const HostPoint shift = anchorShift(k, 3, anchor, s);
      trace.insert(trace.end(), {shift.h, shift.v});
    }
    trace.push_back(static_cast<float>(s.draws()));
    return trace;
  };
  const std::vector<Trace> traces = traceEveryMode<PointShiftMode>(run);
  expectAllDistinct<PointShiftMode>(traces);
  const Trace none{0, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(run(toMode<PointShiftMode>(-1)), none) << "outside the list: no shift";
  EXPECT_EQ(run(toMode<PointShiftMode>(ChoiceTable<PointShiftMode>::count)), none);
}

TEST(ModeCoverage, EveryStructureGrowsItsOwnWay) {
  // Ten arms: the rules that depend on the arm's parity, on every fourth or
  // fifth arm, or on n / 5, all show.
  const auto run = [](SpiralStructure structure) {
    KernelConstants k = defaultKernelConstants();
    k.decayStep = 0.9f;
    k.curveFactorIn = 1.1f;
    k.curveFactorOut = 0.8f;
    SpiralState st = startSpiral(k);
    PureServices s;
    Trace trace;
    for (int32_t n = 0; n < 10; ++n) {
      for (int32_t mode = 1; mode <= 5; ++mode) {
        stepSpiral(n, mode, structure, k.gap, st, s);
        trace.insert(trace.end(), {st.radius, st.decayProduct, st.angleIn, st.angleOut});
      }
    }
    trace.push_back(static_cast<float>(s.draws()));
    return trace;
  };
  const std::vector<Trace> traces = traceEveryMode<SpiralStructure>(run);
  expectAllDistinct<SpiralStructure>(traces);
  // Outside the list nothing grows at all, unlike every listed structure.
  const Trace still = run(toMode<SpiralStructure>(ChoiceTable<SpiralStructure>::count));
  EXPECT_EQ(run(toMode<SpiralStructure>(-1)), still);
  for (std::size_t i = 0; i < traces.size(); ++i)
    EXPECT_NE(traces[i], still) << ChoiceTable<SpiralStructure>::names[i];
  const KernelConstants k = defaultKernelConstants();
  EXPECT_EQ(still[0], k.gap);
}

}  // namespace
