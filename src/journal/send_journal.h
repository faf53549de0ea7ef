#pragma once
// The send journal: every exchange with the service as one row of table
// `envios` in an SQLite file. Written in WAL mode with full syncs, so a row
// that Append returned for survives the program being killed right after;
// several programs may write at once (each waits its turn for a while).
#include "journal/journal_entry.h"
#include "journal/journal_filter.h"
#include "journal/sqlite_connection.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace nfp {

// The version kept in PRAGMA user_version; each later change of the table
// adds a migration step from the version before it.
inline constexpr int kJournalSchemaVersion = 1;

class SendJournal {
public:
    // Opens the journal, creating its folder (0700) and file (0600) when
    // missing, and brings an older file's table up to date. Throws
    // JournalError with the reason in Portuguese.
    explicit SendJournal(std::filesystem::path file);

    const std::filesystem::path& File() const noexcept { return file_; }

    // Commits one row and returns its id. Throws JournalError.
    std::int64_t Append(const JournalEntry& entry);
    // Commits many rows at once, with one sync for all (or none of them).
    void AppendAll(const std::vector<JournalEntry>& entries);

    // The rows the filter lets through, newest first. Throws JournalError.
    std::vector<JournalRow> Find(const JournalFilter& filter = {});
    // Every CNPJ of the journal, in ascending order.
    std::vector<std::string> Cnpjs();
    // Every year of `quando`, newest first.
    std::vector<int> Years();

private:
    // How long a statement waits for another program's transaction.
    static constexpr std::chrono::milliseconds kBusyTimeout{10000};
    void UseWriteAheadLog();
    void Migrate();

    std::filesystem::path file_;
    SqliteConnection db_;
};

} // namespace nfp
