// The host's random numbers and real maths as the generator and the dialog
// use them: free functions over the bound RandomSuite, and the kernel's
// services backed by the bound suites.
#pragma once

#include "generator/kernel.h"
#include "shell/host/host_interface.h"

// A fresh value of the host's random service.
HostReal rnd();
// -1 when the draw exceeds 0.5, else +1: the sign every random sign takes.
inline HostReal signOf(HostReal draw) { return draw > 0.5f ? -1.0f : 1.0f; }
// signOf a fresh rnd().
HostReal randomSign();

// Kernel services backed by the bound host suites (random, sine,
// interpolation). The host's sine is a function of its argument's bits, so
// the last two answers are kept (an arm's handle angles change only at its
// end); a failed call is not kept.
class HostKernelServices final : public KernelServices {
 public:
  HostReal rnd() override;
  HostReal sine(HostReal radians) override;
  HostPoint interpolate(HostPoint origin, HostPoint p, HostReal t) override;

 private:
  struct KeptSine {
    uint32_t bits = 0;
    HostReal value = 0;
    bool kept = false;
  };
  KeptSine sines_[2];
  int nextSine_ = 0;
};
