#include "allocation_counter.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<std::size_t> gCurrentBytes{0};
std::atomic<std::size_t> gPeakBytes{0};

void* CountedAlloc(std::size_t size) {
    void* p = std::malloc(size == 0 ? 1 : size);
    if (!p) throw std::bad_alloc();
    const std::size_t now = gCurrentBytes += malloc_usable_size(p);
    std::size_t peak = gPeakBytes.load();
    while (now > peak && !gPeakBytes.compare_exchange_weak(peak, now)) {
    }
    return p;
}

void CountedFree(void* p) noexcept {
    if (!p) return;
    gCurrentBytes -= malloc_usable_size(p);
    std::free(p);
}
} // namespace

void* operator new(std::size_t size) { return CountedAlloc(size); }
void* operator new[](std::size_t size) { return CountedAlloc(size); }
void operator delete(void* p) noexcept { CountedFree(p); }
void operator delete[](void* p) noexcept { CountedFree(p); }
void operator delete(void* p, std::size_t) noexcept { CountedFree(p); }
void operator delete[](void* p, std::size_t) noexcept { CountedFree(p); }

namespace nfp::bench {

std::size_t AllocatedBytes() { return gCurrentBytes.load(); }
std::size_t PeakAllocatedBytes() { return gPeakBytes.load(); }
std::size_t RestartPeak() {
    const std::size_t now = gCurrentBytes.load();
    gPeakBytes = now;
    return now;
}

} // namespace nfp::bench
