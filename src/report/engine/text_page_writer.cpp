#include "report/engine/text_page_writer.h"

#include "report/engine/printer_text.h"

namespace nfp {

FontPrefix BuildFontPrefix(std::uint8_t code, const ControlTable& t, int defaultPitch) {
    FontPrefix p;
    p.pitch = defaultPitch;
    struct Bit { std::uint8_t mask; Slot slot; int pitch; };
    constexpr Bit bits[] = {
        {128, Slot::Cpi20, 20}, {64, Slot::Cpi17, 17}, {32, Slot::Cpi12, 12}, {16, Slot::Cpi10, 10},
        {8, Slot::Expanded, 5}, {4, Slot::Underline, 0}, {2, Slot::Bold, 0}, {1, Slot::Italic, 0},
    };
    for (const auto& b : bits) {
        if (!(code & b.mask)) continue;
        p.bytes += t[b.slot];
        if (b.pitch) p.pitch = b.pitch;
    }
    return p;
}

std::string JobPrologue(const ControlTable& t, const DefaultFont& font) {
    return t[Slot::LineSpacing] + t[Slot::PageLength] + t[Slot::Reset] + font.styleSequence;
}

PageOutcome WriteTextPage(const std::vector<std::string>& stored, const TextPageContext& ctx) {
    // Collecting the page lets the user cancel even before it starts.
    std::vector<const std::string*> items;
    items.reserve(stored.size());
    for (const auto& s : stored) {
        if (ctx.cancelled && ctx.cancelled()) return PageOutcome::Cancelled;
        items.push_back(&s);
    }
    int line = 1;
    int column = 1;
    std::string buffer;
    const auto isAbandoned = [&] { return ctx.abandoned && ctx.abandoned(); };
    for (const std::string* s : items) {
        if (ctx.cancelled && ctx.cancelled()) return PageOutcome::Cancelled;
        const auto item = ctx.readBack(*s);
        if (!item) continue;
        std::string text = PrinterBytes(item->text, item->kind, ctx.acento, ctx.model);
        while (line < item->line) {
            if (!ctx.write(ctx.lineBreak)) return PageOutcome::WriteFailed;
            ++line;
            column = 1;
            if (isAbandoned()) return PageOutcome::Abandoned;
        }
        while (column < item->column) { buffer.push_back(' '); ++column; }
        while (column > item->column) { buffer.push_back('\b'); --column; }
        std::optional<FontPrefix> prefix;
        int pitch = ctx.font.pitch;
        if (item->fontCode != ctx.font.code) {
            prefix = BuildFontPrefix(item->fontCode, ctx.table, ctx.font.pitch);
            pitch = prefix->pitch;
        }
        if (pitch != ctx.font.pitch) {
            // The head comes back to where the text began: other texts keep
            // their columns whatever this one's width.
            text.append(text.size(), '\b');
        } else if (item->kind != 'C') {
            column += static_cast<int>(text.size());
        }
        if (prefix) buffer += prefix->bytes + text + ctx.table[Slot::Reset] + ctx.font.styleSequence;
        else buffer += text;
        if (isAbandoned()) return PageOutcome::Abandoned;
        if (!ctx.write(buffer)) return PageOutcome::WriteFailed;
        if (ctx.flush && !ctx.flush()) return PageOutcome::WriteFailed;
        buffer.clear();
    }
    if (isAbandoned()) return PageOutcome::Abandoned;
    if (!ctx.write(ctx.table[Slot::PageEnd])) return PageOutcome::WriteFailed;
    return PageOutcome::Complete;
}

} // namespace nfp
