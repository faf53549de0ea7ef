#include "report/files/saved_report.h"

#include <algorithm>
#include <cstdio>

#include "report/engine/printer_text.h"
#include "report/engine/rel_grade.h"
#include "util/text_codec.h"

namespace nfp {

namespace {

constexpr const char* kCrLf = "\r\n";
constexpr std::size_t kV3ColourPos = 14; // the colour digits follow the kind

struct SizeName {
    TSize size;
    const char* name;
};
constexpr SizeName kSizeNames[] = {
    {TSize::S05cpp, "F05"}, {TSize::S10cpp, "F10"}, {TSize::S12cpp, "F12"},
    {TSize::S17cpp, "F17"}, {TSize::S20cpp, "F20"},
};

std::string SixDigits(long long value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%06lld", value);
    return buf;
}

std::string Line(std::string_view utf8) { return ToWindows1252Lossy(utf8) + kCrLf; }

// An integer as a control record writes it; leading blanks and a sign are
// tolerated, anything else is not a number.
std::optional<long long> ToInteger(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    if (i == s.size()) return std::nullopt;
    long long value = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return std::nullopt;
        value = value * 10 + (s[i] - '0');
        if (value > 1'000'000'000'000LL) return std::nullopt;
    }
    return negative ? -value : value;
}

// A page size the engine cannot lay out (positions are three digits) is
// refused with the file rather than loaded into a report that cannot show.
int PageDimension(std::string_view s) {
    const auto v = ToInteger(s);
    if (!v || *v < 1 || *v > 999) throw SavedReportFormatError();
    return static_cast<int>(*v);
}

} // namespace

SavedReportSettings SettingsOf(const TRelGrade& rel) {
    SavedReportSettings s;
    s.title = rel.TitulodoRelatorio;
    s.lines = rel.TamanhoQteLinhas;
    s.columns = rel.TamanhoQteColunas;
    s.lineSpacing = rel.TamanhoQteLPP;
    s.defaultSize = rel.FonteTamanhoPadrao;
    s.defaultStyle = rel.FonteEstiloPadrao;
    return s;
}

void ApplySettings(TRelGrade& rel, const SavedReportSettings& s) {
    rel.TitulodoRelatorio = s.title;
    rel.TamanhoQteLinhas = s.lines;
    rel.TamanhoQteColunas = s.columns;
    rel.TamanhoQteLPP = s.lineSpacing;
    if (s.defaultSize) rel.FonteTamanhoPadrao = *s.defaultSize;
    rel.FonteEstiloPadrao = s.defaultStyle;
}

std::string SavedReportControlRecord(const SavedReportSettings& s, std::size_t itemCount) {
    std::string out;
    out += Line(kSavedReportHeader4);
    out += Line(kSavedReportNotice);
    out += Line(SixDigits(static_cast<long long>(itemCount)));
    out += Line(s.title);
    out += Line(SixDigits(s.lines));
    out += Line(SixDigits(s.columns));
    out += Line(s.lineSpacing == TLinha::Seis ? "6" : "8");
    std::string size;
    for (const auto& n : kSizeNames)
        if (s.defaultSize && n.size == *s.defaultSize) size = n.name;
    out += Line(size);
    std::string style;
    if (s.defaultStyle.Has(TEstilo::Snegrito)) style += 'N';
    if (s.defaultStyle.Has(TEstilo::Sitalico)) style += 'I';
    if (s.defaultStyle.Has(TEstilo::Ssublinhado)) style += 'S';
    out += Line(style);
    return out;
}

std::string SavedReportItemLine(std::string_view storedItem) { return Line(storedItem); }

std::string WriteSavedReport(const SavedReportSettings& settings, const std::vector<std::string>& items) {
    std::string out = SavedReportControlRecord(settings, items.size());
    for (const auto& item : items) out += SavedReportItemLine(item);
    return out;
}

// --- reading ---------------------------------------------------------------

std::optional<std::string_view> SavedReportReader::NextLine() {
    if (rest_.empty()) return std::nullopt;
    const std::size_t end = rest_.find_first_of("\r\n");
    if (end == std::string_view::npos) {
        const std::string_view line = rest_;
        rest_ = {};
        return line;
    }
    const std::string_view line = rest_.substr(0, end);
    std::size_t skip = 1;
    if (rest_[end] == '\r' && end + 1 < rest_.size() && rest_[end + 1] == '\n') skip = 2;
    rest_.remove_prefix(end + skip);
    return line;
}

SavedReportReader::SavedReportReader(std::string_view bytes) : rest_(bytes) {
    const auto first = NextLine();
    if (!first) throw SavedReportFormatError();
    const std::string identity = Windows1252ToUtf8(*first);
    if (identity == kSavedReportHeader4) header_.version = SavedReportVersion::V4;
    else if (identity == kSavedReportHeader3) header_.version = SavedReportVersion::V3;
    else throw SavedReportFormatError();

    // Lines missing at the end of a short file read as empty ones.
    std::string_view record[8];
    for (auto& line : record) line = NextLine().value_or(std::string_view{});

    const auto count = ToInteger(record[1]);
    if (!count || *count < 0) throw SavedReportFormatError();
    header_.expectedCount = *count;
    SavedReportSettings& s = header_.settings;
    s.title = Windows1252ToUtf8(record[2]);
    s.lines = PageDimension(record[3]);
    s.columns = PageDimension(record[4]);
    s.lineSpacing = record[5] == "6" ? TLinha::Seis : TLinha::Oito;
    s.defaultSize.reset();
    for (const auto& n : kSizeNames)
        if (record[6] == n.name) s.defaultSize = n.size;
    const std::string_view style = record[7];
    if (style.find('N') != std::string_view::npos) s.defaultStyle.Include(TEstilo::Snegrito);
    if (style.find('I') != std::string_view::npos) s.defaultStyle.Include(TEstilo::Sitalico);
    if (style.find('S') != std::string_view::npos) s.defaultStyle.Include(TEstilo::Ssublinhado);
}

std::optional<std::string> SavedReportReader::NextItem() {
    if (ended_) return std::nullopt;
    const auto line = NextLine();
    if (!line || line->empty()) {
        ended_ = true;
        return std::nullopt;
    }
    std::string bytes(*line);
    if (header_.version == SavedReportVersion::V3)
        bytes.insert(std::min(kV3ColourPos, bytes.size()), "000000");
    return Windows1252ToUtf8(bytes);
}

SavedReport ReadSavedReport(std::string_view bytes) {
    SavedReportReader reader(bytes);
    SavedReport out;
    out.header = reader.Header();
    while (auto item = reader.NextItem()) out.items.push_back(std::move(*item));
    return out;
}

} // namespace nfp
