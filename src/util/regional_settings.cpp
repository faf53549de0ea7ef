#include "util/regional_settings.h"

#include "util/text_codec.h"

#include <clocale>
#include <cstdlib>
#include <cstdio>
#include <langinfo.h>
#include <locale.h>
#include <memory>

namespace nfp {
namespace {

// Owns a POSIX locale object for the duration of one read.
struct LocaleDeleter {
    void operator()(void* l) const { if (l) freelocale(static_cast<locale_t>(l)); }
};
using LocaleHandle = std::unique_ptr<std::remove_pointer_t<locale_t>, LocaleDeleter>;

std::string Item(nl_item item, locale_t loc, bool utf8) {
    const char* s = nl_langinfo_l(item, loc);
    const std::string text = s ? s : "";
    return utf8 ? text : Windows1252ToUtf8(text);
}

// Works out order and separator from a strftime pattern; false when it does
// not name day, month and year.
bool ReadDatePattern(std::string fmt, RegionalSettings& rs) {
    if (fmt == "%D") fmt = "%m/%d/%y";
    if (fmt == "%F") fmt = "%Y-%m-%d";
    std::string order;
    std::string sep;
    for (std::size_t i = 0; i + 1 < fmt.size(); ++i) {
        if (fmt[i] != '%') continue;
        char c = fmt[i + 1];
        if (c == 'E' || c == 'O' || c == '-' || c == '_' || c == '0') {
            if (i + 2 >= fmt.size()) break;
            c = fmt[i + 2];
            ++i;
        }
        if (c == 'd' || c == 'e') order += 'd';
        else if (c == 'm') order += 'm';
        else if (c == 'y' || c == 'Y') order += 'y';
        else continue;
        ++i;
        if (order.size() == 1) {
            // The separator is what stands between the first two fields.
            const std::size_t next = fmt.find('%', i + 1);
            if (next != std::string::npos) sep = fmt.substr(i + 1, next - i - 1);
        }
    }
    if (order == "dmy") rs.dateOrder = DateOrder::DayMonthYear;
    else if (order == "mdy") rs.dateOrder = DateOrder::MonthDayYear;
    else if (order == "ymd") rs.dateOrder = DateOrder::YearMonthDay;
    else return false;
    if (sep.empty()) return false;
    // The platform's separator is one character; take the first, ignore blanks.
    if (sep.size() > 1 && sep.back() == ' ') sep.pop_back();
    rs.dateSeparator = sep;
    return true;
}

void SkipBlanks(std::string_view t, std::size_t& p) {
    while (p < t.size() && t[p] == ' ') ++p;
}

bool ScanNumber(std::string_view t, std::size_t& p, int& value, int& digits) {
    SkipBlanks(t, p);
    const std::size_t start = p;
    long v = 0;
    while (p < t.size() && t[p] >= '0' && t[p] <= '9') {
        if (v < 100000) v = v * 10 + (t[p] - '0');
        ++p;
    }
    digits = static_cast<int>(p - start);
    value = static_cast<int>(v);
    return digits > 0;
}

bool ScanSeparator(std::string_view t, std::size_t& p, std::string_view sep) {
    SkipBlanks(t, p);
    if (sep.empty() || t.substr(p, sep.size()) != sep) return false;
    p += sep.size();
    return true;
}

} // namespace

RegionalSettings RegionalSettings::Brazilian() {
    RegionalSettings rs;
    rs.longDayNames = {"domingo", "segunda-feira", "terça-feira", "quarta-feira",
                       "quinta-feira", "sexta-feira", "sábado"};
    rs.longMonthNames = {"janeiro", "fevereiro", "março", "abril", "maio", "junho",
                         "julho", "agosto", "setembro", "outubro", "novembro", "dezembro"};
    return rs;
}

RegionalSettings RegionalSettings::FromLocale(const std::string& localeName) {
    const LocaleHandle loc(newlocale(LC_TIME_MASK | LC_CTYPE_MASK, localeName.c_str(), nullptr));
    if (!loc) return Brazilian();
    const std::string codeset = nl_langinfo_l(CODESET, loc.get());
    if (localeName == "C" || localeName == "POSIX" || localeName.rfind("C.", 0) == 0) return Brazilian();
    const bool utf8 = codeset == "UTF-8" || codeset == "utf8";

    RegionalSettings rs = Brazilian();
    if (!ReadDatePattern(Item(D_FMT, loc.get(), utf8), rs)) return Brazilian();
    const std::string tfmt = Item(T_FMT, loc.get(), utf8);
    if (const auto h = tfmt.find("%H"); h != std::string::npos && h + 3 < tfmt.size() && tfmt[h + 2] != '%')
        rs.timeSeparator = tfmt.substr(h + 2, 1);
    for (int i = 0; i < 7; ++i) rs.longDayNames[i] = Item(static_cast<nl_item>(DAY_1 + i), loc.get(), utf8);
    for (int i = 0; i < 12; ++i) rs.longMonthNames[i] = Item(static_cast<nl_item>(MON_1 + i), loc.get(), utf8);
    return rs;
}

RegionalSettings RegionalSettings::FromEnvironment() {
    // The same lookup order as setlocale(LC_TIME, ""), without touching the
    // process-wide locale.
    for (const char* var : {"LC_ALL", "LC_TIME", "LANG"}) {
        const char* v = std::getenv(var);
        if (v && *v) return FromLocale(v);
    }
    return Brazilian();
}

int WindowTwoDigitYear(int year, int currentYear) {
    const int first = currentYear - 50;
    int y = year + (first / 100) * 100;
    if (y < first) y += 100;
    return y;
}

std::optional<Date> ParseShortDate(std::string_view text, const RegionalSettings& rs, int currentYear) {
    std::size_t p = 0;
    int n[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    if (!ScanNumber(text, p, n[0], digits[0])) return std::nullopt;
    if (!ScanSeparator(text, p, rs.dateSeparator)) return std::nullopt;
    if (!ScanNumber(text, p, n[1], digits[1])) return std::nullopt;
    int count = 2;
    {
        std::size_t q = p;
        if (ScanSeparator(text, q, rs.dateSeparator)) {
            p = q;
            std::size_t r = p;
            if (ScanNumber(text, r, n[2], digits[2])) {
                p = r;
                count = 3;
                ScanSeparator(text, p, rs.dateSeparator);
            }
        }
    }
    // One trailing separator (taken above) and blanks; nothing else.
    SkipBlanks(text, p);
    if (p != text.size()) return std::nullopt;

    int d, m, y;
    int yearDigits = 4;
    if (count == 3) {
        switch (rs.dateOrder) {
        case DateOrder::DayMonthYear: d = n[0]; m = n[1]; y = n[2]; yearDigits = digits[2]; break;
        case DateOrder::MonthDayYear: m = n[0]; d = n[1]; y = n[2]; yearDigits = digits[2]; break;
        default: y = n[0]; m = n[1]; d = n[2]; yearDigits = digits[0]; break;
        }
        if (yearDigits <= 2) y = WindowTwoDigitYear(y, currentYear);
    } else {
        if (rs.dateOrder == DateOrder::MonthDayYear) { m = n[0]; d = n[1]; }
        else { d = n[0]; m = n[1]; }
        y = currentYear;
    }
    if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1 || d > 31) return std::nullopt;
    const Date date{std::chrono::year{y}, std::chrono::month{static_cast<unsigned>(m)},
                    std::chrono::day{static_cast<unsigned>(d)}};
    if (!date.ok()) return std::nullopt;
    return date;
}

std::string FormatShortDate(const Date& d, const RegionalSettings& rs) {
    char dd[8], mm[8], yy[8];
    std::snprintf(dd, sizeof dd, "%02u", static_cast<unsigned>(d.day()));
    std::snprintf(mm, sizeof mm, "%02u", static_cast<unsigned>(d.month()));
    std::snprintf(yy, sizeof yy, "%04d", static_cast<int>(d.year()));
    const std::string& s = rs.dateSeparator;
    switch (rs.dateOrder) {
    case DateOrder::MonthDayYear: return std::string(mm) + s + dd + s + yy;
    case DateOrder::YearMonthDay: return std::string(yy) + s + mm + s + dd;
    default: return std::string(dd) + s + mm + s + yy;
    }
}

std::string FormatTime(const std::chrono::hh_mm_ss<std::chrono::seconds>& t, const RegionalSettings& rs) {
    char h[8], m[8], s[8];
    std::snprintf(h, sizeof h, "%02d", static_cast<int>(t.hours().count()));
    std::snprintf(m, sizeof m, "%02d", static_cast<int>(t.minutes().count()));
    std::snprintf(s, sizeof s, "%02d", static_cast<int>(t.seconds().count()));
    return std::string(h) + rs.timeSeparator + m + rs.timeSeparator + s;
}

unsigned WeekdayIndex(const Date& d) {
    return std::chrono::weekday{std::chrono::sys_days{d}}.c_encoding();
}

} // namespace nfp
