#pragma once
// The report's placed texts, kept in order at every insertion: strings
// compared without regard to ASCII letter case, equal entries kept (a new
// one goes before its equals). Because every item starts with its page in
// four digits, the store is bucketed by page: adding costs at most a map
// look-up plus a move within one page, and a page's items are found
// without walking the others.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace nfp {

// Three-way comparison of two items ignoring ASCII case.
int CompareItemsIgnoringCase(std::string_view a, std::string_view b);

class PageStore {
public:
    void Add(std::string item);
    void Clear();
    std::size_t Size() const noexcept { return size_; }
    bool Empty() const noexcept { return size_ == 0; }

    // Items in store order.
    void ForEach(const std::function<void(const std::string&)>& visit) const;
    std::vector<std::string> Items() const;
    // Items whose page field is `page` (four digits), in store order.
    std::vector<std::string> ItemsOfPage(int page) const;
    const std::string* Last() const;

private:
    // The first four characters, case-folded, packed so that integer order
    // is string order: bytes high to low, the length in the lowest byte.
    static std::uint64_t KeyOf(std::string_view item);
    using Bucket = std::vector<std::string>;
    std::map<std::uint64_t, Bucket> buckets_;
    // Reports are written page by page: the page in hand is found at once.
    std::uint64_t lastKey_ = 0;
    Bucket* lastBucket_ = nullptr;
    std::size_t size_ = 0;
};

} // namespace nfp
