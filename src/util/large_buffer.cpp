#include "util/large_buffer.h"

#include <cstdint>

#include <sys/mman.h>

namespace nfp {

void AdviseHugePages(void* data, std::size_t size) noexcept {
    constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (begin + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t last = (begin + size) & ~(kHugePage - 1);
#ifdef MADV_HUGEPAGE
    if (last > first) (void)::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#endif
}

} // namespace nfp
