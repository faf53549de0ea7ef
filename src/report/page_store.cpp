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

// Ordering by (first seven characters, rest) is the plain order of the
// whole strings: a key shorter than seven characters is the whole item.
void PageStore::Add(std::string item) {
    std::string key = item.substr(0, kKeyLength);
    auto& bucket = buckets_[std::move(key)];
    // Most reports are written in order: try the end first.
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
    size_ = 0;
}

void PageStore::ForEach(const std::function<void(const std::string&)>& visit) const {
    for (const auto& [key, bucket] : buckets_)
        for (const auto& item : bucket) visit(item);
}

std::vector<std::string> PageStore::Items() const {
    std::vector<std::string> out;
    out.reserve(size_);
    ForEach([&](const std::string& s) { out.push_back(s); });
    return out;
}

std::vector<std::string> PageStore::ItemsOfPage(int page) const {
    std::vector<std::string> out;
    if (page < 0 || page > 9999) return out;
    char prefix[8];
    std::snprintf(prefix, sizeof prefix, "%04d", page);
    const std::string_view p(prefix, 4);
    for (auto it = buckets_.lower_bound(std::string(p)); it != buckets_.end(); ++it) {
        if (it->first.size() < 4 || CompareItemsIgnoringCase(std::string_view(it->first).substr(0, 4), p) != 0) break;
        out.insert(out.end(), it->second.begin(), it->second.end());
    }
    return out;
}

const std::string* PageStore::Last() const {
    if (buckets_.empty()) return nullptr;
    return &buckets_.rbegin()->second.back();
}

} // namespace nfp
