#include "report/files/plain_text_report.h"

#include "report/engine/printer_text.h"

namespace nfp {

namespace {
constexpr const char* kCrLf = "\r\n";
}

std::string PlainTextReport::EndLine() {
    std::string out = buffer_ + kCrLf;
    buffer_.clear();
    return out;
}

std::string PlainTextReport::Add(const PageItem& item) {
    std::string out;
    if (item.page != page_) {
        out += EndLine();
        for (int written = line_; written < linesPerPage_; ++written) out += kCrLf;
        page_ = item.page;
        line_ = 1;
    }
    if (item.line != line_) {
        out += EndLine();
        for (int between = line_ + 1; between < item.line; ++between) out += kCrLf;
        line_ = item.line;
    }
    const std::size_t before = item.column > 1 ? static_cast<std::size_t>(item.column - 1) : 0;
    buffer_.resize(before, ' ');
    // Control codes are for printers only.
    if (item.kind != 'C') buffer_ += PrinterBytes(item.text, item.kind, acento_, model_);
    return out;
}

std::string PlainTextReport::Finish() { return EndLine(); }

} // namespace nfp
