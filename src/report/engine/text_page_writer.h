#pragma once
// One page of a report as the bytes a text printer gets: blanks and
// backspaces position each text, a prefix of control strings changes its
// size and style, line breaks feed the lines, and the page end closes it.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "report/engine/control_sequences.h"
#include "report/engine/page_item.h"
#include "report/engine/report_types.h"

namespace nfp {

struct TextPageContext {
    const ControlTable& table;
    const DefaultFont& font;
    TAcento acento = TAcento::Transliterate;
    TModelo model = TModelo::Epson;
    // "\n\r" through the spooler, "\r\n" on a port or file.
    std::string lineBreak = "\r\n";
    // True when the job is cancelled (the caller fires OnCancel).
    std::function<bool()> cancelled;
    std::function<bool()> abandoned;
    // A stored item read back, macros expanded; nothing when it does not read.
    std::function<std::optional<PageItem>(const std::string&)> readBack;
    // False when the bytes could not be written: the page stops.
    std::function<bool(std::string_view bytes)> write;
    // Called after each buffer is written (the direct route flushes).
    std::function<bool()> flush;
};

enum class PageOutcome { Complete, Cancelled, Abandoned, WriteFailed };

PageOutcome WriteTextPage(const std::vector<std::string>& storedItems, const TextPageContext& ctx);

// The prefix of control strings for a font code that differs from the
// default, and the pitch it gives (default pitch when no size bit is set).
struct FontPrefix {
    std::string bytes;
    int pitch = 10;
};
FontPrefix BuildFontPrefix(std::uint8_t fontCode, const ControlTable& table, int defaultPitch);

// The job prologue: line spacing, page length, reset, default style.
std::string JobPrologue(const ControlTable& table, const DefaultFont& font);

} // namespace nfp
