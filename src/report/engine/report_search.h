#pragma once
// The preview's search for a word among the report's texts.
#include <optional>
#include <string>

namespace nfp {

class TRelGrade;

struct SearchState {
    // Where the next search starts in store order; 0 at first (upwards, 0
    // means from the last item).
    long long position = 0;
};

struct SearchHit {
    int page = 0;
    int line = 0;   // the item's line + 1
    int column = 0; // the item's column + its length
};

// Searches items of kind "T" (their text as stored, macros not expanded),
// accents removed and, unless matchCase, in upper case. A hit becomes the
// engine's find marker. The marker is cleared first; an empty needle finds
// nothing and says nothing; no hit shows "Não é possível encontrar "t"".
std::optional<SearchHit> SearchReport(TRelGrade& rel, const std::string& needle, bool down, bool matchCase,
                                      SearchState& state);

// Accents removed (the printer table) and ASCII letters upper-cased.
std::string SearchKey(const std::string& utf8, bool matchCase);

} // namespace nfp
