#include "generator/kernel.h"

namespace {

float f32(double value) { return static_cast<float>(value); }

// New radius after anchor `mode` (1..4) of arm n under structure s.
float grownRadius(int32_t n, int32_t mode, int32_t s, double g, const SpiralState& st,
                  KernelServices& services) {
  const double r = st.radius;
  const double d = st.decay;
  const double A = st.decayProduct;
  const bool even = n % 2 == 0;
  switch (s) {
    case 2: return f32(r * d * A * 8.0 / 10.0);
    case 3: return f32(r * d * A + n);
    case 4: return f32(r * d * d * A);
    case 5: return f32((n + g) * d * A * 10.0);
    case 6: return f32(r * d * A / (n + 1.0));
    case 9: return f32(r * d * A + 10.0);
    case 10: {
      const double draw = services.rnd();
      return f32(r * d * A * (1.0 - draw / 10.0));
    }
    case 16: return f32(mode == 2 ? 1.05 * (r * d * A) : r * d * A);
    case 17: return f32(mode == 2 ? 1.15 * (r * d * A) : r * d * A);
    case 18: return f32(r + g);
    case 19: return f32(n == 0 ? g : r + g);
    case 20: return f32(n == 0 ? 100.0 : r + g);
    case 21: return f32(n == 0 ? 0.0 : r + g);
    case 22: return f32(even ? r + g / 2.0 : r + g);
    case 23: return f32(even ? r + g / 3.0 : r + g);
    case 24: return f32(even ? r + 2.0 * g : r + g);
    case 25: return f32(n % 4 == 0 ? r + g / 2.0 : r + g);
    case 26: return f32(n % 5 == 0 ? r + g / 3.0 : r + g);
    case 27: return f32(even ? r + g / 4.0 : r + g / 2.0);
    case 28: {
      const double draw = services.rnd();
      return f32(r + draw * g);
    }
    default: return f32(r * d * A);  // 0, 1, 7, 8, 11 to 15
  }
}

// Decay product and curvature angles after the whole arm n.
void endArm(int32_t n, int32_t s, SpiralState& st) {
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
  switch (s) {
    case 1: newA = even ? A * a * 9.0 / 10.0 : A * a; break;
    case 7: newA = A * a / (n + 1.0); break;
    case 8: newA = A * a - static_cast<double>(n / 5); break;
    case 11: newIn = in * fin / 2.0; break;
    case 12: newIn = in * fin / 4.0; break;
    case 13: {
      const double w = even ? 1.2 : 1.0;
      newIn = w * in * fin;
      newOut = w * out * fout;
      break;
    }
    case 14:
      newA = -(A * a);
      newIn = -(in * fin);
      newOut = -(out * fout);
      break;
    case 15:
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

int32_t stepSpiral(int32_t n, int32_t mode, int32_t s, HostReal g, SpiralState& state,
                   KernelServices& services) {
  if (s < 0 || s > 28) return 0;
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
    case 0: return {f32(n * psx), f32(n * psy)};
    case 1:
      return {f32((n - 1.0) * psx + (anchor - 1.0) * psx / 4.0),
              f32((n - 1.0) * psy + (anchor - 1.0) * psy / 4.0)};
    case 2: {
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
