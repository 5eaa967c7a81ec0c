// Heap bytes in use and their peak, counted by this binary's replacement of
// the global operator new and delete.
#pragma once

#include <cstddef>

namespace allocation {

std::size_t current();
std::size_t peak();
// Sets the peak to the bytes now in use and returns them.
std::size_t resetPeak();

}  // namespace allocation
