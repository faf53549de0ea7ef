#include "journal/send_journal.h"

#include "journal/journal_failure.h"
#include "util/private_folder.h"

#include <sqlite3.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <thread>
#include <utility>

namespace nfp {

namespace {

[[noreturn]] void FailErrno(int error)
{
    throw JournalError(JournalReasonForErrno(error));
}

// A new journal file is its owner's alone; SQLite gives its -wal and -shm
// files the same permissions.
void CreateFileIfMissing(const std::filesystem::path& file)
{
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
        ::close(fd);
        return;
    }
    if (errno == EEXIST)
        return;
    FailErrno(errno);
}

SqliteConnection Connect(const std::filesystem::path& file)
{
    if (const int error = MakePrivateFolders(file.parent_path()); error != 0)
        FailErrno(error);
    CreateFileIfMissing(file);
    try {
        return SqliteConnection(file.string());
    } catch (const SqliteError& e) {
        throw JournalError(JournalReasonForSqlite(e.Code(), e.what()));
    }
}

template <class Work>
auto Guarded(Work&& work)
{
    try {
        return work();
    } catch (const SqliteError& e) {
        throw JournalError(JournalReasonForSqlite(e.Code(), e.what()));
    }
}

// Rolls back unless committed.
class Transaction {
public:
    explicit Transaction(SqliteConnection& db) : db_(db) { db_.Execute("BEGIN IMMEDIATE"); }
    ~Transaction()
    {
        if (!committed_) {
            try {
                db_.Execute("ROLLBACK");
            } catch (const SqliteError&) {
                // Nothing more to undo: SQLite rolls back by itself.
            }
        }
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void Commit()
    {
        db_.Execute("COMMIT");
        committed_ = true;
    }

private:
    SqliteConnection& db_;
    bool committed_ = false;
};

constexpr const char* kCreateVersion1 = R"sql(
CREATE TABLE envios (
    id           INTEGER PRIMARY KEY,
    quando       TEXT NOT NULL,
    operacao     TEXT NOT NULL,
    cnpj         TEXT NOT NULL,
    usuario      TEXT NOT NULL,
    categoria    INTEGER NOT NULL,
    arquivo      TEXT NOT NULL,
    pasta        TEXT NOT NULL,
    tamanho      INTEGER,
    sha256       TEXT,
    envio_normal INTEGER,
    protocolo    TEXT NOT NULL,
    resultado    TEXT NOT NULL,
    situacao     TEXT NOT NULL
);
CREATE INDEX envios_quando ON envios (quando);
CREATE INDEX envios_cnpj ON envios (cnpj);
)sql";

constexpr const char* kColumns =
    "id, quando, operacao, cnpj, usuario, categoria, arquivo, pasta, tamanho, sha256, envio_normal, protocolo, "
    "resultado, situacao";

std::string FourDigits(int year)
{
    char text[16];
    std::snprintf(text, sizeof text, "%04d", year);
    return text;
}

std::string TwoDigits(int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

} // namespace

SendJournal::SendJournal(std::filesystem::path file) : file_(std::move(file)), db_(Connect(file_))
{
    Guarded([this] {
        // Another writer holds the file only for one short transaction.
        db_.Execute("PRAGMA busy_timeout = " + std::to_string(kBusyTimeout.count()));
        UseWriteAheadLog();
        db_.Execute("PRAGMA synchronous = FULL");
        Migrate();
    });
}

// The mode is kept in the file: the first program to open it sets it.
// Setting it needs the file to itself, and SQLite then answers "busy" at
// once instead of waiting as it does for other statements, so a program
// opening the journal while another writes to it waits here.
void SendJournal::UseWriteAheadLog()
{
    const auto deadline = std::chrono::steady_clock::now() + kBusyTimeout;
    for (;;) {
        try {
            const bool wal = [this] {
                SqliteStatement mode = db_.Prepare("PRAGMA journal_mode");
                return mode.Step() && mode.Text(0) == "wal";
            }();
            if (!wal)
                db_.Execute("PRAGMA journal_mode = WAL");
            return;
        } catch (const SqliteError& e) {
            if (e.Code() != SQLITE_BUSY || std::chrono::steady_clock::now() >= deadline)
                throw;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void SendJournal::Migrate()
{
    auto version = [this] {
        SqliteStatement read = db_.Prepare("PRAGMA user_version");
        read.Step();
        return read.Integer(0);
    };
    if (version() >= kJournalSchemaVersion)
        return;
    Transaction transaction(db_);
    // Another program may have brought it up to date meanwhile.
    const std::int64_t current = version();
    if (current < 1)
        db_.Execute(kCreateVersion1);
    if (current < kJournalSchemaVersion)
        db_.Execute("PRAGMA user_version = " + std::to_string(kJournalSchemaVersion));
    transaction.Commit();
}

namespace {

void Insert(SqliteConnection& db, const JournalEntry& e)
{
    SqliteStatement insert = db.Prepare(
        "INSERT INTO envios (quando, operacao, cnpj, usuario, categoria, arquivo, pasta, tamanho, sha256, "
        "envio_normal, protocolo, resultado, situacao) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, "
        "?12, ?13)");
    insert.Bind(1, e.quando)
        .Bind(2, e.operacao)
        .Bind(3, e.cnpj)
        .Bind(4, e.usuario)
        .Bind(5, e.categoria)
        .Bind(6, e.arquivo)
        .Bind(7, e.pasta)
        .Bind(8, e.tamanho)
        .Bind(9, e.sha256)
        .Bind(10, e.envioNormal)
        .Bind(11, e.protocolo)
        .Bind(12, e.resultado)
        .Bind(13, e.situacao);
    insert.Run();
}

} // namespace

std::int64_t SendJournal::Append(const JournalEntry& e)
{
    return Guarded([&] {
        Insert(db_, e);
        return db_.LastInsertId();
    });
}

void SendJournal::AppendAll(const std::vector<JournalEntry>& entries)
{
    Guarded([&] {
        Transaction transaction(db_);
        for (const JournalEntry& e : entries)
            Insert(db_, e);
        transaction.Commit();
    });
}

std::vector<JournalRow> SendJournal::Find(const JournalFilter& filter)
{
    return Guarded([&] {
        std::string sql = std::string("SELECT ") + kColumns + " FROM envios WHERE 1";
        std::vector<std::string> values;
        if (filter.cnpj) {
            sql += " AND cnpj = ?" + std::to_string(values.size() + 1);
            values.push_back(*filter.cnpj);
        }
        if (filter.year) {
            // quando begins "yyyy-mm-dd": a range of texts keeps the index.
            const std::string from = FourDigits(*filter.year) + (filter.month ? "-" + TwoDigits(*filter.month) : "");
            const std::string to = filter.month ? FourDigits(*filter.year) + "-" + TwoDigits(*filter.month + 1)
                                                : FourDigits(*filter.year + 1);
            sql += " AND quando >= ?" + std::to_string(values.size() + 1);
            values.push_back(from);
            sql += " AND quando < ?" + std::to_string(values.size() + 1);
            values.push_back(to);
        } else if (filter.month) {
            sql += " AND substr(quando, 6, 2) = ?" + std::to_string(values.size() + 1);
            values.push_back(TwoDigits(*filter.month));
        }
        if (filter.situacao) {
            sql += " AND situacao = ?" + std::to_string(values.size() + 1);
            values.push_back(*filter.situacao);
        }
        sql += " ORDER BY id DESC";
        SqliteStatement select = db_.Prepare(sql);
        for (std::size_t i = 0; i < values.size(); ++i)
            select.Bind(static_cast<int>(i + 1), values[i]);
        std::vector<JournalRow> rows;
        auto optionalInteger = [&select](int column) -> std::optional<std::int64_t> {
            if (select.IsNull(column))
                return std::nullopt;
            return select.Integer(column);
        };
        while (select.Step()) {
            JournalRow row;
            row.id = select.Integer(0);
            JournalEntry& e = row.entry;
            e.quando = select.Text(1);
            e.operacao = select.Text(2);
            e.cnpj = select.Text(3);
            e.usuario = select.Text(4);
            e.categoria = select.Integer(5);
            e.arquivo = select.Text(6);
            e.pasta = select.Text(7);
            e.tamanho = optionalInteger(8);
            if (!select.IsNull(9))
                e.sha256 = select.Text(9);
            e.envioNormal = optionalInteger(10);
            e.protocolo = select.Text(11);
            e.resultado = select.Text(12);
            e.situacao = select.Text(13);
            rows.push_back(std::move(row));
        }
        return rows;
    });
}

std::vector<std::string> SendJournal::Cnpjs()
{
    return Guarded([&] {
        SqliteStatement select = db_.Prepare("SELECT DISTINCT cnpj FROM envios ORDER BY cnpj");
        std::vector<std::string> cnpjs;
        while (select.Step())
            cnpjs.push_back(select.Text(0));
        return cnpjs;
    });
}

std::vector<int> SendJournal::Years()
{
    return Guarded([&] {
        SqliteStatement select =
            db_.Prepare("SELECT DISTINCT CAST(substr(quando, 1, 4) AS INTEGER) AS y FROM envios ORDER BY y DESC");
        std::vector<int> years;
        while (select.Step())
            years.push_back(static_cast<int>(select.Integer(0)));
        return years;
    });
}

} // namespace nfp
