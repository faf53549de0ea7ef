// The page selection typed in the setup dialog: any text gives pages from 1
// to 9999, in typed order, and a plain list of pages gives exactly those.
//
// Input: the typed text.
#include <charconv>
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "report/engine/page_selection.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace nfp;
    fuzz::FuzzInput input(data, size);
    const std::string_view text = input.Rest();
    const std::vector<int> pages = ParsePageSelection(text);
    for (const int page : pages) FUZZ_CHECK(page >= 1);
    // A range never runs past the last page a report can have.
    std::size_t dashes = 0;
    for (const char c : text) dashes += c == '-';
    FUZZ_CHECK(pages.size() <= text.size() + dashes * 9999);

    // Numbers from 1 to 9999 between commas come back as typed.
    std::vector<int> typed;
    bool plain = !text.empty();
    for (std::size_t at = 0; plain && at <= text.size();) {
        const std::size_t comma = std::min(text.find(',', at), text.size());
        int n = 0;
        const char* first = text.data() + at;
        const char* last = text.data() + comma;
        const auto [ptr, ec] = std::from_chars(first, last, n);
        plain = first != last && *first != '-' && ec == std::errc() && ptr == last && n >= 1 && n <= 9999;
        typed.push_back(n);
        at = comma + 1;
    }
    if (plain) FUZZ_CHECK(pages == typed);
    return 0;
}
