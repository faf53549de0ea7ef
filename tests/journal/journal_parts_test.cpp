// The journal's small parts: where its file lives, the local time stamp and
// the SHA-256 of a file's bytes.
#include "journal/journal_location.h"
#include "journal/local_timestamp.h"
#include "journal/sha256.h"

#include <gtest/gtest.h>

#include <map>

namespace nfp::test {
namespace {

TEST(JournalLocation, FromTheVariablesInOrder)
{
    struct Case {
        const char* name;
        std::map<std::string, std::string> environment;
        std::string file;
    };
    const Case cases[] = {
        {"NFP_JOURNAL first", {{"NFP_JOURNAL", "/tmp/j.sqlite"}, {"XDG_DATA_HOME", "/x"}}, "/tmp/j.sqlite"},
        {"XDG_DATA_HOME", {{"XDG_DATA_HOME", "/dados"}, {"HOME", "/home/u"}}, "/dados/nfp-envio/envios.sqlite"},
        {"a relative XDG_DATA_HOME is ignored",
         {{"XDG_DATA_HOME", "dados"}, {"HOME", "/home/u"}},
         "/home/u/.local/share/nfp-envio/envios.sqlite"},
        {"HOME alone", {{"HOME", "/home/u"}}, "/home/u/.local/share/nfp-envio/envios.sqlite"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto lookup = [&c](const char* name) -> std::optional<std::string> {
            const auto it = c.environment.find(name);
            if (it == c.environment.end())
                return std::nullopt;
            return it->second;
        };
        EXPECT_EQ(DefaultJournalFile(lookup).string(), c.file);
    }
}

TEST(LocalTimestamp, Iso8601WithTheUtcOffset)
{
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 11;
    t.tm_mday = 10;
    t.tm_hour = 9;
    t.tm_min = 5;
    t.tm_sec = 7;
    EXPECT_EQ(FormatLocalTimestamp(t, -3 * 3600), "2026-12-10T09:05:07-03:00");
    EXPECT_EQ(FormatLocalTimestamp(t, 0), "2026-12-10T09:05:07+00:00");
    EXPECT_EQ(FormatLocalTimestamp(t, 5 * 3600 + 1800), "2026-12-10T09:05:07+05:30");
    EXPECT_EQ(LocalTimestampNow().size(), 25u);
}

TEST(Sha256, KnownDigests)
{
    EXPECT_EQ(Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

} // namespace
} // namespace nfp::test
