#pragma once
// The report's placed texts, kept in order at every insertion: strings
// compared without regard to ASCII letter case, equal entries kept (a new
// one goes before its equals). Because every item starts with its page in
// four digits, the store is bucketed by page: adding costs at most a map
// look-up, texts that arrive out of order are put in place when their page
// is next read, and a page's items are found without walking the others.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <unordered_map>
#include <string>
#include <string_view>
#include <vector>

namespace nfp {

// Three-way comparison of two items ignoring ASCII case.
int CompareItemsIgnoringCase(std::string_view a, std::string_view b);

class PageStore {
public:
    PageStore() = default;
    // The page in hand is remembered by its address in this store: a copy,
    // or a store moved in, looks it up again rather than writing into the
    // store it came from.
    PageStore(const PageStore& other);
    PageStore& operator=(const PageStore& other);
    PageStore(PageStore&& other) noexcept;
    PageStore& operator=(PageStore&& other) noexcept;

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
    // A page's items: the first `ordered` in store order, the rest in the
    // order they came, put in place when the page is next read.
    struct Bucket {
        std::vector<std::string> items;
        std::size_t ordered = 0;
    };
    // The first four characters, case-folded, packed so that integer order
    // is string order: bytes high to low, the length in the lowest byte.
    static std::uint64_t KeyOf(std::string_view item);
    static void Settle(Bucket& bucket);
    // The pages, and their keys in order (rebuilt when a page was added).
    // Reading puts pages in order; that changes no item and no order seen.
    Bucket& BucketOf(std::uint64_t key);
    Bucket& NewOrExistingBucket(std::uint64_t key);
    const std::vector<std::uint64_t>& OrderedKeys() const;
    mutable std::unordered_map<std::uint64_t, Bucket> buckets_;
    // The buckets of pages "0000" to "9999" by number, filled as they are
    // looked up: reports added in random page order find them without
    // hashing. Never copied; a copy or move looks them up afresh.
    std::vector<Bucket*> byPage_;
    mutable std::vector<std::uint64_t> keys_;
    mutable bool keysOrdered_ = true;
    // Reports are written page by page: the page in hand is found at once.
    std::uint64_t lastKey_ = 0;
    Bucket* lastBucket_ = nullptr;
    std::size_t size_ = 0;
};

} // namespace nfp
