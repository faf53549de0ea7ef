#pragma once
// A report as a plain text file (.TXT): every page padded to its full number
// of lines, each text placed at its column with blanks, no page feed and no
// control codes. Font codes do not matter: every character takes one
// position. Texts reach the file as a text printer would get them (accents
// removed or converted to the printer code page, box codes as code page 437).
#include <string>

#include "report/engine/page_item.h"
#include "report/engine/report_types.h"

namespace nfp {

class PlainTextReport {
public:
    PlainTextReport(int linesPerPage, TAcento acento, TModelo model)
        : linesPerPage_(linesPerPage), acento_(acento), model_(model) {}

    // Takes the next item in store order (read back, macros expanded) and
    // returns the bytes that are complete because of it.
    std::string Add(const PageItem& item);
    // The last line.
    std::string Finish();

private:
    std::string EndLine();

    int linesPerPage_;
    TAcento acento_;
    TModelo model_;
    int page_ = 1;
    int line_ = 1;
    std::string buffer_;
};

} // namespace nfp
