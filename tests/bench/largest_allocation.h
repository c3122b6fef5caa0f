// The largest single block allocated through operator new since the last
// reset: what a run holds at most in one piece.
#pragma once

#include <cstddef>

namespace bench {

void ResetLargestAllocation();
std::size_t LargestAllocation();

}  // namespace bench
