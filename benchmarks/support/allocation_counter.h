#pragma once
// Linking the allocation counter replaces the program's operator new and
// delete, so a benchmark can report the peak memory its work really holds.
#include <cstddef>

namespace nfp::bench {

std::size_t AllocatedBytes();
std::size_t PeakAllocatedBytes();
// Starts a new peak from what is allocated now; returns that amount.
std::size_t RestartPeak();

} // namespace nfp::bench
