// Heap allocations made by the whole benchmark program, counted by the replaced global
// operator new in alloc_counter.cpp. Read it before and after a call to see what the call
// allocated.
#pragma once

#include <cstdint>

namespace zavota_bench {

std::int64_t Allocations();

}  // namespace zavota_bench
