#include "generator/host_services.h"

#include "shell/suite_table.h"

HostReal rnd() { return gRandomSuite->FloatRnd(); }

HostReal randomSign() { return signOf(rnd()); }

HostReal HostKernelServices::rnd() { return ::rnd(); }

HostReal HostKernelServices::sine(HostReal radians) {
  HostReal result = 0;
  gRealMathSuite->RealSin(radians, &result);
  return result;
}

HostPoint HostKernelServices::interpolate(HostPoint origin, HostPoint p, HostReal t) {
  HostPoint result = p;
  gRealMathSuite->PointInterpolate(&origin, &p, t, &result);
  return result;
}
