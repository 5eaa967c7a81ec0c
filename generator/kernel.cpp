#include "generator/kernel.h"

namespace {

float f32(double value) { return static_cast<float>(value); }

// New radius after anchor `mode` (1..4) of arm n under structure s.
float grownRadius(int32_t n, int32_t mode, SpiralStructure s, double g, const SpiralState& st,
                  KernelServices& services) {
  const double r = st.radius;
  const double d = st.decay;
  const double A = st.decayProduct;
  const bool even = n % 2 == 0;
  using enum SpiralStructure;
  switch (s) {
    case RadiusFourFifths: return f32(r * d * A * 8.0 / 10.0);
    case PlusArmIndex: return f32(r * d * A + n);
    case DoubleDecay: return f32(r * d * d * A);
    case ArmIndexRadius: return f32((n + g) * d * A * 10.0);
    case DivideByArm: return f32(r * d * A / (n + 1.0));
    case PlusTen: return f32(r * d * A + 10.0);
    case RandomShrink: {
      const double draw = services.rnd();
      return f32(r * d * A * (1.0 - draw / 10.0));
    }
    case TopBulge: return f32(mode == 2 ? 1.05 * (r * d * A) : r * d * A);
    case TopBulgeMore: return f32(mode == 2 ? 1.15 * (r * d * A) : r * d * A);
    case Gap: return f32(r + g);
    case GapFirstAtGap: return f32(n == 0 ? g : r + g);
    case GapFirstAt100: return f32(n == 0 ? 100.0 : r + g);
    case GapFirstAtCentre: return f32(n == 0 ? 0.0 : r + g);
    case GapHalfOnEven: return f32(even ? r + g / 2.0 : r + g);
    case GapThirdOnEven: return f32(even ? r + g / 3.0 : r + g);
    case GapDoubleOnEven: return f32(even ? r + 2.0 * g : r + g);
    case GapHalfEveryFourth: return f32(n % 4 == 0 ? r + g / 2.0 : r + g);
    case GapThirdEveryFifth: return f32(n % 5 == 0 ? r + g / 3.0 : r + g);
    case GapQuarterOrHalf: return f32(even ? r + g / 4.0 : r + g / 2.0);
    case GapRandom: {
      const double draw = services.rnd();
      return f32(r + draw * g);
    }
    // Plain, and the structures that change only the arm's end.
    default: return f32(r * d * A);
  }
}

// Decay product and curvature angles after the whole arm n.
void endArm(int32_t n, SpiralStructure s, SpiralState& st) {
  const double A = st.decayProduct;
  const double a = st.decayStep;
  const double in = st.angleIn;
  const double out = st.angleOut;
  const double fin = st.curveFactorIn;
  const double fout = st.curveFactorOut;
  const bool even = n % 2 == 0;
  double newA = A * a;
  double newIn = in * fin;
  double newOut = out * fout;
  using enum SpiralStructure;
  switch (s) {
    case EvenArmsShrink: newA = even ? A * a * 9.0 / 10.0 : A * a; break;
    case DecayDivideByArm: newA = A * a / (n + 1.0); break;
    case DecayMinusArmFifth: newA = A * a - static_cast<double>(n / 5); break;
    case HalveCurveIn: newIn = in * fin / 2.0; break;
    case QuarterCurveIn: newIn = in * fin / 4.0; break;
    case EvenArmsCurveMore: {
      const double w = even ? 1.2 : 1.0;
      newIn = w * in * fin;
      newOut = w * out * fout;
      break;
    }
    case FlipEveryArm:
      newA = -(A * a);
      newIn = -(in * fin);
      newOut = -(out * fout);
      break;
    case FlipEvenArms:
      if (even) {
        newA = -(A * a);
        newIn = -(in * fin);
        newOut = -(out * fout);
      }
      break;
    default: break;
  }
  st.decayProduct = f32(newA);
  st.angleIn = f32(newIn);
  st.angleOut = f32(newOut);
}

}  // namespace

SpiralState startSpiral(const KernelConstants& k) {
  SpiralState st;
  st.radius = k.gap;
  st.decayProduct = k.decayStep;
  st.angleIn = k.curvatureIn;
  st.angleOut = k.curvatureOut;
  st.decay = k.decay;
  st.decayStep = k.decayStep;
  st.curveFactorIn = k.curveFactorIn;
  st.curveFactorOut = k.curveFactorOut;
  st.gap = k.gap;
  return st;
}

int32_t stepSpiral(int32_t n, int32_t mode, SpiralStructure s, HostReal g, SpiralState& state,
                   KernelServices& services) {
  if (!isListed(s)) return 0;
  if (mode >= 1 && mode <= 4)
    state.radius = grownRadius(n, mode, s, g, state, services);
  else if (mode == 5)
    endArm(n, s, state);
  return 0;
}

HostPoint anchorShift(const KernelConstants& k, int32_t n, int32_t anchor, KernelServices& services) {
  const double psx = k.pointShiftX;
  const double psy = k.pointShiftY;
  switch (k.pointShiftMode) {
    case PointShiftMode::PerArm: return {f32(n * psx), f32(n * psy)};
    case PointShiftMode::PerAnchor:
      return {f32((n - 1.0) * psx + (anchor - 1.0) * psx / 4.0),
              f32((n - 1.0) * psy + (anchor - 1.0) * psy / 4.0)};
    case PointShiftMode::Random: {
      const double rx = services.rnd();
      const float sx = f32(rx * (n * psx));
      const double ry = services.rnd();
      return {sx, f32(ry * (n * psy))};
    }
    default: return {0.0f, 0.0f};
  }
}

HostReal anchorInterpolation(const KernelConstants& k, KernelServices& services) {
  if (!k.randomInterpolate) return k.interpolation;
  return f32(static_cast<double>(services.rnd()) * k.interpolation);
}

HandleAngles anchorAngles(const KernelConstants& k, const SpiralState& state, KernelServices& services) {
  if (!k.randomCurve) return {state.angleIn, state.angleOut};
  const float in = f32(static_cast<double>(services.rnd()) * state.angleIn);
  const float out = f32(static_cast<double>(services.rnd()) * state.angleOut);
  return {in, out};
}

PathSegment anchorSegment(int32_t k, int32_t n, const KernelConstants& constants,
                          const SpiralState& state, HostPoint centre, HostPoint shift,
                          HandleAngles angles, KernelServices& services) {
  const double r = state.radius;
  const double cx = centre.h, cy = centre.v;
  const double sx = shift.h, sy = shift.v;
  const float lin = f32(static_cast<double>(services.sine(angles.in)) * r);
  const float lout = f32(static_cast<double>(services.sine(angles.out)) * r);
  PathSegment seg{};
  seg.corner = 0;
  HostPoint& P = seg.p;
  switch (k) {
    case 1:
      P = {f32(cx + r + sx), f32(cy + sy)};
      seg.in = {P.h, f32(static_cast<double>(P.v) - lin)};
      seg.out = {P.h, f32(static_cast<double>(P.v) + lout)};
      P.h = f32(static_cast<double>(P.h) + constants.starX);
      break;
    case 2:
      P = {f32(static_cast<double>(constants.armCount - n) * constants.sideShift + cx + sx), f32(cy + r + sy)};
      seg.in = {f32(static_cast<double>(P.h) + lin), P.v};
      seg.out = {f32(static_cast<double>(P.h) - lout), P.v};
      P.v = f32(static_cast<double>(P.v) + constants.starY);
      break;
    case 3:
      P = {f32(cx - r + sx), f32(cy + sy)};
      seg.in = {P.h, f32(static_cast<double>(P.v) + lin)};
      seg.out = {P.h, f32(static_cast<double>(P.v) - lout)};
      P.h = f32(static_cast<double>(P.h) - constants.starX);
      break;
    default:
      P = {f32(cx + sx), f32(cy - r + sy)};
      seg.in = {f32(static_cast<double>(P.h) - lin), P.v};
      seg.out = {f32(static_cast<double>(P.h) + lout), P.v};
      P.v = f32(static_cast<double>(P.v) - constants.starY);
      break;
  }
  return seg;
}

void interpolateAnchor(HostPoint origin, PathSegment& segment, HostReal t, KernelServices& services) {
  segment.p = services.interpolate(origin, segment.p, t);
}
