#include "report/engine/page_store.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace nfp {

namespace {
inline unsigned char Fold(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') ? static_cast<unsigned char>(u - 32) : u;
}
} // namespace

int CompareItemsIgnoringCase(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char x = Fold(a[i]);
        const unsigned char y = Fold(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

// Ordering by (first four characters, rest) is the plain order of the
// whole strings: a key shorter than four characters is the whole item.
std::uint64_t PageStore::KeyOf(std::string_view item) {
    const std::size_t n = std::min<std::size_t>(item.size(), 4);
    std::uint64_t key = 0;
    for (std::size_t i = 0; i < 4; ++i) key = (key << 8) | (i < n ? Fold(item[i]) : 0u);
    return (key << 8) | n;
}

PageStore::PageStore(const PageStore& other)
    : buckets_(other.buckets_), keys_(other.keys_), keysOrdered_(other.keysOrdered_), size_(other.size_) {}

PageStore& PageStore::operator=(const PageStore& other) {
    if (this != &other) *this = PageStore(other);
    return *this;
}

PageStore::PageStore(PageStore&& other) noexcept
    : buckets_(std::move(other.buckets_)), keys_(std::move(other.keys_)), keysOrdered_(other.keysOrdered_),
      size_(other.size_) {
    other.Clear();
}

PageStore& PageStore::operator=(PageStore&& other) noexcept {
    if (this != &other) {
        buckets_ = std::move(other.buckets_);
        keys_ = std::move(other.keys_);
        keysOrdered_ = other.keysOrdered_;
        size_ = other.size_;
        lastBucket_ = nullptr;
        byPage_.clear();
        other.Clear();
    }
    return *this;
}

void PageStore::Add(std::string item) {
    const std::uint64_t key = KeyOf(item);
    if (!lastBucket_ || key != lastKey_) {
        lastBucket_ = &BucketOf(key);
        lastKey_ = key;
    }
    Bucket& bucket = *lastBucket_;
    const bool inOrder = bucket.ordered == bucket.items.size() &&
                         (bucket.items.empty() || CompareItemsIgnoringCase(bucket.items.back(), item) < 0);
    bucket.items.push_back(std::move(item));
    if (inOrder) ++bucket.ordered;
    ++size_;
}

// A new item goes before the equal ones already stored: the page's order is
// a stable sort of the late arrivals, newest first, followed by the items
// already in order. Items of a page mostly differ
// in their next eight characters (line and column), so those are compared
// as one number and whole texts only on a tie; the texts themselves move
// once, into their places.
void PageStore::Settle(Bucket& b) {
    if (b.ordered == b.items.size()) return;
    struct Entry {
        std::uint64_t key;
        std::uint32_t index;
    };
    const std::size_t n = b.items.size();
    std::vector<Entry> entries;
    entries.reserve(n);
    const auto add = [&](std::size_t index) {
        const std::string& item = b.items[index];
        std::uint64_t key = 0;
        for (std::size_t k = 4; k < 12; ++k) key = (key << 8) | (k < item.size() ? Fold(item[k]) : 0u);
        entries.push_back({key, static_cast<std::uint32_t>(index)});
    };
    // The late arrivals newest first, then the ordered ones as they stand.
    for (std::size_t i = n; i > b.ordered; --i) add(i - 1);
    for (std::size_t i = 0; i < b.ordered; ++i) add(i);
    std::stable_sort(entries.begin(), entries.end(), [&](const Entry& x, const Entry& y) {
        if (x.key != y.key) return x.key < y.key;
        return CompareItemsIgnoringCase(b.items[x.index], b.items[y.index]) < 0;
    });
    std::vector<std::string> sorted;
    sorted.reserve(n);
    for (const Entry& e : entries) sorted.push_back(std::move(b.items[e.index]));
    b.items = std::move(sorted);
    b.ordered = n;
}

PageStore::Bucket& PageStore::BucketOf(std::uint64_t key) {
    // Four digits and a length of four: a page number.
    int page = 0;
    bool digits = (key & 0xFF) == 4;
    for (int shift = 32; digits && shift >= 8; shift -= 8) {
        const auto c = static_cast<unsigned>((key >> shift) & 0xFF);
        digits = c >= '0' && c <= '9';
        page = page * 10 + static_cast<int>(c - '0');
    }
    if (digits) {
        if (byPage_.empty()) byPage_.assign(10000, nullptr);
        Bucket*& cached = byPage_[static_cast<std::size_t>(page)];
        if (!cached) cached = &NewOrExistingBucket(key);
        return *cached;
    }
    return NewOrExistingBucket(key);
}

PageStore::Bucket& PageStore::NewOrExistingBucket(std::uint64_t key) {
    const auto [it, added] = buckets_.try_emplace(key);
    if (added) {
        if (!keys_.empty() && keys_.back() > key) keysOrdered_ = false;
        keys_.push_back(key);
    }
    return it->second;
}

const std::vector<std::uint64_t>& PageStore::OrderedKeys() const {
    if (!keysOrdered_) {
        std::sort(keys_.begin(), keys_.end());
        keysOrdered_ = true;
    }
    return keys_;
}

void PageStore::Clear() {
    buckets_.clear();
    byPage_.clear();
    keys_.clear();
    keysOrdered_ = true;
    lastBucket_ = nullptr;
    size_ = 0;
}

void PageStore::ForEach(const std::function<void(const std::string&)>& visit) const {
    for (const std::uint64_t key : OrderedKeys()) {
        Bucket& bucket = buckets_.find(key)->second;
        Settle(bucket);
        for (const auto& item : bucket.items) visit(item);
    }
}

std::vector<std::string> PageStore::Items() const {
    std::vector<std::string> out;
    out.reserve(size_);
    for (const std::uint64_t key : OrderedKeys()) {
        Bucket& bucket = buckets_.find(key)->second;
        Settle(bucket);
        out.insert(out.end(), bucket.items.begin(), bucket.items.end());
    }
    return out;
}

std::vector<std::string> PageStore::ItemsOfPage(int page) const {
    if (page < 0 || page > 9999) return {};
    char prefix[8];
    std::snprintf(prefix, sizeof prefix, "%04d", page);
    const auto it = buckets_.find(KeyOf(std::string_view(prefix, 4)));
    if (it == buckets_.end()) return {};
    Settle(it->second);
    return it->second.items;
}

const std::string* PageStore::Last() const {
    if (keys_.empty()) return nullptr;
    Bucket& last = buckets_.find(OrderedKeys().back())->second;
    Settle(last);
    return &last.items.back();
}

} // namespace nfp
