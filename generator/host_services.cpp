#include "generator/host_services.h"

#include <bit>

#include "shell/suite_table.h"

HostReal rnd() { return gRandomSuite->FloatRnd(); }

HostReal randomSign() { return signOf(rnd()); }

HostReal HostKernelServices::rnd() { return ::rnd(); }

HostReal HostKernelServices::sine(HostReal radians) {
  const uint32_t bits = std::bit_cast<uint32_t>(radians);
  for (const KeptSine& k : sines_)
    if (k.kept && k.bits == bits) return k.value;
  HostReal result = 0;
  if (gRealMathSuite->RealSin(radians, &result) == kHostNoErr) {
    sines_[nextSine_] = {bits, result, true};
    nextSine_ ^= 1;
  }
  return result;
}

HostPoint HostKernelServices::interpolate(HostPoint origin, HostPoint p, HostReal t) {
  HostPoint result = p;
  gRealMathSuite->PointInterpolate(&origin, &p, t, &result);
  return result;
}
