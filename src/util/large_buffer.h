#pragma once
// Memory of large text buffers. A request of tens of megabytes is written
// into fresh memory, and touching it page by page for the first time can
// cost as much as building it: asking for huge pages first makes that
// cost small. Does nothing where the system offers no such advice.
#include <cstddef>

namespace nfp {

// Advises the system to back the whole 2 MB pages inside [data, data+size)
// with huge pages; call it before the memory is first written.
void AdviseHugePages(void* data, std::size_t size) noexcept;

// Reserves `size` bytes in `text` (untouched), advised as above.
template <class String>
void ReserveLarge(String& text, std::size_t size) {
    text.reserve(size);
    AdviseHugePages(text.data(), text.capacity());
}

} // namespace nfp
