#pragma once
// The report's placed texts, kept in order at every insertion: strings
// compared without regard to ASCII letter case, equal entries kept (a new
// one goes before its equals). Because every item starts with its page in
// four digits, the store is bucketed by page. Adding copies the text to
// the end of the store's blocks and notes where it is, on its page or, for
// a report not written in page order, in a list the next read hands out;
// each page is put in order when it is read, so a page's items are found
// without walking the others and putting them in order moves no text.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
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

    void Add(std::string_view item);
    void Clear();
    std::size_t Size() const noexcept { return size_; }
    bool Empty() const noexcept { return size_ == 0; }

    // Items in store order. The views stay valid until the store changes.
    void ForEach(const std::function<void(std::string_view)>& visit) const;
    std::vector<std::string> Items() const;
    // Items whose page field is `page` (four digits), in store order.
    std::vector<std::string> ItemsOfPage(int page) const;
    std::optional<std::string_view> Last() const;

private:
    // Where an item's text is: a block and a place in it.
    struct Ref {
        std::uint32_t block;
        std::uint32_t pos;
        std::uint32_t length;
    };
    // An item of a page, with its next eight characters after the page
    // (line and column, case-folded) packed as one number: items of a page
    // are ordered by it, and by their whole texts only on a tie.
    struct Span {
        std::uint64_t key;
        Ref ref;
    };
    // A page's items: the first `ordered` in store order, the rest in the
    // order they came, put in place when the page is next read.
    struct Bucket {
        std::vector<Span> spans;
        std::size_t ordered = 0;
        std::size_t incoming = 0;
    };
    // The first four characters, case-folded, packed so that integer order
    // is string order: bytes high to low, the length in the lowest byte.
    static std::uint64_t KeyOf(std::string_view item);
    static std::uint64_t LineKeyOf(std::string_view item);
    std::string_view TextOf(const Ref& ref) const {
        return std::string_view(blocks_[ref.block]).substr(ref.pos, ref.length);
    }
    int Compare(const Span& a, const Span& b) const;
    // Hands the items added since the last read to their pages.
    void Distribute() const;
    // Adds an item at the end of its page, noting whether it came in order.
    void Place(Bucket& bucket, const Ref& ref, std::string_view text) const;
    // The page of `key`, the page in hand found at once.
    Bucket& BucketFor(std::uint64_t key) const;
    void Settle(Bucket& bucket) const;
    Bucket& BucketOf(std::uint64_t key) const;
    Bucket& NewOrExistingBucket(std::uint64_t key) const;
    // The pages' keys in order (sorted again when a page was added).
    // Reading puts pages in order; that changes no item and no order seen.
    const std::vector<std::uint64_t>& OrderedKeys() const;
    Bucket& SettledBucket(std::uint64_t key) const;

    // The texts, back to back in blocks that never move once written.
    std::vector<std::string> blocks_;
    mutable std::vector<Ref> pending_;
    mutable std::unordered_map<std::uint64_t, Bucket> buckets_;
    // The buckets of pages "0000" to "9999" by number, filled as they are
    // looked up: a page is found without hashing. Never copied; a copy or
    // move looks them up afresh.
    mutable std::vector<Bucket*> byPage_;
    mutable std::vector<std::uint64_t> keys_;
    mutable bool keysOrdered_ = true;
    mutable std::uint64_t lastKey_ = 0;
    mutable Bucket* lastBucket_ = nullptr;
    std::size_t size_ = 0;
};

} // namespace nfp
