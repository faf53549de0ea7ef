#include "report/engine/report_search.h"

#include "report/engine/page_item.h"
#include "report/engine/printer_mapping.h"
#include "report/engine/printer_text.h"
#include "report/engine/rel_grade.h"
#include "util/text_codec.h"

namespace nfp {

std::string SearchKey(const std::string& utf8, bool matchCase) {
    // Letters Windows-1252 lacks stay as they are: only the accents go.
    std::string out;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t start = pos;
        const auto cp = DecodeUtf8At(utf8, pos);
        if (!cp) {
            out.push_back(utf8[pos++]);
            continue;
        }
        const auto byte = Windows1252Byte(*cp);
        if (byte && *byte >= 0x80) {
            const std::string plain = RemoveAccents(std::string(1, static_cast<char>(*byte)));
            if (static_cast<unsigned char>(plain[0]) < 0x80) {
                out += plain;
                continue;
            }
        }
        out.append(utf8, start, pos - start);
    }
    return matchCase ? out : UpperAscii(out);
}

std::optional<SearchHit> SearchReport(TRelGrade& rel, const std::string& needle, bool down, bool matchCase,
                                      SearchState& state) {
    auto& st = rel.MutableState();
    st.findMarker.reset();
    if (needle.empty()) return std::nullopt;
    const std::string key = SearchKey(needle, matchCase);
    std::vector<std::string_view> items;
    if (const PageStore* store = rel.Store()) {
        items.reserve(store->Size());
        store->ForEach([&](std::string_view s) { items.push_back(s); });
    }
    const long long count = static_cast<long long>(items.size());
    const auto matches = [&](long long i) {
        const std::string_view s = items[static_cast<std::size_t>(i)];
        if (s.size() <= kPageItemTextPos || s[13] != 'T') return false;
        return SearchKey(std::string(s.substr(kPageItemTextPos)), matchCase).find(key) != std::string::npos;
    };
    long long hit = -1;
    if (down) {
        for (long long i = std::max(0LL, state.position); i < count && hit < 0; ++i)
            if (matches(i)) hit = i;
        if (hit >= 0) state.position = hit + 1;
    } else {
        const long long from = state.position == 0 ? count - 1 : std::min(state.position, count - 1);
        for (long long i = from; i >= 0 && hit < 0; --i)
            if (matches(i)) hit = i;
        if (hit >= 0) state.position = hit - 1;
    }
    if (hit < 0) {
        rel.ShowMessage("N\xC3\xA3o \xC3\xA9 poss\xC3\xADvel encontrar \"" + needle + "\"");
        return std::nullopt;
    }
    std::string marker(items[static_cast<std::size_t>(hit)]);
    const auto item = ParsePageItem(marker);
    if (!item) return std::nullopt;
    marker[13] = 'M';
    st.findMarker = marker;
    return SearchHit{item->page, item->line + 1, item->column + static_cast<int>(Utf8Length(item->text))};
}

} // namespace nfp
