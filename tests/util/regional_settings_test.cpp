#include "util/regional_settings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

using namespace nfp;
using namespace std::chrono;

namespace {
RegionalSettings Order(DateOrder o, std::string sep = "/") {
    RegionalSettings rs = RegionalSettings::Brazilian();
    rs.dateOrder = o;
    rs.dateSeparator = std::move(sep);
    return rs;
}
} // namespace

TEST(RegionalSettings, ParseShortDate) {
    struct Case { DateOrder order; const char* text; std::optional<Date> want; };
    const auto D = [](int y, unsigned m, unsigned d) { return std::optional<Date>(Date{year{y}, month{m}, day{d}}); };
    const std::optional<Date> none;
    const Case cases[] = {
        {DateOrder::DayMonthYear, "14/02/2009", D(2009, 2, 14)},
        {DateOrder::MonthDayYear, "14/02/2009", none},
        {DateOrder::MonthDayYear, "02/14/2009", D(2009, 2, 14)},
        {DateOrder::YearMonthDay, "2009/02/14", D(2009, 2, 14)},
        {DateOrder::DayMonthYear, " 4/02/2009", D(2009, 2, 4)},
        {DateOrder::DayMonthYear, "14 / 2 / 9", D(2009, 2, 14)},
        {DateOrder::DayMonthYear, "14/02", D(2026, 2, 14)},
        {DateOrder::DayMonthYear, "14/02/", D(2026, 2, 14)},
        {DateOrder::DayMonthYear, "14/02/2009/", D(2009, 2, 14)},
        {DateOrder::DayMonthYear, "14/02/2009 ", D(2009, 2, 14)},
        {DateOrder::DayMonthYear, "14/02/2009x", none},
        {DateOrder::DayMonthYear, "31/04/2009", none},
        {DateOrder::DayMonthYear, "29/02/2009", none},
        {DateOrder::DayMonthYear, "0/1/2009", none},
        {DateOrder::DayMonthYear, "14", none},
        {DateOrder::DayMonthYear, "", none},
        {DateOrder::DayMonthYear, "-1/1/2009", none},
        {DateOrder::DayMonthYear, "1/1/76", D(1976, 1, 1)},
        {DateOrder::DayMonthYear, "1/1/75", D(2075, 1, 1)},
        {DateOrder::DayMonthYear, "1/1/076", D(76, 1, 1)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseShortDate(c.text, Order(c.order), 2026), c.want) << c.text;
    }
    EXPECT_FALSE(ParseShortDate("14/02/2009", Order(DateOrder::DayMonthYear, "."), 2026));
    EXPECT_EQ(ParseShortDate("14.02.2009", Order(DateOrder::DayMonthYear, "."), 2026), D(2009, 2, 14));
}

TEST(RegionalSettings, YearWindow) {
    EXPECT_EQ(WindowTwoDigitYear(0, 2025), 2000);
    EXPECT_EQ(WindowTwoDigitYear(35, 2025), 2035);
    EXPECT_EQ(WindowTwoDigitYear(74, 2025), 2074);
    EXPECT_EQ(WindowTwoDigitYear(75, 2025), 1975);
    EXPECT_EQ(WindowTwoDigitYear(99, 2025), 1999);
}

TEST(RegionalSettings, Formatting) {
    const Date d{year{2009}, month{3}, day{5}};
    EXPECT_EQ(FormatShortDate(d, RegionalSettings::Brazilian()), "05/03/2009");
    EXPECT_EQ(FormatShortDate(d, Order(DateOrder::MonthDayYear)), "03/05/2009");
    EXPECT_EQ(FormatShortDate(d, Order(DateOrder::YearMonthDay, "-")), "2009-03-05");
    EXPECT_EQ(FormatTime(hh_mm_ss<seconds>(hours{9} + minutes{5} + seconds{7}), RegionalSettings::Brazilian()), "09:05:07");
    EXPECT_EQ(WeekdayIndex(Date{year{2026}, month{12}, day{10}}), 4u); // a Thursday
}

TEST(RegionalSettings, CLocaleFallsBackToBrazilian) {
    const auto rs = RegionalSettings::FromLocale("C");
    EXPECT_EQ(rs.dateOrder, DateOrder::DayMonthYear);
    EXPECT_EQ(rs.dateSeparator, "/");
    EXPECT_EQ(rs.longMonthNames[2], "março");
    EXPECT_EQ(RegionalSettings::FromLocale("xx_NOWHERE.UTF-8").longDayNames[6], "sábado");
}

namespace {

// Real locales, compiled from the system's locale sources into a folder of
// this test's own and found through LOCPATH. Empty when this machine has no
// locale sources.
class CompiledLocales {
public:
    CompiledLocales() {
        std::string pattern = (std::filesystem::temp_directory_path() / "nfp-locales-XXXXXX").string();
        if (::mkdtemp(pattern.data())) folder_ = pattern;
        if (const char* old = std::getenv("LOCPATH")) oldLocPath_ = old;
    }
    ~CompiledLocales() {
        if (oldLocPath_) ::setenv("LOCPATH", oldLocPath_->c_str(), 1);
        else ::unsetenv("LOCPATH");
        std::error_code ignored;
        if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
    }
    CompiledLocales(const CompiledLocales&) = delete;
    CompiledLocales& operator=(const CompiledLocales&) = delete;

    // Compiles `name` (as "en_US") in UTF-8; false when it cannot.
    bool Add(const std::string& name) {
        if (folder_.empty() || !std::filesystem::exists("/usr/share/i18n/locales/" + name)) return false;
        const std::string command = "localedef --quiet -i " + name + " -f UTF-8 '" +
                                    (folder_ / (name + ".UTF-8")).string() + "' >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0) return false;
        ::setenv("LOCPATH", folder_.c_str(), 1);
        return true;
    }

private:
    std::filesystem::path folder_;
    std::optional<std::string> oldLocPath_;
};

// Sets or clears the locale variables for one check and restores them.
class LocaleEnvironment {
public:
    LocaleEnvironment(const char* all, const char* time, const char* lang) {
        Set("LC_ALL", all);
        Set("LC_TIME", time);
        Set("LANG", lang);
    }
    ~LocaleEnvironment() {
        for (const auto& [name, value] : saved_) {
            if (value) ::setenv(name, value->c_str(), 1);
            else ::unsetenv(name);
        }
    }
    LocaleEnvironment(const LocaleEnvironment&) = delete;
    LocaleEnvironment& operator=(const LocaleEnvironment&) = delete;

private:
    void Set(const char* name, const char* value) {
        const char* old = std::getenv(name);
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        if (value) ::setenv(name, value, 1);
        else ::unsetenv(name);
    }
    std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

} // namespace

TEST(RegionalSettings, ReadsOrderSeparatorAndNamesOfRealLocales) {
    CompiledLocales locales;
    struct Case { const char* name; DateOrder order; const char* separator; const char* march; const char* sunday; };
    const Case cases[] = {
        {"en_US", DateOrder::MonthDayYear, "/", "March", "Sunday"},
        {"de_DE", DateOrder::DayMonthYear, ".", "M\xC3\xA4rz", "Sonntag"},
        {"sv_SE", DateOrder::YearMonthDay, "-", "mars", "s\xC3\xB6ndag"},
    };
    for (const auto& c : cases) {
        if (!locales.Add(c.name)) GTEST_SKIP() << "no locale sources to compile " << c.name;
        const RegionalSettings rs = RegionalSettings::FromLocale(std::string(c.name) + ".UTF-8");
        EXPECT_EQ(rs.dateOrder, c.order) << c.name;
        EXPECT_EQ(rs.dateSeparator, c.separator) << c.name;
        EXPECT_EQ(rs.timeSeparator, ":") << c.name;
        EXPECT_EQ(rs.longMonthNames[2], c.march) << c.name;
        EXPECT_EQ(rs.longDayNames[0], c.sunday) << c.name;
    }
}

TEST(RegionalSettings, EnvironmentNamesTheLocaleAsTheCLibraryWouldForDates) {
    CompiledLocales locales;
    if (!locales.Add("en_US")) GTEST_SKIP() << "no locale sources to compile en_US";
    struct Case { const char* all; const char* time; const char* lang; DateOrder order; } cases[] = {
        {nullptr, nullptr, "en_US.UTF-8", DateOrder::MonthDayYear},
        {nullptr, "en_US.UTF-8", "C", DateOrder::MonthDayYear},
        {nullptr, "C.UTF-8", "en_US.UTF-8", DateOrder::DayMonthYear}, // C: the Brazilian conventions
        {"C", "en_US.UTF-8", "en_US.UTF-8", DateOrder::DayMonthYear},
        {"en_US.UTF-8", "C", "C", DateOrder::MonthDayYear},
        {"", "", "en_US.UTF-8", DateOrder::MonthDayYear}, // empty variables do not count
        {nullptr, nullptr, "xx_NOWHERE.UTF-8", DateOrder::DayMonthYear},
        {nullptr, nullptr, nullptr, DateOrder::DayMonthYear},
    };
    for (const auto& c : cases) {
        const LocaleEnvironment environment(c.all, c.time, c.lang);
        const RegionalSettings rs = RegionalSettings::FromEnvironment();
        EXPECT_EQ(rs.dateOrder, c.order) << (c.all ? c.all : "-") << " " << (c.time ? c.time : "-") << " "
                                         << (c.lang ? c.lang : "-");
        EXPECT_EQ(rs.dateSeparator, "/");
    }
}
