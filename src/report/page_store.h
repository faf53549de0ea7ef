#pragma once
// The report's placed texts, kept in order at every insertion: strings
// compared without regard to ASCII letter case, equal entries kept (a new
// one goes before its equals). Because every item starts with its page and
// line in fixed-width digits, the store is bucketed by that prefix: adding
// costs a map look-up plus a move within one line, and a page's items are
// found without walking the others.
#include <cstddef>
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
    struct KeyLess {
        bool operator()(const std::string& a, const std::string& b) const {
            return CompareItemsIgnoringCase(a, b) < 0;
        }
    };
    static constexpr std::size_t kKeyLength = 7; // page and line
    std::map<std::string, std::vector<std::string>, KeyLess> buckets_;
    std::size_t size_ = 0;
};

} // namespace nfp
