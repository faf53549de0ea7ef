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

// Large enough that a report of a million items needs a few dozen blocks,
// small enough that a one-page report stays small.
constexpr std::size_t kBlockSize = std::size_t{1} << 20;
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

std::uint64_t PageStore::LineKeyOf(std::string_view item) {
    std::uint64_t key = 0;
    for (std::size_t k = 4; k < 12; ++k) key = (key << 8) | (k < item.size() ? Fold(item[k]) : 0u);
    return key;
}

PageStore::PageStore(const PageStore& other)
    : blocks_(other.blocks_), pending_(other.pending_), buckets_(other.buckets_), keys_(other.keys_),
      keysOrdered_(other.keysOrdered_), size_(other.size_) {}

PageStore& PageStore::operator=(const PageStore& other) {
    if (this != &other) *this = PageStore(other);
    return *this;
}

PageStore::PageStore(PageStore&& other) noexcept
    : blocks_(std::move(other.blocks_)), pending_(std::move(other.pending_)), buckets_(std::move(other.buckets_)),
      keys_(std::move(other.keys_)), keysOrdered_(other.keysOrdered_), size_(other.size_) {
    other.Clear();
}

PageStore& PageStore::operator=(PageStore&& other) noexcept {
    if (this != &other) {
        blocks_ = std::move(other.blocks_);
        pending_ = std::move(other.pending_);
        buckets_ = std::move(other.buckets_);
        keys_ = std::move(other.keys_);
        keysOrdered_ = other.keysOrdered_;
        size_ = other.size_;
        byPage_.clear();
        lastBucket_ = nullptr;
        other.Clear();
    }
    return *this;
}

// A report written page by page goes straight to its pages. Once an item
// comes for a page before the page in hand, items wait in arrival order
// until the next read: handing them out all at once is cheaper than
// finding a page for each as it comes.
void PageStore::Add(std::string_view item) {
    if (blocks_.empty() || blocks_.back().capacity() - blocks_.back().size() < item.size()) {
        blocks_.emplace_back().reserve(std::max(kBlockSize, item.size()));
    }
    std::string& block = blocks_.back();
    const Ref ref{static_cast<std::uint32_t>(blocks_.size() - 1), static_cast<std::uint32_t>(block.size()),
                  static_cast<std::uint32_t>(item.size())};
    block.append(item);
    ++size_;
    const std::uint64_t key = KeyOf(item);
    if (pending_.empty() && (!lastBucket_ || key >= lastKey_)) {
        Place(BucketFor(key), ref, item);
    } else {
        pending_.push_back(ref);
    }
}

PageStore::Bucket& PageStore::BucketFor(std::uint64_t key) const {
    if (!lastBucket_ || key != lastKey_) {
        lastBucket_ = &BucketOf(key);
        lastKey_ = key;
    }
    return *lastBucket_;
}

void PageStore::Place(Bucket& b, const Ref& ref, std::string_view text) const {
    const Span span{LineKeyOf(text), ref};
    const bool inOrder = b.ordered == b.spans.size() && (b.spans.empty() || Compare(b.spans.back(), span) < 0);
    b.spans.push_back(span);
    if (inOrder) ++b.ordered;
}

int PageStore::Compare(const Span& a, const Span& b) const {
    if (a.key != b.key) return a.key < b.key ? -1 : 1;
    return CompareItemsIgnoringCase(TextOf(a.ref), TextOf(b.ref));
}

// Pages are sized once, then filled in the order the items came; an item
// that does not sort after its page's last one starts the page's late
// arrivals.
void PageStore::Distribute() const {
    if (pending_.empty()) return;
    std::vector<Bucket*> touched;
    for (const Ref& ref : pending_) {
        Bucket& b = BucketFor(KeyOf(TextOf(ref)));
        if (b.incoming++ == 0) touched.push_back(&b);
    }
    for (Bucket* b : touched) {
        b->spans.reserve(b->spans.size() + b->incoming);
        b->incoming = 0;
    }
    for (const Ref& ref : pending_) {
        const std::string_view text = TextOf(ref);
        Place(BucketFor(KeyOf(text)), ref, text);
    }
    pending_.clear();
}

// A new item goes before the equal ones already stored: the page's order is
// a stable sort of the late arrivals, newest first, followed by the items
// already in order.
void PageStore::Settle(Bucket& b) const {
    if (b.ordered == b.spans.size()) return;
    std::vector<Span> sorted;
    sorted.reserve(b.spans.size());
    sorted.insert(sorted.end(), b.spans.rbegin(), b.spans.rend() - static_cast<std::ptrdiff_t>(b.ordered));
    sorted.insert(sorted.end(), b.spans.begin(), b.spans.begin() + static_cast<std::ptrdiff_t>(b.ordered));
    std::stable_sort(sorted.begin(), sorted.end(), [this](const Span& x, const Span& y) { return Compare(x, y) < 0; });
    b.spans = std::move(sorted);
    b.ordered = b.spans.size();
}

PageStore::Bucket& PageStore::BucketOf(std::uint64_t key) const {
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

PageStore::Bucket& PageStore::NewOrExistingBucket(std::uint64_t key) const {
    const auto [it, added] = buckets_.try_emplace(key);
    if (added) {
        if (!keys_.empty() && keys_.back() > key) keysOrdered_ = false;
        keys_.push_back(key);
    }
    return it->second;
}

const std::vector<std::uint64_t>& PageStore::OrderedKeys() const {
    Distribute();
    if (!keysOrdered_) {
        std::sort(keys_.begin(), keys_.end());
        keysOrdered_ = true;
    }
    return keys_;
}

PageStore::Bucket& PageStore::SettledBucket(std::uint64_t key) const {
    Bucket& bucket = buckets_.find(key)->second;
    Settle(bucket);
    return bucket;
}

void PageStore::Clear() {
    blocks_.clear();
    pending_.clear();
    buckets_.clear();
    byPage_.clear();
    keys_.clear();
    keysOrdered_ = true;
    lastBucket_ = nullptr;
    size_ = 0;
}

void PageStore::ForEach(const std::function<void(std::string_view)>& visit) const {
    for (const std::uint64_t key : OrderedKeys())
        for (const Span& span : SettledBucket(key).spans) visit(TextOf(span.ref));
}

std::vector<std::string> PageStore::Items() const {
    std::vector<std::string> out;
    out.reserve(size_);
    ForEach([&out](std::string_view item) { out.emplace_back(item); });
    return out;
}

std::vector<std::string> PageStore::ItemsOfPage(int page) const {
    if (page < 0 || page > 9999) return {};
    Distribute();
    char prefix[8];
    std::snprintf(prefix, sizeof prefix, "%04d", page);
    const std::uint64_t key = KeyOf(std::string_view(prefix, 4));
    if (!buckets_.contains(key)) return {};
    std::vector<std::string> out;
    for (const Span& span : SettledBucket(key).spans) out.emplace_back(TextOf(span.ref));
    return out;
}

std::optional<std::string_view> PageStore::Last() const {
    if (Empty()) return std::nullopt;
    return TextOf(SettledBucket(OrderedKeys().back()).spans.back().ref);
}

} // namespace nfp
