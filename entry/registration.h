// The filter's registration at start-up.
#pragma once

#include "shell/host/host_interface.h"

inline constexpr int32_t kFilterStringList = 16000;

// Registers the filter under the category and title of string list 16000
// and lets the host enable its menu item by itself. Needs the globals block.
// Returns 0 or the first failing host code.
HostErr registerSpiralFilter(MessageHeader* message);
