#include "report/page_store.h"

#include <algorithm>
#include <cstdio>

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

void PageStore::Add(std::string item) {
    const std::uint64_t key = KeyOf(item);
    if (!lastBucket_ || key != lastKey_) {
        lastBucket_ = &buckets_[key];
        lastKey_ = key;
    }
    Bucket& bucket = *lastBucket_;
    if (bucket.empty() || CompareItemsIgnoringCase(bucket.back(), item) < 0) {
        bucket.push_back(std::move(item));
    } else {
        const auto at = std::lower_bound(bucket.begin(), bucket.end(), item,
            [](const std::string& x, const std::string& y) { return CompareItemsIgnoringCase(x, y) < 0; });
        bucket.insert(at, std::move(item));
    }
    ++size_;
}

void PageStore::Clear() {
    buckets_.clear();
    lastBucket_ = nullptr;
    size_ = 0;
}

void PageStore::ForEach(const std::function<void(const std::string&)>& visit) const {
    for (const auto& [key, bucket] : buckets_)
        for (const auto& item : bucket) visit(item);
}

std::vector<std::string> PageStore::Items() const {
    std::vector<std::string> out;
    out.reserve(size_);
    for (const auto& [key, bucket] : buckets_) out.insert(out.end(), bucket.begin(), bucket.end());
    return out;
}

std::vector<std::string> PageStore::ItemsOfPage(int page) const {
    if (page < 0 || page > 9999) return {};
    char prefix[8];
    std::snprintf(prefix, sizeof prefix, "%04d", page);
    const auto it = buckets_.find(KeyOf(std::string_view(prefix, 4)));
    return it == buckets_.end() ? std::vector<std::string>{} : it->second;
}

const std::string* PageStore::Last() const {
    if (buckets_.empty()) return nullptr;
    return &buckets_.rbegin()->second.back();
}

} // namespace nfp
