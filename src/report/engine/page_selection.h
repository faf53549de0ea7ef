#pragma once
// The page selection typed in the setup dialog ("1,3,5-12") as the list of
// pages to print, in typed order with repetitions.
#include <string_view>
#include <vector>

namespace nfp {

// Ranges end at page 9999 at most, the largest page a report can have, so
// a huge number typed by mistake cannot exhaust memory.
std::vector<int> ParsePageSelection(std::string_view text);

} // namespace nfp
